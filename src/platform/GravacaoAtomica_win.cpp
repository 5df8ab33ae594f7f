#include <io.h>
#include <windows.h>

#include <QDir>

#include "platform/GravacaoAtomica.h"

namespace vesko::detalhe {

bool SincronizarArquivo(int handle) {
    if (handle < 0) return false;
    const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) != 0;
}

bool SubstituirArquivo(const QString& origem, const QString& destino, QString& erro) {
    const std::wstring de = QDir::toNativeSeparators(origem).toStdWString();
    const std::wstring para = QDir::toNativeSeparators(destino).toStdWString();
    if (MoveFileExW(de.c_str(), para.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    erro = QStringLiteral("erro %1 do sistema ao renomear").arg(GetLastError());
    return false;
}

}  // namespace vesko::detalhe
