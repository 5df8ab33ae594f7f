#pragma once
// Stands in for the point of sale: puts into a POS database what the checkout
// gathers during a day and the export sends to the back office. Closed sales
// with their items, payments and fiscal document rows, cancelled sales (with
// their cancellation document and a number invalidation), non-fiscal
// movements (goods going out), a cash-register document, customers the
// checkout registered or changed (the CLIENTEEXP queue) and the event log
// (LOGEVT). Every row is one the export selects: sales are closed, not yet
// exported and not open deliveries; document rows of the sale kinds hang on
// their sale; the cancellation and invalidation documents on a movement that
// is not an open delivery.
//
// Used by the tool `vesko-pdv-demo`, its test and the export benchmark. The
// same options and seed give the same rows (ids and order numbers follow
// the database's sequences, so a second run adds new rows beside the first).
#include <QString>
#include <QList>
#include <cstdint>

namespace vesko {
class TConexaoFirebird;
}

namespace vesko::pdv {

struct TOpcoesPdv {
    std::uint32_t Semente = 1;
    int Vendas = 12;              // closed sales
    int ItensPorVenda = 0;        // 0: 1 to 5, varying; otherwise exactly this many
    QList<int> DocumentosKB{4, 16, 40};  // one document row per size, on every closed sale
    int Canceladas = 1;           // cancelled sales (with a cancellation document)
    int NaoFiscais = 1;           // non-fiscal movements (goods going out)
    int Clientes = 4;             // checkout customers: alternately with a sale and changed
    int Logs = 8;                 // event-log rows
    bool DocumentoCaixa = true;   // one cash-register document (no movement)
    int VendasPorTransacao = 200; // rows are committed in batches of sales
};

// What was inserted.
struct TResumoPdv {
    int Vendas = 0, Itens = 0, Recebimentos = 0, Canceladas = 0, NaoFiscais = 0;
    int DocumentosVenda = 0;     // rows of the sale kinds (sent with their sale)
    int DocumentosAvulsos = 0;   // rows sent by type (cash register, cancellation, invalidation)
    qint64 BytesDocumentos = 0;
    int ClientesComVenda = 0, ClientesAlterados = 0;
    int Logs = 0;
};

// Inserts the rows through `conexao` (connected; no transaction open).
// Raises the connection's errors; a batch that fails is rolled back.
TResumoPdv GerarMovimentoPdv(TConexaoFirebird& conexao, const TOpcoesPdv& opcoes);

// The summary as lines for people.
QString TextoResumo(const TResumoPdv& r);

}  // namespace vesko::pdv
