// gerar_fixtures_pacote PASTA: writes our own sample packets (the binary
// fixtures of dados/fixtures) into PASTA. Run it after a deliberate change to
// the writer or to the fixtures' data, then review the difference:
//   build/tests/datapacket/gerar_fixtures_pacote tests/datapacket/dados/fixtures
#include "GeradorFixtures.h"

#include <QDir>
#include <QSaveFile>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gerar_fixtures_pacote PASTA\n");
        return 2;
    }
    const QDir pasta(QString::fromLocal8Bit(argv[1]));
    if (!pasta.exists()) {
        std::fprintf(stderr, "gerar_fixtures_pacote: a pasta %s não existe\n", argv[1]);
        return 2;
    }
    try {
        for (const vesko::teste::TFixture& f : vesko::teste::GerarFixtures()) {
            QSaveFile arquivo(pasta.filePath(f.nome));
            if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(f.bytes) != f.bytes.size() || !arquivo.commit()) {
                std::fprintf(stderr, "gerar_fixtures_pacote: não gravou %s\n", qPrintable(arquivo.fileName()));
                return 1;
            }
            std::printf("%s: %lld bytes\n", qPrintable(f.nome), static_cast<long long>(f.bytes.size()));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gerar_fixtures_pacote: %s\n", e.what());
        return 1;
    }
    return 0;
}
