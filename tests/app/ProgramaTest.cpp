// The program itself, started as a store's machine would start it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>

#include "ApoioCompanheiro.h"
#include "TestSupport.h"
#include "app/TratamentoExecutaveis.h"
#include "platform/InstanciaUnica.h"

using namespace vesko;

namespace {
QString Programa() { return teste::ExecutavelConstruido("Quorvel_IntegradorVesko"); }

int Rodar(const QStringList& args, QByteArray* saida = nullptr, QByteArray* erros = nullptr) {
    QProcess p;
    p.start(Programa(), args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (saida) *saida = p.readAllStandardOutput();
    if (erros) *erros = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}
// Waits until some process holds the single-instance lock.
bool EsperarTravaOcupada(TInstanciaUnica& sonda) {
    for (int i = 0; i < 200 && sonda.Adquirir(); ++i) {
        sonda.Liberar();
        QTest::qWait(20);
    }
    return !sonda.Adquirir();
}

// Starts `servico` in `home` and waits until it holds the lock.
bool IniciarServico(QProcess& p, const teste::PastaTemporaria& home, TInstanciaUnica& sonda) {
    p.start(Programa(), {"--home", home.Caminho(), "servico"});
    return p.waitForStarted() && EsperarTravaOcupada(sonda);
}
}  // namespace

TEST(Programa, TheLockNameIsTheMachinesUnlessATestOverridesIt) {
    const QByteArray teste = qgetenv("VESKO_TESTE_INSTANCIA");
    ASSERT_FALSE(teste.isEmpty());  // every test runs on a name of its own
    EXPECT_EQ(NomeInstanciaUnica(), QString::fromUtf8(teste));
    qunsetenv("VESKO_TESTE_INSTANCIA");
    EXPECT_EQ(NomeInstanciaUnica(), QStringLiteral("Global\\Quorvel_IntegradorVesko"));
    qputenv("VESKO_TESTE_INSTANCIA", teste);
}

TEST(Programa, VersionAndUsageErrors) {
    QByteArray saida, erros;
    EXPECT_EQ(Rodar({"versao"}, &saida), 0);
    EXPECT_EQ(saida, "6.13.11.2\n");
    EXPECT_EQ(Rodar({"--home", "/nao/existe", "versao"}, nullptr, &erros), 2);
    EXPECT_TRUE(erros.contains("--home"));
    EXPECT_EQ(Rodar({"desconhecido"}), 2);
}

TEST(Programa, ASecondInstanceEndsAtOnceAndLeavesTheFirstRunning) {
    teste::PastaTemporaria home;
    QProcess primeiro;
    TInstanciaUnica sonda;
    ASSERT_TRUE(IniciarServico(primeiro, home, sonda));

    QByteArray saida, erros;
    EXPECT_EQ(Rodar({"--home", home.Caminho(), "servico"}, &saida, &erros), 0);
    EXPECT_TRUE(saida.isEmpty());
    EXPECT_TRUE(erros.isEmpty());
    EXPECT_EQ(Rodar({}, &saida, &erros), 0);  // the tray too, silently
    EXPECT_TRUE(erros.isEmpty());
    for (const char* comando : {"importar", "conectar"}) {
        EXPECT_EQ(Rodar({"--home", home.Caminho(), comando}, nullptr, &erros), 1) << comando;
        EXPECT_TRUE(erros.contains("em execução")) << erros.constData();
    }
    EXPECT_EQ(Rodar({"--home", home.Caminho(), "auditoria", "--json"}), 0);  // never takes the lock
    EXPECT_EQ(Rodar({"versao"}), 0);  // never takes the lock

    EXPECT_EQ(primeiro.state(), QProcess::Running);
    primeiro.terminate();  // SIGTERM ends the service cleanly
    ASSERT_TRUE(primeiro.waitForFinished(10000));
    EXPECT_EQ(primeiro.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(primeiro.exitCode(), 0);
    const QByteArray relato = primeiro.readAllStandardError();
    EXPECT_TRUE(relato.contains("Não foram encontradas as configurações necessárias")) << relato.constData();
    EXPECT_TRUE(sonda.Adquirir());  // released with the process
}

TEST(Programa, ALockOfAKilledProcessIsReleasedByTheSystem) {
    teste::PastaTemporaria home;
    QProcess p;
    TInstanciaUnica sonda;
    ASSERT_TRUE(IniciarServico(p, home, sonda));
    p.kill();  // SIGKILL: no clean-up at all
    p.waitForFinished();
    EXPECT_TRUE(sonda.Adquirir());
}

TEST(Programa, TheServiceStartsTheCompanionInAProgramDirectoryWithSpaces) {
    teste::PastaTemporaria pasta;
    const QString home = pasta.Caminho() + "/Programa com espaço";
    const QString nome = "IntegradorVeskoGuardian.exe";
    teste::CopiarCompanheiro(home, nome);
    QProcess servico;
    TInstanciaUnica sonda;
    servico.start(Programa(), {"--home", home, "servico"});
    ASSERT_TRUE(servico.waitForStarted() && EsperarTravaOcupada(sonda));
    ASSERT_TRUE(teste::Esperar([&] { return teste::Inicios(home).size() == 1; }));  // in its own directory
    EXPECT_EQ(teste::ContarCompanheiros(nome), 1);
    servico.terminate();
    ASSERT_TRUE(servico.waitForFinished(10000));
    EXPECT_EQ(teste::ContarCompanheiros(nome), 1);  // ending the service leaves it running
    EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(nome));
    EXPECT_EQ(teste::Inicios(home).size(), 1);
}

TEST(Programa, WithoutABancoSectionAndNoServerTheDatabaseCommandsSayWhatToCheck) {
    teste::PastaTemporaria home;
    const QString base = home.Arquivo("base");
    QDir().mkpath(base);
    const QString ini = home.Arquivo("Quorvel_IntegradorVesko.ini");
    const QString dica = "Verifique se o servidor de banco de dados do PDV está em execução.";
    teste::GravarArquivo(ini, ("[CONFIGS]\nDiretorioBaseDeDados=" + base + "\n").toUtf8());
    for (const QStringList& args : {QStringList{"criar-base", base}, QStringList{"conectar"}}) {
        const teste::ResultadoPrograma r = teste::RodarPrograma(home.Caminho(), args);
        EXPECT_EQ(r.codigo, 1) << r.erros.toStdString();
        if (!r.erros.contains("Unable to complete network request"))
            GTEST_SKIP() << "a database server answers on this machine: " << r.erros.toStdString();
        EXPECT_TRUE(r.erros.endsWith(dica + "\n")) << args.first().toStdString() << ": " << r.erros.toStdString();
    }
    // A server named in [BANCO] is the store's own choice: the line is not added.
    teste::GravarArquivo(ini, ("[CONFIGS]\nDiretorioBaseDeDados=" + base + "\n[BANCO]\nServidor=localhost\n").toUtf8());
    const teste::ResultadoPrograma r = teste::RodarPrograma(home.Caminho(), {"criar-base", base});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_FALSE(r.erros.contains(dica)) << r.erros.toStdString();
}

// A server named in [BANCO] that does not answer (port 1 on loopback, where
// nothing listens whatever else runs on this machine): a readable line, exit
// 1, the gateway's record, and the database file as it was.
TEST(Programa, AServerThatDoesNotAnswerIsAReadableLineAndExitOne) {
    teste::PastaTemporaria home;
    const QString base = home.Arquivo("base");
    const QString outra = home.Arquivo("outra");
    QDir().mkpath(base);
    QDir().mkpath(outra);
    const QString ini = home.Arquivo("Quorvel_IntegradorVesko.ini");
    const QByteArray configs = ("[CONFIGS]\nDiretorioBaseDeDados=" + base + "\n").toUtf8();
    teste::GravarArquivo(ini, configs + "[BANCO]\nServidor=embutido\n");
    ASSERT_EQ(teste::RodarPrograma(home.Caminho(), {"criar-base", base}).codigo, 0);
    const QByteArray antes = teste::LerArquivo(base + "/VESKO.GDB");
    ASSERT_FALSE(antes.isEmpty());

    teste::GravarArquivo(ini, configs + "[BANCO]\nServidor=127.0.0.1/1\n");
    teste::ResultadoPrograma r = teste::RodarPrograma(home.Caminho(), {"conectar"});
    EXPECT_EQ(r.codigo, 1) << r.erros.toStdString();
    EXPECT_TRUE(r.erros.contains("Falha de comunicação com o banco de dados")) << r.erros.toStdString();
    EXPECT_TRUE(r.erros.contains("Não foi possível conectar ao banco de dados " + base + "/VESKO.GDB."))
        << r.erros.toStdString();
    EXPECT_FALSE(r.erros.contains("Verifique se o servidor")) << r.erros.toStdString();
    EXPECT_EQ(teste::LerArquivo(base + "/VESKO.GDB"), antes);
    const teste::ResultadoPrograma auditoria = teste::RodarPrograma(home.Caminho(), {"auditoria", "--dias", "0"});
    EXPECT_EQ(auditoria.codigo, 0);
    EXPECT_EQ(auditoria.saida.count("Falha de comunicação com o banco de dados"), 1) << auditoria.saida.toStdString();

    r = teste::RodarPrograma(home.Caminho(), {"criar-base", outra});
    EXPECT_EQ(r.codigo, 1) << r.erros.toStdString();
    EXPECT_TRUE(r.erros.startsWith("Não foi possível criar o banco de dados " + outra + "/VESKO.GDB: "))
        << r.erros.toStdString();
    EXPECT_FALSE(QFileInfo::exists(outra + "/VESKO.GDB"));
}
