#pragma once
// Finding, starting and ending the companion executable. Class operations
// only; none of them raises or shows anything: failures show in the result.
//
// A process is the companion `Nome` (compared in upper case, locale-aware)
// when
//  - the file-name part of its executable, without the " (deleted)" that
//    Linux adds to a file replaced while it runs, equals `Nome`; or
//  - its kernel command name equals the first 15 characters of `Nome` and the
//    file-name part of one of its first three command-line words equals the
//    whole `Nome` (a script run through its interpreter: "/bin/sh
//    …/IntegradorVeskoGuardian.exe"; `vi IntegradorVeskoGuardian.exe` or
//    `tail -f …` do not count); or
//  - its executable cannot be read (another user's process) and the
//    file-name part of its first command-line word equals `Nome`.
#include <QString>

namespace vesko {

struct TProcessoSistema;

class TTratamentoExecutaveis {
public:
    TTratamentoExecutaveis() = delete;

    // True when a running process is the companion `NomeExecutavel` (a file
    // name without directory), wherever it lies.
    static bool ProcessoEmExecucao(const QString& NomeExecutavel);
    // Ends every process that is the companion `NomeExecutavel`, or whose
    // whole executable path equals it: asks each to end, and kills those
    // still alive 2 seconds later. True when at least one matched and every
    // match has ended; False when none matched.
    static bool EncerrarProcesso(const QString& NomeExecutavel);
    // Starts `Caminho` with `Parametros` in the executable's own directory,
    // without waiting. True when the process was created.
    static bool ExecutarProcesso(const QString& Caminho, const QString& Parametros);

    // The matching rule above, for one process; `Procurado` is a file name
    // or, with `caminhoInteiro`, possibly a whole path.
    static bool Corresponde(const TProcessoSistema& Processo, const QString& Procurado, bool caminhoInteiro);
};

}  // namespace vesko
