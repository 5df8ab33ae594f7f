#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <climits>
#include <stdexcept>

#include "ApoioCompanheiro.h"
#include "TestSupport.h"
#include "app/TratamentoExecutaveis.h"
#include "app/AgendadorIntegrador.h"
#include "audit/AuditoriaNaoGravada.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "audit/LeituraAuditoria.h"
#include "base/Excecoes.h"
#include "platform/DiretorioPrograma.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

using namespace vesko;

namespace {

// Records what the scheduler shows; answers questions as told.
class TInterfaceGravada : public IInterfacePrincipal {
public:
    void DefinirHint(const QString& t) override { hint = t; hints << t; }
    QString Hint() const override { return hint; }
    void DefinirIcone(Icone i) override { icones << i; }
    void MostrarIcone(bool v) override { visivel << v; }
    void Avisar(const QString& m) override { avisos << m; }
    bool Perguntar(const QString& m) override {
        perguntas << m;
        if (falharPergunta) throw EInOutError(QStringLiteral("disco indisponível"));
        return responder;
    }
    void MostrarConfiguracoes() override { ++configuracoes; }
    void Registrar(const QString& l) override { registros << l; }

    QString hint;
    QStringList hints, avisos, perguntas, registros;
    QList<Icone> icones;
    QList<bool> visivel;
    bool responder = false, falharPergunta = false;
    int configuracoes = 0;
};

class Agendador : public ::testing::Test {
protected:
    void SetUp() override {
        DefinirDiretorioPrograma(pasta.Caminho());
        QDir().mkpath(pasta.Caminho() + "/entrada");
        QDir().mkpath(pasta.Caminho() + "/base");
        QDir().mkpath(pasta.Caminho() + "/saida/nova");
    }
    void TearDown() override { DefinirDiretorioPrograma(QString()); }
    void Configurar(int intervaloImp, int intervaloExp, bool completo = true) {
        TConfigsIntegradorPDVBistrel c;
        c.SetDiretorioImportacao(completo ? pasta.Caminho() + "/entrada" : QString());
        c.SetDiretorioExportacao(pasta.Caminho() + "/saida/nova");
        c.SetDiretorioBaseDeDados(pasta.Caminho() + "/base");
        c.SetIntervaloImportacao(intervaloImp);
        c.SetIntervaloExportacao(intervaloExp);
        c.Gravar();
    }
    teste::PastaTemporaria pasta;
    TInterfaceGravada ui;
    TAgendadorIntegrador agendador{ui};
};

TEST_F(Agendador, IntervalsInMillisecondsAreComputedIn64BitsAndCapped) {
    EXPECT_EQ(TAgendadorIntegrador::IntervaloEmMs(8), 480000);
    EXPECT_EQ(TAgendadorIntegrador::IntervaloEmMs(0), 0);
    EXPECT_EQ(TAgendadorIntegrador::IntervaloEmMs(-3), 0);
    EXPECT_EQ(TAgendadorIntegrador::IntervaloEmMs(40000), INT_MAX);   // 2.4e9 ms would overflow 32 bits
    EXPECT_EQ(TAgendadorIntegrador::IntervaloEmMs(INT_MAX), INT_MAX);
}

TEST_F(Agendador, ConfigurarTimersKeepsARunningCountdownWhenNothingChanged) {
    Configurar(1, 2);
    agendador.ConfigurarTimers(nullptr);
    ASSERT_TRUE(agendador.TimerImportacao.isActive());
    EXPECT_EQ(agendador.TimerImportacao.interval(), 60000);
    EXPECT_EQ(agendador.TimerExportacao.interval(), 120000);
    QTest::qWait(300);
    const int restanteAntes = agendador.TimerImportacao.remainingTime();
    agendador.ConfigurarTimers(nullptr);  // same intervals: countdowns go on
    EXPECT_LE(agendador.TimerImportacao.remainingTime(), restanteAntes);
    EXPECT_LT(agendador.TimerImportacao.remainingTime(), 60000 - 200);

    Configurar(3, 2);  // a changed interval starts a new countdown
    agendador.ConfigurarTimers(nullptr);
    EXPECT_GT(agendador.TimerImportacao.remainingTime(), 180000 - 100);
    EXPECT_LT(agendador.TimerExportacao.remainingTime(), 120000 - 200);

    agendador.TimerExportacao.stop();  // a stopped timer starts again from zero
    agendador.ConfigurarTimers(nullptr);
    EXPECT_TRUE(agendador.TimerExportacao.isActive());
    EXPECT_GT(agendador.TimerExportacao.remainingTime(), 120000 - 100);
}

TEST_F(Agendador, ZeroIntervalLeavesItsTimerStoppedWhileManualRunsStillWork) {
    Configurar(0, -1);
    agendador.ConfigurarTimers(nullptr);
    EXPECT_FALSE(agendador.TimerImportacao.isActive());
    EXPECT_FALSE(agendador.TimerExportacao.isActive());
    int execucoes = 0;
    agendador.DefinirImportacao([&](IHint&, const QString&, bool&) { ++execucoes; });
    agendador.IniciarImportacao();
    EXPECT_EQ(execucoes, 1);
}

TEST_F(Agendador, ARunShowsItsIconAndHintAndRequestsWhileBusyAreDropped) {
    Configurar(8, 5);
    QStringList vistos;
    int exportacoes = 0;
    agendador.DefinirExportacao([&](IHint&, bool, const QString&, bool&) { ++exportacoes; });
    agendador.DefinirImportacao([&](IHint& hint, const QString& dir, bool& primeira) {
        vistos << hint.Hint() << dir << (primeira ? "primeira" : "seguinte");
        hint.DefinirHint("Importando produtos (1 de 2 -> 50,00%)...");
        agendador.IniciarExportacao(false);  // arrives while a modal window pumps messages
        agendador.IniciarImportacao();
    });
    agendador.PrimeiraConexao = true;
    agendador.IniciarImportacao();
    EXPECT_EQ(vistos, QStringList({"Por favor aguarde, importando...", pasta.Caminho() + "/entrada", "primeira"}));
    EXPECT_EQ(exportacoes, 0);  // dropped, not queued
    QTest::qWait(20);
    EXPECT_EQ(exportacoes, 0);
    EXPECT_EQ(ui.icones, QList<IInterfacePrincipal::Icone>({IInterfacePrincipal::IconeImportando,
                                                            IInterfacePrincipal::IconeOcioso}));
    EXPECT_EQ(ui.hint, "Integrador Vesko");
    EXPECT_FALSE(agendador.Ocupado());

    QDir(pasta.Caminho() + "/saida").removeRecursively();
    agendador.IniciarExportacao(true);
    EXPECT_EQ(exportacoes, 1);
    EXPECT_TRUE(QFileInfo(pasta.Caminho() + "/saida/nova").isDir());  // the export directory is created
}

TEST_F(Agendador, MissingDirectoriesWarnAndTheRunDoesNotStart) {
    Configurar(8, 5, /*completo=*/false);
    int execucoes = 0;
    agendador.DefinirImportacao([&](IHint&, const QString&, bool&) { ++execucoes; });
    agendador.IniciarImportacao();
    agendador.IniciarImportacao();
    EXPECT_EQ(execucoes, 0);
    EXPECT_EQ(ui.avisos, QStringList(2, "Não foi configurado o diretório de importação. Por favor faça esta "
                                        "configuração antes de importar."));
    EXPECT_FALSE(agendador.Ocupado());

    TConfigsIntegradorPDVBistrel c;
    c.SetDiretorioExportacao("   ");
    c.Gravar();
    agendador.IniciarExportacao(false);
    EXPECT_EQ(ui.avisos.last(), "Não foi configurado o diretório de exportação. Por favor faça esta configuração "
                                "antes de exportar.");
}

TEST_F(Agendador, ARunThatRaisesLeavesOneErrorRecordWithTheLastHintAndTheTrayReturnsToIdle) {
    Configurar(8, 5);
    agendador.DefinirImportacao([](IHint& hint, const QString&, bool&) {
        hint.DefinirHint("Gravando produtos (3 de 9 -> 33,33%)...");
        throw EConvertError("'abc' is not a valid integer value");
    });
    agendador.IniciarImportacao();
    const TDiaAuditoria dia = LerAuditoriasDoDia(QDate::currentDate());
    ASSERT_EQ(dia.Registros.size(), 1);
    const TRegistroAuditoria& r = dia.Registros[0];
    EXPECT_EQ(r.DescricaoCurta, "Erro ocorrido durante a importação.");
    EXPECT_EQ(r.TipoIntegracao, "Importação");
    EXPECT_EQ(r.TipoExcecao, "EConvertError");
    EXPECT_EQ(r.TipoAuditoria, taErro);
    EXPECT_EQ(LerDetalhesArmazenados(QDate::currentDate(), 1),
              "Ocorreu o seguinte erro durante a importação:\r\n\r\n'abc' is not a valid integer value\r\n\r\n"
              "Hint no momento do erro: Gravando produtos (3 de 9 -> 33,33%)...\r\n");
    EXPECT_EQ(ui.hint, "Integrador Vesko");
    EXPECT_EQ(ui.icones.last(), IInterfacePrincipal::IconeOcioso);
    EXPECT_FALSE(agendador.Ocupado());
    EXPECT_TRUE(ui.registros.isEmpty());

    // Not one of ours: still caught, the unattended program keeps running.
    agendador.DefinirExportacao([](IHint&, bool, const QString&, bool&) { throw std::out_of_range("índice"); });
    agendador.IniciarExportacao(false);
    const TDiaAuditoria depois = LerAuditoriasDoDia(QDate::currentDate());
    ASSERT_EQ(depois.Registros.size(), 2);
    EXPECT_EQ(depois.Registros[1].DescricaoCurta, "Erro ocorrido durante a exportação.");
    EXPECT_EQ(depois.Registros[1].TipoIntegracao, "Exportação");
    EXPECT_EQ(depois.Registros[1].TipoExcecao, "ERangeError");
    EXPECT_TRUE(LerDetalhesArmazenados(QDate::currentDate(), 2)
                    .startsWith("Ocorreu o seguinte erro durante a exportação:\r\n\r\níndice"));
    EXPECT_FALSE(agendador.Ocupado());
}

TEST_F(Agendador, ARunErrorTheAuditTrailCannotTakeGoesToTheFallbackFileAndTheLogLine) {
    Configurar(8, 5);
    // The day's folder cannot be made: a plain file holds its path.
    const QString dia = QFileInfo(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria()).absolutePath();
    QDir().mkpath(QFileInfo(dia).absolutePath());
    teste::GravarArquivo(dia, "no lugar da pasta do dia");
    agendador.DefinirImportacao([](IHint&, const QString&, bool&) { throw EConvertError("'abc' is not a valid integer value"); });
    agendador.IniciarImportacao();
    EXPECT_FALSE(agendador.Ocupado());
    ASSERT_EQ(ui.registros.size(), 1);
    EXPECT_TRUE(ui.registros[0].contains("(Não foi possível gravar a auditoria: Não foi possível criar o diretório"))
        << ui.registros[0].toStdString();
    const QStringList linhas =
        QString::fromUtf8(teste::LerArquivo(ArquivoAuditoriaNaoGravada())).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 1);
    EXPECT_TRUE(linhas[0].contains(" | Importação | Erro | Erro ocorrido durante a importação. | Ocorreu o seguinte erro "
                                   "durante a importação: / 'abc' is not a valid integer value / Hint no momento do erro: "))
        << linhas[0].toStdString();
    EXPECT_TRUE(linhas[0].contains(" | Exceção: EConvertError | Motivo da falha na gravação: Não foi possível criar o diretório"));
}

