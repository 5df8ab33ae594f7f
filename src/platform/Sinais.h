#pragma once
// Ending a headless process from outside (SIGTERM, SIGINT; console close on
// Windows): the handler runs later on the thread of the event loop, never
// inside the signal itself.
#include <functional>

class QObject;

namespace vesko {

// Calls `aoEncerrar` in the event loop of `dono`'s thread when the process is
// asked to end. Call once per process.
void InstalarEncerramentoPorSinal(QObject* dono, std::function<void()> aoEncerrar);

}  // namespace vesko
