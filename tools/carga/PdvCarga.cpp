// The stand-in point of sale of the load test.
#include "PdvCarga.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <exception>

#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Params.h"
#include "firebird/Query.h"

namespace vesko::carga {

namespace {

const QString kTerminal = QStringLiteral("CAIXA01");
constexpr int kTiqueMs = 100;
constexpr int kTiquesPorSegundo = 1000 / kTiqueMs;

// A document's content, about `bytes` long, carrying its mark.
QByteArray Conteudo(const QString& tipo, const QString& marca, int bytes) {
    QByteArray r = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<documento tipo=\"") +
                   tipo.toLatin1() + QByteArrayLiteral("\" carga=\"") + marca.toLatin1() + QByteArrayLiteral("\">\n");
    for (int n = 1; r.size() < bytes; ++n)
        r += QByteArrayLiteral("  <linha n=\"") + QByteArray::number(n) + QByteArrayLiteral("\">documento fiscal</linha>\n");
    return r + QByteArrayLiteral("</documento>\n");
}

int ProximoId(TConexaoFirebird& c) {
    auto q = c.Consultar(QStringLiteral("SELECT GEN_ID(GEN_MOVIMENTO_ID, 1) FROM RDB$DATABASE"));
    return static_cast<int>(q->Fields(0).AsLargeInt());
}

}  // namespace

TPdvCarga::TPdvCarga(TParametrosConexao parametros, std::uint32_t semente)
    : m_parametros(std::move(parametros)), m_rng(semente) {}

void TPdvCarga::Executar(const std::atomic<bool>& parar) {
    try {
        TConexaoFirebird c(m_parametros);
        c.SetIdentificacao(QStringLiteral("PDV (carga)"));
        c.Conectar();
        QElapsedTimer relogio;
        relogio.start();
        for (int n = 0; !parar.load(); ++n) {
            Tiques(c, 1);
            // A fixed cadence: a slow tick is not made up by a burst.
            const qint64 proximo = qint64(n + 1) * kTiqueMs;
            const qint64 espera = proximo - relogio.elapsed();
            if (espera > 0) QThread::msleep(static_cast<unsigned long>(espera));
        }
        c.Desconectar();
    } catch (const std::exception& e) {
        ++m_registro.Falhas;
        m_registro.MensagensFalha << QStringLiteral("conexão: ") + MensagemExcecao(e);
    } catch (...) {
        ++m_registro.Falhas;
        m_registro.MensagensFalha << QStringLiteral("erro desconhecido");
    }
}

void TPdvCarga::Tiques(TConexaoFirebird& c, int n) {
    if (m_produtos.isEmpty()) CarregarCatalogo(c);
    for (int i = 0; i < n; ++i) Tique(c, m_tique++);
}

void TPdvCarga::CarregarCatalogo(TConexaoFirebird& c) {
    auto q = c.Consultar(QStringLiteral(
        "SELECT FIRST 100 IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, VLVENDA FROM PRODUTOS ORDER BY IDDETALHE"));
    for (q->First(); !q->Eof(); q->Next()) {
        TProduto p{q->Fields(0).AsString(), q->Fields(1).AsString(), q->Fields(2).AsString(), q->Fields(3).AsString(),
                   q->Fields(4).AsFloat()};
        if (p.Preco <= 0) p.Preco = 10;
        m_produtos << p;
    }
    if (m_produtos.isEmpty()) m_produtos << TProduto{QStringLiteral("C0001"), QStringLiteral("C0001"),
                                                     QStringLiteral("101"), QStringLiteral("Prato do dia"), 32.9};
    auto t = c.Consultar(QStringLiteral("SELECT FIRST 1 IDTPREC FROM TPREC ORDER BY IDTPREC"));
    t->First();
    if (!t->Eof()) m_tipoRecebimento = t->Fields(0).AsString();
}

void TPdvCarga::Tique(TConexaoFirebird& c, int n) {
    Cronometrar(c, "venda", [&] { InserirVenda(c); });
    if (n % kTiquesPorSegundo == kTiquesPorSegundo - 1) {
        Cronometrar(c, "documento", [&] { DocumentoEmVendaAntiga(c); });
        LerProdutos(c);
    }
    if (n % (5 * kTiquesPorSegundo) == 5 * kTiquesPorSegundo - 1)
        Cronometrar(c, "cancelamento", [&] { CancelarVendaExportada(c); });
}

// One transaction, timed from its start to its commit. What it recorded is
// kept only when the commit succeeded.
void TPdvCarga::Cronometrar(TConexaoFirebird& c, const char* oque, const std::function<void()>& f) {
    const TRegistroCarga antes = m_registro;
    QElapsedTimer t;
    t.start();
    try {
        c.EmUmaTransacao(f);
        m_registro.DuracoesMs.push_back(t.nsecsElapsed() / 1e6);
    } catch (const std::exception& e) {
        const double ms = t.nsecsElapsed() / 1e6;
        m_registro = antes;
        ++m_registro.Falhas;
        if (m_registro.MensagensFalha.size() < 10)
            m_registro.MensagensFalha << QStringLiteral("%1 (%2 ms): %3")
                                             .arg(QLatin1String(oque))
                                             .arg(ms, 0, 'f', 0)
                                             .arg(MensagemExcecao(e));
    }
}