TEST_F(Agendador, StartUpWithCompleteSettingsArmsTheTimers) {
    Configurar(8, 5);
    agendador.FormCreate();
    EXPECT_TRUE(ui.perguntas.isEmpty());
    EXPECT_TRUE(agendador.TimerImportacao.isActive());
    EXPECT_TRUE(agendador.TimerExportacao.isActive());
    EXPECT_TRUE(agendador.TimerGuardian.isActive());
    EXPECT_EQ(agendador.TimerGuardian.interval(), 60000);
    EXPECT_TRUE(agendador.PrimeiraConexao);
    EXPECT_FALSE(agendador.Ocupado());
}

TEST_F(Agendador, StartUpWithoutSettingsAsksAndKeepsTheRunTimersOff) {
    ui.responder = true;
    agendador.FormCreate();
    ASSERT_EQ(ui.perguntas.size(), 1);
    EXPECT_EQ(ui.perguntas[0], "Não foram encontradas as configurações necessárias para o funcionamento do "
                               "sistema.\r\n\r\nDeseja fazer estas configurações agora?");
    EXPECT_EQ(ui.configuracoes, 1);
    Configurar(8, 5);  // saved in the dialog: still no automatic run until the menu's dialog or a restart
    EXPECT_FALSE(agendador.TimerImportacao.isActive());
    EXPECT_FALSE(agendador.TimerExportacao.isActive());
}

