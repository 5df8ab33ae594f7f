// The export run as a whole: file names, the lists of the summary, the
// summary record in its cases, and runs on the embedded database.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

#include "ApoioExportacao.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "firebird/MonitorSql.h"
#include "store/TextoLoja.h"

using namespace vesko;
using vesko::teste::AmbienteExportacao;
using W = vesko::TExportacaoPDVBistrelInterna;

namespace {

const QDateTime kHora(QDate(2026, 3, 1), QTime(14, 30, 5));

// The name without its random suffix: "[...][...][...]" + "<suffix>.dat".
QString SemSufixo(const QString& nome) {
    const QRegularExpression forma(QStringLiteral(R"(^(.*\])[A-Z0-9]{6}\.dat$)"));
    const auto m = forma.match(nome);
    return m.hasMatch() ? m.captured(1) : QStringLiteral("<fora da forma: ") + nome + QLatin1Char('>');
}

}  // namespace

TEST(NomeArquivoExportacao, TerminalOrderNumberAndTimeMakeTheBracketGroups) {
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("CAIXA01"), QStringLiteral("1234"), kHora)),
              QStringLiteral("[CAIXA01][CAIXA01-000001234][143005]"));
    // Only the first eight characters of the terminal; a blank order number drops its group.
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("CAIXA0123456"), QStringLiteral("  "), kHora)),
              QStringLiteral("[CAIXA012][143005]"));
    // The non-fiscal path passes letters as the order number.
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("CAIXA01"), QStringLiteral("CNF"), kHora)),
              QStringLiteral("[CAIXA01][CAIXA01-000000CNF][143005]"));
    // Midnight and the last second of the day; no date.
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("C"), QString(),
                                                     QDateTime(QDate(2026, 1, 2), QTime(0, 0, 0)))),
              QStringLiteral("[C][000000]"));
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("C"), QString(),
                                                     QDateTime(QDate(2026, 1, 2), QTime(23, 59, 59)))),
              QStringLiteral("[C][235959]"));
    // A null date-time reads as midnight.
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("C"), QString(), QDateTime())),
              QStringLiteral("[C][000000]"));
    // Two names of the same moment differ in their suffix.
    EXPECT_NE(W::GetNomeArquivoExportacao(QStringLiteral("C"), QString(), kHora),
              W::GetNomeArquivoExportacao(QStringLiteral("C"), QString(), kHora));
}

TEST(NomeArquivoExportacao, ABlankTerminalTakesTheMachineNameWithoutDashes) {
    const QString maquina = W::GetNomeMaquina();
    EXPECT_FALSE(maquina.contains(QLatin1Char('-')));
    EXPECT_EQ(maquina, GetLocalMachine().remove(QLatin1Char('-')));
    const QString t = maquina.left(8);
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("   "), QStringLiteral("7"), kHora)),
              QStringLiteral("[%1][%1-000000007][143005]").arg(t));
}

TEST(NomeArquivoExportacao, DatabaseTextCannotBreakOutOfTheName) {
    // "PDV:01" would write into a hidden stream of another file on Windows,
    // "/" would name a folder.
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("PDV:01"), QStringLiteral("12/3"), kHora)),
              QStringLiteral("[PDV_01][PDV_01-0000012_3][143005]"));
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("a\\b*c?d\"e"), QString(), kHora)),
              QStringLiteral("[a_b_c_d_][143005]"));
    EXPECT_EQ(SemSufixo(W::GetNomeArquivoExportacao(QStringLiteral("a<b>c|\r"), QString(), kHora)),
              QStringLiteral("[a_b_c__][143005]"));
}

