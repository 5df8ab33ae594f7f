// libFuzzer entry: any bytes through the packet readers, every value read,
// the packet written and read back. Only our exceptions may come out, and a
// packet we wrote must read back.
#include "fuzz/Exercitar.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t n) {
    const QString falha =
        vesko::teste::ExercitarPacote(QByteArray(reinterpret_cast<const char*>(dados), static_cast<qsizetype>(n)));
    if (!falha.isEmpty()) {
        std::fprintf(stderr, "%s\n", falha.toUtf8().constData());
        std::abort();
    }
    return 0;
}
