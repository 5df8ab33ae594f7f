// Step 4 of the export: the sales, on a real embedded POS database and a real
// export directory.
#include <gtest/gtest.h>
#include <sodium.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>

#include "ApoioExportacao.h"
#include "base/Cp1252.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"
#include "store/AssinaturaDigitalArquivosPDV.h"

using namespace vesko;
using vesko::teste::AmbienteExportacao;
using W = vesko::TExportacaoPDVBistrelInterna;
using H = vesko::TVendaHeader;
using I = vesko::TVendaItemRec;

namespace {

// A sale of terminal CAIXA01, order number 1234 + id.
void InserirVenda(AmbienteExportacao& a, int id, int stMovimento, int stExportado, const QString& fechamento,
                  const QString& pedido, const QString& numeroPedido = QStringLiteral("NULL")) {
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, DATA_HORA_PEDIDO, ST_MOVIMENTO, "
                              "ST_MOVIMENTO_EXPORTADO, NUMERO_PEDIDO, TIPO_OPERACAO, ST_ENTREGA) "
                              "VALUES (%1, '%2', %3, %4, %5, %6, 'v', 0)")
                   .arg(id)
                   .arg(fechamento, pedido.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + pedido + QLatin1Char('\''))
                   .arg(stMovimento)
                   .arg(stExportado)
                   .arg(numeroPedido));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, VALOR, NRMODELONF, NRSERIE, NRORDEM, "
                              "TERMINALGUID, IPTERMINAL) VALUES (%1, 30, '65', '1', '%2', 'GUID-1', 'CAIXA01')")
                   .arg(id)
                   .arg(1234 + id));
}

void InserirItem(AmbienteExportacao& a, int id, int seq, const QString& tributacao, const QString& cfop,
                 const QString& obs = QString()) {
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_ITENS (IDMOVIMENTO, NRSEQUENCIA, IDPRODUTO, IDDETALHE, CDPRODUTO, "
                              "DSPRODUTO, QTDEPRODUTO, VLUNITARIO, VLTOTALPRODUTO, TPTRIBUTACAO, CFOP, OBS_ITEM) "
                              "VALUES (%1, %2, 'P%2', 'D%2', 'C%2', 'Produto %2', 1.5, 10, 15, '%3', '%4', '%5')")
                   .arg(id)
                   .arg(seq)
                   .arg(tributacao, cfop, obs));
}

void InserirDocumento(AmbienteExportacao& a, int id, const QString& tipo, const QString& conteudo) {
    a.Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO, IPTERMINAL) "
                              "VALUES (%1, '%2', '%3', 'CAIXA01')")
                   .arg(id)
                   .arg(tipo, conteudo));
}

QByteArray Ler(const AmbienteExportacao& a, const QString& nome) {
    QFile f(a.ArquivoSaida(nome));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The single file of the export directory matching `filtro` ("" when not one).
QString Unico(const AmbienteExportacao& a, const QString& filtro) {
    const QStringList l = a.ArquivosSaida(filtro);
    return l.size() == 1 ? l.first() : QString();
}

QString Status(const AmbienteExportacao& a, int id) {
    return a.Linhas(QStringLiteral("SELECT ST_MOVIMENTO_EXPORTADO FROM MOVIMENTO WHERE IDMOVIMENTO = %1").arg(id)).join(
        QLatin1Char(','));
}

struct Exportacao {
    explicit Exportacao(AmbienteExportacao& a) : g(a.Gateway()), w(a.Hint, a.Saida()) {
        w.CarregarConfiguracoesCFOP(*g);
    }
    std::unique_ptr<TComunicacaoBancoBistrel> g;
    W w;
};

}  // namespace

