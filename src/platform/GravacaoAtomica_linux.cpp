#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/GravacaoAtomica.h"

namespace vesko::detalhe {

bool SincronizarArquivo(int handle, const QString&) {
    if (handle < 0) return false;
    int r;
    do r = ::fsync(handle);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

bool SubstituirArquivo(const QString& origem, const QString& destino, QString& erro) {
    if (::rename(QFile::encodeName(origem).constData(), QFile::encodeName(destino).constData()) != 0) {
        erro = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // The new directory entry reaches the disk too; a folder that cannot be
    // synced still has the complete file under its name.
    const int dir = ::open(QFile::encodeName(QFileInfo(destino).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace vesko::detalhe