void TPdvCarga::InserirVenda(TConexaoFirebird& c) {
    TVendaCarga v;
    v.IdMovimento = ProximoId(c);
    v.Itens = 1 + Sortear(4);
    double total = 0;
    for (int seq = 1; seq <= v.Itens; ++seq) {
        const TProduto& p = m_produtos[Sortear(static_cast<int>(m_produtos.size()))];
        TParams a;
        a.CreateParam(ftInteger, QStringLiteral("pMov")).SetAsInteger(v.IdMovimento);
        a.CreateParam(ftInteger, QStringLiteral("pSeq")).SetAsInteger(seq);
        a.CreateParam(ftString, QStringLiteral("pIdProduto")).SetAsString(p.Id);
        a.CreateParam(ftString, QStringLiteral("pIdDetalhe")).SetAsString(p.Detalhe);
        a.CreateParam(ftString, QStringLiteral("pCodigo")).SetAsString(p.Codigo);
        a.CreateParam(ftString, QStringLiteral("pDescricao")).SetAsString(p.Descricao);
        a.CreateParam(ftCurrency, QStringLiteral("pPreco")).SetAsCurrency(p.Preco);
        c.Executar(QStringLiteral(
            "INSERT INTO MOVIMENTO_ITENS (IDMOVIMENTO, NRSEQUENCIA, IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, "
            "QTDEPRODUTO, VLUNITARIO, VLTOTALPRODUTO, UNIDADE, TPTRIBUTACAO, ALTRIBUTACAO, CDSITTRIB, "
            "NATUREZAOPERACAO, ALCARGATRIBUTARIA, STPESADO, ORIGEMMERCADORIA, CSOSN, NCM, ALCTFEDNAC, ALCTFEDIMP, "
            "ALCTEST, ALCTMUN, CEST, ALPIS, ALCOFINS, CDSITTRIBCOFINS, CDSITTRIBPIS, CFOP) VALUES (:pMov, :pSeq, "
            ":pIdProduto, :pIdDetalhe, :pCodigo, :pDescricao, 1, :pPreco, :pPreco, 'UN', 'T', 18, '00', 1, 31.45, "
            "0, '0', '102', '21069090', 13.45, 15.45, 18, 0, '', 0.65, 3, '01', '01', '5102')"),
            &a, false);
        total += p.Preco;
    }
    TParams r;
    r.CreateParam(ftInteger, QStringLiteral("pMov")).SetAsInteger(v.IdMovimento);
    r.CreateParam(ftString, QStringLiteral("pTipo")).SetAsString(m_tipoRecebimento);
    r.CreateParam(ftCurrency, QStringLiteral("pValor")).SetAsCurrency(total);
    c.Executar(QStringLiteral("INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, IDTPREC, DSTPREC, "
                              "VLRECEBIDO, VLTROCO, NRPARCELAS, STCANCELADO) VALUES (:pMov, 1, :pTipo, 'DINHEIRO', "
                              ":pValor, 0, 1, 0)"),
               &r, false);
    const QDateTime agora = QDateTime::currentDateTime();
    TParams m;
    m.CreateParam(ftInteger, QStringLiteral("pId")).SetAsInteger(v.IdMovimento);
    m.CreateParam(ftDateTime, QStringLiteral("pFechamento")).SetAsDateTime(agora);
    m.CreateParam(ftDateTime, QStringLiteral("pPedido")).SetAsDateTime(agora.addSecs(-600));
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, DATA_HORA_PEDIDO, IDVENDEDOR, ID_USUARIO, ST_MOVIMENTO, "
        "ST_MOVIMENTO_EXPORTADO, NUMERO_PEDIDO, TIPO_OPERACAO, TIPO_MOVIMENTO, ST_ENTREGA, ST_ENTREGAFINALIZADA) "
        "VALUES (:pId, :pFechamento, :pPedido, '000001', '000001', 1, 0, :pId, 'V', 'V', 0, 0)"),
        &m, false);
    TParams k;
    k.CreateParam(ftInteger, QStringLiteral("pId")).SetAsInteger(v.IdMovimento);
    k.CreateParam(ftCurrency, QStringLiteral("pValor")).SetAsCurrency(total);
    k.CreateParam(ftString, QStringLiteral("pOrdem")).SetAsString(QString::number(v.IdMovimento));
    k.CreateParam(ftString, QStringLiteral("pTerminal")).SetAsString(kTerminal);
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, VALOR, OBSERVACAO, VLACRESCIMO, VLSERVICO, VLDESCONTO, "
        "NRMODELONF, NRSERIE, NRORDEM, TERMINALGUID, IPTERMINAL, VLTRIBFEDNAC, VLTRIBFEDIMP, VLTRIBEST, VLTRIBMUN) "
        "VALUES (:pId, :pValor, 'Mesa 1', 0, 0, 0, '59', '1', :pOrdem, "
        "'7C9E6679-7425-40DE-944B-E07FC1F90AE7', :pTerminal, 0, 0, 0, 0)"),
        &k, false);
    m_registro.Vendas.push_back(v);
    for (const char* tipo : {"IDDOC", "SDOC", "DANFE"}) InserirDocumento(c, v.IdMovimento, QLatin1String(tipo), 4096);
}