TEST(ListasExportacao, ATrailingDashLineIsDroppedUnlessItIsTheOnlyLine) {
    const QString tracos25(25, QLatin1Char('-'));
    EXPECT_EQ(W::AjustarLista(QStringLiteral("* a.dat;\r\n") + tracos25 + QStringLiteral("\r\n")),
              QStringLiteral("* a.dat;"));
    EXPECT_EQ(W::AjustarLista(tracos25 + QStringLiteral("\r\n")), tracos25);
    // Nineteen dashes are not a dash line; neither is text after twenty.
    const QString tracos19(19, QLatin1Char('-'));
    EXPECT_EQ(W::AjustarLista(QStringLiteral("* a;\r\n") + tracos19), QStringLiteral("* a;\r\n") + tracos19);
    EXPECT_EQ(W::AjustarLista(QStringLiteral("* a;\r\n") + QString(20, QLatin1Char('-')) + QStringLiteral("x")),
              QStringLiteral("* a;"));
    // Inner dash lines stay; blanks and line breaks around are trimmed.
    EXPECT_EQ(W::AjustarLista(QStringLiteral("\r\n  * a;\r\n") + tracos25 + QStringLiteral("\r\n* b;\r\n") + tracos25 +
                              QStringLiteral("\r\n\r\n")),
              QStringLiteral("* a;\r\n") + tracos25 + QStringLiteral("\r\n* b;"));
    EXPECT_EQ(W::AjustarLista(QStringLiteral(" \r\n ")), QString());
}

TEST(ListasExportacao, EntriesAndDashLinesFollowTheLastLine) {
    AmbienteExportacao a;
    W w(a.Hint, a.Saida());
    EXPECT_EQ(W::GetTamanhoUltimaLinha(QString()), 0);
    EXPECT_EQ(W::GetTamanhoUltimaLinha(QStringLiteral("abc\r\nde\r\n")), 2);
    w.AdicionarLinhaTracos();  // nothing to measure yet
    w.AdicionarArquivoExportado(QStringLiteral("LEvt[M][101010]ABCDEF.dat"));
    w.AdicionarLinhaTracos();
    const QString linha = QStringLiteral("* LEvt[M][101010]ABCDEF.dat;");
    EXPECT_EQ(w.ArquivosExportados(),
              linha + QStringLiteral("\r\n") + QString(linha.size(), QLatin1Char('-')) + QStringLiteral("\r\n"));
    EXPECT_EQ(w.GetArquivosExportados(), QStringLiteral("* LEvt[M][101010]ABCDEF.dat;"));
    w.AdicionarArquivoNaoExportado(QStringLiteral("Venda 12 sem documentos"));
    w.AdicionarArquivoNaoExportado(QStringLiteral("Venda 13 sem documentos fiscais"));
    EXPECT_EQ(w.GetArquivosNaoExportados(), QStringLiteral("Venda 12 sem documentos\r\n") +
                                                QString(23, QLatin1Char('-')) +
                                                QStringLiteral("\r\nVenda 13 sem documentos fiscais"));
}

// ---- the summary record --------------------------------------------------------

namespace {

struct CasoResumo {
    bool Completa;
    bool Automatico;
    bool Exportados;
    bool NaoExportados;
    const char* Descricao;  // nullptr: no record
    int Tipo;
};

}  // namespace

TEST(ResumoExportacao, EachCaseWritesItsRecordOrNone) {
    const CasoResumo casos[] = {
        {true, false, true, false, "Exportação realizada com sucesso!", taInformacao},
        {true, true, true, false, "Exportação realizada com sucesso!", taInformacao},
        {true, false, false, false, "Nenhum arquivo exportado para a retaguarda", taInformacao},
        {true, true, false, false, nullptr, 0},  // an automatic run that found nothing leaves no trace
        {false, false, false, true, "Arquivos não exportados para a retaguarda", taAviso},
        {false, false, true, true, "Arquivos não exportados para a retaguarda", taAviso},
        {false, true, false, true, nullptr, 0},
        {false, false, true, false, nullptr, 0},  // failures wrote their own records
        {false, false, false, false, nullptr, 0},
    };
    for (const CasoResumo& c : casos) {
        SCOPED_TRACE(testing::Message() << "completa " << c.Completa << " automatico " << c.Automatico
                                        << " exportados " << c.Exportados << " nao " << c.NaoExportados);
        AmbienteExportacao a;
        W w(a.Hint, a.Saida());
        if (c.Exportados) {
            w.AdicionarArquivoExportado(QStringLiteral("LEvt[M][101010]ABCDEF.dat"));
            w.AdicionarLinhaTracos();
        }
        if (c.NaoExportados) w.AdicionarArquivoNaoExportado(QStringLiteral("Venda 12 sem documentos"));
        w.RegistrarResumo(c.Completa, c.Automatico);
        const auto registros = AmbienteExportacao::Auditorias();
        if (!c.Descricao) {
            EXPECT_TRUE(registros.isEmpty());
            continue;
        }
        ASSERT_EQ(registros.size(), 1);
        EXPECT_EQ(registros[0].Descricao, QString::fromUtf8(c.Descricao));
        EXPECT_EQ(registros[0].Tipo, c.Tipo);
    }
}

