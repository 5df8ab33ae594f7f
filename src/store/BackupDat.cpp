#include "store/BackupDat.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/ManutencaoBackups.h"

namespace vesko {

namespace {

// `Nome` for n = 1, otherwise Nome_n (before the extension).
QString NomeCopia(const QString& Nome, int n) {
    if (n == 1) return Nome;
    const QFileInfo info(Nome);
    const QString extensao = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    return info.completeBaseName() + QStringLiteral("_%1").arg(n) + extensao;
}

bool NomeOcupado(const QString& Caminho) {
    const QFileInfo info(Caminho);
    return info.exists() || info.isSymLink();
}

enum class TCriacao { Criado, Ocupado, Falhou };

// Creates `Caminho` holding `Conteudo`, never over an existing name (the
// open itself refuses a taken one, so two copies cannot race for it). A
// copy that cannot be written whole is removed.
TCriacao CriarCopia(const QString& Caminho, const QByteArray& Conteudo, QFileDevice::Permissions Permissoes) {
    QFile f(Caminho);
    constexpr QIODevice::OpenMode kModo = QIODevice::WriteOnly | QIODevice::NewOnly;
#ifdef Q_OS_WIN
    // Windows: the copy takes the folder's inherited access, as a copy does.
    Q_UNUSED(Permissoes);
    const bool aberto = f.open(kModo);
#else
    // The source's permission bits (none read: the usual ones of a new file).
    const bool aberto = !Permissoes ? f.open(kModo) : f.open(kModo, Permissoes);
#endif
    if (!aberto)
        return NomeOcupado(Caminho) ? TCriacao::Ocupado : TCriacao::Falhou;
    const bool gravado = f.write(Conteudo) == Conteudo.size() && f.flush();
    f.close();
    if (gravado && f.error() == QFileDevice::NoError) return TCriacao::Criado;
    f.remove();
    return TCriacao::Falhou;
}

}  // namespace

QString DiretorioBackupsDAT(const QDate& Dia) {
    return DiretorioBackupsPrograma() + Dia.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("/");
}

// One read of the file and one write of the copy: the copy is made for
// every exported file, so the day's folder is only made when the first
// attempt finds it missing, and a taken name is found by the exclusive
// create itself rather than by looking first.
bool CriarBackupDAT(const QString& FileName, QString& Text) {
    QFile origem(FileName);
    if (!origem.open(QIODevice::ReadOnly)) {  // also refuses a folder
        Text = QStringLiteral("Arquivo não encontrado: ") + FileName;
        return false;
    }
    const QByteArray conteudo = origem.readAll();
    // Only the file's own bits: the "User" flags describe who runs us.
    const QFileDevice::Permissions permissoes =
        origem.permissions() & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    const bool lido = origem.error() == QFileDevice::NoError;
    origem.close();
    const QString pasta = DiretorioBackupsDAT(QDate::currentDate());
    const QString nome = QFileInfo(FileName).fileName();
    if (!lido) {
        Text = QStringLiteral("Não foi possível copiar ") + FileName + QStringLiteral(" para ") + pasta + nome;
        return false;
    }
    bool pastaCriada = false;
    for (int n = 1;; ++n) {
        const QString destino = pasta + NomeCopia(nome, n);
        TCriacao r = CriarCopia(destino, conteudo, permissoes);
        if (r == TCriacao::Falhou && !pastaCriada) {
            if (!QDir().mkpath(pasta)) {
                Text = QStringLiteral("Não foi possível criar a pasta ") + pasta;
                return false;
            }
            pastaCriada = true;
            r = CriarCopia(destino, conteudo, permissoes);
        }
        if (r == TCriacao::Ocupado) continue;
        if (r == TCriacao::Falhou) {
            Text = QStringLiteral("Não foi possível copiar ") + FileName + QStringLiteral(" para ") + destino;
            return false;
        }
        Text = destino;
        return true;
    }
}

}  // namespace vesko
