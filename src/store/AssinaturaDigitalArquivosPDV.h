#pragma once
// The signature line of the identification file of a changed sale ("ADoc").
//
// The line is the standard base64 (with "=" padding) of the 64-byte Ed25519
// detached signature (libsodium crypto_sign_detached) of the JSON text's
// Windows-1252 bytes, exactly as the file's first line holds them, without
// its line break. The back office checks it with the public key that
// `Quorvel_IntegradorVesko chave-publica` prints (docs/assinatura-adoc.md).
//
// The key pair lives in the program's directory, in the file
// "AssinaturaArquivosPDV.chave" (libsodium's 64-byte secret key: the seed,
// then the public key), readable by its owner only. It is made on first use
// and written atomically. A key file that is damaged is never replaced by a
// new key, which the back office would not know: it raises
// EChaveAssinaturaInvalida until someone restores or removes it.
#include <QByteArray>
#include <QString>

#include "base/Excecoes.h"

namespace vesko {

// The key file exists but does not hold a valid key pair.
VESKO_DECLARAR_EXCECAO(EChaveAssinaturaInvalida, Exception)

class TAssinaturaDigitalArquivosPDV {
public:
    // Signature line of `Texto` as written to the file (its Windows-1252
    // bytes; a character outside the code page counts as "?", as it is
    // written). Makes the key pair when it is missing.
    // Raises EChaveAssinaturaInvalida for a damaged key file, EFOpenError
    // when it cannot be read, EFCreateError when a missing pair cannot be
    // written, Exception when libsodium cannot start.
    static QString AssinarDatJSON(const QString& Texto);
    // The same for bytes already in their written form.
    static QString AssinarBytes(const QByteArray& Bytes);

    // The 32-byte public key in standard base64, for the back office. Makes
    // the key pair when it is missing; raises as AssinarDatJSON.
    static QString ChavePublica();

    // Full path of the key file in the program's directory.
    static QString CaminhoChave();
};

}  // namespace vesko
