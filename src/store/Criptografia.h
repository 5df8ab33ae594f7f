#pragma once
// The form in which the POS database stores a user's password, and its check.
//
// Criptografy gives libsodium's crypto_pwhash_str of the password (Argon2id
// at the INTERACTIVE limits): a salted, deliberately slow, self-describing
// text of at most 127 characters ("$argon2id$v=19$m=65536,t=2,p=1$..."), so
// two users with the same password store different texts and the stored
// text never gives the password back. The POS checks a typed password with
// VerificarCriptografy. Passwords are hashed as their UTF-8 bytes on both
// sides.
#include <QString>

namespace vesko {

// Raises EOutOfMemory when libsodium cannot get the memory the hash needs,
// Exception when libsodium cannot start.
QString Criptografy(const QString& Texto);

// True when `Senha` is the password that gave `Armazenado`; false for any
// other password and for a stored text that is not a hash of this kind.
bool VerificarCriptografy(const QString& Senha, const QString& Armazenado);

}  // namespace vesko
