#include "export/SelecaoVendas.h"

#include "export/SqlExportacao.h"
#include "firebird/Params.h"

namespace vesko {

const QString& SqlSelecaoVendas() {
    static const QString sql = MontarSql({
        "SELECT",
        "  M.IDMOVIMENTO,",
        "  M.HRFECHAMENTO,",
        "  M.DATA_HORA_PEDIDO,",
        "  COALESCE(M.IDVENDEDOR, '') AS IDVENDEDOR,",
        "  M.ID_USUARIO,",
        "  M.ID_CLIENTE,",
        "  M.CPF_CNPJ,",
        "  M.ST_MOVIMENTO,",
        "  M.ST_MOVIMENTO_EXPORTADO,",
        "  MC.VALOR,",
        "  MC.OBSERVACAO,",
        "  COALESCE(MC.VLACRESCIMO, 0.00) + COALESCE(MC.VLSERVICO, 0.00) AS VLACRESCIMO,",
        "  COALESCE(MC.VLSERVICO, 0.00) AS VLSERVICO,",
        "  MC.VLDESCONTO,",
        "  MC.NRMODELONF,",
        "  MC.NRSERIE,",
        "  MC.NRORDEM,",
        "  M.NUMERO_PEDIDO,",
        "  MC.TERMINALGUID,",
        "  MC.IPTERMINAL,",
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
        " (M.ST_MOVIMENTO = :pVenda OR",
        "  M.ST_MOVIMENTO = :pCancelamento) AND",
        " (M.ST_MOVIMENTO_EXPORTADO IN (:pNao, :pAlteracao) OR",
        "  M.ST_MOVIMENTO_EXPORTADO = :pCancelamento) AND",
        "  UPPER(M.TIPO_OPERACAO) = :pOperacaoVenda AND ",
        "  ((ST_ENTREGA=:pTrue and ST_ENTREGAFINALIZADA=:pTrue )",
        "   OR (ST_ENTREGA=:pNao))"});
    return sql;
}

void PreencherParametrosSelecaoVendas(TParams& params) {
    params.CreateParam(ftInteger, QStringLiteral("pNao")).SetAsInteger(0);
    params.CreateParam(ftInteger, QStringLiteral("pVenda")).SetAsInteger(1);
    params.CreateParam(ftInteger, QStringLiteral("pCancelamento")).SetAsInteger(2);
    params.CreateParam(ftInteger, QStringLiteral("pAlteracao")).SetAsInteger(3);
    params.CreateParam(ftString, QStringLiteral("pOperacaoVenda")).SetAsString(QStringLiteral("V"));
    params.CreateParam(ftInteger, QStringLiteral("pTrue")).SetAsInteger(1);
}

}  // namespace vesko
