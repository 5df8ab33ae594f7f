#include <windows.h>
#include <shellapi.h>

#include <iterator>

#include "platform/Sistema.h"

namespace vesko {

QString CaminhoExecutavelSistema() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    return QString::fromWCharArray(buf, static_cast<int>(n));
}

QString NomeMaquinaLocal() {
    wchar_t buf[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(buf, &n) ? QString::fromWCharArray(buf, static_cast<int>(n)) : QString();
}

bool AbrirNoGerenciadorDeArquivos(const QString& diretorio, std::function<void()>) {
    const auto r = ShellExecuteW(nullptr, L"open", L"explorer.exe",
                                 reinterpret_cast<LPCWSTR>(diretorio.utf16()), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

}  // namespace vesko
