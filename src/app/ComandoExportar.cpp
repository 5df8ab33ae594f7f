#include "app/ComandoExportar.h"

#include <QDir>
#include <QFileInfo>

#include "app/Servico.h"
#include "export/ExportacaoPDVBistrel.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

namespace vesko {

int ExecutarComandoExportar(const QStringList& Argumentos) {
    TServico console;
    bool automatico = false;
    for (const QString& a : Argumentos) {
        if (a != QLatin1String("--automatico")) {
            console.Registrar(QStringLiteral("Argumento desconhecido para exportar: %1").arg(a));
            return 2;
        }
        automatico = true;
    }
    const QString dir = TConfigsIntegradorPDVBistrel().DiretorioExportacao();
    if (dir.trimmed().isEmpty() || !(QFileInfo(dir).isDir() || QDir().mkpath(dir))) {
        console.Registrar(QStringLiteral("Não foi configurado o diretório de exportação. "
                                         "Por favor faça esta configuração antes de exportar."));
        return 2;
    }
    bool completa = false;
    TAgendadorIntegrador& agendador = console.Agendador();
    agendador.DefinirExportacao(
        [&completa](IHint& hint, bool Automatico, const QString& diretorio, bool& primeiraConexao) {
            completa = TExportacaoPDVBistrel::Exportar(hint, Automatico, diretorio, primeiraConexao);
        });
    agendador.PrimeiraConexao = true;  // the first connection of this process
    agendador.IniciarExportacao(automatico);
    return completa ? 0 : 1;
}

}  // namespace vesko