TEST(ExportarVendas, ANewSaleWithThreeItemsIsWrittenMarkedAndListed) {
    AmbienteExportacao a;
    {
        auto g = a.Gateway();
        g->GravarConfiguracao(QStringLiteral("CFOP"), QStringLiteral("5102"));
        g->GravarConfiguracao(QStringLiteral("CFOP_ST"), QStringLiteral("5405"));
        g->GravarConfiguracao(QStringLiteral("CFOP_ISS"), QStringLiteral("5933"));
    }
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-01 14:30:05"), QStringLiteral("2026-03-01 14:00:00"));
    InserirItem(a, 1, 1, QStringLiteral("s"), QStringLiteral(" "));
    InserirItem(a, 1, 2, QStringLiteral("T"), QString(), QString(250, QLatin1Char('x')));
    InserirItem(a, 1, 3, QStringLiteral("T"), QStringLiteral("5101"));
    InserirDocumento(a, 1, QStringLiteral("SDOC"), QStringLiteral("<cfe/>"));
    InserirDocumento(a, 1, QStringLiteral("iddoc"), QStringLiteral("id"));
    InserirDocumento(a, 1, QStringLiteral("ECXA"), QStringLiteral("outro"));

    Exportacao e(a);
    ASSERT_TRUE(e.w.ExportarVendas(*e.g));

    const QString hDoc = Unico(a, QStringLiteral("HDoc*"));
    ASSERT_TRUE(QRegularExpression(QStringLiteral(R"(^HDoc\[CAIXA01\]\[CAIXA01-000001235\]\[140000\].+\.dat$)"))
                    .match(hDoc)
                    .hasMatch())
        << hDoc.toStdString();
    const QString base = hDoc.mid(4);
    EXPECT_EQ(Ler(a, hDoc).size(), 14944);
    const QByteArray dDoc = Ler(a, QStringLiteral("DDoc") + base);
    ASSERT_EQ(dDoc.size(), 4356);
    for (int n = 0; n < 3; ++n) {
        TVendaItemRec item;
        item.Carregar(dDoc.mid(n * 1452, 1452));
        EXPECT_EQ(item.Valor(I::NrItem), n + 1);
        EXPECT_EQ(item.Valor(I::QtdeProduto), QStringLiteral("1,5"));
    }
    TVendaItemRec i1, i2, i3;
    i1.Carregar(dDoc.mid(0, 1452));
    i2.Carregar(dDoc.mid(1452, 1452));
    i3.Carregar(dDoc.mid(2904, 1452));
    EXPECT_EQ(i1.Valor(I::Cfop), QStringLiteral("5405"));  // blank CFOP, "s": CFOP_ST
    EXPECT_EQ(i2.Valor(I::Cfop), QStringLiteral("5102"));  // no CFOP, "T": CFOP
    EXPECT_EQ(i3.Valor(I::Cfop), QStringLiteral("5101"));  // the row's own
    EXPECT_EQ(i2.Valor(I::ObsItem), QString(200, QLatin1Char('x')));
    EXPECT_TRUE(i2.Valor(I::TemObservacao));
    EXPECT_FALSE(i1.Valor(I::TemObservacao));

    EXPECT_EQ(Ler(a, QStringLiteral("SDoc") + base), QByteArray("<cfe/>"));
    EXPECT_EQ(Ler(a, QStringLiteral("IDDoc") + base), QByteArray("id"));
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("ADoc*")).isEmpty());
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("~*")).isEmpty());
    EXPECT_EQ(Status(a, 1), QStringLiteral("1"));
    // The ECXA row goes out with its own step.
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT TIPOARQUIVO FROM ARQUIVOSDOCUMENTO")), QStringList{QStringLiteral("ECXA")});
    // The order now carries the fiscal document's date and time.
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT EXTRACT(HOUR FROM DATA_HORA_PEDIDO) || ':' || "
                                      "EXTRACT(MINUTE FROM DATA_HORA_PEDIDO) FROM MOVIMENTO")),
              QStringList{QStringLiteral("14:30")});

    const QString iddoc = QStringLiteral("IDDoc") + base;
    QString esperado;
    for (const QString& p : {QStringLiteral("HDoc"), QStringLiteral("DDoc"), QStringLiteral("SDoc"), QStringLiteral("IDDoc")})
        esperado += QStringLiteral("* ") + p + base + QStringLiteral(";\r\n");
    esperado += QString(3 + iddoc.size(), QLatin1Char('-')) + QStringLiteral("\r\n");
    EXPECT_EQ(e.w.ArquivosExportados(), esperado);

    // Nothing left: a second pass exports nothing.
    Exportacao e2(a);
    EXPECT_TRUE(e2.w.ExportarVendas(*e2.g));
    EXPECT_TRUE(e2.w.ArquivosExportados().isEmpty());
}

