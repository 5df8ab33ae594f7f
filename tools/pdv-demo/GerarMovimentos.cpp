// The POS stand-in's movements: closed and cancelled sales with items,
// payments and fiscal document rows, and non-fiscal movements.
#include <QStringList>

#include "ApoioPdv.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Params.h"

namespace vesko::pdv {

namespace {

const QString kTerminal = QStringLiteral("CAIXA01");
const QString kGuid = QStringLiteral("7C9E6679-7425-40DE-944B-E07FC1F90AE7");

enum class TTipoMovimento { Venda, Cancelada, NaoFiscal };

struct TMovimento {
    int Id = 0;
    int Indice = 0;  // 0-based, in closing order
    TTipoMovimento Tipo = TTipoMovimento::Venda;
    QString IdCliente, CpfCliente;
    qint64 TotalCentavos = 0;
};

double Reais(qint64 centavos) { return centavos / 100.0; }

QDateTime Fechamento(const TContextoPdv& ctx, int indice) { return ctx.Abertura.addSecs(qint64(indice) * ctx.PassoSegundos); }

void InserirItem(TContextoPdv& ctx, TMovimento& m, int seq) {
    const TProdutoPdv& p = ctx.Produtos[ctx.Sortear(static_cast<int>(ctx.Produtos.size()))];
    // Weighed items in grams, the others by the unit.
    const int milesimos = p.Pesado ? 250 + 50 * ctx.Sortear(12) : 1000 * (1 + ctx.Sortear(3));
    const qint64 total = (p.PrecoCentavos * milesimos + 500) / 1000;
    TParams a;
    a.CreateParam(ftInteger, QStringLiteral("pMov")).SetAsInteger(m.Id);
    a.CreateParam(ftInteger, QStringLiteral("pSeq")).SetAsInteger(seq);
    a.CreateParam(ftString, QStringLiteral("pIdProduto")).SetAsString(p.IdProduto);
    a.CreateParam(ftString, QStringLiteral("pIdDetalhe")).SetAsString(p.IdDetalhe);
    a.CreateParam(ftString, QStringLiteral("pCodigo")).SetAsString(p.Codigo);
    a.CreateParam(ftString, QStringLiteral("pDescricao")).SetAsString(p.Descricao);
    a.CreateParam(ftFloat, QStringLiteral("pQtde")).SetAsFloat(milesimos / 1000.0);
    a.CreateParam(ftCurrency, QStringLiteral("pUnitario")).SetAsCurrency(Reais(p.PrecoCentavos));
    a.CreateParam(ftCurrency, QStringLiteral("pTotal")).SetAsCurrency(Reais(total));
    a.CreateParam(ftString, QStringLiteral("pUnidade")).SetAsString(p.Unidade);
    a.CreateParam(ftString, QStringLiteral("pTributacao")).SetAsString(p.Tributacao);
    a.CreateParam(ftString, QStringLiteral("pNcm")).SetAsString(p.Ncm);
    a.CreateParam(ftString, QStringLiteral("pCfop")).SetAsString(p.Cfop);
    a.CreateParam(ftInteger, QStringLiteral("pPesado")).SetAsInteger(p.Pesado ? 1 : 0);
    a.CreateParam(ftString, QStringLiteral("pObs")).SetAsString(seq == 1 && m.Indice % 4 == 0 ? QStringLiteral("sem cebola") : QString());
    ctx.Conexao.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_ITENS (IDMOVIMENTO, NRSEQUENCIA, IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, "
        "QTDEPRODUTO, VLUNITARIO, VLTOTALPRODUTO, UNIDADE, TPTRIBUTACAO, ALTRIBUTACAO, CDSITTRIB, NATUREZAOPERACAO, "
        "OBS_ITEM, ALCARGATRIBUTARIA, STPESADO, ORIGEMMERCADORIA, CSOSN, NCM, ALCTFEDNAC, ALCTFEDIMP, ALCTEST, "
        "ALCTMUN, CEST, ALPIS, ALCOFINS, CDSITTRIBCOFINS, CDSITTRIBPIS, CFOP) VALUES (:pMov, :pSeq, :pIdProduto, "
        ":pIdDetalhe, :pCodigo, :pDescricao, :pQtde, :pUnitario, :pTotal, :pUnidade, :pTributacao, 18, '00', 1, "
        ":pObs, 31.45, :pPesado, '0', '102', :pNcm, 13.45, 15.45, 18, 0, '', 0.65, 3, '01', '01', :pCfop)"),
        &a, false);
    m.TotalCentavos += total;
    ++ctx.Resumo.Itens;
}

// Cash with change for every third sale, otherwise one card payment, or
// card and cash split.
void InserirRecebimentos(TContextoPdv& ctx, const TMovimento& m) {
    const auto inserir = [&](int seq, const TTipoRecebimentoPdv& t, qint64 recebido, qint64 troco) {
        TParams a;
        a.CreateParam(ftInteger, QStringLiteral("pMov")).SetAsInteger(m.Id);
        a.CreateParam(ftInteger, QStringLiteral("pSeq")).SetAsInteger(seq);
        a.CreateParam(ftString, QStringLiteral("pTipo")).SetAsString(t.Id);
        a.CreateParam(ftString, QStringLiteral("pDescricao")).SetAsString(t.Descricao);
        a.CreateParam(ftCurrency, QStringLiteral("pRecebido")).SetAsCurrency(Reais(recebido));
        a.CreateParam(ftCurrency, QStringLiteral("pTroco")).SetAsCurrency(Reais(troco));
        a.CreateParam(ftString, QStringLiteral("pBandeira")).SetAsString(t.Dinheiro ? QString() : QStringLiteral("VISA"));
        a.CreateParam(ftString, QStringLiteral("pAutorizacao"))
            .SetAsString(t.Dinheiro ? QString() : QStringLiteral("%1").arg(100000 + m.Id));
        ctx.Conexao.Executar(QStringLiteral(
            "INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, IDTPREC, DSTPREC, VLRECEBIDO, VLTROCO, "
            "NRPARCELAS, CDBANDEIRA, CDAUTORIZACAO, STCANCELADO) VALUES (:pMov, :pSeq, :pTipo, :pDescricao, "
            ":pRecebido, :pTroco, 1, :pBandeira, :pAutorizacao, 0)"),
            &a, false);
        ++ctx.Resumo.Recebimentos;
    };
    const TTipoRecebimentoPdv* dinheiro = &ctx.Tipos.first();
    for (const auto& t : ctx.Tipos)
        if (t.Dinheiro) dinheiro = &t;
    const TTipoRecebimentoPdv* cartao = &ctx.Tipos.last();
    for (const auto& t : ctx.Tipos)
        if (!t.Dinheiro) cartao = &t;
    const qint64 total = m.TotalCentavos;
    if (m.Indice % 3 == 0) {
        const qint64 pago = (total / 5000 + 1) * 5000;  // the next R$ 50
        inserir(1, *dinheiro, pago, pago - total);
    } else if (m.Indice % 3 == 1 || total < 200) {
        inserir(1, *cartao, total, 0);
    } else {
        inserir(1, *cartao, total - total / 2, 0);
        inserir(2, *dinheiro, total / 2, 0);
    }
}

void InserirDocumento(TContextoPdv& ctx, int idMovimento, const QString& tipo, int bytes, bool daVenda) {
    const QByteArray conteudo = ConteudoDocumento(tipo, idMovimento, bytes);
    TParams a;
    if (idMovimento > 0) a.CreateParam(ftInteger, QStringLiteral("pMov")).SetAsInteger(idMovimento);
    else a.CreateParam(ftInteger, QStringLiteral("pMov"));
    a.CreateParam(ftString, QStringLiteral("pTipo")).SetAsString(tipo);
    a.CreateParam(ftBlob, QStringLiteral("pConteudo")).SetAsBlob(conteudo);
    a.CreateParam(ftString, QStringLiteral("pTerminal")).SetAsString(kTerminal);
    ctx.Conexao.Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO, "
                                        "IPTERMINAL) VALUES (:pMov, :pTipo, :pConteudo, :pTerminal)"),
                         &a, false);
    ++(daVenda ? ctx.Resumo.DocumentosVenda : ctx.Resumo.DocumentosAvulsos);
    ctx.Resumo.BytesDocumentos += conteudo.size();
}

