#pragma once
// One whole export run: what the POS database gathered since the last run
// into files of the export directory. Class operation only.
#include <QString>

namespace vesko {

class IHint;

class TExportacaoPDVBistrel {
public:
    TExportacaoPDVBistrel() = delete;

    // Connects (handing PrimeiraConexao on to the gateway), runs the ten
    // steps, disconnects and writes the run's summary record. `Automatico`:
    // started by the export timer (a run that found nothing leaves no
    // trace). True when the run was complete: connected and every step
    // succeeded. An exception a step does not catch leaves it after the
    // worker and the gateway are freed, the open transaction rolled back.
    static bool Exportar(IHint& TrayIcon, bool Automatico, const QString& DiretorioExportacao,
                         bool& PrimeiraConexao);
};

}  // namespace vesko
