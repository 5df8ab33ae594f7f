#pragma once
// Internal to the Firebird client (src/firebird): the client library's
// master interface, the check of the status that each of its calls fills,
// and the ids of the character sets the client deals with.
#include <firebird/Interface.h>

namespace vesko::fb {

constexpr unsigned kCsNone = 0;
constexpr unsigned kCsOctets = 1;
constexpr unsigned kCsUtf8 = 4;
constexpr unsigned kCsWin1252 = 53;

Firebird::IMaster* Mestre();

// Raises EFirebirdError when the status holds an error, and clears it.
void Verificar(Firebird::CheckStatusWrapper& st);

}  // namespace vesko::fb
