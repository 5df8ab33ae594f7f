// Steps 2 and 3 of the export: the event log (LEvt) and the customers (CCad),
// with their queue tables on the embedded database.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "ApoioExportacao.h"
#include "datapacket/ClientDataSet.h"
#include "export/ArquivosExportacao.h"
#include "firebird/Query.h"
#include "records/ClienteExportacaoRec.h"
#include "store/BackupDat.h"
#include "store/MetodosComuns.h"

using namespace vesko;
using vesko::teste::AmbienteExportacao;
using W = vesko::TExportacaoPDVBistrelInterna;
using R = vesko::TClienteExportacaoRec;

namespace {

void InserirLogs(AmbienteExportacao& a) {
    a.Executar(QStringLiteral(
        "INSERT INTO LOGEVT (IDLOG, DSUSUARIOLOGADO, DSNOMEMAQUINA, DSDESCRICAOCURTA, DSDESCRICAOLONGA, TPLOG, DTLOG) "
        "VALUES (3, 'ana', 'CAIXA-9', 'Abertura', 'Abertura do caixa', 1, '2026-03-01 08:00:01')"));
    a.Executar(QStringLiteral(
        "INSERT INTO LOGEVT (IDLOG, DSUSUARIOLOGADO, DSNOMEMAQUINA, DSDESCRICAOCURTA, DSDESCRICAOLONGA, TPLOG, DTLOG) "
        "VALUES (1, 'bia', 'CAIXA-9', 'Sangria', NULL, 2, '2026-03-01 09:30:00')"));
    a.Executar(QStringLiteral(
        "INSERT INTO LOGEVT (IDLOG, DSUSUARIOLOGADO, DSNOMEMAQUINA, DSDESCRICAOCURTA, DSDESCRICAOLONGA, TPLOG, DTLOG) "
        "VALUES (2, 'caio', 'PDV:01', 'Fechamento', 'Fechamento do caixa', 3, '2026-03-01 22:15:59')"));
}

QString ArquivoUnico(const AmbienteExportacao& a, const QString& filtro) {
    const QStringList l = a.ArquivosSaida(filtro);
    return l.size() == 1 ? l.first() : QString();
}

}  // namespace

// ---- event log ------------------------------------------------------------------

TEST(ExportarLogs, AnEmptyLogWritesNothingAndSucceeds) {
    AmbienteExportacao a;
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    EXPECT_TRUE(w.ExportarLogs(*g));
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_TRUE(w.ArquivosExportados().isEmpty());
}

TEST(ExportarLogs, TheRowsGoIntoOneLEvtPacketInSelectionOrderAndLeaveTheQueue) {
    AmbienteExportacao a;
    InserirLogs(a);
    const QStringList ordem = a.Linhas(QStringLiteral("SELECT DSUSUARIOLOGADO FROM LOGEVT"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    ASSERT_TRUE(w.ExportarLogs(*g));
    EXPECT_EQ(a.Contar(QStringLiteral("LOGEVT")), 0);

    const QString nome = ArquivoUnico(a, QStringLiteral("*"));
    // Named after the last row's machine, made safe, with no order group.
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^LEvt\[PDV_01\]\[\d{6}\][A-Z0-9]{6}\.dat$)")).match(nome).hasMatch())
        << nome.toStdString();
    const QString linha = QStringLiteral("* ") + nome + QLatin1Char(';');
    EXPECT_EQ(w.ArquivosExportados(),
              linha + QStringLiteral("\r\n") + QString(linha.size(), QLatin1Char('-')) + QStringLiteral("\r\n"));

    TClientDataSet ds;
    ds.LoadFromFile(a.ArquivoSaida(nome));
    const QStringList campos{QStringLiteral("DsUsuarioLogado"), QStringLiteral("DsNomeMaquina"),
                             QStringLiteral("DsDescricaoCurta"), QStringLiteral("DsDescricaoLonga"),
                             QStringLiteral("TpLog"), QStringLiteral("DtLog")};
    ASSERT_EQ(ds.FieldDefs().Count(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ds.FieldDefs()[i].Name(), campos[i]);
    EXPECT_EQ(ds.FieldDefs()[0].DataType(), ftString);
    EXPECT_EQ(ds.FieldDefs()[0].Size(), 30);
    EXPECT_EQ(ds.FieldDefs()[1].Size(), 50);
    EXPECT_EQ(ds.FieldDefs()[2].Size(), 250);
    EXPECT_EQ(ds.FieldDefs()[3].Size(), 255);
    EXPECT_EQ(ds.FieldDefs()[4].DataType(), ftInteger);
    EXPECT_EQ(ds.FieldDefs()[5].DataType(), ftDateTime);
    ASSERT_EQ(ds.RecordCount(), 3);
    QStringList lidos;
    for (ds.First(); !ds.Eof(); ds.Next()) lidos << ds.FieldByName(QStringLiteral("DsUsuarioLogado")).AsString();
    EXPECT_EQ(lidos, ordem);
    ASSERT_TRUE(ds.Locate(QStringLiteral("DsUsuarioLogado"), QVariantList{QStringLiteral("bia")}));
    EXPECT_TRUE(ds.FieldByName(QStringLiteral("DsDescricaoLonga")).IsNull());
    EXPECT_EQ(ds.FieldByName(QStringLiteral("TpLog")).AsInteger(), 2);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("DtLog")).AsDateTime(), QDateTime(QDate(2026, 3, 1), QTime(9, 30, 0)));
    // A copy under the final name.
    EXPECT_TRUE(QFile::exists(DiretorioBackupsDAT(QDate::currentDate()) + nome));
}

