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
    QString Erro;          // when it could not start, crashed or hung
    bool Travado = false;  // not killed by the test, yet still running at its time limit
};

// The Firebird lock directory the children's embedded engines share (empty:
// the one they inherit). See Principal in main.cpp for why it is not ours.
void DefinirTravasFilhos(const QString& diretorio);

// Runs `programa` with `argumentos`; standard output and error go to
// `arquivoSaida` (appended). `matarAposMs` < 0: waits for its end, at most
// `limiteMs`; a child still running then is killed and reported as hung.
TResultadoFilho ExecutarFilho(const QString& programa, const QStringList& argumentos, const QString& arquivoSaida,
                              int matarAposMs = -1, int limiteMs = 60000);

// Waits (at most `limiteMs`) until no process holds the database file the
// way an embedded engine does (an exclusive flock). The test's own checks
// open the database through its embedded engine too, and that engine may let
// go of the file a moment after the last detach: a child started in that
// moment would fail with "Database already opened with engine instance".
// True when the file is free (or missing).
bool EsperarBancoLivre(const QString& banco, int limiteMs = 30000);

}  // namespace vesko::falhas
