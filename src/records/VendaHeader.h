#pragma once
// TVendaHeader: the sale header record of the HDoc and CDoc files (and of the
// non-fiscal movements' HDoc files), 14944 bytes. Layout in
// docs/registros-exportacao.md; the constants below are the fields.
#include <QString>
#include <vector>

#include "records/RegistroFixo.h"

namespace vesko {

class TVendaHeader : public TRegistroFixo {
public:
    static constexpr int Tamanho = 14944;

    // Byte 0: 0 sale, 1 non-fiscal movement going out, 2 coming in (the
    // document type given to GetVendaHeader); 8 in a cancellation copy
    // restamped with the order's date and time.
    static constexpr TCampoByte TipoRegistro{0};
    static constexpr quint8 RegistroCancelamentoCorrigido = 8;
    static constexpr TCampoByte StMovimento{1};            // MOVIMENTO.ST_MOVIMENTO
    static constexpr TCampoByte StMovimentoExportado{2};   // as read for the export
    static constexpr TCampoInteiro IdMovimento{4};
    static constexpr TCampoTexto IpTerminal{8, 71};
    static constexpr TCampoTexto DataFechamento{80, 10};   // HRFECHAMENTO "DD/MM/YYYY"
    static constexpr TCampoTexto HoraFechamento{91, 8};    // HRFECHAMENTO "HH:NN:SS"
    static constexpr TCampoTexto CdEmpresa{100, 20};       // FOOD_CONFIG "CdEmpresa"
    static constexpr TCampoTexto DataPedido{121, 10};      // DATA_HORA_PEDIDO, when set
    static constexpr TCampoTexto HoraPedido{132, 8};
    static constexpr TCampoTexto IdVendedor{141, 40};
    static constexpr TCampoTexto IdUsuario{182, 40};
    static constexpr TCampoTexto IdCliente{223, 40};
    static constexpr TCampoTexto CpfCnpj{264, 30};
    static constexpr TCampoTexto TipoOperacao{295, 1};
    static constexpr TCampoInteiro NumeroPedido{300};
    static constexpr TCampoMoeda VlMovimento{304};           // MOVIMENTO_COMPLEMENTO.VALOR
    static constexpr TCampoMoeda VlAcrescimo{312};
    static constexpr TCampoMoeda VlServico{320};
    static constexpr TCampoMoeda VlDesconto{328};
    static constexpr TCampoMoeda VlTribFedNac{336};
    static constexpr TCampoMoeda VlTribFedImp{344};
    static constexpr TCampoMoeda VlTribEst{352};
    static constexpr TCampoMoeda VlTribMun{360};
    static constexpr TCampoMoeda VlTotalItens{368};        // sum of the items' VLTOTALPRODUTO
    static constexpr TCampoMoeda VlTotalRecebido{376};     // sum of the payments' VLRECEBIDO
    static constexpr TCampoMoeda VlTroco{384};             // sum of the payments' VLTROCO
    static constexpr TCampoInteiro QtdeItens{392};
    static constexpr TCampoInteiro QtdeRecebimentos{396};  // payments in the record (<= MaxRecebimentos)
    static constexpr TCampoTexto DocAberturaEncerramento{400, 60};
    static constexpr TCampoTexto NrModeloNf{681, 2};
    static constexpr TCampoTexto NrOrdem{684, 20};
    static constexpr TCampoTexto NrSerie{705, 10};
    static constexpr TCampoTexto TerminalGuid{856, 60};
    static constexpr TCampoTextoLongo Observacao{920, 1000};
    static constexpr TCampoTexto MarcaFormato{14936, 7};   // "CORVANE", set by ClearVendaHeader

    // Payments: MaxRecebimentos entries of TamanhoRecebimento bytes from
    // InicioRecebimentos; the constants below are offsets within an entry,
    // placed with NoRecebimento(i, field).
    static constexpr int InicioRecebimentos = 2000;
    static constexpr int TamanhoRecebimento = 256;
    static constexpr int MaxRecebimentos = 40;
    static constexpr TCampoInteiro RecNrSequencia{0};
    static constexpr TCampoTexto RecIdTpRec{4, 40};
    static constexpr TCampoTexto RecCdTpRec{45, 20};
    static constexpr TCampoTexto RecDsTpRec{66, 100};
    static constexpr TCampoTexto RecTpRecebimento{167, 1};
    static constexpr TCampoMoeda RecVlRecebido{176};
    static constexpr TCampoMoeda RecVlTroco{184};
    static constexpr TCampoInteiro RecNrParcelas{192};
    static constexpr TCampoTexto RecCdBandeira{196, 20};
    static constexpr TCampoTexto RecCnpjAdmCartao{217, 20};
    static constexpr TCampoTexto RecCdAutorizacao{238, 16};

    // The field `c` of payment entry `i` (0-based). Raises EArgumentException
    // for i outside 0..MaxRecebimentos-1.
    template <typename C>
    static C NoRecebimento(int i, C c) {
        ConferirRecebimento(i);
        c.Offset += InicioRecebimentos + i * TamanhoRecebimento;
        return c;
    }

    // A cleared record (ClearVendaHeader).
    TVendaHeader();
    friend void ClearVendaHeader(TVendaHeader& Header);

    // Every field, in order of offset (payment fields of entry 0 only).
    static const std::vector<TDescricaoCampo>& Campos();
    static const std::vector<TDescricaoCampo>& CamposRecebimento();  // offsets within an entry

    // Replaces the content with `bytes` read from a file. Raises EReadError
    // when the size is not 14944, the format mark is missing or a text field
    // is corrupt; the record is left cleared then.
    void Carregar(QByteArrayView bytes);

private:
    static void ConferirRecebimento(int i);
};

// The record in its empty state: every byte 0, the format mark "CORVANE".
void ClearVendaHeader(TVendaHeader& Header);

// Reading side of the header files.
class TLeituraVendaHeaderCorvane {
public:
    // The header stored in `NomeArquivo` into `Header`. Raises EFOpenError
    // when the file cannot be opened and EReadError when it is short, long
    // or corrupt (Header then cleared).
    static void GetVendaHeader(const QString& NomeArquivo, TVendaHeader& Header);
    // The same from bytes already in memory.
    static void GetVendaHeader(QByteArrayView Bytes, TVendaHeader& Header);
};

}  // namespace vesko
