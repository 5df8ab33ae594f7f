// The load test's stand-in point of sale and its check, on a real embedded
// POS database and a real export directory: what the stand-in commits and
// whole export runs send passes the check, and the check catches a set sent
// twice, a missing document file and a sale sent without its mark.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ApoioExportacao.h"
#include "ConferenciaCarga.h"
#include "PdvCarga.h"
#include "firebird/ConexaoFirebird.h"

using namespace vesko;
using namespace vesko::carga;
using vesko::teste::AmbienteExportacao;

namespace {

std::string Juntar(const QStringList& l) { return l.join(QLatin1Char('\n')).toStdString(); }

// The name of the first file of the export directory with `prefixo`.
QString Primeiro(const AmbienteExportacao& amb, const QString& prefixo) {
    const QStringList l = amb.ArquivosSaida(prefixo + QStringLiteral("[[]*"));
    return l.isEmpty() ? QString() : l.first();
}

struct Carga : ::testing::Test {
    AmbienteExportacao amb;
    std::unique_ptr<TConexaoFirebird> c = amb.Conexao();
    TPdvCarga pdv{amb.Parametros(), 7};

    TConferencia Conferencia() { return Conferir(pdv.Registro(), *c, amb.Saida()); }
};

}  // namespace

TEST_F(Carga, WhatTheStandInCommitsAndTheExportSendsPassesTheCheck) {
    pdv.Tiques(*c, 60);
    ASSERT_EQ(pdv.Registro().Falhas, 0) << Juntar(pdv.Registro().MensagensFalha);
    EXPECT_EQ(pdv.Registro().Vendas.size(), 60u);
    // 60 sales, 6 seconds with a document row (the first ones find no sale
    // old enough and commit nothing), one cancellation (none exported yet).
    EXPECT_EQ(pdv.Registro().DuracoesMs.size(), 67u);
    EXPECT_EQ(pdv.Registro().LeiturasProdutos, 6);
    TConferencia antes = Conferencia();
    EXPECT_TRUE(antes.Violacoes.isEmpty()) << Juntar(antes.Violacoes);
    EXPECT_EQ(antes.VendasNoBanco, 60);

    ASSERT_TRUE(amb.Exportar(false));
    pdv.Tiques(*c, 60);  // cancels exported sales and adds rows to sent ones
    ASSERT_EQ(pdv.Registro().Falhas, 0) << Juntar(pdv.Registro().MensagensFalha);
    EXPECT_FALSE(pdv.Registro().Cancelamentos.isEmpty());
    TConferencia meio = Conferencia();
    EXPECT_TRUE(meio.Violacoes.isEmpty()) << Juntar(meio.Violacoes);
    EXPECT_EQ(meio.VendasNoBanco, 60);
    EXPECT_EQ(meio.CancelamentosNoBanco, static_cast<int>(pdv.Registro().Cancelamentos.size()));

    ASSERT_TRUE(amb.Exportar(false));
    TConferencia depois = Conferencia();
    EXPECT_TRUE(depois.Violacoes.isEmpty()) << Juntar(depois.Violacoes);
    EXPECT_EQ(depois.VendasConferidas, 120);
    EXPECT_EQ(depois.VendasNoBanco, 0);
    EXPECT_EQ(depois.CancelamentosNoBanco, 0);
    EXPECT_EQ(depois.DocumentosConferidos, static_cast<int>(pdv.Registro().Documentos.size()));
    // Only rows added to a sale already sent stay behind.
    EXPECT_LT(depois.DocumentosNoBanco, 13);
    EXPECT_EQ(depois.Conjuntos,
              120 + static_cast<int>(pdv.Registro().Cancelamentos.size()) + depois.ConjuntosPorTipo);
}

TEST_F(Carga, TheCheckFindsASetSentTwiceAMissingFileAndAnUnmarkedSale) {
    pdv.Tiques(*c, 20);
    ASSERT_TRUE(amb.Exportar(false));
    ASSERT_TRUE(Conferencia().Violacoes.isEmpty());

    // A set sent twice: the same files under a second suffix.
    const QString hdoc = Primeiro(amb, QStringLiteral("HDoc"));
    ASSERT_FALSE(hdoc.isEmpty());
    const QString base = hdoc.mid(4);
    const QString outra = QString(base).replace(base.size() - 10, 6, QStringLiteral("ZZZZZZ"));
    for (const QString& p : {QStringLiteral("HDoc"), QStringLiteral("DDoc"), QStringLiteral("SDoc")})
        ASSERT_TRUE(QFile::copy(amb.ArquivoSaida(p + base), amb.ArquivoSaida(p + outra)));
    TConferencia dupla = Conferencia();
    EXPECT_EQ(dupla.Violacoes.filter(QStringLiteral("2 conjuntos de arquivos em vez de um")).size(), 1)
        << Juntar(dupla.Violacoes);
    EXPECT_EQ(dupla.Violacoes.filter(QStringLiteral("em 2 arquivo(s)")).size(), 1) << Juntar(dupla.Violacoes);

    // A document file lost, and an incomplete item file.
    for (const QString& p : {QStringLiteral("HDoc"), QStringLiteral("DDoc"), QStringLiteral("SDoc")})
        QFile::remove(amb.ArquivoSaida(p + outra));
    ASSERT_TRUE(QFile::remove(amb.ArquivoSaida(Primeiro(amb, QStringLiteral("Danfe")))));
    QFile ddoc(amb.ArquivoSaida(Primeiro(amb, QStringLiteral("DDoc"))));
    ASSERT_TRUE(ddoc.open(QIODevice::Append));
    ddoc.write("x");
    ddoc.close();
    TConferencia perdida = Conferencia();
    EXPECT_EQ(perdida.Violacoes.filter(QStringLiteral("não está no banco, em 0 arquivo(s)")).size(), 1)
        << Juntar(perdida.Violacoes);
    EXPECT_EQ(perdida.Violacoes.filter(QStringLiteral("DDoc incompleto")).size(), 1) << Juntar(perdida.Violacoes);

    // A sale whose files are there while the database says it was never sent.
    c->Executar(QStringLiteral("UPDATE MOVIMENTO SET ST_MOVIMENTO_EXPORTADO = 0"));
    TConferencia semMarca = Conferencia();
    EXPECT_EQ(semMarca.Violacoes.filter(QStringLiteral("não exportada no banco")).size(), 20)
        << Juntar(semMarca.Violacoes);
}
