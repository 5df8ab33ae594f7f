#include "import/ImportacaoPDVBistrel.h"

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"

namespace vesko {

bool TImportacaoPDVBistrel::Importar(IHint& Tray, const QString& DiretorioImportacao, bool& PrimeiraConexao) {
    TComunicacaoBancoBistrel Gateway(QStringLiteral("Importação"));
    TImportacaoPDVBistrelInterna Importacao(Tray, DiretorioImportacao);
    TDesconexaoAoFinal desconexao(Gateway);

    if (Importacao.ValidarImportacao()) desconexao.Conectado = Gateway.Conectar(PrimeiraConexao);
    const bool sucesso = desconexao.Conectado && Importacao.ExecutarImportacao(Gateway);
    if (sucesso)
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Importação realizada com sucesso!"), QStringLiteral("Importação"),
            Importacao.MontarResumoImportacao(), QString(), taInformacao);
    return sucesso;
}

}  // namespace vesko
