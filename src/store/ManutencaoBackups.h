#pragma once
// File housekeeping of the program directory.
#include <QString>

namespace vesko {

// The program's own backup folder (database backups, copies of exported
// files): DiretorioPrograma() + "Backups/".
QString DiretorioBackupsPrograma();

// Deletes the regular files under `Diretorio` last modified more than `Dias`
// days ago, then the folders left empty below it. Links are never followed
// nor deleted, and nothing outside a folder strictly inside the program
// directory is ever touched: any other `Diretorio` deletes nothing. An empty
// `Diretorio` means the program's backup folder; `Dias` below 1 deletes
// nothing. Returns the number of files deleted; failures are skipped.
int EfetuarManutencaoBackUPs(const QString& Diretorio, int Dias);

}  // namespace vesko
