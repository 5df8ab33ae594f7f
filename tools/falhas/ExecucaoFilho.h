#pragma once
// A child process of the fault test: run to its end, or killed with SIGKILL
// after a given time.
#include <QString>
#include <QStringList>

namespace vesko::falhas {

struct TResultadoFilho {
    bool Morto = false;    // killed before it ended by itself
    int Status = -1;       // exit status when it ended by itself
    qint64 Duracao = 0;    // milliseconds
    QString Erro;          // when it could not start or crashed
};

// Runs `programa` with `argumentos`; standard output and error go to
// `arquivoSaida` (appended). `matarAposMs` < 0: waits for its end.
TResultadoFilho ExecutarFilho(const QString& programa, const QStringList& argumentos, const QString& arquivoSaida,
                              int matarAposMs = -1);

}  // namespace vesko::falhas
