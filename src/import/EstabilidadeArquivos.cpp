#include "import/EstabilidadeArquivos.h"

#include <QDir>
#include <QFileInfo>
#include <thread>

#include "base/Hint.h"

namespace vesko {

namespace {

constexpr std::chrono::milliseconds kPausaPadrao{1000};
constexpr int kPausaMaximaTesteMs = 10000;

bool LerEstado(const QFileInfo& info, TEstadoArquivo& estado) {
    const std::filesystem::path caminho = info.filesystemAbsoluteFilePath();
    std::error_code erro;
    estado.Tamanho = std::filesystem::file_size(caminho, erro);
    if (erro) return false;
    estado.Modificacao = std::filesystem::last_write_time(caminho, erro);
    return !erro;
}

QString Alteracao(const QString& nome, const TEstadoArquivo& antes, const TEstadoArquivo& depois) {
    if (antes.Tamanho != depois.Tamanho)
        return QStringLiteral("* %1: o tamanho passou de %2 para %3 bytes")
            .arg(nome)
            .arg(antes.Tamanho)
            .arg(depois.Tamanho);
    return QStringLiteral("* %1: a data de modificação mudou").arg(nome);
}

}  // namespace

TFotoArquivos FotografarArquivosDat(const QString& Diretorio) {
    TFotoArquivos foto;
    // Name filters of QDir ignore case unless told otherwise.
    const QDir dir(Diretorio, QStringLiteral("*.dat"), QDir::Name, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : dir.entryInfoList()) {
        TEstadoArquivo estado;
        if (LerEstado(info, estado)) foto.emplace(info.fileName(), estado);
    }
    return foto;
}

QStringList DiferencasArquivos(const TFotoArquivos& Antes, const TFotoArquivos& Depois) {
    std::map<QString, QString> linhas;  // by name, so the text reads in order
    for (const auto& [nome, estado] : Antes) {
        const auto depois = Depois.find(nome);
        if (depois == Depois.end())
            linhas[nome] = QStringLiteral("* %1: foi removido").arg(nome);
        else if (!(depois->second == estado))
            linhas[nome] = Alteracao(nome, estado, depois->second);
    }
    for (const auto& [nome, estado] : Depois)
        if (!Antes.contains(nome)) linhas[nome] = QStringLiteral("* %1: apareceu").arg(nome);
    QStringList r;
    for (const auto& [nome, linha] : linhas) r << linha;
    return r;
}

std::chrono::milliseconds PausaVerificacaoPadrao() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("VESKO_TESTE_PAUSA_IMPORTACAO_MS", &ok);
    if (!ok || ms < 0 || ms > kPausaMaximaTesteMs) return kPausaPadrao;
    return std::chrono::milliseconds(ms);
}

QStringList AlteracoesDuranteAPausa(const QString& Diretorio, IHint& Hint, std::chrono::milliseconds Pausa) {
    const TFotoArquivos antes = FotografarArquivosDat(Diretorio);
    Hint.DefinirHint(QStringLiteral("Verificando arquivos de importação..."));
    std::this_thread::sleep_for(Pausa);
    return DiferencasArquivos(antes, FotografarArquivosDat(Diretorio));
}

}  // namespace vesko
