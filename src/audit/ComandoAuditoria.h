#pragma once
#include <QStringList>

namespace vesko {

// `auditoria [--dias N] [--json] [--detalhes]`: prints the records of today
// and the N days before, oldest first. Returns the exit status (0, or 2 for
// bad arguments).
int ExecutarComandoAuditoria(const QStringList& args);

}  // namespace vesko
