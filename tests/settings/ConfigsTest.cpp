#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/DiretorioPrograma.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"
#include "settings/IniFile.h"

using namespace vesko;

class Configs : public ::testing::Test {
protected:
    void SetUp() override { DefinirDiretorioPrograma(pasta.Caminho()); }
    void TearDown() override { DefinirDiretorioPrograma(QString()); }
    void Escrever(const QByteArray& texto) { teste::GravarArquivo(TConfigsIntegradorPDVBistrel::GetNomeArquivo(), texto); }
    teste::PastaTemporaria pasta;
};

TEST_F(Configs, FixedNameInTheProgramDirectoryAndDefaultsWithoutFile) {
    EXPECT_EQ(TConfigsIntegradorPDVBistrel::GetNomeArquivo(), pasta.Caminho() + "/Quorvel_IntegradorVesko.ini");
    const TConfigsIntegradorPDVBistrel c;
    EXPECT_EQ(c.DiretorioImportacao(), "");
    EXPECT_EQ(c.DiretorioExportacao(), "");
    EXPECT_EQ(c.DiretorioBaseDeDados(), "");
    EXPECT_EQ(c.IntervaloImportacao(), 8);
    EXPECT_EQ(c.IntervaloExportacao(), 5);
    EXPECT_EQ(c.NumeroDiasBackupLogs(), 30);
}

TEST_F(Configs, UnreadableIntegersGiveTheirDefaultOthersAreTakenAsStored) {
    Escrever("[CONFIGS]\nIntervaloImportacao=abc\nIntervaloExportacao=$A\nNumeroDiasBackupLogs=0x0A\n");
    TConfigsIntegradorPDVBistrel c;
    EXPECT_EQ(c.IntervaloImportacao(), 8);
    EXPECT_EQ(c.IntervaloExportacao(), 10);
    EXPECT_EQ(c.NumeroDiasBackupLogs(), 10);
    Escrever("[CONFIGS]\nIntervaloImportacao=0\nIntervaloExportacao=-3\n");
    TConfigsIntegradorPDVBistrel d;
    EXPECT_EQ(d.IntervaloImportacao(), 0);
    EXPECT_EQ(d.IntervaloExportacao(), -3);
}

TEST_F(Configs, GravarRoundTripsPathsAsEnteredAndKeepsForeignEntries) {
    Escrever("[BANCO]\nServidor=embutido\n[CONFIGS]\nNumeroDiasBackupLogs=7\nExtra=fica\n");
    TConfigsIntegradorPDVBistrel c;
    c.SetDiretorioImportacao(" /loja/entrada/ ");
    c.SetDiretorioExportacao("C:\\Saida");
    c.SetDiretorioBaseDeDados("/dados/pdv");
    c.SetIntervaloImportacao(2);
    c.SetIntervaloExportacao(3);
    c.SetNumeroDiasBackupLogs(15);
    c.Gravar();
    const TConfigsIntegradorPDVBistrel r;
    EXPECT_EQ(r.DiretorioImportacao(), " /loja/entrada/ ");  // outer blanks too: written in quotes
    EXPECT_EQ(r.DiretorioExportacao(), "C:\\Saida");
    EXPECT_EQ(r.DiretorioBaseDeDados(), "/dados/pdv");
    EXPECT_EQ(r.IntervaloImportacao(), 2);
    EXPECT_EQ(r.IntervaloExportacao(), 3);
    EXPECT_EQ(r.NumeroDiasBackupLogs(), 15);
    const TIniFile ini(TConfigsIntegradorPDVBistrel::GetNomeArquivo());
    EXPECT_EQ(ini.ReadString("BANCO", "Servidor", ""), "embutido");
    EXPECT_EQ(ini.ReadString("CONFIGS", "Extra", ""), "fica");
}

TEST_F(Configs, FreshFileHoldsTheSectionThenTheKeysInWritingOrder) {
    TConfigsIntegradorPDVBistrel().Gravar();
    EXPECT_EQ(teste::LerArquivo(TConfigsIntegradorPDVBistrel::GetNomeArquivo()),
              QByteArray("[CONFIGS]\nDiretorioImportacao=\nDiretorioExportacao=\nIntervaloImportacao=8\n"
                         "IntervaloExportacao=5\nDiretorioBaseDeDados=\nNumeroDiasBackupLogs=30\n"));
}

TEST_F(Configs, QueryDebugIsOnForAnyNonZeroInteger) {
    const QString nome = GetNomeArquivoQueryDebug();
    EXPECT_TRUE(nome.startsWith(pasta.Caminho()));
    EXPECT_FALSE(LerQueryDebug());
    for (auto [valor, ligado] : {std::pair{"1", true}, {"-5", true}, {"$10", true}, {"0", false}, {"true", false}}) {
        teste::GravarArquivo(nome, QByteArray("[GERAL]\nQueryDebug=") + valor + "\n");
        EXPECT_EQ(LerQueryDebug(), ligado) << valor;
    }
}
