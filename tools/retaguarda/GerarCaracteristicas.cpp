// The product link files: the characteristics (`opcoes.Catalogo` rows), the
// characteristics of every third product, and the compositions of every
// fifth product from two ingredients. Variant 1 keeps the ids and changes
// every row: other names, each product linked to the next characteristic,
// other quantities.
#include <QRandomGenerator>
#include <QString>
#include <algorithm>
#include <iterator>

#include "GeradorRetaguarda.h"

#include "ApoioGerador.h"
#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

namespace {

QString Id(int numero, int largura = 6) { return QStringLiteral("%1").arg(numero, largura, 10, QLatin1Char('0')); }

// Product i (0-based) of the products generator is the decimal i + 1
// (GerarProdutos.cpp).
QString IdProduto(int i) { return QString::number(i + 1); }
QString IdCaracteristica(int i) { return Id(i + 1, 4); }


const char* const kCaracteristicas[] = {
    "Vegetariano", "Vegano",         "Sem glúten",  "Sem lactose",          "Picante",
    "Contém amendoim", "Orgânico",   "Zero açúcar", "Contém álcool",        "Light",
    "Contém frutos do mar", "Artesanal", "Integral", "Feito na casa",
};

void GerarListaCaracteristicas(const QString& diretorio, const TOpcoesGerador& opcoes) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdCaracteristica"), ftString, 10).Campo(QStringLiteral("DsCaracteristica"), ftString, 60);
    const int n = static_cast<int>(std::size(kCaracteristicas));
    for (int i = 0; i < opcoes.Catalogo; ++i) {
        // Variant 1 takes the next name of the list; past its end names come back numbered.
        QString nome = QString::fromUtf8(kCaracteristicas[(i + opcoes.Variante) % n]);
        if (i >= n) nome += QStringLiteral(" %1").arg(i / n + 1);
        p.Linha({IdCaracteristica(i), nome});
    }
    p.Gravar(Caminho(diretorio, "Caracteristicas.dat"));
}

void GerarProdutoCaracteristicas(const QString& diretorio, const TOpcoesGerador& opcoes) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdCaracteristica"), ftString, 10).Campo(QStringLiteral("IdDetalhe"), ftString, 10);
    const int caracteristicas = opcoes.Catalogo;
    if (caracteristicas > 0) {
        for (int i = 0; i < opcoes.Produtos; i += 3) {
            // Variant 1 links each product to the next characteristic (the
            // same one when there is only one).
            const int c = (i / 3 + opcoes.Variante) % caracteristicas;
            p.Linha({IdCaracteristica(c), IdProduto(i)});
        }
    }
    p.Gravar(Caminho(diretorio, "ProdutoCaracteristicas.dat"));
}

void GerarProdutoComposicao(const QString& diretorio, const TOpcoesGerador& opcoes, QRandomGenerator& rng) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdDetalhe"), ftString, 10)
        .Campo(QStringLiteral("IdDetalheInsumo"), ftString, 10)
        .Campo(QStringLiteral("QtdInsumo"), ftFloat);
    const double quantidades[] = {0.5, 1.0, 0.25, 2.0, 0.15, 0.08};
    const int produtos = opcoes.Produtos;
    if (produtos >= 3) {
        for (int i = 1; i < produtos; i += 5) {
            for (int k = 1; k <= 2; ++k) {
                const double q = quantidades[rng.bounded(static_cast<quint32>(std::size(quantidades)))];
                p.Linha({IdProduto(i), IdProduto((i + k) % produtos), q + (opcoes.Variante == 1 ? 0.05 : 0.0)});
            }
        }
    }
    p.Gravar(Caminho(diretorio, "ProdutoComposicao.dat"));
}

}  // namespace

void GerarCaracteristicas(const QString& diretorio, const TOpcoesGerador& opcoes) {
    // A stream of its own; the variant does not touch it.
    QRandomGenerator rng(opcoes.Semente ^ 0xCA7AC7E2u);
    GerarListaCaracteristicas(diretorio, opcoes);
    GerarProdutoCaracteristicas(diretorio, opcoes);
    GerarProdutoComposicao(diretorio, opcoes, rng);
}

}  // namespace vesko::retaguarda
