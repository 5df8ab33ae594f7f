#pragma once
// The POS tables that the integrator reads and writes, as data: every table,
// column, key, sequence, trigger and index that the import and the export
// rely on. The schema check (TDmInstala) walks it; docs/schema-pdv.md
// describes it.
#include <vector>

namespace vesko {

struct TColunaPdv {
    const char* Nome;
    const char* Tipo;                // SQL type, e.g. "VARCHAR(40)", "NUMERIC(15,2)"
    const char* Padrao = nullptr;    // DEFAULT value text, e.g. "0"
    bool Obrigatoria = false;        // NOT NULL (only on tables the check creates)
};

struct TTabelaPdv {
    const char* Nome;
    std::vector<TColunaPdv> Colunas;   // in creation order
    const char* ChavePrimaria = nullptr;  // column list of the primary key
    const char* Unica = nullptr;          // column list of a unique key
    const char* Sequencia = nullptr;      // sequence that fills ColunaSequencia
    const char* ColunaSequencia = nullptr;
};

struct TIndicePdv {
    const char* Nome;
    const char* Tabela;
    const char* Colunas;  // comma-separated
};

const std::vector<TTabelaPdv>& TabelasPdv();
const std::vector<TIndicePdv>& IndicesPdv();

}  // namespace vesko
