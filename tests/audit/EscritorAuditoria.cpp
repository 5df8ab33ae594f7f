// Writes audit events in a loop into the program folder given, until killed.
#include <QCoreApplication>
#include <cstdio>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "platform/DiretorioPrograma.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    vesko::DefinirDiretorioPrograma(QString::fromLocal8Bit(argv[1]));
    const QString detalhes = QString(2000, QLatin1Char('d'));
    for (int i = 0;; ++i) {
        vesko::TControleLogIntegradorPDVBistrel::RegistrarAuditoria(QStringLiteral("evento %1").arg(i),
                                                                   QStringLiteral("Importação"), detalhes, QString(),
                                                                   vesko::taInformacao);
        if (i == 0) {
            std::puts("pronto");
            std::fflush(stdout);
        }
    }
}
