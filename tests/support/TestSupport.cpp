#include "TestSupport.h"

#include <QProcess>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace vesko::teste {

QString FaltaAmostras() {
    const QString pasta = qEnvironmentVariable("VESKO_AMOSTRAS");
    if (pasta.isEmpty()) return QStringLiteral("amostras públicas ausentes: VESKO_AMOSTRAS não está definida");
    if (!QFileInfo(pasta).isDir())
        return QStringLiteral("amostras públicas ausentes: a pasta %1 (VESKO_AMOSTRAS) não existe").arg(pasta);
    return {};
}

QString DiretorioAmostras() {
    if (!FaltaAmostras().isEmpty()) return {};
    return QDir::cleanPath(QFileInfo(qEnvironmentVariable("VESKO_AMOSTRAS")).absoluteFilePath());
}

PastaTemporaria::PastaTemporaria() : m_dir(QDir::tempPath() + QStringLiteral("/vesko-teste-XXXXXX")) {
    if (!m_dir.isValid()) throw std::runtime_error("não foi possível criar a pasta temporária");
}

QString PastaTemporaria::Caminho() const { return m_dir.path(); }

QString PastaTemporaria::Arquivo(const QString& nome) const { return m_dir.filePath(nome); }

QByteArray LerArquivo(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("não abriu " + caminho.toStdString());
    return f.readAll();
}

void GravarArquivo(const QString& caminho, const QByteArray& dados) {
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(dados) != dados.size())
        throw std::runtime_error("não gravou " + caminho.toStdString());
}

QProcessEnvironment AmbienteBrasileiro() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("pt_BR.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

QString ExecutavelConstruido(const QString& nome) {
    for (const auto& sub : {QStringLiteral("/src/app/"), QStringLiteral("/tools/"), QStringLiteral("/")}) {
        const QString c = QStringLiteral(VESKO_BINARY_DIR) + sub + nome;
        if (QFileInfo(c).isFile()) return c;
    }
    return QStringLiteral(VESKO_BINARY_DIR) + QStringLiteral("/src/app/") + nome;
}

ResultadoPrograma RodarPrograma(const QString& home, const QStringList& args, int limiteMs) {
    QProcess p;
    p.setProcessEnvironment(AmbienteBrasileiro());
    p.start(ExecutavelConstruido(QStringLiteral("Quorvel_IntegradorVesko")), QStringList{QStringLiteral("--home"), home} + args);
    if (!p.waitForFinished(limiteMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace vesko::teste