TEST(ExportarVendas, CancelledBeforeAndAfterExport) {
    AmbienteExportacao a;
    InserirVenda(a, 1, 2, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 09:55:00"));
    InserirVenda(a, 2, 2, 2, QStringLiteral("2026-03-01 11:00:00"), QStringLiteral("2026-03-01 10:45:30"));
    InserirItem(a, 2, 1, QStringLiteral("T"), QStringLiteral("5102"));
    Exportacao e(a);
    ASSERT_TRUE(e.w.ExportarVendas(*e.g));

    // Before its first export: header, items and an unchanged copy.
    const QString c1 = Unico(a, QStringLiteral("CDoc*001235*"));
    ASSERT_FALSE(c1.isEmpty());
    EXPECT_EQ(Ler(a, c1), Ler(a, QStringLiteral("HDoc") + c1.mid(4)));
    EXPECT_EQ(Ler(a, QStringLiteral("DDoc") + c1.mid(4)).size(), 0);  // no items: an empty file
    EXPECT_TRUE(e.w.ArquivosExportados().contains(QStringLiteral("* DDoc") + c1.mid(4)));

    // After export: only the restamped copy.
    const QString c2 = Unico(a, QStringLiteral("CDoc*001236*"));
    ASSERT_FALSE(c2.isEmpty());
    TVendaHeader h;
    TLeituraVendaHeaderCorvane::GetVendaHeader(a.ArquivoSaida(c2), h);
    EXPECT_EQ(h.Valor(H::TipoRegistro), 8);
    EXPECT_EQ(h.Valor(H::DataFechamento), QStringLiteral("01/03/2026"));
    EXPECT_EQ(h.Valor(H::HoraFechamento), QStringLiteral("10:45:30"));
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("?Doc*001236*")).size() == 1);
    EXPECT_EQ(Status(a, 1), QStringLiteral("1"));
    EXPECT_EQ(Status(a, 2), QStringLiteral("1"));
    // The copy restamped with the order time keeps DATA_HORA_PEDIDO.
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT EXTRACT(SECOND FROM DATA_HORA_PEDIDO) FROM MOVIMENTO WHERE IDMOVIMENTO = 2")),
              QStringList{QStringLiteral("30")});
}