TEST(ExportarLogs, AFailedDeletionKeepsEveryRowAndLeavesNoFile) {
    AmbienteExportacao a;
    InserirLogs(a);
    a.Executar(QStringLiteral("CREATE EXCEPTION E_TESTE 'apagar recusado'"));
    a.Executar(QStringLiteral("CREATE TRIGGER T_LOGEVT_TESTE FOR LOGEVT BEFORE DELETE AS BEGIN "
                              "IF (OLD.IDLOG = 1) THEN EXCEPTION E_TESTE; END"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    EXPECT_FALSE(w.ExportarLogs(*g));
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    EXPECT_EQ(a.Contar(QStringLiteral("LOGEVT")), 3);
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_TRUE(w.ArquivosExportados().isEmpty());
    EXPECT_FALSE(QDir(DiretorioBackupsDAT(QDate::currentDate())).exists());
}

TEST(ExportarLogs, AnUnwritableDirectoryRaisesAndCommitsNothing) {
    AmbienteExportacao a;
    InserirLogs(a);
    teste::GravarArquivo(a.Arquivo(QStringLiteral("naopasta")), "x");
    auto g = a.Gateway();
    W w(a.Hint, a.Arquivo(QStringLiteral("naopasta")));
    EXPECT_ANY_THROW(w.ExportarLogs(*g));
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    g.reset();
    EXPECT_EQ(a.Contar(QStringLiteral("LOGEVT")), 3);
}

// ---- customers ----------------------------------------------------------------------

namespace {

const QString kEndereco = QStringLiteral("Rua das Flores, 123");

void InserirCliente(AmbienteExportacao& a, const QString& id, int alteracao, const QString& extra = QString(),
                    const QString& valoresExtra = QString()) {
    a.Executar(QStringLiteral("INSERT INTO CLIENTEEXP (IDCLIENTE, NOME, CPF_CNPJ, NR_TELEFONE, IPTERMINAL, DSENDERECO, "
                              "NMBAIRRO, NMCIDADE, CDUF, CDCEP, NRCELULAR, EMAIL, ALTERACAO_CADASTRO, "
                              "COMPLEMENTO_ENDERECO%1) VALUES ('%2', 'Ana Souza', '123.456.789-00', '1133334444', "
                              "'CAIXA02', '%3', 'Centro', 'São Paulo', 'SP', '12345-678', '11999998888', "
                              "'ana@exemplo.com', %4, 'Apto 4'%5)")
                   .arg(extra, id, kEndereco, QString::number(alteracao), valoresExtra));
}

void InserirVenda(AmbienteExportacao& a, int idMovimento, const QString& idCliente, const QString& nrOrdem,
                  const QString& terminal, const QString& dataHora, int entrega, int finalizada) {
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, ID_CLIENTE, DATA_HORA_PEDIDO, ST_ENTREGA, "
                              "ST_ENTREGAFINALIZADA) VALUES (%1, '%2', '%3', %4, %5)")
                   .arg(idMovimento)
                   .arg(idCliente, dataHora)
                   .arg(entrega)
                   .arg(finalizada));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, NRORDEM, IPTERMINAL) "
                              "VALUES (%1, '%2', '%3')")
                   .arg(idMovimento)
                   .arg(nrOrdem, terminal));
}