TEST_F(Agendador, AFailingStartUpStepIsReportedAndTheBusyFlagStillClears) {
    ui.falharPergunta = true;
    agendador.FormCreate();
    ASSERT_EQ(ui.registros.size(), 1);
    EXPECT_TRUE(ui.registros[0].contains("EInOutError"));
    const TDiaAuditoria dia = LerAuditoriasDoDia(QDate::currentDate());
    ASSERT_EQ(dia.Registros.size(), 1);
    EXPECT_EQ(dia.Registros[0].TipoAuditoria, taErro);
    EXPECT_EQ(dia.Registros[0].TipoExcecao, "EInOutError");
    EXPECT_EQ(dia.Registros[0].DescricaoCurta, "Falha na inicialização do integrador.");
    EXPECT_FALSE(agendador.Ocupado());
    EXPECT_TRUE(agendador.PrimeiraConexao);
    EXPECT_TRUE(agendador.TimerGuardian.isActive());
}

TEST_F(Agendador, MenuDialogFrameHoldsTheBusyFlagAndHidesTheIcon) {
    Configurar(8, 5);
    int importacoes = 0;
    agendador.DefinirImportacao([&](IHint&, const QString&, bool&) { ++importacoes; });
    agendador.ExecutarDialogoMenu([&] {
        EXPECT_TRUE(agendador.Ocupado());
        agendador.IniciarImportacao();  // a timer tick while the dialog is open
        throw EInOutError("falhou");
    });
    EXPECT_EQ(importacoes, 0);
    EXPECT_EQ(ui.visivel, QList<bool>({false, true}));
    EXPECT_FALSE(agendador.Ocupado());
}

}  // namespace

