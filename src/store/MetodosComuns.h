#pragma once
// Shared sale routines of the store layer: the header record of a sale or
// non-fiscal movement, the datasets of its items and payments, and the split
// of an address into street and number.
#include <QString>
#include <memory>

#include "firebird/Query.h"
#include "records/VendaHeader.h"

namespace vesko {

class TConexaoFirebird;

class TMetodosComuns {
public:
    // The header record of the movement on the current row of `Venda` (the
    // export's sale or non-fiscal selection: columns it lacks stay cleared).
    // `Itens` (may be null) gives the item count and total, `Recebimentos`
    // (may be null) the payment entries; both are left on their first row.
    // TipoDocumento: 0 sale, 1 non-fiscal going out, 2 coming in (byte 0).
    // "CdEmpresa" comes from FOOD_CONFIG, section "BISTREL". Raises
    // EDatabaseError/EConvertError on a failing read, EArgumentException when
    // the movement has more payments than the record holds.
    static TVendaHeader GetVendaHeader(const TQuery& Venda, TQuery* Itens, TQuery* Recebimentos, int TipoDocumento,
                                       TConexaoFirebird& Conexao);
    // The same header with "CdEmpresa" given: a run that makes many headers
    // reads it once (LerCdEmpresa) instead of once per movement.
    static TVendaHeader GetVendaHeader(const TQuery& Venda, TQuery* Itens, TQuery* Recebimentos, int TipoDocumento,
                                       const QString& CdEmpresa);
    // "CdEmpresa" of FOOD_CONFIG, section "BISTREL" (empty when missing).
    // Raises EDatabaseError on a failing read.
    static QString LerCdEmpresa(TConexaoFirebird& Conexao);

    // The items of the movement, one row per MOVIMENTO_ITENS row in the order
    // of NRSEQUENCIA (then of the row's key), with the product's columns for
    // what the item row leaves null: the item row's values (as sold) win over
    // the product's current ones. Columns: IDMOVIMENTOITEM, IDMOVIMENTO,
    // NRSEQUENCIA, IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, QTDEPRODUTO,
    // VLUNITARIO, VLTOTALPRODUTO, UNIDADE, TPTRIBUTACAO, ALTRIBUTACAO,
    // CDSITTRIB, NATUREZAOPERACAO, OBS_ITEM, ALCARGATRIBUTARIA, STPESADO,
    // ORIGEMMERCADORIA, CSOSN, NCM, ALCTFEDNAC, ALCTFEDIMP, ALCTEST, ALCTMUN,
    // CEST, ALPIS, ALCOFINS, CDSITTRIBCOFINS, CDSITTRIBPIS, CFOP.
    // Raises EDatabaseError when the query fails.
    static std::unique_ptr<TQuery> GetDataSetItensVenda(int IdMovimento, TConexaoFirebird& Conexao);

    // The payments of the movement (MOVIMENTO_RECEBIMENTOS with the payment
    // type's code, description and kind from TPREC), in the order of
    // NRSEQUENCIA. `SomenteValidos` leaves out the payments the POS cancelled
    // (STCANCELADO = 1). Columns: IDMOVIMENTORECEBIMENTO, IDMOVIMENTO,
    // NRSEQUENCIA, IDTPREC, CDTPREC, DSTPREC, TPRECEBIMENTO, CNPJADMCARTAO,
    // VLRECEBIDO, VLTROCO, NRPARCELAS, CDBANDEIRA, CDAUTORIZACAO, STCANCELADO.
    static std::unique_ptr<TQuery> GetDataSetRecebimentosVenda(int IdMovimento, TConexaoFirebird& Conexao,
                                                               bool SomenteValidos);

    // An address "Rua das Flores, 123" split into "Rua das Flores" and "123".
    // The number is what follows the last comma when it starts with a digit
    // or is "S/N" (a leading "nº", "n°", "no." or "número" dropped), or else
    // the last word when it starts with a digit; without one the whole text is
    // the street and the number is empty. Blanks are collapsed.
    static QString GetLogradouroSemNumero(const QString& Endereco);
    static QString GetNumeroLogradouro(const QString& Endereco);
};

}  // namespace vesko
