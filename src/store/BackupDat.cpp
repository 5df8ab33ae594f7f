#include "store/BackupDat.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/ManutencaoBackups.h"

namespace vesko {

namespace {

// `Nome` in `Pasta`, or the first of Nome_2, Nome_3... (before the
// extension) that is free.
QString CaminhoLivre(const QString& Pasta, const QString& Nome) {
    const QFileInfo info(Nome);
    const QString base = info.completeBaseName();
    const QString extensao = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    QString caminho = Pasta + Nome;
    for (int n = 2; QFileInfo::exists(caminho) || QFileInfo(caminho).isSymLink(); ++n)
        caminho = Pasta + base + QStringLiteral("_%1").arg(n) + extensao;
    return caminho;
}

}  // namespace

QString DiretorioBackupsDAT(const QDate& Dia) {
    return DiretorioBackupsPrograma() + Dia.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("/");
}

bool CriarBackupDAT(const QString& FileName, QString& Text) {
    const QFileInfo origem(FileName);
    if (!origem.isFile()) {
        Text = QStringLiteral("Arquivo não encontrado: ") + FileName;
        return false;
    }
    const QString pasta = DiretorioBackupsDAT(QDate::currentDate());
    if (!QDir().mkpath(pasta)) {
        Text = QStringLiteral("Não foi possível criar a pasta ") + pasta;
        return false;
    }
    const QString destino = CaminhoLivre(pasta, origem.fileName());
    if (!QFile::copy(FileName, destino)) {
        Text = QStringLiteral("Não foi possível copiar ") + FileName + QStringLiteral(" para ") + destino;
        return false;
    }
    Text = destino;
    return true;
}

}  // namespace vesko
