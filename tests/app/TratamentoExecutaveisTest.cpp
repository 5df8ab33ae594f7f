#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "TestSupport.h"
#include "app/TratamentoExecutaveis.h"

using namespace vesko;

namespace {
// A companion stand-in: a copy of a long-running system program under the
// companion's file name, in a folder with a space in its name.
QString CriarCompanheiro(const teste::PastaTemporaria& pasta, const QString& nome) {
    QDir().mkpath(pasta.Caminho() + "/com espaço");
    const QString caminho = pasta.Caminho() + "/com espaço/" + nome;
    QFile::copy("/bin/sleep", caminho);
    QFile::setPermissions(caminho, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
    return caminho;
}

bool Esperar(const std::function<bool()>& condicao) {
    for (int i = 0; i < 100 && !condicao(); ++i) QTest::qWait(20);
    return condicao();
}
}  // namespace

TEST(TratamentoExecutaveis, StartsFindsWithoutRegardToCaseAndEndsEveryInstance) {
    teste::PastaTemporaria pasta;
    const QString nome = "IntegradorVeskoGuardianTeste.exe";
    const QString caminho = CriarCompanheiro(pasta, nome);
    EXPECT_FALSE(TTratamentoExecutaveis::ProcessoEmExecucao(nome));

    ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, "30"));
    ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, "30"));
    EXPECT_TRUE(Esperar([&] { return TTratamentoExecutaveis::ProcessoEmExecucao(nome.toLower()); }));

    EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(nome.toUpper()));
    EXPECT_TRUE(Esperar([&] { return !TTratamentoExecutaveis::ProcessoEmExecucao(nome); }));
    EXPECT_FALSE(TTratamentoExecutaveis::EncerrarProcesso(nome));
}

TEST(TratamentoExecutaveis, AMissingExecutableIsNotStarted) {
    EXPECT_FALSE(TTratamentoExecutaveis::ExecutarProcesso("/nao/existe/IntegradorVeskoGuardian.exe", ""));
}
