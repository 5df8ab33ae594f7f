#pragma once
// "The program's own directory": where the settings file, the audit tree, the
// temporary files, the companion executable, backups and keys live. It is the
// directory of the running executable unless `--home DIR` moved it.
#include <QString>

namespace vesko {

// Path with a trailing "/" (on Windows a trailing "\").
QString DiretorioPrograma();

// Moves the program directory (the `--home` option). An empty text goes back
// to the executable's directory.
void DefinirDiretorioPrograma(const QString& diretorio);

// Full path of the running executable and its directory (with trailing separator).
QString CaminhoExecutavel();
QString DiretorioExecutavel();

// Base name of the running executable without extension ("Quorvel_IntegradorVesko").
QString NomeExecutavel();

// The separator the platform's paths use ("/" here, "\" on Windows).
QChar SeparadorDiretorio();

// `caminho` with the platform's separator added at the end when missing.
QString ComSeparadorFinal(const QString& caminho);

}  // namespace vesko
