#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTest>

#include "ApoioCompanheiro.h"
#include "TestSupport.h"
#include "app/TratamentoExecutaveis.h"
#include "platform/Processos.h"

using namespace vesko;
using teste::Esperar;

namespace {
// A copy of a long-running system program under the companion's file name,
// in a folder with a space in its name.
QString CriarCompanheiro(const teste::PastaTemporaria& pasta, const QString& nome) {
    QDir().mkpath(pasta.Caminho() + "/com espaço");
    const QString caminho = pasta.Caminho() + "/com espaço/" + nome;
    QFile::copy("/bin/sleep", caminho);
    teste::TornarExecutavel(caminho);
    return caminho;
}

// Names of their own, so that these tests never meet the suites' companions.
const QString kBinario = QStringLiteral("IntegradorVeskoGuardianBinario.exe");
const QString kScript = QStringLiteral("IntegradorVeskoGuardianScript.exe");
}  // namespace

TEST(TratamentoExecutaveis, StartsFindsWithoutRegardToCaseAndEndsEveryInstance) {
    teste::PastaTemporaria pasta;
    const QString nome = "IntegradorVeskoGuardianTeste.exe";
    const QString caminho = CriarCompanheiro(pasta, nome);
    EXPECT_FALSE(TTratamentoExecutaveis::ProcessoEmExecucao(nome));

    ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, "30"));
    ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, "30"));
    EXPECT_TRUE(TTratamentoExecutaveis::ProcessoEmExecucao(nome.toLower()));
    EXPECT_EQ(teste::ContarCompanheiros(nome), 2);

    EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(nome.toUpper()));
    EXPECT_FALSE(TTratamentoExecutaveis::ProcessoEmExecucao(nome));  // both gone when it returns
    EXPECT_FALSE(TTratamentoExecutaveis::EncerrarProcesso(nome));    // nothing matched
}

TEST(TratamentoExecutaveis, AMissingExecutableIsNotStarted) {
    EXPECT_FALSE(TTratamentoExecutaveis::ExecutarProcesso("/nao/existe/IntegradorVeskoGuardian.exe", ""));
}

TEST(TratamentoExecutaveis, AScriptCompanionIsFoundAndEndedButAProgramOnlyNamingItIsNot) {
    teste::PastaTemporaria pasta;
    const QString dir = pasta.Caminho() + "/Programa com espaço";
    const QString caminho = teste::EscreverScriptCompanheiro(dir, kScript);

    // `tail -f …/IntegradorVeskoGuardianScript.exe` names the companion but is not it.
    QProcess tail;
    tail.start("tail", {"-f", caminho});
    ASSERT_TRUE(tail.waitForStarted());
    EXPECT_FALSE(TTratamentoExecutaveis::ProcessoEmExecucao(kScript));

    ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, ""));
    ASSERT_TRUE(Esperar([&] { return teste::Inicios(dir).size() == 1; }));  // ran in its own directory
    EXPECT_TRUE(TTratamentoExecutaveis::ProcessoEmExecucao(kScript));
    EXPECT_TRUE(TTratamentoExecutaveis::ProcessoEmExecucao(kScript.toLower()));
    EXPECT_EQ(teste::ContarCompanheiros(kScript), 1);

    EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(kScript));
    EXPECT_FALSE(TTratamentoExecutaveis::ProcessoEmExecucao(kScript));
    EXPECT_EQ(tail.state(), QProcess::Running);  // left alone
    tail.kill();
    tail.waitForFinished();
}

TEST(TratamentoExecutaveis, ACompanionReplacedOnDiskWhileRunningIsFoundAndEndedByItsPath) {
    teste::PastaTemporaria pasta;
    const QString dir = pasta.Caminho() + "/Programa com espaço";
    const QString caminho = teste::CopiarCompanheiro(dir, kBinario);
    ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, ""));
    ASSERT_TRUE(Esperar([&] { return teste::Inicios(dir).size() == 1; }));

    teste::CopiarCompanheiro(dir, kBinario);  // an update: a new file under the same name
    const QString pid = teste::Inicios(dir).first();
    char link[4096] = {};
    ASSERT_GT(::readlink(QFile::encodeName("/proc/" + pid + "/exe").constData(), link, sizeof link - 1), 0);
    EXPECT_TRUE(QByteArray(link).endsWith(" (deleted)")) << link;
    EXPECT_TRUE(TTratamentoExecutaveis::ProcessoEmExecucao(kBinario));

    EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(caminho));  // the whole path matches too
    EXPECT_FALSE(TTratamentoExecutaveis::ProcessoEmExecucao(kBinario));
}

