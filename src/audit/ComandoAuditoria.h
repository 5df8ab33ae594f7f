#pragma once
#include <QStringList>

namespace vesko {

// `auditoria [--dias N] [--json] [--detalhes]`: prints the records of today
// and the N days before, oldest first; then, on standard error, where the
// records the trail could not take are (AvisoAuditoriaNaoGravada) when there
// are any. Returns the exit status (0, or 2 for bad arguments).
int ExecutarComandoAuditoria(const QStringList& args);

}  // namespace vesko
