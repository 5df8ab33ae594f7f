#include "export/ExportacaoPDVBistrel.h"

#include "db/ComunicacaoBancoBistrel.h"
#include "export/ExportacaoPDVBistrelInterna.h"

namespace vesko {

bool TExportacaoPDVBistrel::Exportar(IHint& TrayIcon, bool Automatico, const QString& DiretorioExportacao,
                                     bool& PrimeiraConexao) {
    TComunicacaoBancoBistrel Gateway(QStringLiteral("Exportação"));
    TExportacaoPDVBistrelInterna Exportacao(TrayIcon, DiretorioExportacao);
    bool completa = false;
    {
        TDesconexaoAoFinal desconexao(Gateway);
        desconexao.Conectado = Gateway.Conectar(PrimeiraConexao);
        if (desconexao.Conectado) completa = Exportacao.ExecutarPassos(Gateway);
    }
    Exportacao.RegistrarResumo(completa, Automatico);
    return completa;
}

}  // namespace vesko
