#include "store/TextoLoja.h"

#include <QRandomGenerator>

#include "platform/DiretorioPrograma.h"
#include "platform/Sistema.h"

namespace vesko {

QString PutLastBackSlash(const QString& Path) { return ComSeparadorFinal(Path); }

QString StrZero(const QString& Text, int Width) {
    return Text.size() >= Width ? Text : QString(Width - Text.size(), QLatin1Char('0')) + Text;
}

QString Replicate(const QString& Text, int Count) { return Count < 1 ? QString() : Text.repeated(Count); }

QString OnlyNumber(const QString& Text, int /*Flag*/) {
    QString r;
    for (QChar c : Text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) r += c;
    return r;
}

QString GetLocalMachine() { return NomeMaquinaLocal(); }

QString GetRandonSufix() {
    static constexpr char kSimbolos[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString r;
    for (int i = 0; i < 6; ++i) r += QLatin1Char(kSimbolos[QRandomGenerator::system()->bounded(36)]);
    return r;
}

}  // namespace vesko
