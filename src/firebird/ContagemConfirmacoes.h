#pragma once
// The commits of every connection of this process (TConexaoFirebird::
// ConfirmarTransacao) and the time they took, on the wall clock and on the
// calling thread's CPU clock: the benchmarks print the time a run spends
// committing apart from the rest.
#include <cstdint>

namespace vesko {

struct TContagemConfirmacoes {
    std::uint64_t Quantidade = 0;
    double Segundos = 0;
    double SegundosCpu = 0;
};

TContagemConfirmacoes ConfirmacoesDoProcesso();

}  // namespace vesko
