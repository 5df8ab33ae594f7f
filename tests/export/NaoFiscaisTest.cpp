// Steps 5 to 10 of the export: the non-fiscal movements (HDoc with the "CNF"
// order group, one transaction for the step) and the stored document files
// by type (ECxa, XDoc, XDocI, CDoc, SDocC), on the embedded database.
#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include "ApoioExportacao.h"
#include "export/ArquivosExportacao.h"
#include "firebird/Query.h"
#include "records/VendaHeader.h"
#include "store/BackupDat.h"

using namespace vesko;
using vesko::teste::AmbienteExportacao;
using W = vesko::TExportacaoPDVBistrelInterna;
using H = vesko::TVendaHeader;

namespace {

// A non-fiscal movement closed at 14:30:05 on terminal CAIXA01.
void InserirMovimento(AmbienteExportacao& a, int id, const QString& operacao, const QString& tipoMovimento = "S",
                      int stMovimento = 1, int exportado = 0) {
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, ST_MOVIMENTO, "
                              "ST_MOVIMENTO_EXPORTADO, TIPO_OPERACAO, TIPO_MOVIMENTO) "
                              "VALUES (%1, '2026-03-01 14:30:05', %2, %3, '%4', '%5')")
                   .arg(id)
                   .arg(stMovimento)
                   .arg(exportado)
                   .arg(operacao, tipoMovimento));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, VALOR, IPTERMINAL, NRORDEM) "
                              "VALUES (%1, 12.5, 'CAIXA01', '77')")
                   .arg(id));
}

QString Exportados(const QStringList& nomes) {
    QString r;
    for (const QString& n : nomes) {
        const QString linha = QStringLiteral("* ") + n + QLatin1Char(';');
        r += linha + QStringLiteral("\r\n") + QString(linha.size(), QLatin1Char('-')) + QStringLiteral("\r\n");
    }
    return r;
}

QStringList Exportados(const AmbienteExportacao& a) {
    return a.Linhas(QStringLiteral("SELECT IDMOVIMENTO, ST_MOVIMENTO_EXPORTADO FROM MOVIMENTO ORDER BY 1"));
}

void InserirDocumento(AmbienteExportacao& a, const QString& tipo, const QString& idMovimento, const QString& conteudo,
                      const QString& terminal = QStringLiteral("CAIXA01")) {
    a.Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO, IPTERMINAL) "
                              "VALUES (%1, '%2', %3, '%4')")
                   .arg(idMovimento, tipo, conteudo, terminal));
}

void InserirEntrega(AmbienteExportacao& a, int id, int entrega, int finalizada) {
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, ST_ENTREGA, ST_ENTREGAFINALIZADA) "
                              "VALUES (%1, %2, %3)")
                   .arg(id)
                   .arg(entrega)
                   .arg(finalizada));
}

}  // namespace

// ---- non-fiscal movements -----------------------------------------------------------

