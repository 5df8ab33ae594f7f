#include <io.h>
#include <windows.h>

#include <QDir>
#include <string>

#include "platform/GravacaoAtomica.h"

namespace vesko::detalhe {

bool SincronizarArquivo(int handle, const QString& caminho) {
    if (handle >= 0) {
        const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
        if (h != INVALID_HANDLE_VALUE) return FlushFileBuffers(h) != 0;
    }
    // No descriptor from the library: a second handle on the same file
    // flushes the same cached data.
    const std::wstring nome = QDir::toNativeSeparators(caminho).toStdWString();
    const HANDLE h = CreateFileW(nome.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return ok;
}

bool SubstituirArquivo(const QString& origem, const QString& destino, QString& erro) {
    const std::wstring de = QDir::toNativeSeparators(origem).toStdWString();
    const std::wstring para = QDir::toNativeSeparators(destino).toStdWString();
    if (MoveFileExW(de.c_str(), para.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    erro = QStringLiteral("erro %1 do sistema ao renomear").arg(GetLastError());
    return false;
}

}  // namespace vesko::detalhe
