#pragma once
// Finding, starting and ending the companion executable. Class operations
// only; none of them raises or shows anything: failures show in the result.
#include <QString>

namespace vesko {

class TTratamentoExecutaveis {
public:
    TTratamentoExecutaveis() = delete;

    // True when a running process has the file name `NomeExecutavel`
    // (compared in upper case, any directory).
    static bool ProcessoEmExecucao(const QString& NomeExecutavel);
    // Ends every process whose file name, or whole executable path, equals
    // `NomeExecutavel` (upper case). True when at least one was ended.
    static bool EncerrarProcesso(const QString& NomeExecutavel);
    // Starts `Caminho` with `Parametros` in the executable's own directory,
    // without waiting. True when the process was created.
    static bool ExecutarProcesso(const QString& Caminho, const QString& Parametros);
};

}  // namespace vesko
