#pragma once
// Small helpers the family generators share.
#include <QString>
#include <random>

namespace vesko::retaguarda {

inline QString Caminho(const QString& diretorio, const char* nome) {
    return diretorio + QLatin1Char('/') + QString::fromLatin1(nome);
}

inline int Sortear(std::mt19937& rng, int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

// A CNPJ with valid check digits, formatted "00.000.000/0001-00".
QString Cnpj(std::mt19937& rng);

}  // namespace vesko::retaguarda
