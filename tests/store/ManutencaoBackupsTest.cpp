#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "TestSupport.h"
#include "platform/DiretorioPrograma.h"
#include "store/ManutencaoBackups.h"

using namespace vesko;

namespace {

void Criar(const QString& caminho, int diasAtras) {
    QDir().mkpath(QFileInfo(caminho).absolutePath());
    teste::GravarArquivo(caminho, "x");
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addDays(-diasAtras), QFileDevice::FileModificationTime));
}

class Manutencao : public ::testing::Test {
protected:
    void SetUp() override {
        programa = pasta.Caminho() + "/programa";
        fora = pasta.Caminho() + "/fora";
        QDir().mkpath(programa);
        DefinirDiretorioPrograma(programa);
    }
    void TearDown() override { DefinirDiretorioPrograma(QString()); }
    teste::PastaTemporaria pasta;
    QString programa, fora;
};

TEST_F(Manutencao, DeletesOldFilesAndEmptiedFoldersKeepsNewOnesAndNeverFollowsLinks) {
    const QString logs = programa + "/LogsIntegradorVesko";
    Criar(logs + "/2026/junho/Dia_01/velho.dat", 40);
    Criar(logs + "/2026/dezembro/Dia_07/novo.dat", 1);
    Criar(logs + "/2026/dezembro/Dia_07/limite.dat", 29);
    Criar(fora + "/alvo/velho.dat", 400);
    ASSERT_TRUE(QFile::link(fora + "/alvo", logs + "/ligacao"));
    ASSERT_TRUE(QFile::link(fora + "/alvo/velho.dat", logs + "/arquivo-ligado"));

    EXPECT_EQ(EfetuarManutencaoBackUPs(logs + "/", 30), 1);

    EXPECT_FALSE(QFile::exists(logs + "/2026/junho"));  // emptied folders go too
    EXPECT_TRUE(QFile::exists(logs + "/2026/dezembro/Dia_07/novo.dat"));
    EXPECT_TRUE(QFile::exists(logs + "/2026/dezembro/Dia_07/limite.dat"));
    EXPECT_TRUE(QFile::exists(fora + "/alvo/velho.dat"));
    EXPECT_TRUE(QFileInfo(logs + "/ligacao").isSymLink());
    EXPECT_TRUE(QFileInfo(logs + "/arquivo-ligado").isSymLink());
    EXPECT_TRUE(QFile::exists(logs));  // the folder given is kept even when empty
}

TEST_F(Manutencao, EmptyDirectoryMeansTheBackupFolder) {
    EXPECT_EQ(DiretorioBackupsPrograma(), programa + "/Backups/");
    Criar(programa + "/Backups/VESKO_antigo.fbk", 200);
    Criar(programa + "/Backups/VESKO_recente.fbk", 10);
    Criar(programa + "/outro/velho.dat", 200);
    EXPECT_EQ(EfetuarManutencaoBackUPs("", 180), 1);
    EXPECT_FALSE(QFile::exists(programa + "/Backups/VESKO_antigo.fbk"));
    EXPECT_TRUE(QFile::exists(programa + "/Backups/VESKO_recente.fbk"));
    EXPECT_TRUE(QFile::exists(programa + "/outro/velho.dat"));
}

TEST_F(Manutencao, WrongCallsDeleteNothing) {
    Criar(programa + "/Quorvel_IntegradorVesko.ini", 500);
    Criar(programa + "/Backups/velho.fbk", 500);
    Criar(fora + "/velho.dat", 500);
    ASSERT_TRUE(QFile::link(fora, programa + "/Backups/atalho"));
    EXPECT_EQ(EfetuarManutencaoBackUPs(programa, 1), 0);               // the program directory itself
    EXPECT_EQ(EfetuarManutencaoBackUPs(fora, 1), 0);                   // outside it
    EXPECT_EQ(EfetuarManutencaoBackUPs(programa + "/Backups/../../fora", 1), 0);
    EXPECT_EQ(EfetuarManutencaoBackUPs(programa + "/Backups/atalho", 1), 0);  // a link leading out
    EXPECT_EQ(EfetuarManutencaoBackUPs(programa + "/nao-existe", 1), 0);
    EXPECT_EQ(EfetuarManutencaoBackUPs("", 0), 0);
    EXPECT_EQ(EfetuarManutencaoBackUPs("", -5), 0);
    EXPECT_TRUE(QFile::exists(programa + "/Quorvel_IntegradorVesko.ini"));
    EXPECT_TRUE(QFile::exists(programa + "/Backups/velho.fbk"));
    EXPECT_TRUE(QFile::exists(fora + "/velho.dat"));
}

}  // namespace
