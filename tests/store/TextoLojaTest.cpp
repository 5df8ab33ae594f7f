#include <gtest/gtest.h>

#include <QSet>

#include "store/TextoLoja.h"

using namespace vesko;

TEST(TextoLoja, PaddingRepeatingDigitsAndSeparators) {
    EXPECT_EQ(StrZero("42", 6), "000042");
    EXPECT_EQ(StrZero("CNF", 9), "000000CNF");
    EXPECT_EQ(StrZero("1234567", 6), "1234567");
    EXPECT_EQ(Replicate("-", 3), "---");
    EXPECT_EQ(Replicate("ab", 0), "");
    EXPECT_EQ(OnlyNumber("12.345.678/0001-90", 0), "12345678000190");
    EXPECT_EQ(OnlyNumber("sem dígitos", 0), "");
    EXPECT_EQ(PutLastBackSlash("/loja/entrada"), "/loja/entrada/");
    EXPECT_EQ(PutLastBackSlash("/loja/entrada/"), "/loja/entrada/");
    EXPECT_EQ(Iif(true, QString("a"), QString("b")), "a");
    EXPECT_EQ(Iif(false, 1, 2), 2);
    EXPECT_FALSE(GetLocalMachine().isEmpty());
}

TEST(TextoLoja, RandomSuffixIsShortSafeForFileNamesAndVaries) {
    QSet<QString> vistos;
    for (int i = 0; i < 200; ++i) {
        const QString s = GetRandonSufix();
        ASSERT_EQ(s.size(), 6);
        for (QChar c : s) ASSERT_TRUE(c.isDigit() || (c >= 'A' && c <= 'Z')) << s.toStdString();
        vistos.insert(s);
    }
    EXPECT_GT(vistos.size(), 190);
}
