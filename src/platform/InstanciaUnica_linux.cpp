// Linux: a Unix socket bound to a name in the abstract namespace. The name is
// shared by every user of the machine (per network namespace), needs no file,
// and the kernel frees it when the process ends, however it ends.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/InstanciaUnica.h"

namespace vesko {

TInstanciaUnica::TInstanciaUnica(const QString& nome) : m_nome(nome) {}

TInstanciaUnica::~TInstanciaUnica() { Liberar(); }

bool TInstanciaUnica::Adquirir() {
    if (Adquirido()) return true;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray nome = m_nome.toUtf8().left(sizeof(addr.sun_path) - 2);
    std::memcpy(addr.sun_path + 1, nome.constData(), static_cast<size_t>(nome.size()));  // sun_path[0] = 0
    const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + nome.size());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
        ::close(fd);
        return false;
    }
    m_handle = fd;
    return true;
}

void TInstanciaUnica::Liberar() {
    if (!Adquirido()) return;
    ::close(static_cast<int>(m_handle));
    m_handle = kNenhum;
}

}  // namespace vesko