TEST(ExportarVendas, AChangedSaleGetsASignedADocAndTheAlterationPrefixes) {
    AmbienteExportacao a;
    a.Gateway()->GravarConfiguracao(QStringLiteral("StRetaguarda"), QStringLiteral("3"));
    InserirVenda(a, 1, 1, 3, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 09:00:00"),
                 QStringLiteral("77"));
    for (const char* t : {"SDOC", "XDOC", "DANFE", "IDDOC"}) InserirDocumento(a, 1, QString::fromLatin1(t), QStringLiteral("x"));
    InserirDocumento(a, 1, QStringLiteral("SDOC"), QStringLiteral("y"));  // replaces the first SDOC's file
    Exportacao e(a);
    ASSERT_TRUE(e.w.ExportarVendas(*e.g));

    const QString aDoc = Unico(a, QStringLiteral("ADoc*"));
    ASSERT_FALSE(aDoc.isEmpty());
    const QString base = aDoc.mid(4);
    QStringList esperados{aDoc, QStringLiteral("ADanfe") + base, QStringLiteral("ASDoc") + base,
                          QStringLiteral("AXDoc") + base};
    esperados.sort();
    EXPECT_EQ(a.ArquivosSaida(), esperados);  // no HDoc, DDoc nor IDDoc: a sale sent again
    EXPECT_EQ(Ler(a, QStringLiteral("ASDoc") + base), QByteArray("y"));
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 0);  // both SDOC rows count as written

    const QByteArray conteudo = Ler(a, aDoc);
    ASSERT_TRUE(conteudo.endsWith("\r\n"));
    const QList<QByteArray> linhas = conteudo.chopped(2).split('\n');
    ASSERT_EQ(linhas.size(), 2);
    const QByteArray j = linhas[0].chopped(1);  // without its CR
    const QJsonObject o = QJsonDocument::fromJson(j).object();
    EXPECT_EQ(o.keys().size(), 8);
    EXPECT_EQ(o.value(QStringLiteral("NumeroVenda")).toString(), QStringLiteral("000000077"));
    EXPECT_EQ(o.value(QStringLiteral("Sequencial")).toString(), QStringLiteral("1235"));
    EXPECT_EQ(o.value(QStringLiteral("TerminalGUID")).toString(), QStringLiteral("GUID-1"));
    EXPECT_TRUE(j.startsWith("{\"NumeroVenda\":"));
    EXPECT_LT(j.indexOf("\"Modelo\""), j.indexOf("\"DataPedido\""));

    // The signature verifies with the public key.
    ASSERT_GE(sodium_init(), 0);
    const QByteArray assinatura = QByteArray::fromBase64(linhas[1]);
    const QByteArray chave = QByteArray::fromBase64(TAssinaturaDigitalArquivosPDV::ChavePublica().toLatin1());
    ASSERT_EQ(assinatura.size(), crypto_sign_BYTES);
    ASSERT_EQ(chave.size(), crypto_sign_PUBLICKEYBYTES);
    EXPECT_EQ(crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(assinatura.constData()),
                                          reinterpret_cast<const unsigned char*>(j.constData()), j.size(),
                                          reinterpret_cast<const unsigned char*>(chave.constData())),
              0);
    QByteArray alterado = j;
    alterado.replace("000000077", "000000078");
    EXPECT_NE(crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(assinatura.constData()),
                                          reinterpret_cast<const unsigned char*>(alterado.constData()),
                                          alterado.size(), reinterpret_cast<const unsigned char*>(chave.constData())),
              0);
    EXPECT_EQ(Status(a, 1), QStringLiteral("1"));
}

TEST(ExportarVendas, AnOrderAcrossMidnightGetsAnADocOnlyWhenItsDateIsSet) {
    AmbienteExportacao a;
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-02 00:10:00"), QStringLiteral("2026-03-01 23:50:00"));
    InserirVenda(a, 2, 1, 0, QStringLiteral("2026-03-02 00:10:00"), QString());
    // Changed after export: an ADoc whatever its order date.
    InserirVenda(a, 3, 1, 3, QStringLiteral("2026-03-02 00:10:00"), QString(), QStringLiteral("5"));
    Exportacao e(a);
    ASSERT_TRUE(e.w.ExportarVendas(*e.g));
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("ADoc*")).size(), 2);
    EXPECT_FALSE(Unico(a, QStringLiteral("ADoc*001237*")).isEmpty());
    const QString aDoc = Unico(a, QStringLiteral("ADoc*001235*"));
    ASSERT_TRUE(aDoc.contains(QStringLiteral("001235"))) << aDoc.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(Ler(a, aDoc).split('\r').first()).object();
    EXPECT_EQ(o.value(QStringLiteral("DataPedido")).toInt() + 1, o.value(QStringLiteral("DataEmissao")).toInt());
    EXPECT_EQ(o.value(QStringLiteral("NumeroVenda")).toString(), QStringLiteral("000001235"));
    EXPECT_EQ(Status(a, 2), QStringLiteral("1"));
}