TEST(ExportarMovimentosNaoFiscais, EachMovementGetsOneHeaderFileAndAllAreMarkedInOneCommit) {
    AmbienteExportacao a;
    InserirMovimento(a, 1, QStringLiteral("E"));
    InserirMovimento(a, 2, QStringLiteral("S"), QStringLiteral("U"));
    InserirMovimento(a, 3, QStringLiteral("e"));
    InserirMovimento(a, 4, QStringLiteral("S"), QStringLiteral("V"));  // not a non-fiscal movement
    InserirMovimento(a, 5, QStringLiteral("S"), QStringLiteral("S"), 0);  // still open
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, DSTPREC, VLRECEBIDO) "
                              "VALUES (2, 1, 'Dinheiro', 12.5)"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    ASSERT_TRUE(w.ExportarMovimentosNaoFiscais(*g));
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    EXPECT_EQ(Exportados(a), (QStringList{"1|1", "2|1", "3|1", "4|0", "5|0"}));

    const QStringList nomes = a.ArquivosSaida();
    ASSERT_EQ(nomes.size(), 3);
    const QRegularExpression padrao(
        QStringLiteral(R"(^HDoc\[CAIXA01\]\[CAIXA01-000000CNF\]\[143005\][A-Z0-9]{6}\.dat$)"));
    QMap<int, int> tipoPorMovimento;
    QMap<int, int> recebimentosPorMovimento;
    for (const QString& nome : nomes) {
        EXPECT_TRUE(padrao.match(nome).hasMatch()) << nome.toStdString();
        const QByteArray bytes = teste::LerArquivo(a.ArquivoSaida(nome));
        ASSERT_EQ(bytes.size(), H::Tamanho);
        H h;
        h.Carregar(bytes);
        EXPECT_EQ(h.Valor(H::IpTerminal), QStringLiteral("CAIXA01"));
        tipoPorMovimento[h.Valor(H::IdMovimento)] = h.Valor(H::TipoRegistro);
        recebimentosPorMovimento[h.Valor(H::IdMovimento)] = h.Valor(H::QtdeRecebimentos);
        EXPECT_TRUE(QFile::exists(DiretorioBackupsDAT(QDate::currentDate()) + nome));
    }
    // "E" comes in (2); "S", and a lower-case "e", go out (1).
    EXPECT_EQ(tipoPorMovimento, (QMap<int, int>{{1, 2}, {2, 1}, {3, 1}}));
    EXPECT_EQ(recebimentosPorMovimento[2], 1);
    // Each file followed by its own dash line, in the order of the selection.
    QStringList naOrdem;
    for (const QString& l : w.ArquivosExportados().split(QStringLiteral("\r\n")))
        if (l.startsWith(QLatin1String("* "))) naOrdem << l.mid(2, l.size() - 3);
    EXPECT_EQ(naOrdem.size(), 3);
    EXPECT_EQ(w.ArquivosExportados(), Exportados(naOrdem));
}

