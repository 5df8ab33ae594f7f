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

TEST(RitmoHint, OnlyTheGatewaysProgressFormIsThinned) {
    TRitmoHint ritmo(60000);
    // Parentheses in the text before the progress belong to its prefix.
    const QString prefixo = QStringLiteral("Importando (itens) do cardápio ");
    EXPECT_TRUE(ritmo.Mostrar(Progresso(prefixo, 1, 10)));
    EXPECT_FALSE(ritmo.Mostrar(Progresso(prefixo, 2, 10)));
    EXPECT_FALSE(ritmo.Mostrar(QStringLiteral("Importando (itens) do cardápio (-3 de 10 -> -30,00%)...")));
    // Near misses of the form are plain texts and always show.
    for (const char* t : {"Importando (a de 10 -> 1,00%)...", "Importando (1 de 10 -> 1,00%)..",
                          "Importando (1 de 10 ->) 1,00%)...", "Importando (1 de  10 -> 1,00%)...",
                          "Importando (1 de 10 - 1,00%)...", "Importando 1 de 10 -> 1,00%)...",
                          "Importando (٣ de 10 -> 30,00%)..."})
        EXPECT_TRUE(ritmo.Mostrar(QString::fromUtf8(t))) << t;
}

TEST(RitmoHint, ProgressGivenByItsPartsFollowsTheSameRuleAndKeepsTheTextLeftUnshown) {
    TRitmoHint porTexto(60000), porPartes(60000);
    const QString prefixo = QStringLiteral("Importando arquivo de produtos ");
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(porTexto.Mostrar(IHint::TextoProgresso(prefixo, k, 5)), porPartes.MostrarProgresso(prefixo, k, 5)) << k;
    EXPECT_FALSE(porPartes.TemPendente());  // the last one showed

    EXPECT_TRUE(porPartes.MostrarProgresso(QStringLiteral("Importando prazos "), 1, 10));
    EXPECT_FALSE(porPartes.MostrarProgresso(QStringLiteral("Importando prazos "), 7, 10));
    ASSERT_TRUE(porPartes.TemPendente());
    EXPECT_EQ(porPartes.Pendente(), QStringLiteral("Importando prazos (7 de 10 -> 70,00%)..."));
    EXPECT_TRUE(porPartes.Mostrar(QStringLiteral("Salvando validações no banco de dados...")));
    EXPECT_FALSE(porPartes.TemPendente());
}

TEST(Hint, TheDefaultProgressIsTheFullText) {
    THintMemoria hint;
    hint.DefinirProgresso(QStringLiteral("Importando prazos "), 2, 3);
    EXPECT_EQ(hint.Hint(), QStringLiteral("Importando prazos (2 de 3 -> 66,67%)..."));
}