TEST(ExportarVendas, AFailingDocumentDeletionRollsBackThatSaleOnly) {
    AmbienteExportacao a;
    for (int id = 1; id <= 3; ++id) {
        InserirVenda(a, id, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 10:00:00"));
        InserirDocumento(a, id, QStringLiteral("SDOC"), QStringLiteral("s"));
    }
    a.Executar(QStringLiteral("CREATE EXCEPTION E_TESTE 'apagar recusado'"));
    a.Executar(QStringLiteral("CREATE TRIGGER T_AD_TESTE FOR ARQUIVOSDOCUMENTO BEFORE DELETE AS BEGIN "
                              "IF (OLD.IDMOVIMENTO = 2) THEN EXCEPTION E_TESTE; END"));
    Exportacao e(a);
    EXPECT_FALSE(e.w.ExportarVendas(*e.g));
    EXPECT_EQ(Status(a, 1), QStringLiteral("1"));
    EXPECT_EQ(Status(a, 2), QStringLiteral("0"));
    EXPECT_EQ(Status(a, 3), QStringLiteral("1"));
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("*001236*")).isEmpty());
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("*.dat")).size(), 6);
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("~*")).isEmpty());
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT IDMOVIMENTO FROM ARQUIVOSDOCUMENTO")), QStringList{QStringLiteral("2")});
    const QString msg =
        QStringLiteral("Não foi possível exportar os arquivos \"SDoc\" e \"IDDoc\" da venda de ID \"2\".");
    EXPECT_EQ(e.w.ArquivosNaoExportados(), msg + QStringLiteral("\r\n") + QString(msg.size(), QLatin1Char('-')) +
                                               QStringLiteral("\r\n"));
}

TEST(ExportarVendas, ASaleChangedMeanwhileWaitsForTheNextRunWithoutFailing) {
    AmbienteExportacao a;
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 10:00:00"));
    InserirVenda(a, 2, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 10:00:00"));
    InserirDocumento(a, 1, QStringLiteral("SDOC"), QStringLiteral("s"));
    // The POS cancels sale 1 while it is being exported.
    a.Executar(QStringLiteral("CREATE TRIGGER T_AD_TESTE FOR ARQUIVOSDOCUMENTO AFTER DELETE AS BEGIN "
                              "UPDATE MOVIMENTO SET ST_MOVIMENTO = 2 WHERE IDMOVIMENTO = OLD.IDMOVIMENTO; END"));
    Exportacao e(a);
    EXPECT_TRUE(e.w.ExportarVendas(*e.g));
    EXPECT_EQ(Status(a, 1), QStringLiteral("0"));
    EXPECT_EQ(Status(a, 2), QStringLiteral("1"));
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 1);
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("*001235*")).isEmpty());
    EXPECT_EQ(a.ArquivosSaida().size(), 2);
    EXPECT_TRUE(e.w.ArquivosNaoExportados().isEmpty());
    const auto registros = AmbienteExportacao::Auditorias();
    ASSERT_EQ(registros.size(), 1);
    EXPECT_EQ(registros[0].Descricao, QStringLiteral("Venda alterada durante a exportação"));
    EXPECT_EQ(registros[0].Tipo, taInformacao);
    EXPECT_TRUE(registros[0].Detalhes.contains(QStringLiteral("ID \"1\"")));
}

// The same, with the POS on a connection of its own: it cancels sale 1 and
// commits after the selection, before the sale's mark.
TEST(ExportarVendas, ASaleThePOSCancelsOnItsOwnConnectionIsSentCancelledByTheNextRun) {
    AmbienteExportacao a;
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 10:00:00"));
    InserirDocumento(a, 1, QStringLiteral("SDOC"), QStringLiteral("s"));
    teste::THintAcao hint(QStringLiteral("Exportando arquivos de movimento (1 de 1"), [&] {
        a.Executar(QStringLiteral("UPDATE MOVIMENTO SET ST_MOVIMENTO = 2 WHERE IDMOVIMENTO = 1"));
    });
    {
        auto g = a.Gateway();
        W w(hint, a.Saida());
        EXPECT_TRUE(w.ExportarVendas(*g));
        EXPECT_TRUE(hint.Executada());
        EXPECT_TRUE(w.ArquivosExportados().isEmpty());
    }
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT ST_MOVIMENTO, ST_MOVIMENTO_EXPORTADO FROM MOVIMENTO")),
              QStringList{QStringLiteral("2|0")});
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 1);

    // The next run sends it once, as the cancelled sale it now is.
    Exportacao e(a);
    ASSERT_TRUE(e.w.ExportarVendas(*e.g));
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("CDoc*")).size(), 1);
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("HDoc*")).size(), 1);
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("SDoc*")).size(), 1);
    EXPECT_EQ(Status(a, 1), QStringLiteral("1"));
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 0);
}

