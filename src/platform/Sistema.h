#pragma once
// Small operating-system services.
#include <QString>
#include <functional>

namespace vesko {

// Full path of the running executable, from the operating system.
QString CaminhoExecutavelSistema();

// The local machine's name.
QString NomeMaquinaLocal();

// Opens `diretorio` in the desktop's file manager. False when nothing could
// be started for it. Where the opener is a program that reports its failure
// only when it ends (xdg-open finding no file manager), `falhouDepois` is
// called then, later, on this thread.
bool AbrirNoGerenciadorDeArquivos(const QString& diretorio, std::function<void()> falhouDepois = {});

}  // namespace vesko
