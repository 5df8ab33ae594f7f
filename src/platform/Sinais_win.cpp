#include <windows.h>

#include <QMetaObject>
#include <QObject>

#include "platform/Sinais.h"

namespace vesko {
namespace {
QObject* g_dono = nullptr;
std::function<void()> g_aoEncerrar;

BOOL WINAPI AoControle(DWORD) {
    if (g_dono) QMetaObject::invokeMethod(g_dono, [] { g_aoEncerrar(); }, Qt::QueuedConnection);
    return TRUE;
}
}  // namespace

void InstalarEncerramentoPorSinal(QObject* dono, std::function<void()> aoEncerrar) {
    g_dono = dono;
    g_aoEncerrar = std::move(aoEncerrar);
    SetConsoleCtrlHandler(AoControle, TRUE);
}

}  // namespace vesko