TEST(ExportarMovimentosNaoFiscais, AFailedMarkRollsBackTheWholeStepAndRemovesItsFiles) {
    AmbienteExportacao a;
    InserirMovimento(a, 1, QStringLiteral("S"));
    InserirMovimento(a, 2, QStringLiteral("S"));
    InserirMovimento(a, 3, QStringLiteral("S"));
    a.Executar(QStringLiteral("CREATE EXCEPTION E_TESTE 'marca recusada'"));
    a.Executar(QStringLiteral("CREATE TRIGGER T_MOV_TESTE FOR MOVIMENTO BEFORE UPDATE AS BEGIN "
                              "IF (OLD.IDMOVIMENTO = 2) THEN EXCEPTION E_TESTE; END"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    EXPECT_FALSE(w.ExportarMovimentosNaoFiscais(*g));
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    EXPECT_EQ(Exportados(a), (QStringList{"1|0", "2|0", "3|0"}));
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());  // neither final names nor temporaries
    EXPECT_TRUE(w.ArquivosExportados().isEmpty());
    EXPECT_FALSE(QDir(DiretorioBackupsDAT(QDate::currentDate())).exists());
}

TEST(ExportarMovimentosNaoFiscais, AMovementChangedAfterTheSelectionIsNotMarked) {
    AmbienteExportacao a;
    InserirMovimento(a, 1, QStringLiteral("S"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    TUnidadeExportacao u(w.DiretorioExportacao());
    ASSERT_TRUE(g->IniciarTransacao());
    std::unique_ptr<TQuery> q;
    ASSERT_TRUE(g->AbrirQuery(QStringLiteral("SELECT M.*, MC.* FROM MOVIMENTO M JOIN MOVIMENTO_COMPLEMENTO MC "
                                             "ON M.IDMOVIMENTO = MC.MOVIMENTO_ID"),
                              nullptr, q));
    // The POS cancels it meanwhile.
    ASSERT_TRUE(g->ExecutarUpdate(QStringLiteral("UPDATE MOVIMENTO SET ST_MOVIMENTO = 2")));
    bool adiado = false;
    EXPECT_FALSE(w.GravarArquivosNaoFiscais(*g, *q, u, adiado));
    EXPECT_TRUE(adiado);
    EXPECT_FALSE(w.ConcluirUnidade(*g, u, false));
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT ST_MOVIMENTO, ST_MOVIMENTO_EXPORTADO FROM MOVIMENTO")),
              QStringList{QStringLiteral("1|0")});
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
}

// The POS cancels movement 2 from its own connection while the step is
// writing movement 1: the step rolls back as a whole, leaves no file and no
// mark, says why in an informative record, and is not a failure. The next
// run sends movement 1 once; the cancelled movement is no longer selected.
TEST(ExportarMovimentosNaoFiscais, AMovementThePOSChangesDuringTheStepDefersTheWholeStep) {
    AmbienteExportacao a;
    InserirMovimento(a, 1, QStringLiteral("S"));
    InserirMovimento(a, 2, QStringLiteral("E"));
    teste::THintAcao hint(QStringLiteral("Exportando arquivos de movimentos não fiscais (1 de 2"), [&] {
        a.Executar(QStringLiteral("UPDATE MOVIMENTO SET ST_MOVIMENTO = 2 WHERE IDMOVIMENTO = 2"));
    });
    {
        auto g = a.Gateway();
        W w(hint, a.Saida());
        EXPECT_TRUE(w.ExportarMovimentosNaoFiscais(*g));
        EXPECT_TRUE(hint.Executada());
        EXPECT_FALSE(g->GetConexao().EmTransacao());
        EXPECT_TRUE(w.ArquivosExportados().isEmpty());
    }
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());  // neither final names nor temporaries
    EXPECT_FALSE(QDir(DiretorioBackupsDAT(QDate::currentDate())).exists());
    EXPECT_EQ(Exportados(a), (QStringList{"1|0", "2|0"}));
    const auto registros = AmbienteExportacao::Auditorias();
    ASSERT_EQ(registros.size(), 1);
    EXPECT_EQ(registros[0].Descricao, QStringLiteral("Movimento não fiscal alterado durante a exportação"));
    EXPECT_EQ(registros[0].Tipo, taInformacao);
    EXPECT_TRUE(registros[0].Detalhes.contains(QStringLiteral("ID \"2\"")));

    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    ASSERT_TRUE(w.ExportarMovimentosNaoFiscais(*g));
    EXPECT_EQ(Exportados(a), (QStringList{"1|1", "2|0"}));
    const QStringList nomes = a.ArquivosSaida();
    ASSERT_EQ(nomes.size(), 1);
    H h;
    h.Carregar(teste::LerArquivo(a.ArquivoSaida(nomes.first())));
    EXPECT_EQ(h.Valor(H::IdMovimento), 1);
}

TEST(ExportarMovimentosNaoFiscais, AFailingPaymentReadFailsTheStepNotTheRun) {
    AmbienteExportacao a;
    InserirMovimento(a, 1, QStringLiteral("S"));
    a.Executar(QStringLiteral("DROP TABLE MOVIMENTO_RECEBIMENTOS"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    bool ok = true;
    EXPECT_NO_THROW(ok = w.ExportarMovimentosNaoFiscais(*g));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    EXPECT_EQ(Exportados(a), QStringList{QStringLiteral("1|0")});
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_TRUE(AmbienteExportacao::Descricoes().contains(
        QStringLiteral("Erro na criação dos arquivos de movim. não fiscal.")));
}

TEST(ExportarMovimentosNaoFiscais, AnUnwritableDirectoryIsRecordedAndCommitsNothing) {
    AmbienteExportacao a;
    InserirMovimento(a, 1, QStringLiteral("S"));
    InserirMovimento(a, 2, QStringLiteral("E"));
    teste::GravarArquivo(a.Arquivo(QStringLiteral("naopasta")), "x");
    auto g = a.Gateway();
    W w(a.Hint, a.Arquivo(QStringLiteral("naopasta")));
    EXPECT_FALSE(w.ExportarMovimentosNaoFiscais(*g));
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    g.reset();
    EXPECT_EQ(Exportados(a), (QStringList{"1|0", "2|0"}));
    const auto registros = AmbienteExportacao::Auditorias();
    ASSERT_EQ(registros.size(), 1);
    EXPECT_EQ(registros[0].Descricao, QStringLiteral("Erro na criação dos arquivos de movim. não fiscal."));
    EXPECT_EQ(registros[0].Tipo, taErro);
    EXPECT_TRUE(registros[0].Detalhes.startsWith(
        QStringLiteral("Ocorreu o seguinte erro na gravação dos arquivos de movimento não fiscal:\r\n\r\n")));
}

// ---- stored document files by type ------------------------------------------------------

// Movements: 10 not a delivery, 11 a finished delivery, 12 a delivery under
// way. Each type gets a row for each of them and one without a movement.
TEST(ExportarArquivosDocumentoPorTipo, EachTypeSendsWhatItsDeliveryConditionAdmits) {
    struct Caso {
        const char* Tipo;
        const char* Prefixo;
        bool Condicao;
    };
    const Caso casos[] = {{"ECXA", "ECxa", false},
                          {"XDOC", "XDoc", true},
                          {"INUT", "XDocI", true},
                          {"CDOCH", "CDoc", true},
                          {"SDOCC", "SDocC", true}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.Tipo);
        AmbienteExportacao a;
        InserirEntrega(a, 10, 0, 0);
        InserirEntrega(a, 11, 1, 1);
        InserirEntrega(a, 12, 1, 0);
        const QString tipo = QString::fromLatin1(c.Tipo);
        // Stored in lower case: the type is compared in upper case.
        InserirDocumento(a, tipo.toLower(), QStringLiteral("10"), QStringLiteral("'dez'"));
        InserirDocumento(a, tipo, QStringLiteral("11"), QStringLiteral("'onze'"));
        InserirDocumento(a, tipo, QStringLiteral("12"), QStringLiteral("'doze'"));
        InserirDocumento(a, tipo, QStringLiteral("NULL"), QStringLiteral("'solto'"));
        InserirDocumento(a, QStringLiteral("OUTRO"), QStringLiteral("10"), QStringLiteral("'outro'"));
        auto g = a.Gateway();
        W w(a.Hint, a.Saida());
        ASSERT_TRUE(w.ExportarArquivosDocumentoPorTipo(tipo, QString::fromLatin1(c.Prefixo), *g));
        EXPECT_FALSE(g->GetConexao().EmTransacao());

        const QStringList esperados = c.Condicao ? QStringList{"dez", "onze"}
                                                 : QStringList{"dez", "doze", "onze", "solto"};
        const QStringList restantes = c.Condicao ? QStringList{"doze", "outro", "solto"} : QStringList{"outro"};
        const QStringList nomes = a.ArquivosSaida();
        QStringList conteudos;
        for (const QString& n : nomes) {
            EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^%1\[CAIXA01\]\[\d{6}\][A-Z0-9]{6}\.dat$)")
                                               .arg(QString::fromLatin1(c.Prefixo)))
                            .match(n)
                            .hasMatch())
                << n.toStdString();
            conteudos << QString::fromLatin1(teste::LerArquivo(a.ArquivoSaida(n)));
        }
        conteudos.sort();
        EXPECT_EQ(conteudos, esperados);
        EXPECT_EQ(a.Linhas(QStringLiteral("SELECT CAST(CONTEUDOARQUIVO AS VARCHAR(10)) FROM ARQUIVOSDOCUMENTO "
                                          "ORDER BY 1")),
                  restantes);
        QStringList listados;
        for (const QString& l : w.ArquivosExportados().split(QStringLiteral("\r\n")))
            if (l.startsWith(QLatin1String("* "))) listados << l.mid(2, l.size() - 3);
        EXPECT_EQ(w.ArquivosExportados(), Exportados(listados));
        listados.sort();
        EXPECT_EQ(listados, nomes);
    }
}

