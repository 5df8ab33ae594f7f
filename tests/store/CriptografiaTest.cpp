// The stored form of user passwords: a salted, slow one-way hash that the POS
// checks with VerificarCriptografy.
#include <gtest/gtest.h>

#include <sodium.h>

#include "store/Criptografia.h"

using namespace vesko;

TEST(Criptografia, SaltedOneWayHashAtTheInteractiveLimitsThatTheCheckAccepts) {
    const QString senha = QStringLiteral("garçom#1234");
    const QString a = Criptografy(senha);
    const QString b = Criptografy(senha);
    EXPECT_NE(a, b);  // salted: the same password never stores the same text
    for (const QString& h : {a, b}) {
        EXPECT_LT(h.size(), 128);
        EXPECT_TRUE(h.startsWith(QStringLiteral("$argon2id$"))) << h.toStdString();
        EXPECT_FALSE(h.contains(QStringLiteral("1234")));
        EXPECT_TRUE(VerificarCriptografy(senha, h));
        // The stored parameters are libsodium's INTERACTIVE limits.
        EXPECT_EQ(crypto_pwhash_str_needs_rehash(h.toLatin1().constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                                 crypto_pwhash_MEMLIMIT_INTERACTIVE),
                  0);
    }
    EXPECT_FALSE(VerificarCriptografy(QStringLiteral("garcom#1234"), a));  // accents count
    EXPECT_FALSE(VerificarCriptografy(QString(), a));
}

TEST(Criptografia, EmptyPasswordsAndStoredTextsThatAreNotHashes) {
    const QString vazia = Criptografy(QString());
    EXPECT_TRUE(VerificarCriptografy(QString(), vazia));
    EXPECT_FALSE(VerificarCriptografy(QStringLiteral("x"), vazia));
    // A plain password or any other text in SENHA never passes the check.
    EXPECT_FALSE(VerificarCriptografy(QStringLiteral("1234"), QStringLiteral("1234")));
    EXPECT_FALSE(VerificarCriptografy(QString(), QString()));
    EXPECT_FALSE(VerificarCriptografy(QStringLiteral("x"), vazia + QString(200, QLatin1Char('a'))));
}