namespace {
TEST_F(Agendador, QueryDebugKeepsTheSqlMonitorAliveFromStartUp) {
    EXPECT_FALSE(agendador.MonitorSQLAtivo());
    teste::GravarArquivo(GetNomeArquivoQueryDebug(), "[GERAL]\nQueryDebug=1\n");
    agendador.FormCreate();
    EXPECT_TRUE(agendador.MonitorSQLAtivo());
    TAgendadorIntegrador outro(ui);
    teste::GravarArquivo(GetNomeArquivoQueryDebug(), "[GERAL]\nQueryDebug=true\n");
    outro.FormCreate();
    EXPECT_FALSE(outro.MonitorSQLAtivo());
}
}  // namespace

// ---- guardian -------------------------------------------------------------------

namespace {

class Guardiao : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(programa);
        DefinirDiretorioPrograma(programa);
    }
    void TearDown() override {
        TTratamentoExecutaveis::EncerrarProcesso(nome);
        DefinirDiretorioPrograma(QString());
    }
    teste::PastaTemporaria pasta;
    const QString programa = pasta.Caminho() + "/Programa com espaço";
    const QString nome = QString::fromLatin1(TAgendadorIntegrador::kNomeGuardian);
    TInterfaceGravada ui;
    TAgendadorIntegrador agendador{ui};
};

