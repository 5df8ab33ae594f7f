#pragma once
// What the scheduler needs from whoever presents it: the tray form on a
// desktop, the console in `servico`, a recorder in tests.
#include <QString>

#include "base/Hint.h"

namespace vesko {

class IInterfacePrincipal : public IHint {
public:
    enum Icone { IconeOcioso = 0, IconeExportando = 1, IconeImportando = 2 };

    virtual void DefinirIcone(Icone icone) = 0;
    virtual void MostrarIcone(bool visivel) = 0;
    // Warning with an OK button.
    virtual void Avisar(const QString& mensagem) = 0;
    // Information question with Yes and No; true for Yes.
    virtual bool Perguntar(const QString& mensagem) = 0;
    // The settings dialog, modal; returns when it is closed.
    virtual void MostrarConfiguracoes() = 0;
    // A line for whoever looks after the machine (standard error).
    virtual void Registrar(const QString& linha) = 0;
};

}  // namespace vesko
