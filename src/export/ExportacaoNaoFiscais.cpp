// Steps 5 to 10 of the export run: the non-fiscal movements (one HDoc header
// file each, all marked in one transaction), then the stored document files
// of ARQUIVOSDOCUMENTO by type (one file per row, the row deleted after its
// file is in place).
#include <QDateTime>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Excecoes.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "export/ArquivosExportacao.h"
#include "export/ExportacaoPDVBistrelInterna.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Query.h"
#include "records/VendaHeader.h"
#include "store/MetodosComuns.h"

namespace vesko {

namespace {

const QString kSqlMovimentosNaoFiscais = QStringLiteral(
    "SELECT\n"
    "  M.IDMOVIMENTO,\n"
    "  M.HRFECHAMENTO,\n"
    "  M.HRFECHAMENTO AS DATA_HORA_PEDIDO,\n"
    "  M.IDVENDEDOR,\n"
    "  M.ID_USUARIO,\n"
    "  M.ID_CLIENTE,\n"
    "  M.CPF_CNPJ,\n"
    "  M.TIPO_OPERACAO,\n"
    "  MC.VALOR,\n"
    "  MC.OBSERVACAO,\n"
    "  MC.IPTERMINAL,\n"
    "  COALESCE(MC.VLACRESCIMO, 0.00) AS VLACRESCIMO,\n"
    "  COALESCE(MC.VLSERVICO, 0.00) AS VLSERVICO,\n"
    "  COALESCE(MC.VLDESCONTO, 0.00) AS VLDESCONTO,\n"
    "  COALESCE(MC.NRMODELONF, '') AS NRMODELONF,\n"
    "  COALESCE(MC.NRSERIE, '') AS NRSERIE,\n"
    "  COALESCE(MC.NRORDEM, '') AS NRORDEM,\n"
    "  MC.TERMINALGUID,\n"
    "  MC.DOCABERTURAENCERRAMENTO,\n"
    "  MC.VLTRIBFEDNAC,\n"
    "  MC.VLTRIBFEDIMP,\n"
    "  MC.VLTRIBEST,\n"
    "  MC.VLTRIBMUN \n"
    "FROM\n"
    "  MOVIMENTO M \n"
    "INNER JOIN\n"
    "  MOVIMENTO_COMPLEMENTO MC \n"
    "ON\n"
    "  M.IDMOVIMENTO = MC.MOVIMENTO_ID \n"
    "WHERE\n"
    "  M.ST_MOVIMENTO = :pStMovimento AND\n"
    "  M.ST_MOVIMENTO_EXPORTADO = :pFalse AND\n"
    "  UPPER(M.TIPO_OPERACAO) IN ('S', 'E') AND\n"
    "  UPPER(M.TIPO_MOVIMENTO) IN ('S', 'U')");

// The mark of a non-fiscal movement. It also requires the two states the
// selection read (closed, not exported): a movement the POS changed after
// the selection changes no row, and the step rolls back.
const QString kSqlMarcarNaoFiscal = QStringLiteral(
    "UPDATE\n"
    "  MOVIMENTO \n"
    "SET\n"
    "  ST_MOVIMENTO_EXPORTADO = :pTrue \n"
    "WHERE\n"
    "  IDMOVIMENTO = :pIdMovimento AND\n"
    "  ST_MOVIMENTO = :pStMovimento AND\n"
    "  ST_MOVIMENTO_EXPORTADO = :pFalse");

// The selection of a document type, with the row's key added: the deletion
// removes exactly the rows written, not rows the POS adds meanwhile.
const QString kSqlDocumentosPorTipo = QStringLiteral(
    "SELECT\n"
    "  IPTERMINAL,\n"
    "  TIPOARQUIVO,\n"
    "  CONTEUDOARQUIVO,\n"
    "  AD.IDARQUIVODOCUMENTO \n"
    "FROM\n"
    "  ARQUIVOSDOCUMENTO AD \n"
    "LEFT JOIN MOVIMENTO M ON AD.IDMOVIMENTO = M.IDMOVIMENTO \n"
    "WHERE\n"
    "  UPPER(TIPOARQUIVO) = :pTipoArquvo ");

const QString kSqlCondicaoEntrega = QStringLiteral(
    "\n AND ((M.ST_ENTREGA=:pTrue and M.ST_ENTREGAFINALIZADA=:pTrue )\n"
    "  OR (M.ST_ENTREGA=:pNao))");

const QString kSqlApagarDocumento = QStringLiteral(
    "DELETE FROM\n"
    "  ARQUIVOSDOCUMENTO \n"
    "WHERE\n"
    "  IDARQUIVODOCUMENTO = :pIdArquivoDocumento");

void RegistrarErroNaoFiscal(const std::exception& e) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
        QStringLiteral("Erro na criação dos arquivos de movim. não fiscal."), QStringLiteral("Exportação"),
        QStringLiteral("Ocorreu o seguinte erro na gravação dos arquivos de movimento não fiscal:\r\n\r\n") +
            MensagemExcecao(e),
        NomeClasseExcecao(e), taErro);
}

}  // namespace