TEST_F(Guardiao, WithoutTheCompanionFileNothingStarts) {
    agendador.VerificarGuardian();
    EXPECT_EQ(teste::ContarCompanheiros(nome), 0);
    EXPECT_TRUE(agendador.TimerGuardian.isActive());
    EXPECT_TRUE(ui.registros.isEmpty());
}

TEST_F(Guardiao, ACompanionIsStartedOnceInItsDirectoryAndFoundByTheNextCheck) {
    for (bool script : {false, true}) {
        SCOPED_TRACE(script ? "script" : "binary");
        QFile::remove(programa + "/inicios.txt");
        if (script)
            teste::EscreverScriptCompanheiro(programa, nome);
        else
            teste::CopiarCompanheiro(programa, nome);
        agendador.VerificarGuardian();
        EXPECT_EQ(teste::ContarCompanheiros(nome), 1);
        ASSERT_TRUE(teste::Esperar([&] { return teste::Inicios(programa).size() == 1; }));  // in its own directory
        agendador.VerificarGuardian();
        agendador.VerificarGuardian();
        EXPECT_EQ(teste::ContarCompanheiros(nome), 1);
        EXPECT_EQ(teste::Inicios(programa).size(), 1);
        EXPECT_TRUE(agendador.TimerGuardian.isActive());
        EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(nome));
        EXPECT_EQ(teste::ContarCompanheiros(nome), 0);
    }
}

TEST_F(Guardiao, ACompanionRunningUnderANameThatDiffersInCaseCounts) {
    const QString outro = pasta.Caminho() + "/outro lugar";
    const QString caminho = teste::CopiarCompanheiro(outro, "integradorveskoguardian.EXE");
    ASSERT_TRUE(TTratamentoExecutaveis::ExecutarProcesso(caminho, ""));
    ASSERT_TRUE(teste::Esperar([&] { return teste::Inicios(outro).size() == 1; }));
    teste::CopiarCompanheiro(programa, nome);
    agendador.VerificarGuardian();
    EXPECT_EQ(teste::ContarCompanheiros(nome), 1);
    EXPECT_TRUE(teste::Inicios(programa).isEmpty());
    EXPECT_TRUE(TTratamentoExecutaveis::EncerrarProcesso(nome));  // the exit ends it as well
}

TEST_F(Guardiao, TheTimerRunsAgainAfterACheckThatRaised) {
    agendador.DefinirVerificacaoGuardian([] { throw EInOutError(QStringLiteral("sem acesso ao diretório")); });
    agendador.VerificarGuardian();
    EXPECT_TRUE(agendador.TimerGuardian.isActive());
    EXPECT_EQ(agendador.TimerGuardian.interval(), 60000);
    agendador.DefinirVerificacaoGuardian([] { throw 7; });  // not even an exception class
    agendador.VerificarGuardian();
    EXPECT_TRUE(agendador.TimerGuardian.isActive());
    ASSERT_EQ(ui.registros.size(), 2);
    EXPECT_TRUE(ui.registros[0].contains("sem acesso ao diretório"));
}

}  // namespace