TEST(ResumoExportacao, TheSuccessDetailsListTheFilesWithoutTheClosingDashLine) {
    AmbienteExportacao a;
    W w(a.Hint, a.Saida());
    w.AdicionarArquivoExportado(QStringLiteral("LEvt[M][101010]ABCDEF.dat"));
    w.AdicionarLinhaTracos();
    w.RegistrarResumo(true, true);
    ASSERT_EQ(AmbienteExportacao::Auditorias().size(), 1);
    EXPECT_EQ(AmbienteExportacao::Auditorias()[0].Detalhes,
              QStringLiteral("Arquivos exportados:\r\n\r\n* LEvt[M][101010]ABCDEF.dat;"));
}

// ---- whole runs ------------------------------------------------------------------

TEST(ExecucaoExportacao, AnUnreachableDatabaseLeavesOnlyTheGatewaysRecord) {
    AmbienteExportacao a;
    QFile::remove(a.CaminhoBanco());
    EXPECT_FALSE(a.Exportar(false));
    EXPECT_EQ(AmbienteExportacao::Auditorias().size(), 1);
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
}

TEST(ExecucaoExportacao, ARunRemovesStaleTemporariesAndRunsEveryStep) {
    AmbienteExportacao a;
    teste::GravarArquivo(a.ArquivoSaida(QStringLiteral("~HDoc[X][010101]AAAAAA.dat.tmp")), "resto");
    a.Executar(QStringLiteral("INSERT INTO LOGEVT (IDLOG, DSNOMEMAQUINA, DSDESCRICAOCURTA) VALUES (1, 'CAIXA01', 'x')"));
    a.Executar(QStringLiteral("INSERT INTO CLIENTEEXP (IDCLIENTE, NOME, IPTERMINAL, ALTERACAO_CADASTRO) "
                              "VALUES ('9', 'Ana', 'CAIXA02', 1)"));
    // The directory is given without its trailing separator.
    a.Exportar(false);  // whatever the later steps give, the earlier ones did their work
    const QStringList arquivos = a.ArquivosSaida();
    ASSERT_EQ(arquivos.size(), 2) << arquivos.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(arquivos[0].startsWith(QLatin1String("CCad[CAIXA02][")));
    EXPECT_TRUE(arquivos[1].startsWith(QLatin1String("LEvt[CAIXA01][")));
    EXPECT_EQ(a.Contar(QStringLiteral("LOGEVT")), 0);
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 0);
    EXPECT_TRUE(a.Hint.Historico().contains(QStringLiteral("Recebendo logs do banco de dados...")));
    EXPECT_TRUE(a.Hint.Historico().contains(QStringLiteral("Recebendo clientes a exportar do banco de dados...")));
}

