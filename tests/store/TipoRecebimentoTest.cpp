#include <gtest/gtest.h>

#include "store/TipoRecebimento.h"

using namespace vesko;

TEST(TipoRecebimento, LettersOfTheGroupsThenExchangeAndPostDatedCheque) {
    const char* letras = "DCATRVXP";
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(RetornaTipoRecebimento(QChar::fromLatin1(letras[i])), i) << letras[i];
        EXPECT_EQ(RetornaTipoRecebimento(QChar::fromLatin1(letras[i]).toLower()), i) << letras[i];
    }
}

TEST(TipoRecebimento, AnyOtherLetterBlankOrEmptyCodeIsCash) {
    for (QChar c : {QChar(u'O'), QChar(u'o'), QChar(u'Z'), QChar(u' '), QChar(u'\0'), QChar(u'9'), QChar(u'Ç')})
        EXPECT_EQ(RetornaTipoRecebimento(c), trDinheiro) << int(c.unicode());
    EXPECT_EQ(RetornaTipoRecebimento(QString()), trDinheiro);
    EXPECT_EQ(RetornaTipoRecebimento(QStringLiteral("pré-datado")), trChequePre);  // first character only
}
