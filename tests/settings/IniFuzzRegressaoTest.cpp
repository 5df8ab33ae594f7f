// Replays our sample settings files and every input the settings fuzz target
// once failed on: each must read, write back and read again unchanged.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>

#include "TestSupport.h"
#include "fuzz/ExercitarIni.h"

using vesko::teste::ExercitarIni;
using vesko::teste::LerArquivo;
using vesko::teste::PastaTemporaria;

namespace {

int Replay(const QString& pastaEntradas) {
    int n = 0;
    QDirIterator it(pastaEntradas, QDir::Files);
    while (it.hasNext()) {
        const QString arquivo = it.next();
        if (arquivo.endsWith(QLatin1String(".md"))) continue;
        PastaTemporaria pasta;
        const QString falha = ExercitarIni(LerArquivo(arquivo), pasta.Caminho());
        EXPECT_TRUE(falha.isEmpty()) << arquivo.toStdString() << ": " << falha.toStdString();
        ++n;
    }
    return n;
}

}  // namespace

TEST(IniFuzzRegressao, SementesEEntradasGuardadas) {
    EXPECT_GT(Replay(QStringLiteral(DIR_SEMENTES_INI)), 0);
    Replay(QStringLiteral(DIR_REGRESSAO_INI));
}

// The checks themselves must see a fault: a value that does not come back.
TEST(IniFuzzRegressao, OExercicioVeValoresDeCadaSecao) {
    PastaTemporaria pasta;
    EXPECT_TRUE(ExercitarIni(QByteArray(), pasta.Caminho()).isEmpty());
    const auto nomes = vesko::teste::ini_fuzz::NomesDe("solta=1\n[A]\nx=1\n; y=2\n[B]\nz = 3\n");
    EXPECT_EQ(nomes.secoes, QStringList({QStringLiteral("A"), QStringLiteral("B")}));
    ASSERT_EQ(nomes.chaves.size(), 2u);
    EXPECT_EQ(nomes.chaves[1], std::make_pair(QStringLiteral("B"), QStringLiteral("z")));
}
