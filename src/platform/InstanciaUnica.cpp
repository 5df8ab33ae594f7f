#include "platform/InstanciaUnica.h"

#include <QtGlobal>

namespace vesko {

QString NomeInstanciaUnica() {
    const QString teste = qEnvironmentVariable("VESKO_TESTE_INSTANCIA");
    return teste.isEmpty() ? QStringLiteral("Global\\Quorvel_IntegradorVesko") : teste;
}

}  // namespace vesko
