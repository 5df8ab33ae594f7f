#include "records/VendaItemRec.h"

#include "base/Excecoes.h"
#include "records/CamposRegistro.h"

namespace vesko {

using registro::D;

TVendaItemRec::TVendaItemRec() : TRegistroFixo(Tamanho) { ClearVendaItemRecord(*this); }

void ClearVendaItemRecord(TVendaItemRec& Item) {
    Item.Zerar();
    Item.Definir(TVendaItemRec::MarcaFormato, QStringLiteral("CORVANE"));
}

const std::vector<TDescricaoCampo>& TVendaItemRec::Campos() {
    static const std::vector<TDescricaoCampo> c = {
        D("NrItem", NrItem),
        D("IdProduto", IdProduto),
        D("IdDetalhe", IdDetalhe),
        D("CdProduto", CdProduto),
        D("DsProduto", DsProduto),
        D("QtdeProduto", QtdeProduto),
        D("VlUnitario", VlUnitario),
        D("VlDescontoItem", VlDescontoItem),
        D("VlAcrescimoItem", VlAcrescimoItem),
        D("VlTotalProduto", VlTotalProduto),
        D("TipoTributacao", TipoTributacao),
        D("AlTributacao", AlTributacao),
        D("Unidade", Unidade),
        D("TemVendedor", TemVendedor),
        D("IdVendedor", IdVendedor),
        D("CdSitTrib", CdSitTrib),
        D("NaturezaOperacao", NaturezaOperacao),
        D("ObsItem", ObsItem),
        D("TemObservacao", TemObservacao),
        D("AlCargaTributaria", AlCargaTributaria),
        D("StPesado", StPesado),
        D("OrigemMercadoria", OrigemMercadoria),
        D("Csosn", Csosn),
        D("Ncm", Ncm),
        D("AlCtFedNac", AlCtFedNac),
        D("AlCtFedImp", AlCtFedImp),
        D("AlCtEst", AlCtEst),
        D("AlCtMun", AlCtMun),
        D("Cest", Cest),
        D("AlPis", AlPis),
        D("AlCofins", AlCofins),
        D("CdSitTribCofins", CdSitTribCofins),
        D("CdSitTribPis", CdSitTribPis),
        D("IndicadorItem", IndicadorItem),
        D("Cfop", Cfop),
        registro::Marca("MarcaFormato", MarcaFormato),
    };
    return c;
}

void TVendaItemRec::Carregar(QByteArrayView bytes) {
    try {
        CarregarBytes(bytes, "de item de venda");
        ValidarTextos(Campos(), "de item de venda");
    } catch (...) {
        ClearVendaItemRecord(*this);
        throw;
    }
}

quint8 GetTipoTributacao(const QString& TpTributacao) {
    const QString t = TpTributacao.trimmed();
    if (t.isEmpty()) return 0;
    switch (t.front().toUpper().unicode()) {
    case u'S': return 1;
    case u'I': return 2;
    case u'N': return 3;
    default: return 0;  // "T" and any letter without a code of its own
    }
}

}  // namespace vesko
