// A stand-in program built on the protected application: its timer handler
// raises one of our exceptions, then a standard one, then something that is
// no exception class at all, and ends on the fourth tick. It prints how many
// ticks it saw; the test reads that and the lines on standard error.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

#include "app/AplicacaoProtegida.h"

int main(int argc, char** argv) {
    vesko::TAplicacaoProtegida<QCoreApplication> app(argc, argv);
    int ticks = 0;
    QTimer t;
    t.setInterval(5);
    QObject::connect(&t, &QTimer::timeout, [&] {
        switch (++ticks) {
        case 1: throw vesko::EDatabaseError(QStringLiteral("falha no primeiro evento"));
        case 2: throw std::runtime_error("falha no segundo evento");
        case 3: throw 3;
        default: app.quit();
        }
    });
    t.start();
    const int r = app.exec();
    std::printf("%d\n", ticks);
    return r;
}
