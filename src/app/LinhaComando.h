#pragma once
// The command line of the program: `[--home DIR] [subcommand [arguments]]`.
#include <QString>
#include <QStringList>
#include <optional>

namespace vesko {

struct TLinhaComando {
    QString Home;          // empty: the executable's directory
    QString Comando;       // empty: the tray application
    QStringList Argumentos;

    // Parses the arguments after the program name. On a usage error returns
    // nothing and sets `erro` to a readable line.
    static std::optional<TLinhaComando> Interpretar(const QStringList& args, QString& erro);
};

// Subcommands that refuse to run while another instance holds the lock.
bool ComandoUsaTravaExclusiva(const QString& comando);

}  // namespace vesko