TEST(TratamentoExecutaveis, ACompanionThatIgnoresTheRequestToEndIsKilled) {
    teste::PastaTemporaria pasta;
    for (bool script : {false, true}) {
        const QString dir = pasta.Caminho() + (script ? "/script" : "/binario");
        const QString nome = script ? kScript : kBinario;
        QDir().mkpath(dir);
        teste::GravarArquivo(dir + "/ignorar-term", "");
        const QString caminho = script ? teste::EscreverScriptCompanheiro(dir, nome, true)
                                       : teste::CopiarCompanheiro(dir, nome);
        ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, ""));
        ASSERT_TRUE(Esperar([&] { return teste::Inicios(dir).size() == 1; })) << nome.toStdString();

        EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(nome)) << nome.toStdString();
        EXPECT_FALSE(TTratamentoExecutaveis::ProcessoEmExecucao(nome)) << nome.toStdString();
    }
}

TEST(TratamentoExecutaveis, MatchingRules) {
    const QString nome = QStringLiteral("IntegradorVeskoGuardian.exe");
    const auto corresponde = [&](const TProcessoSistema& p) { return TTratamentoExecutaveis::Corresponde(p, nome, false); };
    EXPECT_TRUE(corresponde({1, "/opt/vesko/INTEGRADORVESKOGUARDIAN.EXE", "INTEGRADORVESKO", {}}));
    EXPECT_TRUE(corresponde({1, "/opt/vesko/IntegradorVeskoGuardian.exe (deleted)", "IntegradorVesko", {}}));
    EXPECT_TRUE(corresponde({1, "/usr/bin/dash", "IntegradorVesko", {"/bin/sh", "/opt/a b/IntegradorVeskoGuardian.exe"}}));
    EXPECT_TRUE(corresponde({1, "/usr/bin/bash", "IntegradorVesko", {"bash", "-e", "./integradorveskoguardian.exe"}}));
    EXPECT_TRUE(corresponde({1, "", "sh", {"/opt/vesko/IntegradorVeskoGuardian.exe"}}));  // another user's
    EXPECT_FALSE(corresponde({1, "/usr/bin/vim.basic", "vi", {"vi", "IntegradorVeskoGuardian.exe"}}));
    EXPECT_FALSE(corresponde({1, "/usr/bin/tail", "tail", {"tail", "-f", "/opt/IntegradorVeskoGuardian.exe"}}));
    // The command name alone, or the word beyond the third, is not enough.
    EXPECT_FALSE(corresponde({1, "/usr/bin/dash", "IntegradorVesko", {"/bin/sh", "/opt/IntegradorVeskoOutro.exe"}}));
    EXPECT_FALSE(corresponde({1, "/usr/bin/dash", "IntegradorVesko", {"/bin/sh", "-e", "-x"}}));
    EXPECT_FALSE(corresponde({1, "/opt/IntegradorVeskoGuardian.exe.old", "IntegradorVesko", {}}));
    // A whole path counts only where a whole path is asked for.
    const TProcessoSistema p{1, "/opt/vesko/IntegradorVeskoGuardian.exe", "IntegradorVesko", {}};
    EXPECT_TRUE(TTratamentoExecutaveis::Corresponde(p, "/OPT/VESKO/INTEGRADORVESKOGUARDIAN.EXE", true));
    EXPECT_FALSE(TTratamentoExecutaveis::Corresponde(p, "/opt/vesko/IntegradorVeskoGuardian.exe", false));
    EXPECT_FALSE(TTratamentoExecutaveis::Corresponde(p, "/outro/IntegradorVeskoGuardian.exe", true));
}
