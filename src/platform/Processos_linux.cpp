#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <climits>
#include <optional>
#include <vector>

#include "platform/Processos.h"

#ifndef SYS_pidfd_open
#define SYS_pidfd_open 434
#endif
#ifndef SYS_pidfd_send_signal
#define SYS_pidfd_send_signal 424
#endif

namespace vesko {
namespace {

QString CaminhoProc(long long id, const char* item) {
    return QStringLiteral("/proc/%1/%2").arg(id).arg(QLatin1String(item));
}

QString LerLink(const QString& caminho) {
    char buf[PATH_MAX + 1];
    const ssize_t n = ::readlink(QFile::encodeName(caminho).constData(), buf, PATH_MAX);
    if (n <= 0) return QString();
    return QFile::decodeName(QByteArray(buf, static_cast<int>(n)));
}

// What a user would recognise a process by; nothing when it is gone.
std::optional<TProcessoSistema> LerProcesso(long long id) {
    QFile comm(CaminhoProc(id, "comm"));
    if (!comm.open(QIODevice::ReadOnly)) return std::nullopt;
    TProcessoSistema p;
    p.Id = id;
    QByteArray nome = comm.readAll();
    if (nome.endsWith('\n')) nome.chop(1);
    p.NomeComando = QFile::decodeName(nome);
    p.Executavel = LerLink(CaminhoProc(id, "exe"));
    QFile cmd(CaminhoProc(id, "cmdline"));
    if (cmd.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> palavras = cmd.read(3 * (PATH_MAX + 1)).split('\0');
        for (const QByteArray& palavra : palavras) {
            if (p.Argumentos.size() == 3) break;
            if (!palavra.isEmpty()) p.Argumentos << QFile::decodeName(palavra);
        }
    }
    return p;
}

int AbrirDescritor(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

bool Sinalizar(int descritor, pid_t pid, int sinal) {
    if (descritor >= 0) return ::syscall(SYS_pidfd_send_signal, descritor, sinal, nullptr, 0) == 0;
    return ::kill(pid, sinal) == 0;  // kernels without process descriptors
}

bool Vivo(int descritor, pid_t pid) {
    if (descritor >= 0) {
        pollfd pf{descritor, POLLIN, 0};
        return ::poll(&pf, 1, 0) == 0;  // readable once the process has ended
    }
    if (::kill(pid, 0) != 0) return false;
    QFile stat(CaminhoProc(pid, "stat"));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray s = stat.readAll();
    const qsizetype fim = s.lastIndexOf(')');
    return fim < 0 || s.mid(fim + 2, 1) != "Z";  // a zombie has ended
}

struct TAlvo {
    pid_t Pid;
    int Descritor;  // -1 where the kernel offers no process descriptors
};

// Waits up to `prazoMs` for every target to end; returns those still alive.
std::vector<TAlvo> Aguardar(const std::vector<TAlvo>& alvos, int prazoMs) {
    const QDeadlineTimer prazo(prazoMs);
    std::vector<TAlvo> vivos = alvos;
    while (true) {
        std::erase_if(vivos, [](const TAlvo& a) { return !Vivo(a.Descritor, a.Pid); });
        if (vivos.empty() || prazo.hasExpired()) return vivos;
        std::vector<pollfd> pfs;
        for (const TAlvo& a : vivos)
            if (a.Descritor >= 0) pfs.push_back({a.Descritor, POLLIN, 0});
        const int espera = static_cast<int>(std::min<qint64>(prazo.remainingTime(), 20));
        if (pfs.size() == vivos.size())
            ::poll(pfs.data(), pfs.size(), static_cast<int>(prazo.remainingTime()));
        else
            ::usleep(static_cast<useconds_t>(espera) * 1000);
    }
}

}  // namespace

QList<TProcessoSistema> ListarProcessos() {
    QList<TProcessoSistema> lista;
    const auto pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool ok = false;
        const long long id = pid.toLongLong(&ok);
        if (!ok) continue;
        if (auto p = LerProcesso(id)) lista.append(*p);
    }
    return lista;
}

namespace {

// One pass: signals what matches now; returns how many matched and how many
// of them outlived both signals.
TResultadoEncerramento EncerrarUmaVez(const std::function<bool(const TProcessoSistema&)>& seleciona, int prazoMs) {
    TResultadoEncerramento r;
    const pid_t eu = ::getpid();
    std::vector<TAlvo> alvos;
    for (const TProcessoSistema& p : ListarProcessos()) {
        const auto pid = static_cast<pid_t>(p.Id);
        if (pid == eu || !seleciona(p)) continue;
        ++r.Encontrados;
        const int descritor = AbrirDescritor(pid);
        if (descritor < 0 && errno == ESRCH) continue;  // ended meanwhile
        // The descriptor holds the process now: look again, in case the id
        // was taken by another process between the listing and the opening.
        const auto agora = LerProcesso(pid);
        if (!agora || !seleciona(*agora)) {
            if (descritor >= 0) ::close(descritor);
            continue;  // the one that matched has ended
        }
        alvos.push_back({pid, descritor});
        Sinalizar(descritor, pid, SIGTERM);
    }
    std::vector<TAlvo> vivos = Aguardar(alvos, prazoMs);
    for (const TAlvo& a : vivos) Sinalizar(a.Descritor, a.Pid, SIGKILL);
    vivos = Aguardar(vivos, prazoMs);
    r.Restantes = static_cast<int>(vivos.size());
    for (const TAlvo& a : alvos)
        if (a.Descritor >= 0) ::close(a.Descritor);
    return r;
}

}  // namespace

TResultadoEncerramento EncerrarProcessos(const std::function<bool(const TProcessoSistema&)>& seleciona, int prazoMs) {
    // A script forks before each command, and until the fork becomes that
    // command it looks like the script: what appeared during a pass is ended
    // by the next one, a few times at most.
    TResultadoEncerramento total;
    for (int passada = 0; passada < 3; ++passada) {
        const TResultadoEncerramento r = EncerrarUmaVez(seleciona, prazoMs);
        total.Encontrados += r.Encontrados;
        total.Restantes = r.Restantes;
        if (r.Encontrados == 0 || r.Restantes > 0) return total;
    }
    // Still appearing after the last pass (a companion that starts itself again).
    for (const TProcessoSistema& p : ListarProcessos())
        if (p.Id != ::getpid() && seleciona(p)) ++total.Restantes;
    return total;
}

bool CriarProcesso(const QString& caminho, const QString& parametros, const QString& diretorioTrabalho) {
    return QProcess::startDetached(caminho, QProcess::splitCommand(parametros), diretorioTrabalho);
}

}  // namespace vesko
