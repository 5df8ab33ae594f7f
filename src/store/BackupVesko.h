#pragma once
// Backup of the live POS database through Firebird's backup service (the
// format of gbak, restorable with gbak -c), into the program's backup folder
// under a timestamped name that never replaces an earlier backup. The
// service streams the backup back through the client connection and this
// program writes the file itself, so the server (which may run as its own
// system user, or on another machine) never writes into our folder. The
// file is written under a provisional name, flushed and synced to disk, and
// gets its final name only when the service has finished without error.
#include <QString>

namespace vesko {

struct TParametrosConexao;

class TBackupVesko {
public:
    TBackupVesko() = delete;

    // Backs up the database of the settings (DiretorioBaseDeDados, [BANCO]).
    // On success `Text` holds the backup file's path and the result is true.
    // On failure: with `Flag` set the error is raised (EDatabaseError or
    // EInOutError); without it the result is false and `Text` holds the
    // message.
    static bool Execute(QString& Text, bool Flag);

    // The same for a given database, into `Pasta` (the program's backup
    // folder when empty).
    static bool Execute(const TParametrosConexao& Banco, const QString& Pasta, QString& Text, bool Flag);

    // "VESKO_yyyyMMdd_HHmmss.fbk", with "_2", "_3"... when that name is taken.
    static QString NomeArquivoLivre(const QString& Pasta);
};

}  // namespace vesko
