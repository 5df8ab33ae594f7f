#pragma once
// What the POS stand-in's generators share: the catalogue they sell from,
// the payment types, the day's clock and the random source.
#include <QDateTime>
#include <QList>
#include <QString>
#include <random>

#include "GeradorPdv.h"

namespace vesko {
class TConexaoFirebird;
}

namespace vesko::pdv {

struct TProdutoPdv {
    QString IdProduto, IdDetalhe, Codigo, Descricao, Unidade, Tributacao, Ncm, Cfop;
    qint64 PrecoCentavos = 0;
    bool Pesado = false;
};

struct TTipoRecebimentoPdv {
    QString Id, Descricao;
    bool Dinheiro = false;
};

struct TContextoPdv {
    TContextoPdv(TConexaoFirebird& c, const TOpcoesPdv& o) : Conexao(c), Opcoes(o), Rng(o.Semente) {}
    TConexaoFirebird& Conexao;
    const TOpcoesPdv& Opcoes;
    std::mt19937 Rng;
    QList<TProdutoPdv> Produtos;
    QList<TTipoRecebimentoPdv> Tipos;
    QDateTime Abertura;      // the first sale closes here
    int PassoSegundos = 60;  // between two closings
    TResumoPdv Resumo;

    int Sortear(int n) { return static_cast<int>(Rng() % static_cast<unsigned>(n)); }
};

// The products on sale (PRODUTOS when the import filled it, else a built-in
// menu) and the payment types (TPREC, else built-in ones).
void CarregarCatalogo(TContextoPdv& ctx);

// A document's content: XML-like text of exactly `bytes` bytes.
QByteArray ConteudoDocumento(const QString& tipo, int idMovimento, int bytes);

// A CPF with valid check digits (digits only).
QString Cpf(std::mt19937& rng);

// `n` consecutive values of a sequence; the first of them.
int ReservarIds(TConexaoFirebird& c, const char* sequencia, int n);

// A customer of the CLIENTEEXP queue: registered at the checkout with a
// sale (the sale names it), or a changed registration.
struct TClientePdv {
    QString Id, Cpf, Nome;
    bool ComVenda = false;
};

// The customers of the options; those with a sale come first, at most one
// per closed sale, the rest are changed registrations. `numero` makes the
// ids unique across runs.
QList<TClientePdv> PlanejarClientes(TContextoPdv& ctx, int numero);
// Sales, cancelled sales and non-fiscal movements with their rows; the
// customers with a sale are given to the first closed sales.
void GerarMovimentos(TContextoPdv& ctx, const QList<TClientePdv>& clientes);
void GerarClientes(TContextoPdv& ctx, const QList<TClientePdv>& clientes);
void GerarLogs(TContextoPdv& ctx);
void GerarDocumentoCaixa(TContextoPdv& ctx);

}  // namespace vesko::pdv
