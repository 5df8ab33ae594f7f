// Steps 2 and 3 of the export run: the POS event log (LOGEVT) into one LEvt
// data packet per run, and the customers the checkout registered or changed
// (CLIENTEEXP) into one CCad record file each. Both tables are queues: a row
// leaves only with its step's commit, and the step's files are renamed into
// place just before that commit (removed when it rolls back).
#include <QDateTime>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Excecoes.h"
#include "datapacket/ClientDataSet.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "export/ArquivosExportacao.h"
#include "export/ExportacaoPDVBistrelInterna.h"
#include "export/SqlExportacao.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Query.h"
#include "records/ClienteExportacaoRec.h"
#include "records/RegistroFixo.h"
#include "store/MetodosComuns.h"

namespace vesko {

namespace {

const QString kSqlLogs = MontarSql({
    "SELECT",
    "  IDLOG,",
    "  DSUSUARIOLOGADO,",
    "  DSNOMEMAQUINA,",
    "  DSDESCRICAOCURTA,",
    "  DSDESCRICAOLONGA,",
    "  TPLOG,",
    "  DTLOG ",
    "FROM",
    "  LOGEVT"});

const QString kSqlApagarLog = MontarSql({
    "DELETE FROM",
    "  LOGEVT ",
    "WHERE",
    "  IDLOG = :pIdLog"});

// The selection of the customers, with the row's key added: the deletion
// removes exactly the rows selected, also when the POS adds a row for the
// same customer meanwhile.
const QString kSqlClientes = MontarSql({
    "SELECT",
    "  IDCLIENTE,",
    "  NOME,",
    "  CPF_CNPJ,",
    "  NR_TELEFONE,",
    "  IPTERMINAL,",
    "  DSENDERECO,",
    "  NMBAIRRO,",
    "  NMCIDADE,",
    "  CDUF,",
    "  CDCEP,",
    "  NRCELULAR,",
    "  EMAIL,",
    "  DTNASCIMENTO,",
    "  IDMUNICIPIO, ",
    "  ALTERACAO_CADASTRO,",
    "  DATAHORA_ALTERACAO,",
    "  COMPLEMENTO_ENDERECO,",
    "  RDB$DB_KEY AS CHAVE_LINHA",
    "FROM",
    "  CLIENTEEXP"});

const QString kSqlMovimentoCliente = MontarSql({
    "SELECT",
    "  NRORDEM,",
    "  IPTERMINAL,",
    "  DATA_HORA_PEDIDO ",
    "FROM",
    "  MOVIMENTO M ",
    "INNER JOIN",
    "  MOVIMENTO_COMPLEMENTO MC ",
    "ON",
    "  M.IDMOVIMENTO = MC.MOVIMENTO_ID ",
    "WHERE",
    "  M.ID_CLIENTE = :pIdCliente AND",
    " ((ST_ENTREGA = :pTrue AND ST_ENTREGAFINALIZADA = :pTrue) OR (ST_ENTREGA = :pNao))"});

const QString kSqlApagarCliente = MontarSql({
    "DELETE FROM",
    "  CLIENTEEXP ",
    "WHERE",
    "  RDB$DB_KEY = :pChave"});

// The indexes of the two tables the search of a customer's sale joins whose
// selectivity was never computed on data.
const QString kSqlIndicesSemEstatistica = MontarSql({
    "SELECT",
    "  TRIM(RDB$INDEX_NAME) ",
    "FROM",
    "  RDB$INDICES ",
    "WHERE",
    "  RDB$RELATION_NAME IN ('MOVIMENTO', 'MOVIMENTO_COMPLEMENTO') AND",
    "  COALESCE(RDB$STATISTICS, 0) = 0 AND",
    "  COALESCE(RDB$INDEX_INACTIVE, 0) = 0"});

QString Texto(const TQuery& q, const char* campo) { return q.FieldByName(QString::fromLatin1(campo)).AsString(); }

// Firebird computes an index's selectivity only when the index is made or
// SET STATISTICS runs. On a database whose indexes were made on empty tables
// (as the POS installs it) every selectivity stays 0, and the search of a
// customer's sale then reads MOVIMENTO_COMPLEMENTO whole for every customer:
// the step grows with customers times sales. Each index still without a
// selectivity gets one (each statement commits by itself, before the step's
// transaction); a user without the right to do it keeps the old plan.
void CalcularSeletividadeIndices(TComunicacaoBancoBistrel& Gateway) {
    try {
        TConexaoFirebird& c = Gateway.GetConexao();
        const std::unique_ptr<TQuery> indices = c.Consultar(kSqlIndicesSemEstatistica);
        for (indices->First(); !indices->Eof(); indices->Next())
            c.ExecutarDireto(QStringLiteral("SET STATISTICS INDEX \"") +
                             indices->Fields(0).AsString().replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                             QLatin1Char('"'));
    } catch (const Exception&) {
    }
}

}  // namespace

// ---- event log ------------------------------------------------------------------

bool TExportacaoPDVBistrelInterna::ExportarLogs(TComunicacaoBancoBistrel& Gateway) {
    DefinirHint(QStringLiteral("Recebendo logs do banco de dados..."));
    if (!Gateway.IniciarTransacao()) return false;
    TGuardaTransacao guarda(Gateway);
    TUnidadeExportacao unidade(FDiretorioExportacao);
    std::unique_ptr<TQuery> logs;
    const bool ok = Gateway.AbrirQuery(kSqlLogs, nullptr, logs) && GravarArquivoLogs(Gateway, *logs, unidade);
    if (!ConcluirUnidade(Gateway, unidade, ok)) return false;
    if (!unidade.NomesFinais().isEmpty()) AdicionarLinhaTracos();
    return true;
}

std::unique_ptr<TClientDataSet> TExportacaoPDVBistrelInterna::CriarDataSetLogs() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add(QStringLiteral("DsUsuarioLogado"), ftString, 30);
    ds->FieldDefs().Add(QStringLiteral("DsNomeMaquina"), ftString, 50);
    ds->FieldDefs().Add(QStringLiteral("DsDescricaoCurta"), ftString, 250);
    ds->FieldDefs().Add(QStringLiteral("DsDescricaoLonga"), ftString, 255);
    ds->FieldDefs().Add(QStringLiteral("TpLog"), ftInteger);
    ds->FieldDefs().Add(QStringLiteral("DtLog"), ftDateTime);
    ds->CreateDataSet();
    return ds;
}

