#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "platform/Processos.h"

namespace vesko {

QList<TProcessoSistema> ListarProcessos() {
    QList<TProcessoSistema> lista;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return lista;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        lista.append({static_cast<long long>(e.th32ProcessID), QString::fromWCharArray(e.szExeFile)});
    CloseHandle(snap);
    return lista;
}

bool TerminarProcesso(long long id) {
    HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(id));
    if (!h) return false;
    const bool ok = TerminateProcess(h, 0);
    CloseHandle(h);
    return ok;
}

bool CriarProcesso(const QString& caminho, const QString& parametros, const QString& diretorioTrabalho) {
    std::wstring linha = (caminho + QLatin1Char(' ') + parametros).toStdWString();
    const std::wstring dir = diretorioTrabalho.toStdWString();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, linha.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, dir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

}  // namespace vesko
