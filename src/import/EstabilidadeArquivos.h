#pragma once
// Whether the back office is still writing the import directory: the size and
// modification time of every ".dat" file, noted twice around a short pause.
// A file that grows, is replaced, appears or vanishes in between means a copy
// is under way, and the run waits for the next tick instead of reading a set
// that is half old and half new. A file's age alone says nothing (the demo
// writes its files and imports at once; the clocks of a shared folder may
// differ), so only a change seen while we look counts.
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>

namespace vesko {

class IHint;

struct TEstadoArquivo {
    std::uintmax_t Tamanho = 0;
    // Nanoseconds where the file system keeps them.
    std::filesystem::file_time_type Modificacao;
    bool operator==(const TEstadoArquivo&) const = default;
};

// File name (as the directory lists it) -> its state.
using TFotoArquivos = std::map<QString, TEstadoArquivo>;

// The regular ".dat" files of `Diretorio`, the extension matched without
// regard to case as the import finds its files; a file that cannot be read
// (vanished while listed) is left out.
TFotoArquivos FotografarArquivosDat(const QString& Diretorio);

// One line per file that changed, appeared or vanished between the two
// looks, in name order; empty when the set held still.
QStringList DiferencasArquivos(const TFotoArquivos& Antes, const TFotoArquivos& Depois);

// The pause between the two looks: one second. The environment variable
// VESKO_TESTE_PAUSA_IMPORTACAO_MS (0 to 10000) shortens it for test suites
// that run many imports; programs in use never set it.
std::chrono::milliseconds PausaVerificacaoPadrao();

// First look, the hint "Verificando arquivos de importação...", the pause,
// second look: the differences. The pause is a plain sleep, like the rest of
// the run, which holds the thread that called it until it ends: nothing in
// the run processes events, so handing the event loop control here would let
// the menu or a timer start other work in the middle of a run.
QStringList AlteracoesDuranteAPausa(const QString& Diretorio, IHint& Hint, std::chrono::milliseconds Pausa);

}  // namespace vesko
