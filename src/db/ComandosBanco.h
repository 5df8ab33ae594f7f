#pragma once
// Command-line commands of the program that deal with the POS database.
//
//   criar-base DIR  creates an empty DIR/VESKO.GDB (default character set
//                   WIN1252) with the POS schema and no settings rows, through
//                   the [BANCO] connection settings. Exit 0 when created;
//                   1 when the file already exists (left untouched) or the
//                   creation fails; 2 when DIR does not exist.
//   conectar        connects once as a run's first connection does
//                   ("Importação", first connection of the program), then
//                   disconnects; the audit records it caused go to standard
//                   error. Exit 0 when it connected, 1 otherwise.
#include <QStringList>

namespace vesko {

// `args`: the words after the command name (a leading "criar-base" is skipped).
int ExecutarComandoCriarBase(const QStringList& args);
int ExecutarComandoConectar();

}  // namespace vesko
