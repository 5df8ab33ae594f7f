#include "records/VendaHeader.h"

#include <QFile>

#include "base/Excecoes.h"
#include "records/CamposRegistro.h"

namespace vesko {

using registro::D;

namespace {
const QString kMarca = QStringLiteral("CORVANE");
}

TVendaHeader::TVendaHeader() : TRegistroFixo(Tamanho) { ClearVendaHeader(*this); }

void ClearVendaHeader(TVendaHeader& Header) {
    Header.Zerar();
    Header.Definir(TVendaHeader::MarcaFormato, kMarca);
}

void TVendaHeader::ConferirRecebimento(int i) {
    if (i < 0 || i >= MaxRecebimentos)
        throw EArgumentException(QStringLiteral("O registro de venda guarda até %1 recebimentos; pedido o de índice %2.")
                                     .arg(MaxRecebimentos).arg(i));
}

const std::vector<TDescricaoCampo>& TVendaHeader::Campos() {
    static const std::vector<TDescricaoCampo> c = {
        D("TipoRegistro", TipoRegistro),
        D("StMovimento", StMovimento),
        D("StMovimentoExportado", StMovimentoExportado),
        D("IdMovimento", IdMovimento),
        D("IpTerminal", IpTerminal),
        D("DataFechamento", DataFechamento),
        D("HoraFechamento", HoraFechamento),
        D("CdEmpresa", CdEmpresa),
        D("DataPedido", DataPedido),
        D("HoraPedido", HoraPedido),
        D("IdVendedor", IdVendedor),
        D("IdUsuario", IdUsuario),
        D("IdCliente", IdCliente),
        D("CpfCnpj", CpfCnpj),
        D("TipoOperacao", TipoOperacao),
        D("NumeroPedido", NumeroPedido),
        D("VlMovimento", VlMovimento),
        D("VlAcrescimo", VlAcrescimo),
        D("VlServico", VlServico),
        D("VlDesconto", VlDesconto),
        D("VlTribFedNac", VlTribFedNac),
        D("VlTribFedImp", VlTribFedImp),
        D("VlTribEst", VlTribEst),
        D("VlTribMun", VlTribMun),
        D("VlTotalItens", VlTotalItens),
        D("VlTotalRecebido", VlTotalRecebido),
        D("VlTroco", VlTroco),
        D("QtdeItens", QtdeItens),
        D("QtdeRecebimentos", QtdeRecebimentos),
        D("DocAberturaEncerramento", DocAberturaEncerramento),
        D("NrModeloNf", NrModeloNf),
        D("NrOrdem", NrOrdem),
        D("NrSerie", NrSerie),
        D("TerminalGuid", TerminalGuid),
        D("Observacao", Observacao),
        registro::Marca("MarcaFormato", MarcaFormato),
    };
    return c;
}

const std::vector<TDescricaoCampo>& TVendaHeader::CamposRecebimento() {
    static const std::vector<TDescricaoCampo> c = {
        D("RecNrSequencia", RecNrSequencia),
        D("RecIdTpRec", RecIdTpRec),
        D("RecCdTpRec", RecCdTpRec),
        D("RecDsTpRec", RecDsTpRec),
        D("RecTpRecebimento", RecTpRecebimento),
        D("RecVlRecebido", RecVlRecebido),
        D("RecVlTroco", RecVlTroco),
        D("RecNrParcelas", RecNrParcelas),
        D("RecCdBandeira", RecCdBandeira),
        D("RecCnpjAdmCartao", RecCnpjAdmCartao),
        D("RecCdAutorizacao", RecCdAutorizacao),
    };
    return c;
}

void TVendaHeader::Carregar(QByteArrayView bytes) {
    try {
        CarregarBytes(bytes, "de venda");
        if (Valor(MarcaFormato) != kMarca)
            throw EReadError(QStringLiteral("Registro de venda sem a marca de formato \"CORVANE\" (offset %1).")
                                 .arg(MarcaFormato.Offset));
        ValidarTextos(Campos(), "de venda");
        for (int i = 0; i < MaxRecebimentos; ++i) {
            std::vector<TDescricaoCampo> r = CamposRecebimento();
            for (TDescricaoCampo& d : r) d.Offset += InicioRecebimentos + i * TamanhoRecebimento;
            ValidarTextos(r, "de venda");
        }
        const int n = Valor(QtdeRecebimentos);
        if (n < 0 || n > MaxRecebimentos)
            throw EReadError(QStringLiteral("Registro de venda corrompido: %1 recebimentos (no máximo %2).")
                                 .arg(n).arg(MaxRecebimentos));
    } catch (...) {
        ClearVendaHeader(*this);
        throw;
    }
}

void TLeituraVendaHeaderCorvane::GetVendaHeader(QByteArrayView Bytes, TVendaHeader& Header) { Header.Carregar(Bytes); }

void TLeituraVendaHeaderCorvane::GetVendaHeader(const QString& NomeArquivo, TVendaHeader& Header) {
    QFile f(NomeArquivo);
    if (!f.open(QIODevice::ReadOnly)) {
        ClearVendaHeader(Header);
        throw EFOpenError(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2").arg(NomeArquivo, f.errorString()));
    }
    // One byte more than a record: a longer file is refused without reading it whole.
    const QByteArray bytes = f.read(TVendaHeader::Tamanho + 1);
    if (bytes.size() != TVendaHeader::Tamanho) {
        ClearVendaHeader(Header);
        throw EReadError(QStringLiteral("O arquivo \"%1\" não contém um registro de venda de %2 bytes (%3).")
                             .arg(NomeArquivo)
                             .arg(TVendaHeader::Tamanho)
                             .arg(bytes.size() > TVendaHeader::Tamanho ? QStringLiteral("maior")
                                                                       : QStringLiteral("%1 bytes").arg(bytes.size())));
    }
    Header.Carregar(bytes);
}

}  // namespace vesko
