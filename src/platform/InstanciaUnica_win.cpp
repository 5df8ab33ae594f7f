#include <windows.h>

#include "platform/InstanciaUnica.h"

namespace vesko {

TInstanciaUnica::TInstanciaUnica(const QString& nome) : m_nome(nome) {}

TInstanciaUnica::~TInstanciaUnica() { Liberar(); }

bool TInstanciaUnica::Adquirir() {
    if (Adquirido()) return true;
    const auto nome = reinterpret_cast<LPCWSTR>(m_nome.utf16());
    if (HANDLE h = OpenMutexW(0x1F0001, FALSE, nome)) {
        CloseHandle(h);
        return false;
    }
    HANDLE h = CreateMutexW(nullptr, FALSE, nome);
    if (!h) return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return false;
    }
    m_handle = reinterpret_cast<long long>(h);
    return true;
}

void TInstanciaUnica::Liberar() {
    if (!Adquirido()) return;
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = kNenhum;
}

}  // namespace vesko