// Every statement of the run reaches the database written line by line, each
// line followed by CR LF (the SQL monitor logs each text followed by a
// newline); DATA_HORA_PEDIDO's update goes trimmed, without the last one.
TEST(ExecucaoExportacao, StatementsAreSentLineByLineEachLineEndingInCrLf) {
    AmbienteExportacao a;
    a.Executar(QStringLiteral("INSERT INTO LOGEVT (IDLOG, DSNOMEMAQUINA, DSDESCRICAOCURTA) VALUES (1, 'CAIXA01', 'x')"));
    a.Executar(QStringLiteral("INSERT INTO CLIENTEEXP (IDCLIENTE, NOME, IPTERMINAL, ALTERACAO_CADASTRO) "
                              "VALUES ('9', 'Ana', 'CAIXA02', 0)"));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, ID_CLIENTE, HRFECHAMENTO, DATA_HORA_PEDIDO, "
                              "ST_MOVIMENTO, ST_MOVIMENTO_EXPORTADO, TIPO_OPERACAO, ST_ENTREGA) "
                              "VALUES (1, '9', '2026-03-01 14:30:05', '2026-03-01 14:00:00', 1, 0, 'V', 0)"));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, ST_MOVIMENTO, "
                              "ST_MOVIMENTO_EXPORTADO, TIPO_OPERACAO, TIPO_MOVIMENTO) "
                              "VALUES (2, '2026-03-01 15:00:00', 1, 0, 'S', 'S')"));
    for (int id : {1, 2})
        a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, VALOR, NRORDEM, IPTERMINAL) "
                                  "VALUES (%1, 10, '77', 'CAIXA01')")
                       .arg(id));
    a.Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO, IPTERMINAL) "
                              "VALUES (1, 'SDOC', 's', 'CAIXA01')"));
    a.Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO, IPTERMINAL) "
                              "VALUES (NULL, 'ECXA', 'e', 'CAIXA01')"));
    // Not the first connection of the process: the schema check it would
    // run is no statement of the export.
    a.PrimeiraConexao = false;
    {
        TMonitorSql monitor;
        ASSERT_TRUE(a.Exportar(true));
    }
    ASSERT_EQ(a.Contar(QStringLiteral("ARQUIVOSDOCUMENTO")), 0);
    const QString log = QString::fromUtf8(teste::LerArquivo(TMonitorSql::NomeArquivo()));
    // Lines of a statement, each followed by CR LF; a whole statement also
    // has the monitor's line feed before and after it.
    const auto trecho = [](std::initializer_list<const char*> linhas) {
        QString s;
        for (const char* l : linhas) s += QString::fromLatin1(l) + QStringLiteral("\r\n");
        return s;
    };
    const auto texto = [&](std::initializer_list<const char*> linhas) {
        return QStringLiteral("\n") + trecho(linhas) + QStringLiteral("\n");
    };
    EXPECT_TRUE(log.contains(texto({"SELECT", "  IDLOG,", "  DSUSUARIOLOGADO,", "  DSNOMEMAQUINA,",
                                    "  DSDESCRICAOCURTA,", "  DSDESCRICAOLONGA,", "  TPLOG,", "  DTLOG ", "FROM",
                                    "  LOGEVT"})));
    EXPECT_TRUE(log.contains(texto({"DELETE FROM", "  LOGEVT ", "WHERE", "  IDLOG = :pIdLog"})));
    EXPECT_TRUE(log.contains(trecho({"  DATAHORA_ALTERACAO,", "  COMPLEMENTO_ENDERECO,", "  RDB$DB_KEY AS CHAVE_LINHA",
                                     "FROM", "  CLIENTEEXP"}) +
                             QStringLiteral("\n")));
    EXPECT_TRUE(log.contains(texto({"SELECT", "  NRORDEM,", "  IPTERMINAL,", "  DATA_HORA_PEDIDO ", "FROM",
                                    "  MOVIMENTO M ", "INNER JOIN", "  MOVIMENTO_COMPLEMENTO MC ", "ON",
                                    "  M.IDMOVIMENTO = MC.MOVIMENTO_ID ", "WHERE", "  M.ID_CLIENTE = :pIdCliente AND",
                                    " ((ST_ENTREGA = :pTrue AND ST_ENTREGAFINALIZADA = :pTrue) OR (ST_ENTREGA = :pNao))"})));
    EXPECT_TRUE(log.contains(texto({"DELETE FROM", "  CLIENTEEXP ", "WHERE", "  RDB$DB_KEY = :pChave"})));
    // The sales: the selection, the document rows, the mark.
    EXPECT_TRUE(log.contains(trecho({"WHERE", " (M.ST_MOVIMENTO = :pVenda OR", "  M.ST_MOVIMENTO = :pCancelamento) AND",
                                     " (M.ST_MOVIMENTO_EXPORTADO IN (:pNao, :pAlteracao) OR",
                                     "  M.ST_MOVIMENTO_EXPORTADO = :pCancelamento) AND",
                                     "  UPPER(M.TIPO_OPERACAO) = :pOperacaoVenda AND ",
                                     "  ((ST_ENTREGA=:pTrue and ST_ENTREGAFINALIZADA=:pTrue )",
                                     "   OR (ST_ENTREGA=:pNao))"}) +
                             QStringLiteral("\n")));
    EXPECT_TRUE(log.contains(texto({"SELECT", "  TIPOARQUIVO,", "  CONTEUDOARQUIVO,", "  IDARQUIVODOCUMENTO ", "FROM",
                                    "  ARQUIVOSDOCUMENTO ", "WHERE", "  IDMOVIMENTO = :pIdMovimento"})));
    EXPECT_TRUE(log.contains(texto({"UPDATE", "  MOVIMENTO ", "SET", "  ST_MOVIMENTO_EXPORTADO = :pTrue ", "WHERE",
                                    "  IDMOVIMENTO = :pIdMovimento AND", "  ST_MOVIMENTO = :pStMovimento AND",
                                    "  ST_MOVIMENTO_EXPORTADO = :pStMovimentoExportado"})));
    // Trimmed: no line break after its last line.
    EXPECT_TRUE(log.contains(QStringLiteral("\nUPDATE\r\n  MOVIMENTO \r\nSET\r\n  DATA_HORA_PEDIDO = :pDataHora \r\n"
                                            "WHERE\r\n  IDMOVIMENTO = :pIdMovimento\n")));
    EXPECT_TRUE(log.contains(trecho({"  UPPER(M.TIPO_OPERACAO) IN ('S', 'E') AND",
                                     "  UPPER(M.TIPO_MOVIMENTO) IN ('S', 'U')"}) +
                             QStringLiteral("\n")));
    // Steps 6 to 10: the delivery condition's lines follow the selection's.
    EXPECT_TRUE(log.contains(trecho({"LEFT JOIN MOVIMENTO M ON AD.IDMOVIMENTO = M.IDMOVIMENTO ", "WHERE",
                                     "  UPPER(TIPOARQUIVO) = :pTipoArquvo ",
                                     " AND ((M.ST_ENTREGA=:pTrue and M.ST_ENTREGAFINALIZADA=:pTrue )",
                                     "  OR (M.ST_ENTREGA=:pNao))"}) +
                             QStringLiteral("\n")));
    EXPECT_TRUE(log.contains(trecho({"LEFT JOIN MOVIMENTO M ON AD.IDMOVIMENTO = M.IDMOVIMENTO ", "WHERE",
                                     "  UPPER(TIPOARQUIVO) = :pTipoArquvo "}) +
                             QStringLiteral("\n")));
    EXPECT_TRUE(log.contains(texto({"DELETE FROM", "  ARQUIVOSDOCUMENTO ", "WHERE",
                                    "  IDARQUIVODOCUMENTO = :pIdArquivoDocumento"})));

    // And no statement of the run has a line ended by a bare line feed: in
    // the log, a line that is neither an entry's first line, a parameter nor
    // blank, and is followed by another line of the same statement, ends in CR.
    const QStringList linhas = log.split(QLatin1Char('\n'));
    const QRegularExpression cabecalho(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})"));
    const auto instrucao = [&](const QString& l) {
        return !l.isEmpty() && !cabecalho.match(l).hasMatch() && !l.startsWith(QLatin1String("  :"));
    };
    for (int i = 0; i + 1 < linhas.size(); ++i) {
        if (instrucao(linhas[i]) && instrucao(linhas[i + 1])) {
            EXPECT_TRUE(linhas[i].endsWith(QLatin1Char('\r'))) << linhas[i].toStdString();
        }
    }
}
