// main() of every GoogleTest suite: a QCoreApplication (timers, event loop),
// or a QGuiApplication for the suites that draw pictures, and Brazilian
// regional settings, as the stores run them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#ifdef VESKO_TESTE_GUI
#include <QGuiApplication>
#endif

#include <unistd.h>

int main(int argc, char** argv) {
    // The program started by a test locks a name of this test process alone,
    // never the machine's, so a tray or service left running does not matter
    // and test executables may run side by side.
    if (qEnvironmentVariableIsEmpty("VESKO_TESTE_INSTANCIA"))
        qputenv("VESKO_TESTE_INSTANCIA", "vesko-teste-" + QByteArray::number(::getpid()));
#ifdef VESKO_TESTE_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
