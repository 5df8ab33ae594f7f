// Steps 5 to 10 of the export run: the non-fiscal movements, then the stored
// document files by type.
#include "db/ComunicacaoBancoBistrel.h"
#include "export/ExportacaoPDVBistrelInterna.h"

namespace vesko {

bool TExportacaoPDVBistrelInterna::ExportarMovimentosNaoFiscais(TComunicacaoBancoBistrel& Gateway) {
    (void)Gateway;
    return false;  // PENDENTE
}

bool TExportacaoPDVBistrelInterna::ExportarArquivosDocumentoPorTipo(const QString& TipoArquivo, const QString& Prefixo,
                                                                    TComunicacaoBancoBistrel& Gateway) {
    (void)TipoArquivo;
    (void)Prefixo;
    (void)Gateway;
    return false;  // PENDENTE
}

}  // namespace vesko
