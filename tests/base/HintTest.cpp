// Which hint texts a presenter shows.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include "base/Hint.h"

using namespace vesko;

namespace {
QString Progresso(const QString& texto, int k, int n) {
    return QStringLiteral("%1(%2 de %3 -> %4,00%)...").arg(texto).arg(k).arg(n).arg(k * 100 / n);
}
}  // namespace

TEST(RitmoHint, PlainTextsAlwaysShowProgressIsThinnedButFirstAndLastShow) {
    TRitmoHint ritmo;
    EXPECT_TRUE(ritmo.Mostrar(QStringLiteral("Apagando produtos...")));
    QElapsedTimer relogio;
    relogio.start();
    int mostrados = 0;
    const int n = 20000;
    for (int k = 1; k <= n; ++k) {
        const bool m = ritmo.Mostrar(Progresso(QStringLiteral("Importando arquivo de produtos "), k, n));
        if (k == 1 || k == n) EXPECT_TRUE(m) << k;
        mostrados += m;
    }
    // First, last, and at most one per started quarter second between them.
    EXPECT_LE(mostrados, 3 + relogio.elapsed() / 250);
    EXPECT_TRUE(ritmo.Mostrar(QStringLiteral("Carregando arquivo de imagens de produtos...")));
    EXPECT_TRUE(ritmo.Mostrar(QStringLiteral("Carregando arquivo de imagens de produtos...")));
}

TEST(RitmoHint, TheFirstProgressOfAnotherRewriteShowsAtOnce) {
    TRitmoHint ritmo(60000);
    EXPECT_TRUE(ritmo.Mostrar(Progresso(QStringLiteral("Importando prazos "), 1, 10)));
    EXPECT_FALSE(ritmo.Mostrar(Progresso(QStringLiteral("Importando prazos "), 2, 10)));
    EXPECT_TRUE(ritmo.Mostrar(Progresso(QStringLiteral("Importando validações "), 1, 10)));
    EXPECT_FALSE(ritmo.Mostrar(Progresso(QStringLiteral("Importando validações "), 5, 10)));
    EXPECT_TRUE(ritmo.Mostrar(Progresso(QStringLiteral("Importando validações "), 10, 10)));
    // A zero total (an empty file without guard) is its own last text.
    EXPECT_TRUE(ritmo.Mostrar(QStringLiteral("Importando arquivo de produtos (1 de 0 -> 100,00%)...")));
}

TEST(RitmoHint, AfterTheIntervalTheNextProgressShows) {
    TRitmoHint ritmo(20);
    EXPECT_TRUE(ritmo.Mostrar(Progresso(QStringLiteral("Importando "), 1, 10)));
    QThread::msleep(30);
    EXPECT_TRUE(ritmo.Mostrar(Progresso(QStringLiteral("Importando "), 2, 10)));
}