// The fiscal documents of a sale: SAT (model 59) and NFC-e (model 65) sales
// alternate; one row per configured size, of the kinds the sale export sends.
void InserirDocumentosVenda(TContextoPdv& ctx, const TMovimento& m) {
    static const QStringList sat{QStringLiteral("IDDOC"), QStringLiteral("SDOC"), QStringLiteral("DANFE")};
    static const QStringList nfce{QStringLiteral("IDDOC"), QStringLiteral("XDOC"), QStringLiteral("DANFE")};
    const QStringList& tipos = m.Indice % 2 == 0 ? sat : nfce;
    const QList<int>& tamanhos = ctx.Opcoes.DocumentosKB;
    for (int k = 0; k < tamanhos.size(); ++k)
        InserirDocumento(ctx, m.Id, tipos[k % tipos.size()], tamanhos[k] * 1024, true);
    if (m.Tipo != TTipoMovimento::Cancelada) return;
    // The cancellation's own document, and the invalidation of the number
    // the cancelled document had reserved, go out by type.
    InserirDocumento(ctx, m.Id, QStringLiteral("CDOCH"), 3 * 1024, false);
    if (ctx.Resumo.Canceladas == 0) InserirDocumento(ctx, m.Id, QStringLiteral("INUT"), 2 * 1024, false);
}

