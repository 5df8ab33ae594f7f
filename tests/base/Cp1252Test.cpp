#include <gtest/gtest.h>

#include "base/Cp1252.h"

using namespace vesko;

TEST(Cp1252, PortugueseLettersAndTheHighRangeRoundTrip) {
    const QString texto = QStringLiteral("Informação ÁÉÍÓÚ ãõç € “aspas” – …");
    bool perda = false;
    const QByteArray bytes = ParaCp1252(texto, &perda);
    EXPECT_FALSE(perda);
    EXPECT_EQ(bytes.size(), texto.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[texto.indexOf(QChar(0x20AC))]), 0x80);
    EXPECT_EQ(DeCp1252(bytes), texto);
}

TEST(Cp1252, EveryByteDecodesAndEncodesBack) {
    QByteArray todos;
    for (int b = 0; b < 256; ++b) todos.append(static_cast<char>(b));
    EXPECT_EQ(ParaCp1252(DeCp1252(todos)), todos);
}

TEST(Cp1252, UnmappableCharactersBecomeOneQuestionMarkEach) {
    bool perda = false;
    EXPECT_EQ(ParaCp1252(QStringLiteral("a\u4E2Db\U0001F600c"), &perda), QByteArray("a?b?c"));
    EXPECT_TRUE(perda);
    EXPECT_FALSE(CabeEmCp1252(QStringLiteral("\u4E2D")));
    EXPECT_TRUE(CabeEmCp1252(QStringLiteral("ção")));
}