// ---- non-fiscal movements (step 5) ------------------------------------------------

bool TExportacaoPDVBistrelInterna::ExportarMovimentosNaoFiscais(TComunicacaoBancoBistrel& Gateway) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pStMovimento")).SetAsInteger(1);
    params.CreateParam(ftInteger, QStringLiteral("pFalse")).SetAsInteger(0);
    DefinirHint(QStringLiteral("Recebendo movimentos não fiscais do banco de dados..."));
    if (!Gateway.IniciarTransacao()) return false;
    TGuardaTransacao guarda(Gateway);
    TUnidadeExportacao unidade(FDiretorioExportacao);
    std::unique_ptr<TQuery> movimentos;
    const bool ok = Gateway.AbrirQuery(kSqlMovimentosNaoFiscais, params, movimentos) &&
                    GravarArquivosNaoFiscais(Gateway, *movimentos, unidade);
    // Files are renamed into place only now, just before the commit.
    if (!ConcluirUnidade(Gateway, unidade, ok, false)) return false;
    for (const QString& nome : unidade.NomesFinais()) {
        AdicionarArquivoExportado(nome);
        AdicionarLinhaTracos();
    }
    return true;
}

bool TExportacaoPDVBistrelInterna::GravarArquivosNaoFiscais(TComunicacaoBancoBistrel& Gateway, TQuery& Movimentos,
                                                            TUnidadeExportacao& Unidade) {
    const int total = Movimentos.RecordCount();
    DefinirHint(QStringLiteral("Exportando arquivos de movimentos não fiscais -> %1 movimentos não fiscais a "
                               "exportar...")
                    .arg(total));
    bool ok = true;
    int i = 1;
    for (Movimentos.First(); ok && !Movimentos.Eof(); Movimentos.Next(), ++i) {
        DefinirHint(QStringLiteral("Exportando arquivos de movimentos não fiscais ") +
                    TComunicacaoBancoBistrel::FormatarProgresso(i, total) + QStringLiteral("..."));
        const int idMovimento = Movimentos.FieldByName(QStringLiteral("IDMOVIMENTO")).AsInteger();
        std::unique_ptr<TQuery> recebimentos;
        try {
            recebimentos = TMetodosComuns::GetDataSetRecebimentosVenda(idMovimento, Gateway.GetConexao(), true);
        } catch (const std::exception& e) {
            // A payment read that fails fails this step, not the run.
            RegistrarErroNaoFiscal(e);
            return false;
        }
        ok = GravarArquivoNaoFiscal(Gateway, Movimentos, *recebimentos, Unidade);
        if (ok) {
            TParams params;
            params.CreateParam(ftInteger, QStringLiteral("pTrue")).SetAsInteger(1);
            params.CreateParam(ftInteger, QStringLiteral("pIdMovimento")).SetAsInteger(idMovimento);
            params.CreateParam(ftInteger, QStringLiteral("pStMovimento")).SetAsInteger(1);
            params.CreateParam(ftInteger, QStringLiteral("pFalse")).SetAsInteger(0);
            ok = Gateway.ExecutarUpdate(kSqlMarcarNaoFiscal, params);
        }
    }
    return ok;
}