TEST(ExportarArquivosDocumentoPorTipo, ContentIsWrittenByteForByteAndBackedUp) {
    AmbienteExportacao a;
    InserirDocumento(a, QStringLiteral("ECXA"), QStringLiteral("NULL"), QStringLiteral("x'00FF0D0A41'"),
                     QStringLiteral("PDV:01/ABCDEF"));
    InserirDocumento(a, QStringLiteral("ECXA"), QStringLiteral("NULL"), QStringLiteral("x'00FF0D0A41'"),
                     QStringLiteral("PDV:01/ABCDEF"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    ASSERT_TRUE(w.ExportarArquivosDocumentoPorTipo(QStringLiteral("ECXA"), QStringLiteral("ECxa"), *g));
    // Two rows of one terminal in the same second: two names, told apart by
    // the suffix, the terminal made safe for a file name.
    const QStringList nomes = a.ArquivosSaida();
    ASSERT_EQ(nomes.size(), 2);
    for (const QString& n : nomes) {
        EXPECT_TRUE(n.startsWith(QLatin1String("ECxa[PDV_01_A][")));
        EXPECT_EQ(teste::LerArquivo(a.ArquivoSaida(n)), QByteArray("\x00\xFF\r\nA", 5));
        EXPECT_TRUE(QFile::exists(DiretorioBackupsDAT(QDate::currentDate()) + n));
    }
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 0);
}

TEST(ExportarArquivosDocumentoPorTipo, RowsAddedAfterTheSelectionStay) {
    AmbienteExportacao a;
    InserirEntrega(a, 10, 0, 0);
    InserirDocumento(a, QStringLiteral("XDOC"), QStringLiteral("10"), QStringLiteral("'antes'"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    std::unique_ptr<TQuery> q;
    ASSERT_TRUE(g->AbrirQuery(QStringLiteral("SELECT IPTERMINAL, TIPOARQUIVO, CONTEUDOARQUIVO, IDARQUIVODOCUMENTO "
                                             "FROM ARQUIVOSDOCUMENTO"),
                              nullptr, q));
    InserirDocumento(a, QStringLiteral("XDOC"), QStringLiteral("10"), QStringLiteral("'depois'"));
    ASSERT_TRUE(w.GravarArquivosDocumentoPorTipo(*g, QStringLiteral("XDoc"), *q));
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT CAST(CONTEUDOARQUIVO AS VARCHAR(10)) FROM ARQUIVOSDOCUMENTO")),
              QStringList{QStringLiteral("depois")});
    ASSERT_EQ(a.ArquivosSaida().size(), 1);
    EXPECT_EQ(teste::LerArquivo(a.ArquivoSaida(a.ArquivosSaida().first())), QByteArray("antes"));
}

TEST(ExportarArquivosDocumentoPorTipo, AFailedDeletionKeepsTheRowAndStopsTheStep) {
    AmbienteExportacao a;
    InserirDocumento(a, QStringLiteral("ECXA"), QStringLiteral("NULL"), QStringLiteral("'um'"));
    a.Executar(QStringLiteral("CREATE EXCEPTION E_TESTE 'apagar recusado'"));
    a.Executar(QStringLiteral("CREATE TRIGGER T_AD_TESTE FOR ARQUIVOSDOCUMENTO BEFORE DELETE AS BEGIN "
                              "EXCEPTION E_TESTE; END"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    EXPECT_FALSE(w.ExportarArquivosDocumentoPorTipo(QStringLiteral("ECXA"), QStringLiteral("ECxa"), *g));
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 1);
    // The file was already in place: it stays, listed, and goes again next run.
    EXPECT_EQ(a.ArquivosSaida().size(), 1);
    EXPECT_FALSE(w.ArquivosExportados().isEmpty());
}

TEST(ExportarArquivosDocumentoPorTipo, AnUnwritableDirectoryRaisesAndDeletesNothing) {
    AmbienteExportacao a;
    InserirDocumento(a, QStringLiteral("ECXA"), QStringLiteral("NULL"), QStringLiteral("'um'"));
    teste::GravarArquivo(a.Arquivo(QStringLiteral("naopasta")), "x");
    auto g = a.Gateway();
    W w(a.Hint, a.Arquivo(QStringLiteral("naopasta")));
    EXPECT_ANY_THROW(w.ExportarArquivosDocumentoPorTipo(QStringLiteral("ECXA"), QStringLiteral("ECxa"), *g));
    g.reset();
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 1);
    EXPECT_TRUE(w.ArquivosExportados().isEmpty());
}

TEST(ExportacaoNaoFiscais, AWholeRunSendsMovementsAndDocumentsAndReportsThem) {
    AmbienteExportacao a;
    InserirMovimento(a, 1, QStringLiteral("S"));
    InserirDocumento(a, QStringLiteral("ECXA"), QStringLiteral("NULL"), QStringLiteral("'caixa'"));
    InserirDocumento(a, QStringLiteral("SDOCC"), QStringLiteral("1"), QStringLiteral("'cancelamento'"));
    ASSERT_TRUE(a.Exportar(false));
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("HDoc*")).size(), 1);
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("ECxa*")).size(), 1);
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("SDocC*")).size(), 1);
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("~*")).size(), 0);
    EXPECT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 0);
    const auto registros = AmbienteExportacao::Auditorias();
    ASSERT_EQ(registros.size(), 1);
    EXPECT_EQ(registros[0].Descricao, QStringLiteral("Exportação realizada com sucesso!"));
    EXPECT_TRUE(registros[0].Detalhes.contains(a.ArquivosSaida(QStringLiteral("SDocC*")).first()));
}
