#include "app/LinhaComando.h"

#include <QFileInfo>

namespace vesko {

std::optional<TLinhaComando> TLinhaComando::Interpretar(const QStringList& args, QString& erro) {
    TLinhaComando lc;
    int i = 0;
    while (i < args.size() && args[i].startsWith(QLatin1String("--home"))) {
        QString dir;
        if (args[i] == QLatin1String("--home")) {
            if (i + 1 >= args.size()) {
                erro = QStringLiteral("--home precisa de um diretório.");
                return std::nullopt;
            }
            dir = args[i + 1];
            i += 2;
        } else if (args[i].startsWith(QLatin1String("--home="))) {
            dir = args[i].mid(7);
            ++i;
        } else {
            break;
        }
        if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
            erro = QStringLiteral("O diretório \"%1\" dado em --home não existe.").arg(dir);
            return std::nullopt;
        }
        lc.Home = dir;
    }
    if (i < args.size()) lc.Comando = args[i++];
    lc.Argumentos = args.mid(i);
    return lc;
}

bool ComandoUsaTravaExclusiva(const QString& comando) {
    return comando == QLatin1String("importar") || comando == QLatin1String("exportar") ||
           comando == QLatin1String("conectar");
}

}  // namespace vesko
