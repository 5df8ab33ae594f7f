#include "base/Cp1252.h"

#include <array>

namespace vesko {
namespace {

// Unicode of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int ByteDe(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kAlto[i] == c) return 0x80 + i;
    return -1;
}

}  // namespace

QString DeCp1252(QByteArrayView bytes) {
    QString s(bytes.size(), Qt::Uninitialized);
    QChar* out = s.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(kAlto[b - 0x80]) : QChar(b);
    }
    return s;
}

QByteArray ParaCp1252(const QString& texto, bool* perda) {
    QByteArray r(texto.size(), Qt::Uninitialized);
    qsizetype n = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        int b = ByteDe(c);
        if (b < 0) {
            if (perda) *perda = true;
            // A surrogate pair is one character: one "?" for both halves.
            if (QChar::isHighSurrogate(c) && i + 1 < texto.size() && texto[i + 1].isLowSurrogate()) ++i;
            b = '?';
        }
        r[n++] = static_cast<char>(b);
    }
    r.truncate(n);
    return r;
}

bool CabeEmCp1252(const QString& texto) {
    for (QChar c : texto)
        if (ByteDe(c.unicode()) < 0) return false;
    return true;
}

}  // namespace vesko
