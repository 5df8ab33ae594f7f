#include "GeradorRetaguarda.h"

#include "ApoioGerador.h"

#include <QDir>

namespace vesko::retaguarda {

// A CNPJ with valid check digits, formatted "00.000.000/0001-00".
QString Cnpj(std::mt19937& rng) {
    int d[14];
    for (int i = 0; i < 8; ++i) d[i] = Sortear(rng, 10);
    d[8] = d[9] = d[10] = 0;
    d[11] = 1;
    const auto verificador = [&d](int n) {
        static const int pesos[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        int soma = 0;
        for (int i = 0; i < n; ++i) soma += d[i] * pesos[13 - n + i];
        const int r = soma % 11;
        return r < 2 ? 0 : 11 - r;
    };
    d[12] = verificador(12);
    d[13] = verificador(13);
    QString s;
    for (int i = 0; i < 14; ++i) {
        if (i == 2 || i == 5) s += QLatin1Char('.');
        if (i == 8) s += QLatin1Char('/');
        if (i == 12) s += QLatin1Char('-');
        s += QChar(u'0' + d[i]);
    }
    return s;
}


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
