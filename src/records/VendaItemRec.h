#pragma once
// TVendaItemRec: one sale item record of the DDoc files, 1452 bytes. Layout
// in docs/registros-exportacao.md; the constants below are the fields.
// Numbers in its text fields are written with TextoNumeroRegional ("12,5").
#include <QString>
#include <vector>

#include "records/RegistroFixo.h"

namespace vesko {

class TVendaItemRec : public TRegistroFixo {
public:
    static constexpr int Tamanho = 1452;

    static constexpr TCampoInteiro NrItem{0};               // item number within the sale, from 1
    static constexpr TCampoTexto IdProduto{4, 40};
    static constexpr TCampoTexto IdDetalhe{45, 40};
    static constexpr TCampoTexto CdProduto{86, 20};
    static constexpr TCampoTexto DsProduto{107, 100};
    static constexpr TCampoTexto QtdeProduto{208, 20};      // number text
    static constexpr TCampoTexto VlUnitario{229, 20};       // number text
    static constexpr TCampoTexto VlDescontoItem{250, 20};   // "0,00"
    static constexpr TCampoTexto VlAcrescimoItem{271, 20};  // "0,00"
    static constexpr TCampoTexto VlTotalProduto{334, 20};   // number text
    static constexpr TCampoByte TipoTributacao{355};        // GetTipoTributacao
    static constexpr TCampoTexto AlTributacao{356, 20};     // number text
    static constexpr TCampoTexto Unidade{377, 3};
    static constexpr TCampoBooleano TemVendedor{382};
    static constexpr TCampoTexto IdVendedor{383, 40};
    static constexpr TCampoTexto CdSitTrib{794, 3};
    static constexpr TCampoInteiro NaturezaOperacao{844};
    static constexpr TCampoTexto ObsItem{890, 200};
    static constexpr TCampoBooleano TemObservacao{1091};
    static constexpr TCampoTexto AlCargaTributaria{1133, 5};  // number text
    static constexpr TCampoBooleano StPesado{1140};
    static constexpr TCampoTexto OrigemMercadoria{1141, 1};
    static constexpr TCampoTexto Csosn{1143, 3};
    static constexpr TCampoTexto Ncm{1147, 20};
    static constexpr TCampoReal AlCtFedNac{1168};
    static constexpr TCampoReal AlCtFedImp{1172};
    static constexpr TCampoReal AlCtEst{1176};
    static constexpr TCampoReal AlCtMun{1180};
    static constexpr TCampoTexto Cest{1188, 7};
    static constexpr TCampoTexto AlPis{1196, 20};           // number text
    static constexpr TCampoTexto AlCofins{1217, 20};        // number text
    static constexpr TCampoTexto CdSitTribCofins{1238, 2};
    static constexpr TCampoTexto CdSitTribPis{1241, 2};
    static constexpr TCampoByte IndicadorItem{1244};        // always 1 in a filled item
    static constexpr TCampoTexto Cfop{1245, 4};
    static constexpr TCampoTexto MarcaFormato{1444, 7};     // "CORVANE", set by ClearVendaItemRecord

    // A cleared record (ClearVendaItemRecord).
    TVendaItemRec();
    friend void ClearVendaItemRecord(TVendaItemRec& Item);

    static const std::vector<TDescricaoCampo>& Campos();

    // Replaces the content; EReadError as TVendaHeader::Carregar.
    void Carregar(QByteArrayView bytes);
};

// The record in its empty state: every byte 0, the format mark "CORVANE".
void ClearVendaItemRecord(TVendaItemRec& Item);

// Tax type code of a TPTRIBUTACAO text, by its first letter upper-cased:
// "T" 0, "S" 1, "I" 2, "N" 3; an empty text or any other letter gives 0.
quint8 GetTipoTributacao(const QString& TpTributacao);

}  // namespace vesko
