// Backup of the live POS database through the backup service: a consistent
// snapshot in gbak's format, restorable with gbak, under a timestamped name
// that never replaces an earlier backup; a failure raises and leaves no file.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "ApoioBanco.h"
#include "base/Relogio.h"
#include "store/BackupVesko.h"

using namespace vesko;
using vesko::teste::AmbienteBanco;

namespace {

class BackupTest : public ::testing::Test {
protected:
    AmbienteBanco amb{true, false};
    void TearDown() override { Relogio::Definir({}); }

    QStringList ArquivosBackup() const {
        return QDir(amb.Arquivo(QStringLiteral("Backups"))).entryList(QDir::Files, QDir::Name);
    }

    // Restores `fbk` with the gbak tool and returns the rows of T.
    QStringList Restaurar(const QString& fbk) const {
        const QString gbak = QStandardPaths::findExecutable(QStringLiteral("gbak"));
        if (gbak.isEmpty()) throw std::runtime_error("gbak não encontrado");
        const QString restaurado = amb.Arquivo(QStringLiteral("RESTAURADO.FDB"));
        QProcess p;
        p.start(gbak, {QStringLiteral("-c"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-password"),
                       QStringLiteral("quillfern"), fbk, restaurado});
        p.waitForFinished(60000);
        if (p.exitCode() != 0) throw std::runtime_error(p.readAllStandardError().toStdString());
        auto c = amb.Conexao(restaurado);
        QStringList r;
        auto q = c->Consultar(QStringLiteral("SELECT NOME FROM T ORDER BY NOME"));
        for (q->First(); !q->Eof(); q->Next()) r << q->Fields(0).AsString();
        return r;
    }
};

TEST_F(BackupTest, CopiaOBancoEmUsoComoEstavaConfirmadoERestauraComGbak) {
    auto c = amb.Conexao();
    c->ExecutarDireto(QStringLiteral("CREATE TABLE T (NOME VARCHAR(20))"));
    c->Executar(QStringLiteral("INSERT INTO T VALUES ('confirmada')"));
    c->IniciarTransacao();
    c->Executar(QStringLiteral("INSERT INTO T VALUES ('pendente')"));

    Relogio::Definir([] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); });
    QString texto;
    ASSERT_TRUE(TBackupVesko::Execute(texto, true));
    c->ConfirmarTransacao();

    EXPECT_EQ(texto, QDir(amb.Arquivo(QStringLiteral("Backups"))).filePath(QStringLiteral("VESKO_20260304_050607.fbk")));
    EXPECT_EQ(ArquivosBackup(), QStringList{QStringLiteral("VESKO_20260304_050607.fbk")});
    EXPECT_EQ(Restaurar(texto), QStringList{QStringLiteral("confirmada")});
}

TEST_F(BackupTest, NuncaSubstituiUmBackupAnterior) {
    Relogio::Definir([] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); });
    QString primeiro, segundo;
    ASSERT_TRUE(TBackupVesko::Execute(primeiro, true));
    const QByteArray conteudo = vesko::teste::LerArquivo(primeiro);
    {
        auto c = amb.Conexao();
        c->ExecutarDireto(QStringLiteral("CREATE TABLE T (NOME VARCHAR(20))"));
        c->Executar(QStringLiteral("INSERT INTO T VALUES ('depois')"));
    }
    ASSERT_TRUE(TBackupVesko::Execute(segundo, true));
    EXPECT_NE(primeiro, segundo);
    EXPECT_TRUE(segundo.endsWith(QStringLiteral("VESKO_20260304_050607_2.fbk")));
    EXPECT_EQ(vesko::teste::LerArquivo(primeiro), conteudo);
    EXPECT_EQ(Restaurar(segundo), QStringList{QStringLiteral("depois")});
}

TEST_F(BackupTest, FalhaLevantaENaoDeixaArquivo) {
    QFile::remove(amb.CaminhoBanco());  // nothing to back up
    QString texto;
    EXPECT_THROW(TBackupVesko::Execute(texto, true), EDatabaseError);
    EXPECT_TRUE(ArquivosBackup().isEmpty());

    EXPECT_FALSE(TBackupVesko::Execute(texto, false));
    EXPECT_FALSE(texto.isEmpty());
    EXPECT_TRUE(ArquivosBackup().isEmpty());
}

}  // namespace