void InserirCabecalho(TContextoPdv& ctx, const TMovimento& m) {
    const bool venda = m.Tipo != TTipoMovimento::NaoFiscal;
    const QDateTime fechamento = Fechamento(ctx, m.Indice);
    // Every fifth sale is a finished delivery; the others are not deliveries.
    const bool entrega = venda && m.Indice % 5 == 4;
    TParams a;
    a.CreateParam(ftInteger, QStringLiteral("pId")).SetAsInteger(m.Id);
    a.CreateParam(ftDateTime, QStringLiteral("pFechamento")).SetAsDateTime(fechamento);
    a.CreateParam(ftDateTime, QStringLiteral("pPedido")).SetAsDateTime(fechamento.addSecs(-60 * (5 + m.Indice % 30)));
    a.CreateParam(ftString, QStringLiteral("pCliente")).SetAsString(m.IdCliente);
    a.CreateParam(ftString, QStringLiteral("pCpf")).SetAsString(m.CpfCliente);
    a.CreateParam(ftInteger, QStringLiteral("pSt")).SetAsInteger(m.Tipo == TTipoMovimento::Cancelada ? 2 : 1);
    a.CreateParam(ftInteger, QStringLiteral("pPedidoNr")).SetAsInteger(m.Indice + 1);
    a.CreateParam(ftString, QStringLiteral("pOperacao")).SetAsString(venda ? QStringLiteral("V") : QStringLiteral("S"));
    a.CreateParam(ftString, QStringLiteral("pTipoMov")).SetAsString(venda ? QStringLiteral("V") : QStringLiteral("S"));
    a.CreateParam(ftInteger, QStringLiteral("pEntrega")).SetAsInteger(entrega ? 1 : 0);
    ctx.Conexao.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, DATA_HORA_PEDIDO, IDVENDEDOR, ID_USUARIO, ID_CLIENTE, "
        "CPF_CNPJ, ST_MOVIMENTO, ST_MOVIMENTO_EXPORTADO, NUMERO_PEDIDO, TIPO_OPERACAO, TIPO_MOVIMENTO, ST_ENTREGA, "
        "ST_ENTREGAFINALIZADA) VALUES (:pId, :pFechamento, :pPedido, '000001', '000001', NULLIF(:pCliente, ''), "
        "NULLIF(:pCpf, ''), :pSt, 0, :pPedidoNr, :pOperacao, :pTipoMov, :pEntrega, :pEntrega)"),
        &a, false);
}

void InserirComplemento(TContextoPdv& ctx, const TMovimento& m) {
    const bool venda = m.Tipo != TTipoMovimento::NaoFiscal;
    const bool sat = m.Indice % 2 == 0;
    TParams a;
    a.CreateParam(ftInteger, QStringLiteral("pId")).SetAsInteger(m.Id);
    a.CreateParam(ftCurrency, QStringLiteral("pValor")).SetAsCurrency(Reais(m.TotalCentavos));
    a.CreateParam(ftString, QStringLiteral("pObs"))
        .SetAsString(venda ? QStringLiteral("Mesa %1").arg(1 + m.Indice % 20) : QStringLiteral("Saída para consumo interno"));
    a.CreateParam(ftString, QStringLiteral("pModelo")).SetAsString(venda ? (sat ? QStringLiteral("59") : QStringLiteral("65")) : QString());
    a.CreateParam(ftString, QStringLiteral("pSerie")).SetAsString(venda ? QStringLiteral("1") : QString());
    a.CreateParam(ftString, QStringLiteral("pOrdem")).SetAsString(venda ? QString::number(100000 + m.Id) : QString());
    a.CreateParam(ftString, QStringLiteral("pGuid")).SetAsString(kGuid);
    a.CreateParam(ftString, QStringLiteral("pTerminal")).SetAsString(kTerminal);
    a.CreateParam(ftCurrency, QStringLiteral("pTributos")).SetAsCurrency(Reais(m.TotalCentavos * 13 / 100));
    ctx.Conexao.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, VALOR, OBSERVACAO, VLACRESCIMO, VLSERVICO, VLDESCONTO, "
        "NRMODELONF, NRSERIE, NRORDEM, TERMINALGUID, IPTERMINAL, DOCABERTURAENCERRAMENTO, VLTRIBFEDNAC, VLTRIBFEDIMP, "
        "VLTRIBEST, VLTRIBMUN) VALUES (:pId, :pValor, :pObs, 0, 0, 0, NULLIF(:pModelo, ''), NULLIF(:pSerie, ''), "
        "NULLIF(:pOrdem, ''), :pGuid, :pTerminal, NULL, :pTributos, 0, 0, 0)"),
        &a, false);
}

