#pragma once
// Processes of the machine: list, end, start.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace vesko {

struct TProcessoSistema {
    long long Id = 0;
    // Full path of the executable as the system reports it (on Linux the
    // target of /proc/PID/exe, which ends in " (deleted)" when the file was
    // replaced or removed while it runs); on Windows the file name alone.
    // Empty when it cannot be read (another user's process).
    QString Executavel;
    QString NomeComando;   // the kernel's command name (at most 15 characters); empty on Windows
    QStringList Argumentos;  // the first three words of the command line; empty on Windows
};

// Every running process the current user can see.
QList<TProcessoSistema> ListarProcessos();

// Ends every process (other than this one) that `seleciona` accepts: asks it
// to end, then kills whatever is still alive after `prazoMs` milliseconds.
// On Linux the signals go through a process file descriptor, so a process id
// that was reused meanwhile is never hit, and matches that appear meanwhile
// (a script's forks) are ended by a further pass, a few at most.
struct TResultadoEncerramento {
    int Encontrados = 0;  // processes selected
    int Restantes = 0;    // of them, still alive at the end
};
TResultadoEncerramento EncerrarProcessos(const std::function<bool(const TProcessoSistema&)>& seleciona,
                                         int prazoMs = 2000);

// Starts the executable `caminho` with `parametros` in `diretorioTrabalho`,
// without waiting. The path is handed over as one unit, so a path with spaces
// starts that executable and nothing else. False when the process could not
// be created.
bool CriarProcesso(const QString& caminho, const QString& parametros, const QString& diretorioTrabalho);

}  // namespace vesko
