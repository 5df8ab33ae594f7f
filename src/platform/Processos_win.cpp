#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "platform/Processos.h"

namespace vesko {

QList<TProcessoSistema> ListarProcessos() {
    QList<TProcessoSistema> lista;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return lista;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e)) {
        TProcessoSistema p;
        p.Id = static_cast<long long>(e.th32ProcessID);
        p.Executavel = QString::fromWCharArray(e.szExeFile);
        lista.append(p);
    }
    CloseHandle(snap);
    return lista;
}

TResultadoEncerramento EncerrarProcessos(const std::function<bool(const TProcessoSistema&)>& seleciona, int prazoMs) {
    TResultadoEncerramento r;
    const DWORD eu = GetCurrentProcessId();
    std::vector<HANDLE> alvos;
    for (const TProcessoSistema& p : ListarProcessos()) {
        if (static_cast<DWORD>(p.Id) == eu || !seleciona(p)) continue;
        ++r.Encontrados;
        // The handle holds the process: a reused id is never hit.
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(p.Id));
        if (!h) {
            if (GetLastError() != ERROR_INVALID_PARAMETER) ++r.Restantes;  // there, but out of reach
            continue;  // ERROR_INVALID_PARAMETER: it has ended meanwhile
        }
        TerminateProcess(h, 0);
        alvos.push_back(h);
    }
    for (HANDLE h : alvos) {
        if (WaitForSingleObject(h, static_cast<DWORD>(prazoMs)) != WAIT_OBJECT_0) ++r.Restantes;
        CloseHandle(h);
    }
    return r;
}

bool CriarProcesso(const QString& caminho, const QString& parametros, const QString& diretorioTrabalho) {
    // The executable is named twice: as the application name and, quoted, at
    // the head of the command line, so a path with spaces never starts
    // another program ("C:\Program.exe" for "C:\Program Files\...").
    const std::wstring aplicacao = caminho.toStdWString();
    std::wstring linha = QString(QLatin1Char('"') + caminho + QStringLiteral("\" ") + parametros).toStdWString();
    const std::wstring dir = diretorioTrabalho.toStdWString();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(aplicacao.c_str(), linha.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, dir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

}  // namespace vesko
