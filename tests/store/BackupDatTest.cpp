// CriarBackupDAT: the copies of exported files in the program's backup folder.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

TEST(CriarBackupDAT, TheDaysFolderIsMadeAgainWhenRemovedBetweenCopies) {
    ProgramaTemporario p;
    const QString dia = DiretorioBackupsDAT(QDate::currentDate());
    const QString origem = p.Arquivo(QStringLiteral("DDoc[C][2]XYZ.dat"));
    teste::GravarArquivo(origem, QByteArray(70000, 'x'));  // more than one read's worth
    QString texto;
    ASSERT_TRUE(CriarBackupDAT(origem, texto));
    ASSERT_TRUE(QDir(dia).removeRecursively());
    ASSERT_TRUE(CriarBackupDAT(origem, texto));
    EXPECT_EQ(texto, dia + QStringLiteral("DDoc[C][2]XYZ.dat"));
    EXPECT_EQ(teste::LerArquivo(texto), QByteArray(70000, 'x'));
}

TEST(CriarBackupDAT, ALinkOnTheNameIsTakenNotFollowedAndAFolderIsNoFile) {
    ProgramaTemporario p;
    const QString dia = DiretorioBackupsDAT(QDate::currentDate());
    ASSERT_TRUE(QDir().mkpath(dia));
    // A dangling link where the copy would go: the copy must not be written
    // through it, it takes the next free name.
    const QString alvo = p.Arquivo(QStringLiteral("fora.dat"));
    ASSERT_TRUE(QFile::link(alvo, dia + QStringLiteral("CDoc.dat")));
    const QString origem = p.Arquivo(QStringLiteral("CDoc.dat"));
    teste::GravarArquivo(origem, "c");
    QString texto;
    // A read-only source gives a whole, read-only copy.
    ASSERT_TRUE(QFile::setPermissions(origem, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ASSERT_TRUE(CriarBackupDAT(origem, texto));
    EXPECT_EQ(texto, dia + QStringLiteral("CDoc_2.dat"));
    EXPECT_FALSE(QFileInfo::exists(alvo));
    EXPECT_EQ(teste::LerArquivo(texto), QByteArray("c"));
    EXPECT_FALSE(QFileInfo(texto).permission(QFileDevice::WriteOwner));

    ASSERT_TRUE(QDir().mkpath(p.Arquivo(QStringLiteral("pasta.dat"))));
    EXPECT_FALSE(CriarBackupDAT(p.Arquivo(QStringLiteral("pasta.dat")), texto));
    EXPECT_FALSE(QFileInfo::exists(dia + QStringLiteral("pasta.dat")));
}
