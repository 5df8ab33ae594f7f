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
#include "export/SqlExportacao.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Query.h"
#include "records/VendaHeader.h"
#include "store/MetodosComuns.h"

namespace vesko {

namespace {

const QString kSqlMovimentosNaoFiscais = MontarSql({
    "SELECT",
    "  M.IDMOVIMENTO,",
    "  M.HRFECHAMENTO,",
    "  M.HRFECHAMENTO AS DATA_HORA_PEDIDO,",
    "  M.IDVENDEDOR,",
    "  M.ID_USUARIO,",
    "  M.ID_CLIENTE,",
    "  M.CPF_CNPJ,",
    "  M.TIPO_OPERACAO,",
    "  MC.VALOR,",
    "  MC.OBSERVACAO,",
    "  MC.IPTERMINAL,",
    "  COALESCE(MC.VLACRESCIMO, 0.00) AS VLACRESCIMO,",
    "  COALESCE(MC.VLSERVICO, 0.00) AS VLSERVICO,",
    "  COALESCE(MC.VLDESCONTO, 0.00) AS VLDESCONTO,",
    "  COALESCE(MC.NRMODELONF, '') AS NRMODELONF,",
    "  COALESCE(MC.NRSERIE, '') AS NRSERIE,",
    "  COALESCE(MC.NRORDEM, '') AS NRORDEM,",
    "  MC.TERMINALGUID,",
    "  MC.DOCABERTURAENCERRAMENTO,",
    "  MC.VLTRIBFEDNAC,",
    "  MC.VLTRIBFEDIMP,",
    "  MC.VLTRIBEST,",
    "  MC.VLTRIBMUN ",
    "FROM",
    "  MOVIMENTO M ",
    "INNER JOIN",
    "  MOVIMENTO_COMPLEMENTO MC ",
    "ON",
    "  M.IDMOVIMENTO = MC.MOVIMENTO_ID ",
    "WHERE",
    "  M.ST_MOVIMENTO = :pStMovimento AND",
    "  M.ST_MOVIMENTO_EXPORTADO = :pFalse AND",
    "  UPPER(M.TIPO_OPERACAO) IN ('S', 'E') AND",
    "  UPPER(M.TIPO_MOVIMENTO) IN ('S', 'U')"});

// The selection of a document type, with the row's key added: the deletion
// removes exactly the rows written, not rows the POS adds meanwhile.
const QString kSqlDocumentosPorTipo = MontarSql({
    "SELECT",
    "  IPTERMINAL,",
    "  TIPOARQUIVO,",
    "  CONTEUDOARQUIVO,",
    "  AD.IDARQUIVODOCUMENTO ",
    "FROM",
    "  ARQUIVOSDOCUMENTO AD ",
    "LEFT JOIN MOVIMENTO M ON AD.IDMOVIMENTO = M.IDMOVIMENTO ",
    "WHERE",
    "  UPPER(TIPOARQUIVO) = :pTipoArquvo "});

const QString kSqlCondicaoEntrega = MontarSql({
    " AND ((M.ST_ENTREGA=:pTrue and M.ST_ENTREGAFINALIZADA=:pTrue )",
    "  OR (M.ST_ENTREGA=:pNao))"});

const QString kSqlApagarDocumento = MontarSql({
    "DELETE FROM",
    "  ARQUIVOSDOCUMENTO ",
    "WHERE",
    "  IDARQUIVODOCUMENTO = :pIdArquivoDocumento"});

void RegistrarErroNaoFiscal(const std::exception& e) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
        QStringLiteral("Erro na criação dos arquivos de movim. não fiscal."), QStringLiteral("Exportação"),
        QStringLiteral("Ocorreu o seguinte erro na gravação dos arquivos de movimento não fiscal:\r\n\r\n") +
            MensagemExcecao(e),
        NomeClasseExcecao(e), taErro);
}

void RegistrarNaoFiscalAdiado(int IdMovimento) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
        QStringLiteral("Movimento não fiscal alterado durante a exportação"), QStringLiteral("Exportação"),
        QStringLiteral("O movimento não fiscal de ID \"%1\" foi alterado no PDV durante a exportação. Os movimentos "
                       "não fiscais desta exportação foram desfeitos e seus arquivos descartados; eles serão "
                       "exportados na próxima exportação.")
            .arg(IdMovimento),
        QString(), taInformacao);
}

// The statuses of a non-fiscal movement the step selects and marks: closed,
// not yet exported.
constexpr int kFechado = 1;
constexpr int kNaoExportado = 0;

}  // namespace

// ---- non-fiscal movements (step 5) ------------------------------------------------

bool TExportacaoPDVBistrelInterna::ExportarMovimentosNaoFiscais(TComunicacaoBancoBistrel& Gateway) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pStMovimento")).SetAsInteger(kFechado);
    params.CreateParam(ftInteger, QStringLiteral("pFalse")).SetAsInteger(kNaoExportado);
    EsquecerConfiguracoesPasso();
    DefinirHint(QStringLiteral("Recebendo movimentos não fiscais do banco de dados..."));
    if (!Gateway.IniciarTransacao()) return false;
    TGuardaTransacao guarda(Gateway);
    TUnidadeExportacao unidade(FDiretorioExportacao);
    std::unique_ptr<TQuery> movimentos;
    bool adiado = false;
    const bool ok = Gateway.AbrirQuery(kSqlMovimentosNaoFiscais, params, movimentos) &&
                    GravarArquivosNaoFiscais(Gateway, *movimentos, unidade, adiado);
    // Files are renamed into place only now, just before the commit. A step
    // deferred because the POS changed a movement meanwhile rolls back as a
    // whole (no file stays, no mark) and is no failure: the next run sends
    // every movement that still qualifies.
    if (!ConcluirUnidade(Gateway, unidade, ok, false)) return adiado;
    for (const QString& nome : unidade.NomesFinais()) {
        AdicionarArquivoExportado(nome);
        AdicionarLinhaTracos();
    }
    return true;
}

bool TExportacaoPDVBistrelInterna::GravarArquivosNaoFiscais(TComunicacaoBancoBistrel& Gateway, TQuery& Movimentos,
                                                            TUnidadeExportacao& Unidade, bool& Adiado) {
    Adiado = false;
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
        if (ok && !MarcarMovimentoExportado(Gateway, idMovimento, kFechado, kNaoExportado)) {
            ok = false;
            Adiado = MovimentoAlteradoDesdeSelecao(Gateway, idMovimento, kFechado, kNaoExportado);
            if (Adiado) RegistrarNaoFiscalAdiado(idMovimento);
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
            TMetodosComuns::GetVendaHeader(Movimentos, nullptr, &Recebimentos, tipoDocumento, CdEmpresa(Gateway));
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
