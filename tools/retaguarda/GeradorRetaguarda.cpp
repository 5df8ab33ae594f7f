#include "GeradorRetaguarda.h"

#include <QDir>

namespace vesko::retaguarda {

void GerarRetaguarda(const QString& diretorio, const TOpcoesGerador& opcoes) {
    QDir().mkpath(diretorio);
    GerarRecebimentos(diretorio, opcoes);
    GerarConfiguracoes(diretorio, opcoes);
    GerarUsuarios(diretorio, opcoes);
    GerarProdutos(diretorio, opcoes);
    GerarCaracteristicas(diretorio, opcoes);
    GerarCatalogo(diretorio, opcoes);
    GerarClientes(diretorio, opcoes);
}

}  // namespace vesko::retaguarda
