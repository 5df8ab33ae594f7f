// The POS stand-in: the catalogue, document contents and the whole run.
#include "GeradorPdv.h"

#include <QDate>
#include <algorithm>
#include <memory>

#include "ApoioPdv.h"
#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Query.h"

namespace vesko::pdv {

namespace {

// A small restaurant menu for a database the import has not filled yet.
struct TItemCardapio {
    const char* Descricao;
    const char* Unidade;
    const char* Tributacao;
    const char* Ncm;
    const char* Cfop;
    int Centavos;
    bool Pesado;
};
constexpr TItemCardapio kCardapio[] = {
    {"Prato executivo de frango", "UN", "T", "21069090", "5102", 3290, false},
    {"Feijoada completa", "UN", "T", "21069090", "5102", 5490, false},
    {"Bife à parmegiana", "UN", "T", "21069090", "5102", 4790, false},
    {"Salada Caesar", "UN", "T", "21069090", "5102", 2890, false},
    {"Buffet por quilo", "KG", "T", "21069090", "5102", 7990, true},
    {"Refrigerante lata 350 ml", "UN", "F", "22021000", "5405", 690, false},
    {"Suco de laranja 500 ml", "UN", "T", "20091200", "5102", 990, false},
    {"Água mineral sem gás", "UN", "F", "22011000", "5405", 450, false},
    {"Cerveja long neck", "UN", "F", "22030000", "5405", 1190, false},
    {"Pudim de leite", "UN", "T", "19059090", "5102", 1290, false},
    {"Café expresso", "UN", "T", "09012100", "5102", 590, false},
    {"Taxa de entrega", "UN", "S", "00000000", "5933", 800, false},
};

void CardapioProprio(TContextoPdv& ctx) {
    int n = 1;
    for (const TItemCardapio& i : kCardapio) {
        const QString id = QStringLiteral("PDV%1").arg(n, 4, 10, QLatin1Char('0'));
        ctx.Produtos.append({id, id, QString::number(100 + n), QString::fromUtf8(i.Descricao),
                             QString::fromLatin1(i.Unidade), QString::fromLatin1(i.Tributacao),
                             QString::fromLatin1(i.Ncm), QString::fromLatin1(i.Cfop), i.Centavos, i.Pesado});
        ++n;
    }
}

void ProdutosImportados(TContextoPdv& ctx) {
    auto q = ctx.Conexao.Consultar(QStringLiteral(
        "SELECT FIRST 200 IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, VLVENDA, UNIDADE, TPTRIBUTACAO, NCM, CFOP, "
        "STPESADO FROM PRODUTOS WHERE COALESCE(STINSUMO, 0) = 0 AND COALESCE(STATIVO, 1) = 1 ORDER BY IDDETALHE"));
    for (q->First(); !q->Eof(); q->Next()) {
        TProdutoPdv p;
        p.IdProduto = q->FieldByName(QStringLiteral("IDPRODUTO")).AsString();
        p.IdDetalhe = q->FieldByName(QStringLiteral("IDDETALHE")).AsString();
        p.Codigo = q->FieldByName(QStringLiteral("CDPRODUTO")).AsString();
        p.Descricao = q->FieldByName(QStringLiteral("DSPRODUTO")).AsString();
        p.Unidade = q->FieldByName(QStringLiteral("UNIDADE")).AsString();
        p.Tributacao = q->FieldByName(QStringLiteral("TPTRIBUTACAO")).AsString();
        p.Ncm = q->FieldByName(QStringLiteral("NCM")).AsString();
        p.Cfop = q->FieldByName(QStringLiteral("CFOP")).AsString();
        p.PrecoCentavos = qRound64(q->FieldByName(QStringLiteral("VLVENDA")).AsFloat() * 100);
        if (p.PrecoCentavos <= 0) p.PrecoCentavos = 1000;
        p.Pesado = q->FieldByName(QStringLiteral("STPESADO")).AsInteger() == 1;
        ctx.Produtos.append(p);
    }
}

void TiposRecebimento(TContextoPdv& ctx) {
    auto q = ctx.Conexao.Consultar(
        QStringLiteral("SELECT IDTPREC, DSTPREC, TPRECEBIMENTO FROM TPREC ORDER BY IDGRUPOTPREC, IDTPREC"));
    for (q->First(); !q->Eof(); q->Next())
        ctx.Tipos.append({q->FieldByName(QStringLiteral("IDTPREC")).AsString(),
                          q->FieldByName(QStringLiteral("DSTPREC")).AsString(),
                          q->FieldByName(QStringLiteral("TPRECEBIMENTO")).AsString() == QLatin1String("D")});
    bool temDinheiro = false;
    for (const auto& t : ctx.Tipos) temDinheiro = temDinheiro || t.Dinheiro;
    if (!temDinheiro) ctx.Tipos.prepend({QStringLiteral("000001"), QStringLiteral("DINHEIRO"), true});
    if (ctx.Tipos.size() < 2) {
        ctx.Tipos.append({QStringLiteral("000003"), QStringLiteral("CARTÃO DE CRÉDITO"), false});
        ctx.Tipos.append({QStringLiteral("000004"), QStringLiteral("CARTÃO DE DÉBITO"), false});
    }
}

int DigitoCpf(const QString& base, int pesoInicial) {
    int soma = 0;
    for (int i = 0; i < base.size(); ++i) soma += base.at(i).digitValue() * (pesoInicial - i);
    const int resto = soma % 11;
    return resto < 2 ? 0 : 11 - resto;
}

}  // namespace

void CarregarCatalogo(TContextoPdv& ctx) {
    ProdutosImportados(ctx);
    if (ctx.Produtos.isEmpty()) CardapioProprio(ctx);
    TiposRecebimento(ctx);
}

QByteArray ConteudoDocumento(const QString& tipo, int idMovimento, int bytes) {
    QByteArray inicio = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<documento tipo=\"") +
                        tipo.toLatin1() + QByteArrayLiteral("\" movimento=\"") + QByteArray::number(idMovimento) +
                        QByteArrayLiteral("\">\n");
    const QByteArray fim = QByteArrayLiteral("</documento>\n");
    QByteArray r = inicio;
    r.reserve(bytes + 128);
    for (int linha = 1; r.size() + fim.size() < bytes; ++linha)
        r += QByteArrayLiteral("  <linha n=\"") + QByteArray::number(linha) +
             QByteArrayLiteral("\">conteúdo fiscal do documento</linha>\n");
    r.truncate(std::max<qsizetype>(inicio.size(), bytes - fim.size()));
    return r + fim;
}