TEST(ExportarVendas, APoisonedSaleIsRecordedAndTheNextOneGoes) {
    AmbienteExportacao a;
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 10:00:00"));
    InserirVenda(a, 2, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 10:00:00"));
    // More payments than the header holds: the header of sale 1 cannot be made.
    for (int n = 1; n <= TVendaHeader::MaxRecebimentos + 1; ++n)
        a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, DSTPREC, VLRECEBIDO) "
                                  "VALUES (1, %1, 'Dinheiro', 1)")
                       .arg(n));
    // Sale 3's payments cannot even be read: their payment type raises on fetch.
    InserirVenda(a, 3, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 10:00:00"));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, IDTPREC, VLRECEBIDO) "
                              "VALUES (3, 1, 'P', 1)"));
    a.Executar(QStringLiteral("DROP TABLE TPREC"));
    a.Executar(QStringLiteral("CREATE TABLE VENENO (ID VARCHAR(40), D INTEGER)"));
    a.Executar(QStringLiteral("INSERT INTO VENENO VALUES ('P', 0)"));
    a.Executar(QStringLiteral("CREATE VIEW TPREC (IDTPREC, CDTPREC, DSTPREC, TPRECEBIMENTO, CNPJADMCARTAO) AS "
                              "SELECT ID, ID, ID, 1 / D, ID FROM VENENO"));
    Exportacao e(a);
    EXPECT_FALSE(e.w.ExportarVendas(*e.g));
    EXPECT_EQ(Status(a, 1), QStringLiteral("0"));
    EXPECT_EQ(Status(a, 2), QStringLiteral("1"));
    EXPECT_EQ(Status(a, 3), QStringLiteral("0"));
    EXPECT_EQ(a.ArquivosSaida().size(), 2);  // sale 2's HDoc and DDoc
    EXPECT_EQ(AmbienteExportacao::Descricoes().count(QStringLiteral("Erro na criação dos arquivos de venda.")), 2);
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("*001235*")).isEmpty());
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("~*")).isEmpty());
    EXPECT_TRUE(AmbienteExportacao::Descricoes().contains(QStringLiteral("Erro na criação dos arquivos de venda.")));
}

TEST(ExportarVendas, TheOrderTimeIsReadBackUnderOtherRegionalSettings) {
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    AmbienteExportacao a;
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-04 14:30:05"), QStringLiteral("2026-03-04 14:00:00"));
    Exportacao e(a);
    const bool ok = e.w.ExportarVendas(*e.g);
    QLocale::setDefault(antes);
    ASSERT_TRUE(ok);
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT EXTRACT(DAY FROM DATA_HORA_PEDIDO) || '/' || EXTRACT(MONTH FROM "
                                      "DATA_HORA_PEDIDO) || ' ' || EXTRACT(HOUR FROM DATA_HORA_PEDIDO) || ':' || "
                                      "EXTRACT(MINUTE FROM DATA_HORA_PEDIDO) FROM MOVIMENTO")),
              QStringList{QStringLiteral("4/3 14:30")});
}

