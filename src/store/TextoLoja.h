#pragma once
// Text and system routines shared by the runs.
#include <QString>

namespace vesko {

// `Path` with the platform's directory separator added when missing.
QString PutLastBackSlash(const QString& Path);

// `Text` padded on the left with zeros to `Width` characters; a longer text
// is returned whole.
QString StrZero(const QString& Text, int Width);

// `Text` repeated `Count` times (empty for Count < 1).
QString Replicate(const QString& Text, int Count);

// The decimal digits of `Text` only, in order. `Flag` is accepted for the
// callers' sake and has no effect.
QString OnlyNumber(const QString& Text, int Flag = 0);

// The local machine's name.
QString GetLocalMachine();

// A short random text (six capital letters and digits) for unique file names.
QString GetRandonSufix();

template <typename T>
T Iif(bool Condition, const T& A, const T& B) {
    return Condition ? A : B;
}

}  // namespace vesko
