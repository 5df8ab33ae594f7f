#pragma once
// One whole import run: the back office's data files of the import directory
// into the POS database. Class operation only.
#include <QString>

namespace vesko {

class IHint;

class TImportacaoPDVBistrel {
public:
    TImportacaoPDVBistrel() = delete;

    // Validates the directory, watches its ".dat" files hold still for a
    // second (a set still being copied is left for the next tick) and checks
    // the required files, connects (handing PrimeiraConexao on to the
    // gateway), runs the chain of save steps and writes the success record.
    // True when the run wrote its success record.
    // An exception raised below (a field a file lacks, say) leaves it after
    // the worker and the gateway are freed, the open step rolled back.
    static bool Importar(IHint& Tray, const QString& DiretorioImportacao, bool& PrimeiraConexao);
};

}  // namespace vesko
