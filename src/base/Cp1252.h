#pragma once
// Windows-1252, the "ANSI code page" of the stores' machines: string fields of
// data packets, short strings of record files and settings files written on
// Windows carry their text in it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vesko {

// Bytes in Windows-1252 to text. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same value, as Windows does.
QString DeCp1252(QByteArrayView bytes);

// Text to Windows-1252. A character the code page cannot hold becomes "?";
// when `perda` is given it is set to true in that case.
QByteArray ParaCp1252(const QString& texto, bool* perda = nullptr);

// True when every character of `texto` has a Windows-1252 byte.
bool CabeEmCp1252(const QString& texto);

}  // namespace vesko
