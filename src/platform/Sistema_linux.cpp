#include <unistd.h>

#include <QCoreApplication>
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

bool AbrirNoGerenciadorDeArquivos(const QString& diretorio, std::function<void()> falhouDepois) {
    const QString xdg = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdg.isEmpty()) return false;
    // xdg-open says only by its exit status whether anything opened the folder.
    auto* processo = new QProcess(QCoreApplication::instance());
    processo->setStandardInputFile(QProcess::nullDevice());
    processo->setStandardOutputFile(QProcess::nullDevice());
    processo->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(processo, &QProcess::finished, processo,
                     [processo, falhouDepois](int codigo, QProcess::ExitStatus estado) {
                         processo->deleteLater();
                         if ((estado != QProcess::NormalExit || codigo != 0) && falhouDepois) falhouDepois();
                     });
    processo->start(xdg, {diretorio});
    if (processo->waitForStarted()) return true;
    delete processo;
    return false;
}

}  // namespace vesko
