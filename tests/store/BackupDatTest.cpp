// CriarBackupDAT: the copies of exported files in the program's backup folder.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

#include "TestSupport.h"
#include "platform/DiretorioPrograma.h"
#include "store/BackupDat.h"
#include "store/ManutencaoBackups.h"

using namespace vesko;

namespace {

class ProgramaTemporario {
public:
    ProgramaTemporario() { DefinirDiretorioPrograma(m_pasta.Caminho()); }
    ~ProgramaTemporario() { DefinirDiretorioPrograma(QString()); }
    QString Arquivo(const QString& nome) const { return m_pasta.Arquivo(nome); }

private:
    teste::PastaTemporaria m_pasta;
};

}  // namespace

TEST(CriarBackupDAT, CopiesIntoTodaysFolderAndNeverReplacesAnEarlierCopy) {
    ProgramaTemporario p;
    const QString dia = DiretorioBackupsDAT(QDate::currentDate());
    EXPECT_TRUE(dia.startsWith(DiretorioBackupsPrograma()));
    EXPECT_TRUE(dia.endsWith(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd/"))));

    const QString origem = p.Arquivo(QStringLiteral("HDoc[C][1]ABCDEF.dat"));
    teste::GravarArquivo(origem, "primeiro");
    QString texto;
    ASSERT_TRUE(CriarBackupDAT(origem, texto));
    EXPECT_EQ(texto, dia + QStringLiteral("HDoc[C][1]ABCDEF.dat"));
    EXPECT_EQ(teste::LerArquivo(texto), QByteArray("primeiro"));

    teste::GravarArquivo(origem, "segundo");
    ASSERT_TRUE(CriarBackupDAT(origem, texto));
    EXPECT_EQ(texto, dia + QStringLiteral("HDoc[C][1]ABCDEF_2.dat"));
    EXPECT_EQ(teste::LerArquivo(dia + QStringLiteral("HDoc[C][1]ABCDEF.dat")), QByteArray("primeiro"));
    EXPECT_EQ(teste::LerArquivo(texto), QByteArray("segundo"));
}

TEST(CriarBackupDAT, AMissingFileIsNoCopyAndSaysWhy) {
    ProgramaTemporario p;
    QString texto;
    EXPECT_FALSE(CriarBackupDAT(p.Arquivo(QStringLiteral("nada.dat")), texto));
    EXPECT_TRUE(texto.contains(QStringLiteral("nada.dat")));
    EXPECT_FALSE(QDir(DiretorioBackupsPrograma()).exists());
}