bool TExportacaoPDVBistrelInterna::GravarArquivoLogs(TComunicacaoBancoBistrel& Gateway, TQuery& Logs,
                                                     TUnidadeExportacao& Unidade) {
    const int n = Logs.RecordCount();
    if (n <= 0) return true;
    DefinirHint(QStringLiteral("Exportando Logs -> %1 logs a exportar...").arg(n));
    const std::unique_ptr<TClientDataSet> ds = CriarDataSetLogs();
    bool ok = true;
    int i = 1;
    QString maquina;
    for (Logs.First(); !Logs.Eof(); Logs.Next(), ++i) {
        DefinirHint(QStringLiteral("Exportando Logs ") + TComunicacaoBancoBistrel::FormatarProgresso(i, n) +
                    QStringLiteral("..."));
        ds->Append();
        for (const char* campo : {"DsUsuarioLogado", "DsNomeMaquina", "DsDescricaoCurta", "DsDescricaoLonga"}) {
            const TCampoConsulta& origem = Logs.FieldByName(QString::fromLatin1(campo));
            TField& destino = ds->FieldByName(QString::fromLatin1(campo));
            if (origem.IsNull()) destino.Clear();
            else destino.SetAsString(origem.AsString());
        }
        const TCampoConsulta& tpLog = Logs.FieldByName(QStringLiteral("TPLOG"));
        if (tpLog.IsNull()) ds->FieldByName(QStringLiteral("TpLog")).Clear();
        else ds->FieldByName(QStringLiteral("TpLog")).SetAsInteger(tpLog.AsInteger());
        const TCampoConsulta& dtLog = Logs.FieldByName(QStringLiteral("DTLOG"));
        if (dtLog.IsNull()) ds->FieldByName(QStringLiteral("DtLog")).Clear();
        else ds->FieldByName(QStringLiteral("DtLog")).SetAsDateTime(dtLog.AsDateTime());
        ds->Post();
        maquina = Texto(Logs, "DSNOMEMAQUINA");
        if (ok) ok = ApagarLog(Gateway, Logs.FieldByName(QStringLiteral("IDLOG")).AsInteger());
    }
    const QString nome = GetNomeArquivoExportacao(maquina, QString(), QDateTime::currentDateTime());
    ds->SaveToFile(Unidade.CaminhoTemporario(QStringLiteral("LEvt"), nome));
    ds->Close();
    return ok;
}

