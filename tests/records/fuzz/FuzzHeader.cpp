// libFuzzer entry: any bytes as a sale header file. Only our exceptions may
// come out, and a record that loads must read, write and load again.
#include "fuzz/ExercitarHeader.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t n) {
    static QTemporaryDir pasta(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/vesko-fuzz-XXXXXX")
                                                                          : QDir::tempPath() + QStringLiteral("/vesko-fuzz-XXXXXX"));
    if (!pasta.isValid()) {
        std::fprintf(stderr, "sem pasta temporária\n");
        std::abort();
    }
    const QString falha = vesko::teste::ExercitarHeader(
        QByteArray(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(n)), pasta.path());
    if (!falha.isEmpty()) {
        std::fprintf(stderr, "%s\n", falha.toUtf8().constData());
        std::abort();
    }
    return 0;
}
