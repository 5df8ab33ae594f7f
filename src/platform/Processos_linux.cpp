#include <signal.h>
#include <sys/types.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "platform/Processos.h"

namespace vesko {
namespace {

QString ExecutavelDe(const QString& pid) {
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/") + pid + QStringLiteral("/exe"));
    if (!exe.isEmpty()) return exe;
    // Another user's process: its command line still names the program.
    QFile cmd(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
    if (!cmd.open(QIODevice::ReadOnly)) return QString();
    const QByteArray arg0 = cmd.read(4096).split('\0').value(0);
    return QFile::decodeName(arg0);
}

}  // namespace

QList<TProcessoSistema> ListarProcessos() {
    QList<TProcessoSistema> lista;
    const auto pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool ok = false;
        const long long id = pid.toLongLong(&ok);
        if (!ok) continue;
        const QString exe = ExecutavelDe(pid);
        if (!exe.isEmpty()) lista.append({id, exe});
    }
    return lista;
}

bool TerminarProcesso(long long id) { return ::kill(static_cast<pid_t>(id), SIGTERM) == 0; }

bool CriarProcesso(const QString& caminho, const QString& parametros, const QString& diretorioTrabalho) {
    QStringList args = QProcess::splitCommand(parametros);
    return QProcess::startDetached(caminho, args, diretorioTrabalho);
}

}  // namespace vesko
