#include "app/ComandoImportar.h"

#include <QFileInfo>

#include "app/Servico.h"
#include "import/ImportacaoPDVBistrel.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

namespace vesko {

int ExecutarComandoImportar() {
    TServico console;
    const QString dir = TConfigsIntegradorPDVBistrel().DiretorioImportacao();
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        console.Registrar(QStringLiteral("Não foi configurado o diretório de importação. "
                                         "Por favor faça esta configuração antes de importar."));
        return 2;
    }
    bool sucesso = false;
    TAgendadorIntegrador& agendador = console.Agendador();
    agendador.DefinirImportacao([&sucesso](IHint& hint, const QString& diretorio, bool& primeiraConexao) {
        sucesso = TImportacaoPDVBistrel::Importar(hint, diretorio, primeiraConexao);
    });
    agendador.PrimeiraConexao = true;  // the first connection of this process
    agendador.IniciarImportacao();
    return sucesso ? 0 : 1;
}

}  // namespace vesko
