#pragma once
// The one clock of the program. Audit identifiers and day folders, export
// file names and the date of the last update read the time here, so tests
// can put the program at any moment (across midnight, say).
#include <QDateTime>
#include <functional>

namespace vesko {

class Relogio {
public:
    static QDateTime Agora();   // local date and time
    static QDate Hoje();

    // Replaces the clock (tests); an empty function restores the system clock.
    static void Definir(std::function<QDateTime()> fonte);
};

}  // namespace vesko