TEST(ExportarVendas, AnUnwritableDirectoryCommitsNothing) {
    AmbienteExportacao a;
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 09:00:00"));
    InserirDocumento(a, 1, QStringLiteral("SDOC"), QStringLiteral("s"));
    auto g = a.Gateway();
    W w(a.Hint, a.ArquivoSaida(QStringLiteral("nao-existe")));
    EXPECT_FALSE(w.ExportarVendas(*g));
    EXPECT_EQ(Status(a, 1), QStringLiteral("0"));
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 1);
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT EXTRACT(HOUR FROM DATA_HORA_PEDIDO) FROM MOVIMENTO")),
              QStringList{QStringLiteral("9")});
    EXPECT_TRUE(w.ArquivosExportados().isEmpty());
    EXPECT_TRUE(AmbienteExportacao::Descricoes().contains(QStringLiteral("Erro na criação dos arquivos de venda.")));
}

// Which sales the selection takes: closed or cancelled, not exported or to be
// sent again, sale operations in any case, and of deliveries only finished
// ones. Every other row stays as it was.
TEST(ExportarVendas, TheSelectionTakesFinishedDeliveriesAndSalesThatAreNoDelivery) {
    AmbienteExportacao a;
    struct Caso {
        int Id;
        int StMovimento, StExportado;
        const char* Operacao;
        const char* Entrega;
        const char* Finalizada;
        bool Exportada;
    };
    const Caso casos[] = {
        {1, 1, 0, "V", "0", "NULL", true},     // no delivery
        {2, 1, 0, "V", "0", "1", true},        // no delivery, whatever the finished flag
        {3, 1, 0, "V", "1", "1", true},        // a finished delivery
        {4, 1, 0, "V", "1", "0", false},       // a delivery under way
        {5, 1, 0, "V", "1", "NULL", false},    // a delivery not marked finished
        {6, 1, 0, "V", "NULL", "1", false},    // no delivery status at all
        {7, 1, 0, "V", "2", "1", false},       // an unknown delivery status
        {8, 2, 2, "v", "0", "0", true},        // cancelled after export, lower-case operation
        {9, 1, 3, "V", "1", "1", true},        // changed after export, finished delivery
        {10, 1, 3, "V", "1", "0", false},      // changed after export, delivery under way
        {11, 1, 1, "V", "0", "0", false},      // already exported
        {12, 0, 0, "V", "0", "0", false},      // still open
        {13, 1, 0, "S", "0", "0", false},      // not a sale operation
    };
    for (const Caso& c : casos) {
        a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, DATA_HORA_PEDIDO, ST_MOVIMENTO, "
                                  "ST_MOVIMENTO_EXPORTADO, NUMERO_PEDIDO, TIPO_OPERACAO, ST_ENTREGA, "
                                  "ST_ENTREGAFINALIZADA) VALUES (%1, '2026-03-01 10:00:00', '2026-03-01 10:00:00', "
                                  "%2, %3, 5, '%4', %5, %6)")
                       .arg(c.Id)
                       .arg(c.StMovimento)
                       .arg(c.StExportado)
                       .arg(QString::fromLatin1(c.Operacao), QString::fromLatin1(c.Entrega),
                            QString::fromLatin1(c.Finalizada)));
        a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, NRORDEM, IPTERMINAL) "
                                  "VALUES (%1, '%2', 'CAIXA01')")
                       .arg(c.Id)
                       .arg(1000 + c.Id));
        InserirDocumento(a, c.Id, QStringLiteral("XDOC"), QStringLiteral("x%1").arg(c.Id));
    }
    Exportacao e(a);
    ASSERT_TRUE(e.w.ExportarVendas(*e.g));
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.Id);
        const QString grupo = QStringLiteral("*-00000%1]*").arg(1000 + c.Id);
        EXPECT_EQ(Status(a, c.Id), QString::number(c.Exportada ? 1 : c.StExportado));
        EXPECT_EQ(a.ArquivosSaida(grupo).isEmpty(), !c.Exportada);
        // The sale's document rows go with it, and only with it.
        EXPECT_EQ(a.Linhas(QStringLiteral("SELECT COUNT(*) FROM ARQUIVOSDOCUMENTO WHERE IDMOVIMENTO = %1").arg(c.Id)),
                  QStringList{c.Exportada ? QStringLiteral("0") : QStringLiteral("1")});
    }
}

