#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "platform/Sinais.h"

namespace vesko {
namespace {
int g_par[2] = {-1, -1};

void AoSinal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(g_par[0], &c, 1);
}
}  // namespace

void InstalarEncerramentoPorSinal(QObject* dono, std::function<void()> aoEncerrar) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_par) != 0) return;
    auto* aviso = new QSocketNotifier(g_par[1], QSocketNotifier::Read, dono);
    QObject::connect(aviso, &QSocketNotifier::activated, dono, [aoEncerrar = std::move(aoEncerrar)] {
        char c;
        [[maybe_unused]] auto n = ::read(g_par[1], &c, 1);
        aoEncerrar();
    });
    struct sigaction sa {};
    sa.sa_handler = AoSinal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

}  // namespace vesko