QString Cpf(std::mt19937& rng) {
    QString base;
    for (int i = 0; i < 9; ++i) base += QString::number(rng() % 10);
    base += QString::number(DigitoCpf(base, 10));
    return base + QString::number(DigitoCpf(base, 11));
}

int ReservarIds(TConexaoFirebird& c, const char* sequencia, int n) {
    if (n <= 0) return 0;
    auto q = c.Consultar(QStringLiteral("SELECT GEN_ID(%1, %2) FROM RDB$DATABASE").arg(QLatin1String(sequencia)).arg(n));
    return static_cast<int>(q->Fields(0).AsLargeInt()) - n + 1;
}

TResumoPdv GerarMovimentoPdv(TConexaoFirebird& conexao, const TOpcoesPdv& opcoes) {
    if (opcoes.Vendas < 0 || opcoes.Canceladas < 0 || opcoes.NaoFiscais < 0 || opcoes.Clientes < 0 ||
        opcoes.Logs < 0 || opcoes.ItensPorVenda < 0 || opcoes.VendasPorTransacao < 1)
        throw EArgumentException(QStringLiteral("Quantidades negativas não são aceitas."));
    for (const int kb : opcoes.DocumentosKB)
        if (kb < 1 || kb > 100 * 1024) throw EArgumentException(QStringLiteral("Tamanho de documento inválido: %1 KB.").arg(kb));
    TContextoPdv ctx(conexao, opcoes);
    CarregarCatalogo(ctx);
    // The day's sales close between 10:00 and 22:00, so none crosses midnight.
    ctx.Abertura = QDateTime(QDate::currentDate(), QTime(10, 0));
    const int movimentos = opcoes.Vendas + opcoes.Canceladas + opcoes.NaoFiscais;
    ctx.PassoSegundos = std::clamp(43200 / std::max(1, movimentos), 1, 600);
    // Customer ids carry a number of the movement sequence: unique across runs.
    const int primeiroCliente = ReservarIds(conexao, "GEN_MOVIMENTO_ID", 1);
    const QList<TClientePdv> clientes = PlanejarClientes(ctx, primeiroCliente);
    GerarMovimentos(ctx, clientes);
    GerarClientes(ctx, clientes);
    GerarLogs(ctx);
    if (opcoes.DocumentoCaixa) GerarDocumentoCaixa(ctx);
    return ctx.Resumo;
}

QString TextoResumo(const TResumoPdv& r) {
    return QStringLiteral(
               "vendas fechadas: %1 (%2 itens, %3 recebimentos); vendas canceladas: %4; movimentos não fiscais: %5\n"
               "documentos das vendas: %6; documentos avulsos: %7 (%8 KB ao todo)\n"
               "clientes cadastrados no caixa com venda: %9; com cadastro alterado: %10\n"
               "linhas do log de eventos: %11\n")
        .arg(r.Vendas)
        .arg(r.Itens)
        .arg(r.Recebimentos)
        .arg(r.Canceladas)
        .arg(r.NaoFiscais)
        .arg(r.DocumentosVenda)
        .arg(r.DocumentosAvulsos)
        .arg((r.BytesDocumentos + 1023) / 1024)
        .arg(r.ClientesComVenda)
        .arg(r.ClientesAlterados)
        .arg(r.Logs);
}

}  // namespace vesko::pdv
