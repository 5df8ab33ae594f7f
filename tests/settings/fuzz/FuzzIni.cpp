// libFuzzer entry: any bytes as a settings file, read, written back and read
// again. A failed check aborts with what did not hold.
#include "fuzz/ExercitarIni.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t n) {
    // Every run writes and syncs files; on tmpfs that costs little.
    static QTemporaryDir pasta(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/vesko-fuzz-XXXXXX")
                                                                          : QDir::tempPath() + QStringLiteral("/vesko-fuzz-XXXXXX"));
    if (!pasta.isValid()) {
        std::fprintf(stderr, "sem pasta temporária\n");
        std::abort();
    }
    const QString falha = vesko::teste::ExercitarIni(
        QByteArray(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(n)), pasta.path());
    if (!falha.isEmpty()) {
        std::fprintf(stderr, "%s\n", falha.toUtf8().constData());
        std::abort();
    }
    return 0;
}
