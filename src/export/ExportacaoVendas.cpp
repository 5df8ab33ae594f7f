// Step 4 of the export run: the sales (HDoc, DDoc, CDoc, ADoc and the sale's
// document files).
#include "db/ComunicacaoBancoBistrel.h"
#include "export/ExportacaoPDVBistrelInterna.h"

namespace vesko {

bool TExportacaoPDVBistrelInterna::ExportarVendas(TComunicacaoBancoBistrel& Gateway) {
    (void)Gateway;
    return false;  // PENDENTE
}

}  // namespace vesko
