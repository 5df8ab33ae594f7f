#pragma once
// `chave-publica`: prints the public key (standard base64) with which the back
// office checks the signature line of the sales' identification files, making
// the key pair in the program's directory when it is missing.
namespace vesko {

// 0 with the key on standard output; 1 with a readable line on standard
// error when the key cannot be read or written (or its file is damaged).
int ExecutarComandoChavePublica();

}  // namespace vesko