R LerRegistro(const QString& caminho) {
    R rec;
    rec.Carregar(teste::LerArquivo(caminho));
    return rec;
}

}  // namespace

TEST(ExportarClientes, AChangedRegistrationCarriesItsIdAndChangeTimeUnderTheRowsTerminal) {
    AmbienteExportacao a;
    InserirCliente(a, QStringLiteral("77"), 1, QStringLiteral(", DATAHORA_ALTERACAO, IDMUNICIPIO"),
                   QStringLiteral(", '2026-02-03 04:05:06', 3550308"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    ASSERT_TRUE(w.ExportarClientes(*g));
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 0);
    const QString nome = ArquivoUnico(a, QStringLiteral("*"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^CCad\[CAIXA02\]\[\d{6}\][A-Z0-9]{6}\.dat$)")).match(nome).hasMatch())
        << nome.toStdString();
    const QByteArray bytes = teste::LerArquivo(a.ArquivoSaida(nome));
    ASSERT_EQ(bytes.size(), 1074);
    const R rec = LerRegistro(a.ArquivoSaida(nome));
    EXPECT_EQ(rec.Valor(R::IdCliente), QStringLiteral("77"));
    EXPECT_EQ(rec.ByteEm(633), 1);
    EXPECT_EQ(rec.Valor(R::DataHoraAlteracao), TextoDataHoraRegional(QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6))));
    EXPECT_EQ(rec.Valor(R::CpfCnpj), QStringLiteral("123.456.789-00"));
    EXPECT_EQ(rec.Valor(R::Nome), QStringLiteral("Ana Souza"));
    EXPECT_EQ(rec.Valor(R::Logradouro), TMetodosComuns::GetLogradouroSemNumero(kEndereco));
    EXPECT_EQ(rec.Valor(R::Numero), TMetodosComuns::GetNumeroLogradouro(kEndereco));
    EXPECT_EQ(rec.Valor(R::Complemento), QStringLiteral("Apto 4"));
    EXPECT_EQ(rec.Valor(R::NrTelefone), QStringLiteral("1133334444"));
    EXPECT_EQ(rec.Valor(R::NmCidade), QStringLiteral("São Paulo"));
    EXPECT_EQ(rec.Valor(R::NmBairro), QStringLiteral("Centro"));
    EXPECT_EQ(rec.Valor(R::CdUf), QStringLiteral("SP"));
    EXPECT_EQ(rec.Valor(R::CdCep), QStringLiteral("12345678"));
    EXPECT_EQ(rec.Valor(R::Email), QStringLiteral("ana@exemplo.com"));
    EXPECT_EQ(rec.Valor(R::IdMunicipio), QStringLiteral("35503"));  // a short string of 5
    EXPECT_EQ(rec.Valor(R::NrCelular), QStringLiteral("11999998888"));
    // Byte level: the CEP's length byte and text at 521, nothing at the
    // birth date (622 to 632) when there is none.
    EXPECT_EQ(bytes.mid(521, 9), QByteArray("\x08" "12345678"));
    EXPECT_EQ(bytes.mid(622, 11), QByteArray(11, '\0'));
    EXPECT_EQ(bytes.mid(0, 3), QByteArray("\x02" "77"));
    const QString linha = QStringLiteral("* ") + nome + QLatin1Char(';');
    EXPECT_EQ(w.ArquivosExportados(),
              linha + QStringLiteral("\r\n") + QString(linha.size(), QLatin1Char('-')) + QStringLiteral("\r\n"));
}

