#pragma once
// Copies of the files the export writes, kept in the program's backup folder.
#include <QDate>
#include <QString>

namespace vesko {

// The folder of the copies made on `Dia`: the program's backup folder, then
// "yyyy-MM-dd/" (one folder per day, cleared by the backup housekeeping).
QString DiretorioBackupsDAT(const QDate& Dia);

// Copies the file `FileName` into today's folder of copies, under its own
// name; a copy never replaces an earlier one (a taken name gets "_2",
// "_3"... before its extension). True when the copy was made; `Text` then
// holds the copy's path, otherwise the reason it was not made.
bool CriarBackupDAT(const QString& FileName, QString& Text);

}  // namespace vesko