void TPdvCarga::InserirDocumento(TConexaoFirebird& c, int idMovimento, const QString& tipo, int bytes) {
    const QString marca = QStringLiteral("carga-%1").arg(m_proximaMarca++, 7, 10, QLatin1Char('0'));
    TParams a;
    a.CreateParam(ftInteger, QStringLiteral("pMov")).SetAsInteger(idMovimento);
    a.CreateParam(ftString, QStringLiteral("pTipo")).SetAsString(tipo);
    a.CreateParam(ftBlob, QStringLiteral("pConteudo")).SetAsBlob(Conteudo(tipo, marca, bytes));
    a.CreateParam(ftString, QStringLiteral("pTerminal")).SetAsString(kTerminal);
    c.Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO, IPTERMINAL) "
                              "VALUES (:pMov, :pTipo, :pConteudo, :pTerminal)"),
               &a, false);
    m_registro.Documentos.push_back({idMovimento, tipo, marca});
    for (TVendaCarga& v : m_registro.Vendas)
        if (v.IdMovimento == idMovimento) v.TiposDocumento << tipo;
}

// A later document (a contingency copy, say) for a sale some seconds old,
// of a kind that sale has no row of yet; or, repeating kinds, a second row
// of a kind it has, for a sale recent enough to be unexported still.
void TPdvCarga::DocumentoEmVendaAntiga(TConexaoFirebird& c) {
    static const QStringList tipos{QStringLiteral("SDOCC"), QStringLiteral("XDOCC"), QStringLiteral("XDOCE")};
    const int n = static_cast<int>(m_registro.Vendas.size());
    if (n < 30) return;
    if (m_repetirTipos) {
        const TVendaCarga& v = m_registro.Vendas[static_cast<size_t>(n - 20 + Sortear(10))];
        return InserirDocumento(c, v.IdMovimento, v.TiposDocumento.value(Sortear(3)), 2048);
    }
    for (int tentativa = 0; tentativa < 10; ++tentativa) {
        const TVendaCarga& v = m_registro.Vendas[static_cast<size_t>(Sortear(n - 20))];
        for (const QString& t : tipos)
            if (!v.TiposDocumento.contains(t)) return InserirDocumento(c, v.IdMovimento, t, 2048);
    }
}

void TPdvCarga::CancelarVendaExportada(TConexaoFirebird& c) {
    if (m_registro.Vendas.empty()) return;
    TParams p;
    p.CreateParam(ftInteger, QStringLiteral("pPrimeiro")).SetAsInteger(m_registro.Vendas.front().IdMovimento);
    auto q = c.Consultar(QStringLiteral("SELECT FIRST 1 SKIP %1 IDMOVIMENTO FROM MOVIMENTO WHERE IDMOVIMENTO >= "
                                        ":pPrimeiro AND ST_MOVIMENTO = 1 AND ST_MOVIMENTO_EXPORTADO = 1 ORDER BY "
                                        "IDMOVIMENTO")
                             .arg(Sortear(20)),
                         &p);
    q->First();
    if (q->Eof()) return;
    const int id = q->Fields(0).AsInteger();
    TParams u;
    u.CreateParam(ftInteger, QStringLiteral("pId")).SetAsInteger(id);
    if (c.Executar(QStringLiteral("UPDATE MOVIMENTO SET ST_MOVIMENTO = 2, ST_MOVIMENTO_EXPORTADO = 2 WHERE "
                                  "IDMOVIMENTO = :pId AND ST_MOVIMENTO = 1 AND ST_MOVIMENTO_EXPORTADO = 1"),
                   &u) == 1)
        m_registro.Cancelamentos << id;
}

void TPdvCarga::LerProdutos(TConexaoFirebird& c) {
    try {
        auto q = c.Consultar(QStringLiteral("SELECT COUNT(*), MAX(VLVENDA) FROM PRODUTOS"));
        ++m_registro.LeiturasProdutos;
    } catch (const std::exception& e) {
        ++m_registro.Falhas;
        if (m_registro.MensagensFalha.size() < 10)
            m_registro.MensagensFalha << QStringLiteral("leitura de PRODUTOS: ") + MensagemExcecao(e);
    }
}

}  // namespace vesko::carga