bool TExportacaoPDVBistrelInterna::ApagarLog(TComunicacaoBancoBistrel& Gateway, int IdLog) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pIdLog")).SetAsInteger(IdLog);
    return Gateway.ExecutarDelete(kSqlApagarLog, params);
}

// ---- customers --------------------------------------------------------------------

bool TExportacaoPDVBistrelInterna::ExportarClientes(TComunicacaoBancoBistrel& Gateway) {
    DefinirHint(QStringLiteral("Recebendo clientes a exportar do banco de dados..."));
    CalcularSeletividadeIndices(Gateway);
    if (!Gateway.IniciarTransacao()) return false;
    TGuardaTransacao guarda(Gateway);
    TUnidadeExportacao unidade(FDiretorioExportacao);
    std::unique_ptr<TQuery> clientes;
    const bool ok =
        Gateway.AbrirQuery(kSqlClientes, nullptr, clientes) && GravarArquivosClientes(Gateway, *clientes, unidade);
    if (!ConcluirUnidade(Gateway, unidade, ok)) return false;
    if (clientes->RecordCount() > 0) AdicionarLinhaTracos();
    return true;
}

bool TExportacaoPDVBistrelInterna::GravarArquivosClientes(TComunicacaoBancoBistrel& Gateway, TQuery& Clientes,
                                                          TUnidadeExportacao& Unidade) {
    const int total = Clientes.RecordCount();
    DefinirHint(QStringLiteral("Exportando clientes -> %1 clientes a exportar...").arg(total));
    bool ok = true;
    int i = 1;
    for (Clientes.First(); !Clientes.Eof(); Clientes.Next(), ++i) {
        DefinirHint(QStringLiteral("Exportando clientes ") + TComunicacaoBancoBistrel::FormatarProgresso(i, total) +
                    QStringLiteral("..."));
        if (ok) ok = GravarArquivoCliente(Gateway, Clientes, Unidade);
    }
    return ok;
}

