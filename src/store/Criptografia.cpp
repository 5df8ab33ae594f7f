#include "store/Criptografia.h"

#include <sodium.h>

#include <QByteArray>

#include "base/Excecoes.h"

namespace vesko {

namespace {

// sodium_init is safe to call more than once, but once is enough.
void IniciarSodium() {
    static const bool iniciado = sodium_init() >= 0;
    if (!iniciado) throw Exception(QStringLiteral("Não foi possível iniciar a biblioteca de criptografia (libsodium)."));
}

}  // namespace

QString Criptografy(const QString& Texto) {
    IniciarSodium();
    const QByteArray senha = Texto.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, senha.constData(), static_cast<unsigned long long>(senha.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw EOutOfMemory(QStringLiteral("Memória insuficiente para criptografar a senha."));
    return QString::fromLatin1(hash);  // plain ASCII
}

bool VerificarCriptografy(const QString& Senha, const QString& Armazenado) {
    IniciarSodium();
    const QByteArray armazenado = Armazenado.toLatin1();
    if (armazenado.isEmpty() || armazenado.size() >= crypto_pwhash_STRBYTES) return false;
    const QByteArray senha = Senha.toUtf8();
    // constData() of a QByteArray is NUL-terminated, as the check expects.
    return crypto_pwhash_str_verify(armazenado.constData(), senha.constData(),
                                    static_cast<unsigned long long>(senha.size())) == 0;
}

}  // namespace vesko