// A delivery under way keeps its sale and its document rows in the database:
// neither the sales step nor the step of the document type sends them. Once
// the delivery is finished the next run sends the sale with its documents.
TEST(ExportarVendas, ADeliveryUnderWayWaitsWithItsDocumentsUntilItIsFinished) {
    AmbienteExportacao a;
    InserirVenda(a, 1, 1, 0, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-01 09:00:00"));
    a.Executar(QStringLiteral("UPDATE MOVIMENTO SET ST_ENTREGA = 1, ST_ENTREGAFINALIZADA = 0"));
    for (const char* t : {"SDOC", "XDOC", "CDOCH", "SDOCC", "INUT"})
        InserirDocumento(a, 1, QString::fromLatin1(t), QString::fromLatin1(t).toLower());
    ASSERT_TRUE(a.Exportar(true));
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_EQ(Status(a, 1), QStringLiteral("0"));
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 5);

    a.Executar(QStringLiteral("UPDATE MOVIMENTO SET ST_ENTREGAFINALIZADA = 1"));
    ASSERT_TRUE(a.Exportar(true));
    EXPECT_EQ(Status(a, 1), QStringLiteral("1"));
    const QString hDoc = Unico(a, QStringLiteral("HDoc*"));
    ASSERT_FALSE(hDoc.isEmpty());
    const QString base = hDoc.mid(4);
    // The sale's own kinds go with it under its base name; the types of the
    // later steps (CDOCH, SDOCC, INUT) go out through those steps.
    EXPECT_EQ(Ler(a, QStringLiteral("SDoc") + base), QByteArray("sdoc"));
    EXPECT_EQ(Ler(a, QStringLiteral("XDoc") + base), QByteArray("xdoc"));
    EXPECT_EQ(Ler(a, QStringLiteral("SDocC") + base), QByteArray("sdocc"));
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("CDoc*")).size(), 1);
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("XDocI*")).size(), 1);
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 0);
}

// Each worker fills items with its own CFOP settings; codes 4 to 7, which no
// letter gives, take CFOP_ISS.
TEST(ExportarVendas, EachWorkerUsesItsOwnCfopSettings) {
    AmbienteExportacao a;
    auto g = a.Gateway();
    g->GravarConfiguracao(QStringLiteral("CFOP"), QStringLiteral("5102"));
    g->GravarConfiguracao(QStringLiteral("CFOP_ISS"), QStringLiteral("5933"));
    g->GravarConfiguracao(QStringLiteral("CFOP_ST"), QStringLiteral("5405"));
    W primeiro(a.Hint, a.Saida());
    primeiro.CarregarConfiguracoesCFOP(*g);
    g->GravarConfiguracao(QStringLiteral("CFOP"), QStringLiteral("6102"));
    W segundo(a.Hint, a.Saida());
    segundo.CarregarConfiguracoesCFOP(*g);
    EXPECT_EQ(primeiro.GetCFOPItem(0, QStringLiteral(" ")), QStringLiteral("5102"));
    EXPECT_EQ(segundo.GetCFOPItem(0, QString()), QStringLiteral("6102"));
    EXPECT_EQ(primeiro.GetCFOPItem(0, QString()), QStringLiteral("5102"));
    EXPECT_EQ(primeiro.GetCFOPItem(1, QString()), QStringLiteral("5405"));
    for (unsigned char codigo = 4; codigo <= 7; ++codigo)
        EXPECT_EQ(primeiro.GetCFOPItem(codigo, QString()), QStringLiteral("5933"));
    EXPECT_EQ(primeiro.GetCFOPItem(2, QString()), QStringLiteral("5102"));
    EXPECT_EQ(primeiro.GetCFOPItem(1, QStringLiteral("5949")), QStringLiteral("5949"));
}
