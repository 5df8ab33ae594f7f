#include "platform/GravacaoAtomica.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "base/Excecoes.h"

namespace vesko {
namespace {

constexpr int kTamanhoSufixo = 6;
constexpr int kTentativasNome = 100;

QString SufixoAleatorio() {
    static const QLatin1String kLetras("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString r;
    for (int i = 0; i < kTamanhoSufixo; ++i)
        r += QLatin1Char(kLetras[QRandomGenerator::global()->bounded(static_cast<int>(kLetras.size()))]);
    return r;
}

QString ErroCriar(const QString& caminho, const QString& motivo) {
    return QStringLiteral("não foi possível criar o arquivo \"%1\": %2").arg(caminho, motivo);
}

QString ErroGravar(const QString& caminho, const QString& motivo) {
    return QStringLiteral("não foi possível gravar o arquivo \"%1\": %2").arg(caminho, motivo);
}

// Creates the temporary exclusively (never opening a file or link already
// there); the file's permissions carry over to it, as a rename keeps them.
void CriarTemporario(const QString& caminho, QFile& f) {
    for (int i = 0; i < kTentativasNome; ++i) {
        const QString nome = caminho + MarcaTemporarioGravacao() + SufixoAleatorio();
        f.setFileName(nome);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QFileInfo alvo(caminho);
            if (alvo.exists() && alvo.isFile()) f.setPermissions(alvo.permissions());
            return;
        }
        const QFileInfo ocupado(nome);
        if (!ocupado.exists() && !ocupado.isSymLink()) break;  // not a name clash: the folder refuses
    }
    throw EFCreateError(ErroCriar(caminho, f.errorString()));
}

void EscreverESincronizar(const QString& caminho, QFile& f, const std::function<void(QIODevice&)>& escrever) {
    try {
        escrever(f);
    } catch (const EWriteError& e) {
        throw EWriteError(ErroGravar(caminho, e.Mensagem()));
    }
    if (!f.flush() || f.error() != QFileDevice::NoError) throw EWriteError(ErroGravar(caminho, f.errorString()));
    if (!detalhe::SincronizarArquivo(f.handle(), f.fileName()))
        throw EWriteError(ErroGravar(caminho, QStringLiteral("os dados não puderam ser levados ao disco")));
    f.close();
    if (f.error() != QFileDevice::NoError) throw EWriteError(ErroGravar(caminho, f.errorString()));
}

// A link to a file is kept: its target is replaced, in the target's folder.
QString Destino(const QString& caminho) {
    const QFileInfo info(caminho);
    const QString alvo = info.isSymLink() ? info.canonicalFilePath() : QString();
    return alvo.isEmpty() ? caminho : alvo;
}

}  // namespace

QString MarcaTemporarioGravacao() { return QStringLiteral(".~vesko-"); }

bool EhTemporarioGravacao(const QString& nome, const QString& nomeArquivo) {
    const QString prefixo = nomeArquivo + MarcaTemporarioGravacao();
    return nome.size() == prefixo.size() + kTamanhoSufixo && nome.startsWith(prefixo);
}

void GravarArquivoAtomico(const QString& caminho, const std::function<void(QIODevice&)>& escrever) {
    const QString destino = Destino(caminho);
    QFile f;
    CriarTemporario(destino, f);
    try {
        EscreverESincronizar(caminho, f, escrever);
        QString erro;
        if (!detalhe::SubstituirArquivo(f.fileName(), destino, erro)) throw EWriteError(ErroGravar(caminho, erro));
    } catch (...) {
        f.close();
        QFile::remove(f.fileName());
        throw;
    }
}

int RemoverTemporariosGravacao(const QString& caminho) {
    const QFileInfo info(caminho);
    const QDir dir = info.absoluteDir();
    int n = 0;
    const QStringList nomes = dir.entryList({info.fileName() + MarcaTemporarioGravacao() + QStringLiteral("*")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& nome : nomes)
        if (EhTemporarioGravacao(nome, info.fileName()) && QFile::remove(dir.filePath(nome))) ++n;
    return n;
}

}  // namespace vesko
