#pragma once
// Small operating-system services.
#include <QString>

namespace vesko {

// Full path of the running executable, from the operating system.
QString CaminhoExecutavelSistema();

// The local machine's name.
QString NomeMaquinaLocal();

// Opens `diretorio` in the desktop's file manager. False when nothing could
// be started for it.
bool AbrirNoGerenciadorDeArquivos(const QString& diretorio);

}  // namespace vesko
