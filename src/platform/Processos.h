#pragma once
// Processes of the machine: list, terminate, start.
#include <QList>
#include <QString>

namespace vesko {

struct TProcessoSistema {
    long long Id = 0;
    QString Executavel;  // full path of the executable when known, else its name
};

// Every running process the current user can see.
QList<TProcessoSistema> ListarProcessos();

// Ends the process; False when it could not be signalled.
bool TerminarProcesso(long long id);

// Starts `linhaComando` (executable path, a space, then the parameters, as
// one unquoted text) in `diretorioTrabalho`, without waiting. False when the
// process could not be created.
bool CriarProcesso(const QString& caminho, const QString& parametros, const QString& diretorioTrabalho);

}  // namespace vesko