bool TExportacaoPDVBistrelInterna::GravarArquivoNaoFiscal(TComunicacaoBancoBistrel& Gateway, TQuery& Movimentos,
                                                          TQuery& Recebimentos, TUnidadeExportacao& Unidade) {
    try {
        const QString operacao = Movimentos.FieldByName(QStringLiteral("TIPO_OPERACAO")).AsString();
        const int tipoDocumento = operacao == QLatin1String("E") ? 2 : 1;
        const TVendaHeader header =
            TMetodosComuns::GetVendaHeader(Movimentos, nullptr, &Recebimentos, tipoDocumento, Gateway.GetConexao());
        const QDateTime dataHora = Movimentos.FieldByName(QStringLiteral("DATA_HORA_PEDIDO")).AsDateTime();
        const QString nome =
            GetNomeArquivoExportacao(header.Valor(TVendaHeader::IpTerminal), QStringLiteral("CNF"), dataHora);
        Unidade.Gravar(QStringLiteral("HDoc"), nome, header.Bytes());
        return true;
    } catch (const std::exception& e) {
        RegistrarErroNaoFiscal(e);
        return false;
    }
}

// ---- stored document files by type (steps 6 to 10) ---------------------------------

bool TExportacaoPDVBistrelInterna::ExportarArquivosDocumentoPorTipo(const QString& TipoArquivo, const QString& Prefixo,
                                                                    TComunicacaoBancoBistrel& Gateway) {
    const bool condicaoEntrega = TipoArquivo != QLatin1String("ECXA");
    TParams params;
    params.CreateParam(ftString, QStringLiteral("pTipoArquvo")).SetAsString(TipoArquivo);
    if (condicaoEntrega) {
        params.CreateParam(ftInteger, QStringLiteral("pTrue")).SetAsInteger(1);
        params.CreateParam(ftInteger, QStringLiteral("pNao")).SetAsInteger(0);
    }
    const QString sql = kSqlDocumentosPorTipo + (condicaoEntrega ? kSqlCondicaoEntrega : QString());
    std::unique_ptr<TQuery> documentos;
    if (!Gateway.AbrirQuery(sql, params, documentos)) return false;
    return GravarArquivosDocumentoPorTipo(Gateway, Prefixo, *documentos);
}

bool TExportacaoPDVBistrelInterna::GravarArquivosDocumentoPorTipo(TComunicacaoBancoBistrel& Gateway,
                                                                  const QString& Prefixo, TQuery& Documentos) {
    for (Documentos.First(); !Documentos.Eof(); Documentos.Next()) {
        const QString nome = GetNomeArquivoExportacao(Documentos.FieldByName(QStringLiteral("IPTERMINAL")).AsString(),
                                                      QString(), QDateTime::currentDateTime());
        // Errors while writing raise and end the run; the unit then removes
        // the temporary, and this row stays for the next run.
        TUnidadeExportacao unidade(FDiretorioExportacao);
        unidade.Gravar(Prefixo, nome, Documentos.FieldByName(QStringLiteral("CONTEUDOARQUIVO")).AsBytes());
        if (!unidade.Efetivar()) {
            TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
                QStringLiteral("Erro na gravação dos arquivos de exportação"), QStringLiteral("Exportação"),
                QStringLiteral("Não foi possível dar o nome final ao arquivo ") + Prefixo + nome +
                    QStringLiteral(" no diretório ") + FDiretorioExportacao +
                    QStringLiteral("; o documento será exportado na próxima exportação."),
                QString(), taErro);
            return false;
        }
        unidade.Concluir();
        for (const QString& caminho : unidade.CaminhosFinais()) CriarBackupArquivo(caminho);
        for (const QString& final : unidade.NomesFinais()) {
            AdicionarArquivoExportado(final);
            AdicionarLinhaTracos();
        }
        // The file is in place: its row goes. A failed deletion leaves the
        // row (sent again by the next run) and stops the step.
        TParams params;
        params.CreateParam(ftInteger, QStringLiteral("pIdArquivoDocumento"))
            .SetAsInteger(Documentos.FieldByName(QStringLiteral("IDARQUIVODOCUMENTO")).AsInteger());
        if (!Gateway.ExecutarDelete(kSqlApagarDocumento, params)) return false;
    }
    return true;
}

}  // namespace vesko