TEST(ExportarClientes, ANewCustomerTakesTheBracketGroupsOfTheFinishedSale) {
    AmbienteExportacao a;
    InserirCliente(a, QStringLiteral("5"), 0, QStringLiteral(", DTNASCIMENTO"), QStringLiteral(", '1990-07-08'"));
    InserirVenda(a, 10, QStringLiteral("5"), QStringLiteral("1234"), QStringLiteral("CAIXA01"),
                 QStringLiteral("2026-03-01 14:30:05"), 1, 1);
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    ASSERT_TRUE(w.ExportarClientes(*g));
    const QString nome = ArquivoUnico(a, QStringLiteral("*"));
    EXPECT_TRUE(nome.startsWith(QLatin1String("CCad[CAIXA01][CAIXA01-000001234][143005]"))) << nome.toStdString();
    const R rec = LerRegistro(a.ArquivoSaida(nome));
    EXPECT_EQ(rec.ByteEm(0), 0);  // no id for a customer of a sale
    EXPECT_EQ(rec.ByteEm(633), 0);
    EXPECT_EQ(rec.Valor(R::DataHoraAlteracao), QString());
    EXPECT_EQ(rec.Valor(R::DtNascimento), TextoDataRegional(QDate(1990, 7, 8)));
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 0);
}

TEST(ExportarClientes, ACustomerWhoseDeliveryIsUnderWayWaitsInTheQueue) {
    AmbienteExportacao a;
    InserirCliente(a, QStringLiteral("5"), 0);
    InserirVenda(a, 10, QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("CAIXA01"),
                 QStringLiteral("2026-03-01 14:30:05"), 1, 0);
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    EXPECT_TRUE(w.ExportarClientes(*g));
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 1);
}

TEST(ExportarClientes, OnlyTheRowsTheSelectionReturnedAreDeleted) {
    AmbienteExportacao a;
    InserirCliente(a, QStringLiteral("77"), 1);
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    TUnidadeExportacao u(w.DiretorioExportacao());
    ASSERT_TRUE(g->IniciarTransacao());
    std::unique_ptr<TQuery> q;
    ASSERT_TRUE(g->AbrirQuery(QStringLiteral("SELECT C.*, C.RDB$DB_KEY AS CHAVE_LINHA FROM CLIENTEEXP C"), nullptr, q));
    ASSERT_EQ(q->RecordCount(), 1);
    // The POS registers a new change of the same customer after the selection.
    ASSERT_TRUE(g->ExecutarInsert(QStringLiteral("INSERT INTO CLIENTEEXP (IDCLIENTE, NOME, ALTERACAO_CADASTRO) "
                                                 "VALUES ('77', 'Ana Nova', 1)")));
    ASSERT_TRUE(w.GravarArquivosClientes(*g, *q, u));
    ASSERT_TRUE(w.ConcluirUnidade(*g, u, true));
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT IDCLIENTE, NOME FROM CLIENTEEXP")),
              QStringList{QStringLiteral("77|Ana Nova")});
}

TEST(ExportarClientes, ASaleSearchThatFailsFailsTheCustomerAndKeepsTheQueue) {
    AmbienteExportacao a;
    InserirCliente(a, QStringLiteral("1"), 1);
    InserirCliente(a, QStringLiteral("5"), 0);
    a.Executar(QStringLiteral("DROP TABLE MOVIMENTO_COMPLEMENTO"));
    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    EXPECT_FALSE(w.ExportarClientes(*g));
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 2);
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_TRUE(w.ArquivosExportados().isEmpty());
}

TEST(ExportarClientes, AnUnwritableDirectoryIsRecordedAndCommitsNothing) {
    AmbienteExportacao a;
    InserirCliente(a, QStringLiteral("77"), 1);
    InserirCliente(a, QStringLiteral("78"), 1);
    teste::GravarArquivo(a.Arquivo(QStringLiteral("naopasta")), "x");
    auto g = a.Gateway();
    W w(a.Hint, a.Arquivo(QStringLiteral("naopasta")));
    EXPECT_FALSE(w.ExportarClientes(*g));
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    g.reset();
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 2);
    const auto registros = AmbienteExportacao::Auditorias();
    ASSERT_EQ(registros.size(), 1);
    EXPECT_EQ(registros[0].Descricao, QStringLiteral("Erro na criação dos arquivos de clientes"));
    EXPECT_TRUE(registros[0].Detalhes.startsWith(
        QStringLiteral("Ocorreu o seguinte erro na gravação dos arquivos de cadastro de clientes:\r\n\r\n")));
}
