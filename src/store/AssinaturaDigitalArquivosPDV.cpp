#include "store/AssinaturaDigitalArquivosPDV.h"

#include <sodium.h>

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <array>

#include "base/Cp1252.h"
#include "platform/DiretorioPrograma.h"

namespace vesko {

namespace {

using TChaveSecreta = std::array<unsigned char, crypto_sign_SECRETKEYBYTES>;

// Wipes the secret key from memory when it goes out of scope.
struct TParDeChaves {
    TChaveSecreta secreta{};
    ~TParDeChaves() { sodium_memzero(secreta.data(), secreta.size()); }
    const unsigned char* Publica() const { return secreta.data() + crypto_sign_SEEDBYTES; }
};

void IniciarSodium() {
    static const bool iniciado = sodium_init() >= 0;
    if (!iniciado) throw Exception(QStringLiteral("Não foi possível iniciar a biblioteca de criptografia (libsodium)."));
}

QString NomeArquivoChave() { return QStringLiteral("AssinaturaArquivosPDV.chave"); }

[[noreturn]] void Danificada(const QString& caminho, const QString& motivo) {
    throw EChaveAssinaturaInvalida(
        QStringLiteral("A chave de assinatura \"%1\" está danificada (%2). Restaure a cópia desse arquivo; "
                       "ou apague-o, e uma nova chave será criada, cuja chave pública (comando chave-publica) "
                       "precisa ser enviada à retaguarda.")
            .arg(caminho, motivo));
}

// Reads and checks the key file: exactly the secret key, whose second half is
// the public key its seed gives.
void LerChave(const QString& caminho, TParDeChaves& par) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Não foi possível ler a chave de assinatura \"%1\": %2").arg(caminho, f.errorString()));
    QByteArray dados = f.read(crypto_sign_SECRETKEYBYTES + 1);
    if (dados.size() != static_cast<qsizetype>(crypto_sign_SECRETKEYBYTES)) {
        sodium_memzero(dados.data(), static_cast<size_t>(dados.size()));
        Danificada(caminho, QStringLiteral("%1 bytes em vez de %2").arg(f.size()).arg(crypto_sign_SECRETKEYBYTES));
    }
    std::copy(dados.cbegin(), dados.cend(), par.secreta.begin());
    sodium_memzero(dados.data(), static_cast<size_t>(dados.size()));
    TParDeChaves conferencia;
    std::array<unsigned char, crypto_sign_PUBLICKEYBYTES> publica{};
    crypto_sign_seed_keypair(publica.data(), conferencia.secreta.data(), par.secreta.data());
    if (sodium_memcmp(publica.data(), par.Publica(), publica.size()) != 0)
        Danificada(caminho, QStringLiteral("a chave pública não corresponde à secreta"));
}

[[noreturn]] void NaoGravou(const QString& caminho, const QString& motivo) {
    throw EFCreateError(QStringLiteral("Não foi possível gravar a chave de assinatura \"%1\": %2").arg(caminho, motivo));
}

// Makes a new pair and writes it in one step, readable by its owner only
// (set before the key is written, so no other user ever sees it).
void CriarChave(const QString& caminho, TParDeChaves& par) {
    std::array<unsigned char, crypto_sign_PUBLICKEYBYTES> publica{};
    crypto_sign_keypair(publica.data(), par.secreta.data());
    QSaveFile f(caminho);
    if (!f.open(QIODevice::WriteOnly)) NaoGravou(caminho, f.errorString());
    if (!f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        f.cancelWriting();
        NaoGravou(caminho, QStringLiteral("as permissões do arquivo não puderam ser restringidas"));
    }
    const auto n = static_cast<qint64>(par.secreta.size());
    if (f.write(reinterpret_cast<const char*>(par.secreta.data()), n) != n || !f.commit())
        NaoGravou(caminho, f.errorString());
}

// The pair of the program's directory, made when the file is missing. A lock
// beside it keeps two processes (the tray and a command) from making two.
void ObterChave(TParDeChaves& par) {
    IniciarSodium();
    const QString caminho = TAssinaturaDigitalArquivosPDV::CaminhoChave();
    if (QFileInfo::exists(caminho)) return LerChave(caminho, par);
    QLockFile trava(caminho + QStringLiteral(".lock"));
    if (!trava.tryLock(10000))
        NaoGravou(caminho, trava.error() == QLockFile::LockFailedError
                               ? QStringLiteral("outro processo está criando a chave")
                               : QStringLiteral("o diretório do programa não permite gravação"));
    if (QFileInfo::exists(caminho)) return LerChave(caminho, par);
    CriarChave(caminho, par);
}

}  // namespace

QString TAssinaturaDigitalArquivosPDV::CaminhoChave() { return DiretorioPrograma() + NomeArquivoChave(); }

QString TAssinaturaDigitalArquivosPDV::AssinarBytes(const QByteArray& Bytes) {
    TParDeChaves par;
    ObterChave(par);
    std::array<unsigned char, crypto_sign_BYTES> assinatura{};
    crypto_sign_detached(assinatura.data(), nullptr, reinterpret_cast<const unsigned char*>(Bytes.constData()),
                         static_cast<unsigned long long>(Bytes.size()), par.secreta.data());
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(assinatura.data()), assinatura.size()).toBase64());
}

QString TAssinaturaDigitalArquivosPDV::AssinarDatJSON(const QString& Texto) { return AssinarBytes(ParaCp1252(Texto)); }

QString TAssinaturaDigitalArquivosPDV::ChavePublica() {
    TParDeChaves par;
    ObterChave(par);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(par.Publica()), crypto_sign_PUBLICKEYBYTES).toBase64());
}

}  // namespace vesko