bool TExportacaoPDVBistrelInterna::GravarArquivoCliente(TComunicacaoBancoBistrel& Gateway, TQuery& Clientes,
                                                        TUnidadeExportacao& Unidade) {
    try {
        TClienteExportacaoRec rec;
        using R = TClienteExportacaoRec;
        const QString endereco = Texto(Clientes, "DSENDERECO");
        rec.Definir(R::CpfCnpj, Texto(Clientes, "CPF_CNPJ"));
        rec.Definir(R::Nome, Texto(Clientes, "NOME"));
        rec.Definir(R::Logradouro, TMetodosComuns::GetLogradouroSemNumero(endereco));
        rec.Definir(R::Numero, TMetodosComuns::GetNumeroLogradouro(endereco));
        rec.Definir(R::NrTelefone, Texto(Clientes, "NR_TELEFONE"));
        rec.Definir(R::NmBairro, Texto(Clientes, "NMBAIRRO"));
        rec.Definir(R::NmCidade, Texto(Clientes, "NMCIDADE"));
        rec.Definir(R::CdUf, Texto(Clientes, "CDUF"));
        rec.Definir(R::CdCep, Texto(Clientes, "CDCEP").remove(QLatin1Char('-')));
        rec.Definir(R::NrCelular, Texto(Clientes, "NRCELULAR"));
        rec.Definir(R::Email, Texto(Clientes, "EMAIL"));
        rec.Definir(R::Complemento, Texto(Clientes, "COMPLEMENTO_ENDERECO"));

        const QString idCliente = Texto(Clientes, "IDCLIENTE");
        const TCampoConsulta& alteracao = Clientes.FieldByName(QStringLiteral("ALTERACAO_CADASTRO"));
        QString nome;
        bool gerarArquivo = false;
        if (!alteracao.IsNull() && alteracao.AsInteger() == 1) {
            rec.Definir(R::IdCliente, idCliente);
            rec.Definir(R::AlteracaoCadastro, true);
            const TCampoConsulta& dataHora = Clientes.FieldByName(QStringLiteral("DATAHORA_ALTERACAO"));
            if (!dataHora.IsNull()) rec.Definir(R::DataHoraAlteracao, TextoDataHoraRegional(dataHora.AsDateTime()));
            gerarArquivo = true;
        } else {
            QString nrOrdem, ipTerminal;
            QDateTime dataHora;
            const int achou = BuscarMovimentoCliente(Gateway, idCliente, nrOrdem, ipTerminal, dataHora);
            if (achou < 0) return false;  // the query did not open: this customer fails
            if (achou > 0) {
                nome = GetNomeArquivoExportacao(ipTerminal, nrOrdem, dataHora);
                gerarArquivo = true;
            }
        }
        const TCampoConsulta& nascimento = Clientes.FieldByName(QStringLiteral("DTNASCIMENTO"));
        if (!nascimento.IsNull()) rec.Definir(R::DtNascimento, TextoDataRegional(nascimento.AsDate()));
        const TCampoConsulta& municipio = Clientes.FieldByName(QStringLiteral("IDMUNICIPIO"));
        if (!municipio.IsNull()) rec.Definir(R::IdMunicipio, municipio.AsString());
        if (nome.isEmpty())
            nome = GetNomeArquivoExportacao(Texto(Clientes, "IPTERMINAL"), QString(), QDateTime::currentDateTime());

        if (!gerarArquivo) return true;
        Unidade.Gravar(QStringLiteral("CCad"), nome, rec.Bytes());
        return ApagarClienteExportado(Gateway, Clientes.FieldByName(QStringLiteral("CHAVE_LINHA")).AsBytes());
    } catch (const std::exception& e) {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Erro na criação dos arquivos de clientes"), QStringLiteral("Exportação"),
            QStringLiteral("Ocorreu o seguinte erro na gravação dos arquivos de cadastro de clientes:\r\n\r\n") +
                MensagemExcecao(e),
            NomeClasseExcecao(e), taErro);
        return false;
    }
}

int TExportacaoPDVBistrelInterna::BuscarMovimentoCliente(TComunicacaoBancoBistrel& Gateway, const QString& IdCliente,
                                                         QString& NrOrdem, QString& IpTerminal, QDateTime& DataHora) {
    TParams params;
    params.CreateParam(ftString, QStringLiteral("pIdCliente")).SetAsString(IdCliente);
    params.CreateParam(ftInteger, QStringLiteral("pTrue")).SetAsInteger(1);
    params.CreateParam(ftInteger, QStringLiteral("pNao")).SetAsInteger(0);
    std::unique_ptr<TQuery> q;
    if (!Gateway.AbrirQuery(kSqlMovimentoCliente, params, q)) return -1;
    if (q->IsEmpty()) return 0;
    // The query is left on its last row.
    NrOrdem = Texto(*q, "NRORDEM");
    IpTerminal = Texto(*q, "IPTERMINAL");
    DataHora = q->FieldByName(QStringLiteral("DATA_HORA_PEDIDO")).AsDateTime();
    return 1;
}

bool TExportacaoPDVBistrelInterna::ApagarClienteExportado(TComunicacaoBancoBistrel& Gateway,
                                                          const QByteArray& ChaveLinha) {
    DefinirHint(QStringLiteral("Apagando cliente exportado do banco de dados local..."));
    TParams params;
    params.CreateParam(ftString, QStringLiteral("pChave")).SetValue(ChaveLinha);
    return Gateway.ExecutarDelete(kSqlApagarCliente, params);
}

}  // namespace vesko