int ItensDaVenda(TContextoPdv& ctx) {
    return ctx.Opcoes.ItensPorVenda > 0 ? ctx.Opcoes.ItensPorVenda : 1 + ctx.Sortear(5);
}

void InserirMovimento(TContextoPdv& ctx, TMovimento& m) {
    if (m.Tipo != TTipoMovimento::NaoFiscal) {
        const int itens = ItensDaVenda(ctx);
        for (int seq = 1; seq <= itens; ++seq) InserirItem(ctx, m, seq);
        InserirRecebimentos(ctx, m);
    } else {
        m.TotalCentavos = 1500 + 100 * ctx.Sortear(50);
    }
    InserirCabecalho(ctx, m);
    InserirComplemento(ctx, m);
    if (m.Tipo != TTipoMovimento::NaoFiscal) InserirDocumentosVenda(ctx, m);
    switch (m.Tipo) {
        case TTipoMovimento::Venda: ++ctx.Resumo.Vendas; break;
        case TTipoMovimento::Cancelada: ++ctx.Resumo.Canceladas; break;
        case TTipoMovimento::NaoFiscal: ++ctx.Resumo.NaoFiscais; break;
    }
}

// The kind of the movement at `indice`: the cancelled sales and the
// non-fiscal movements are spread through the day.
TTipoMovimento TipoNoIndice(const TOpcoesPdv& o, int indice, int& canceladas, int& naoFiscais) {
    const int total = o.Vendas + o.Canceladas + o.NaoFiscais;
    // When only the other kinds are left, they take every remaining place.
    const bool restamOutros = (o.Canceladas - canceladas) + (o.NaoFiscais - naoFiscais) >= total - indice;
    const auto vez = [&](int quantos, int feitos, int deslocamento) {
        return feitos < quantos && (restamOutros || indice >= (feitos * total + deslocamento) / quantos);
    };
    if (vez(o.Canceladas, canceladas, total / 3)) return ++canceladas, TTipoMovimento::Cancelada;
    if (vez(o.NaoFiscais, naoFiscais, total / 2)) return ++naoFiscais, TTipoMovimento::NaoFiscal;
    return TTipoMovimento::Venda;
}

}  // namespace

void GerarMovimentos(TContextoPdv& ctx, const QList<TClientePdv>& clientes) {
    const TOpcoesPdv& o = ctx.Opcoes;
    const int total = o.Vendas + o.Canceladas + o.NaoFiscais;
    const int primeiro = ReservarIds(ctx.Conexao, "GEN_MOVIMENTO_ID", total);
    int canceladas = 0, naoFiscais = 0, proximoCliente = 0;
    for (int inicio = 0; inicio < total; inicio += o.VendasPorTransacao) {
        ctx.Conexao.EmUmaTransacao([&] {
            for (int i = inicio; i < std::min(total, inicio + o.VendasPorTransacao); ++i) {
                TMovimento m;
                m.Id = primeiro + i;
                m.Indice = i;
                m.Tipo = TipoNoIndice(o, i, canceladas, naoFiscais);
                if (m.Tipo == TTipoMovimento::Venda && proximoCliente < clientes.size() &&
                    clientes[proximoCliente].ComVenda) {
                    m.IdCliente = clientes[proximoCliente].Id;
                    m.CpfCliente = clientes[proximoCliente++].Cpf;
                }
                InserirMovimento(ctx, m);
            }
        });
    }
}

}  // namespace vesko::pdv
