// The settings table: a missing key reads as the default, a write replaces
// the row (one row per key), text keeps its accents, errors reach the caller.
#include <gtest/gtest.h>

#include "ApoioBanco.h"
#include "store/DBIniFileBistrel.h"

using namespace vesko;
using vesko::teste::AmbienteBanco;

TEST(DBIniFile, ChaveAusenteLeOPadraoEGravacaoSubstituiALinha) {
    AmbienteBanco amb;
    auto c = amb.Conexao();
    TDBIniFileBistrel ini(*c, QStringLiteral("FOOD_CONFIG"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("BISTREL"), QStringLiteral("VersaoNFCe"), QStringLiteral("3.10")),
              QStringLiteral("3.10"));
    ini.WriteString(QStringLiteral("BISTREL"), QStringLiteral("NmEmpresa"), QStringLiteral("Padaria São João"));
    ini.WriteString(QStringLiteral("BISTREL"), QStringLiteral("NmEmpresa"), QStringLiteral("Café Açaí"));
    ini.WriteString(QStringLiteral("OUTRA"), QStringLiteral("NmEmpresa"), QStringLiteral("outra seção"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("BISTREL"), QStringLiteral("NmEmpresa"), QString()), QStringLiteral("Café Açaí"));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("BISTREL"), QStringLiteral("NmEmpresa")));
    auto q = c->Consultar(QStringLiteral("SELECT NAME, SECTION, DATA_VALUE FROM FOOD_CONFIG WHERE IDENT = 'NmEmpresa' ORDER BY SECTION"));
    ASSERT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(q->Fields(0).AsString(), QStringLiteral("FOOD_CONFIG"));
    EXPECT_EQ(q->Fields(1).AsString(), QStringLiteral("BISTREL"));

    // A row the POS left with a null value reads as empty, not as the default.
    c->Executar(QStringLiteral("INSERT INTO FOOD_CONFIG (NAME, SECTION, IDENT) VALUES ('FOOD_CONFIG', 'BISTREL', 'Vazia')"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("BISTREL"), QStringLiteral("Vazia"), QStringLiteral("x")), QString());
}

TEST(DBIniFile, GravacaoDentroDeUmaTransacaoSegueEla) {
    AmbienteBanco amb;
    auto c = amb.Conexao();
    TDBIniFileBistrel ini(*c, QStringLiteral("FOOD_CONFIG"));
    c->IniciarTransacao();
    ini.WriteString(QStringLiteral("BISTREL"), QStringLiteral("CFOP"), QStringLiteral("5102"));
    c->ReverterTransacao();
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("BISTREL"), QStringLiteral("CFOP")));
}

TEST(DBIniFile, ErrosChegamAQuemChamou) {
    AmbienteBanco amb(true, false);  // no FOOD_CONFIG table
    auto c = amb.Conexao();
    TDBIniFileBistrel ini(*c, QStringLiteral("FOOD_CONFIG"));
    EXPECT_THROW(ini.ReadString(QStringLiteral("BISTREL"), QStringLiteral("X"), QString()), EDatabaseError);
    EXPECT_THROW(ini.WriteString(QStringLiteral("BISTREL"), QStringLiteral("X"), QStringLiteral("1")), EDatabaseError);
    EXPECT_THROW(TDBIniFileBistrel(*c, QStringLiteral("FOOD_CONFIG; DROP TABLE X")), EDatabaseError);
}
