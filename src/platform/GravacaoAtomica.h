#pragma once
// Writing a file whole or not at all.
//
// The content goes first to a temporary of our own beside the file, named
// "<file>.~vesko-XXXXXX" (six random letters and digits) and created only
// when no such name exists; it is written, flushed, synced to disk and then
// renamed over the file. On any failure the temporary is removed, the file is
// left exactly as it was and an exception says which file could not be
// written. A process killed midway leaves its temporary behind; readers never
// open it and RemoverTemporariosGravacao clears it. Nothing else beside the
// file is ever touched (a user's "<file>.backup" stays where it is).
#include <QIODevice>
#include <QString>
#include <functional>

namespace vesko {

// ".~vesko-": what follows the file's name in the name of its temporary.
QString MarcaTemporarioGravacao();

// True when `nome` (a bare file name) is a temporary of `nomeArquivo` (a bare
// file name): nomeArquivo + MarcaTemporarioGravacao() + six characters.
bool EhTemporarioGravacao(const QString& nome, const QString& nomeArquivo);

// Writes `caminho` through a temporary with `escrever`, as described above.
// Raises EFCreateError when the temporary cannot be created ("não foi possível
// criar o arquivo ...") and EWriteError when writing, syncing or renaming
// fails ("não foi possível gravar o arquivo ..."); an exception `escrever`
// raises passes through after the temporary is removed (a write error of the
// device as EWriteError naming the file).
void GravarArquivoAtomico(const QString& caminho, const std::function<void(QIODevice&)>& escrever);

// Removes the temporaries of `caminho` left by interrupted saves (only names
// EhTemporarioGravacao accepts); returns how many were removed.
int RemoverTemporariosGravacao(const QString& caminho);

namespace detalhe {
// Operating-system parts (GravacaoAtomica_linux.cpp / _win.cpp).
// Pushes the data of the open file `caminho` (descriptor `handle`, -1 when
// the library gives none) to the disk; false on failure.
bool SincronizarArquivo(int handle, const QString& caminho);
// Renames `origem` over `destino` (replacing it) and makes the rename
// durable where the system allows; false with `erro` set on failure.
bool SubstituirArquivo(const QString& origem, const QString& destino, QString& erro);
}  // namespace detalhe

}  // namespace vesko
