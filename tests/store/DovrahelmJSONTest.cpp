// The JSON text of a changed sale's identification file: compact, one line,
// members in the order added, Windows-1252 bytes as written.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "base/Cp1252.h"
#include "store/DovrahelmJSON.h"

using namespace vesko;

TEST(DovrahelmJSON, CompactMembersInTheOrderAddedWithTextsAndIntegers) {
    TDovrahelmJSON j;
    EXPECT_EQ(j.TextoJSON(), QStringLiteral("{}"));
    j.AdicionarTexto(QStringLiteral("NumeroVenda"), QStringLiteral("000001234"));
    j.AdicionarTexto(QStringLiteral("Serie"), QStringLiteral("1"));
    j.AdicionarInteiro(QStringLiteral("DataPedido"), 46000);
    j.AdicionarInteiro(QStringLiteral("Negativo"), -3);
    j.AdicionarTexto(QStringLiteral("CdEmpresa"), QString());
    j.AdicionarInteiro(QStringLiteral("Grande"), 9007199254740993LL);  // beyond a double's precision
    EXPECT_EQ(j.TextoJSON(), QStringLiteral(R"({"NumeroVenda":"000001234","Serie":"1","DataPedido":46000,)"
                                            R"("Negativo":-3,"CdEmpresa":"","Grande":9007199254740993})"));
    // A name added again keeps its place.
    j.AdicionarTexto(QStringLiteral("Serie"), QStringLiteral("2"));
    EXPECT_TRUE(j.TextoJSON().startsWith(QStringLiteral(R"({"NumeroVenda":"000001234","Serie":"2","DataPedido")")));

    // Created on a list of members: the same text as added one by one.
    TDovrahelmJSON k{{QStringLiteral("Z"), QStringLiteral("z")}, {QStringLiteral("A"), 1}};
    EXPECT_EQ(k.TextoJSON(), QStringLiteral(R"({"Z":"z","A":1})"));
}

TEST(DovrahelmJSON, EscapesKeepItOneValidLineAndAccentsAreWindows1252Bytes) {
    TDovrahelmJSON j;
    j.AdicionarTexto(QStringLiteral("Texto"), QStringLiteral("a\"b\\c/d\r\ne\tf") + QChar(0x01));
    j.AdicionarTexto(QStringLiteral("Loja"), QStringLiteral("Açaí € São João"));
    // Outside Windows-1252 (arrow, emoji) and C1 controls: escaped, not lost.
    j.AdicionarTexto(QStringLiteral("Fora"), QStringLiteral("→😀") + QChar(0x81));
    const QString t = j.TextoJSON();
    EXPECT_EQ(t, QStringLiteral(R"({"Texto":"a\"b\\c/d\r\ne\tf\u0001","Loja":"Açaí € São João",)"
                                R"("Fora":"\u2192\ud83d\ude00\u0081"})"));
    EXPECT_FALSE(t.contains(QLatin1Char('\n')));
    EXPECT_FALSE(t.contains(QLatin1Char('\r')));

    const QByteArray b = j.TextoJSONCp1252();
    EXPECT_TRUE(b.contains(QByteArray("\"Loja\":\"A\xE7\x61\xED \x80 S\xE3o Jo\xE3o\"")));
    EXPECT_FALSE(b.contains('?'));
    // The written bytes read back (as Windows-1252) to the very texts added.
    QJsonParseError erro;
    const QJsonObject lido = QJsonDocument::fromJson(DeCp1252(b).toUtf8(), &erro).object();
    ASSERT_EQ(erro.error, QJsonParseError::NoError) << erro.errorString().toStdString();
    EXPECT_EQ(lido[QStringLiteral("Texto")].toString(), QStringLiteral("a\"b\\c/d\r\ne\tf") + QChar(0x01));
    EXPECT_EQ(lido[QStringLiteral("Loja")].toString(), QStringLiteral("Açaí € São João"));
    EXPECT_EQ(lido[QStringLiteral("Fora")].toString(), QStringLiteral("→😀") + QChar(0x81));
}
