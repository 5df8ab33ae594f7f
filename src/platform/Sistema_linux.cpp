#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <climits>

#include "platform/Sistema.h"

namespace vesko {

QString CaminhoExecutavelSistema() {
    char buf[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0) return QString();
    return QFile::decodeName(QByteArray(buf, static_cast<int>(n)));
}

QString NomeMaquinaLocal() {
    char buf[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return QString();
    return QString::fromLocal8Bit(buf);
}

bool AbrirNoGerenciadorDeArquivos(const QString& diretorio) {
    const QString xdg = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdg.isEmpty()) return false;
    return QProcess::startDetached(xdg, {diretorio});
}

}  // namespace vesko
