#pragma once
// `exportar [--automatico]`: one export run from the command line, as the
// tray starts it (the same scheduler frame, the same failed-run record), with
// the hints printed on standard error. Manual, as from the tray menu, unless
// --automatico makes it a run of the export timer.
#include <QStringList>

namespace vesko {

// 0 when the run was complete, 1 when it was not, 2 when the export
// directory is not configured and cannot be created (or an argument is
// unknown).
int ExecutarComandoExportar(const QStringList& Argumentos);

}  // namespace vesko
