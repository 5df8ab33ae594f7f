#include "import/ImportacaoPDVBistrel.h"

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"

namespace vesko {

namespace {

// Disconnects when the run had connected, also when an exception passes.
class TDesconexao {
public:
    explicit TDesconexao(TComunicacaoBancoBistrel& g) : m_g(g) {}
    ~TDesconexao() {
        if (!Conectado) return;
        try {
            m_g.Desconectar();
        } catch (...) {  // the gateway audits its own failures; never throw from here
        }
    }
    bool Conectado = false;

private:
    TComunicacaoBancoBistrel& m_g;
};

}  // namespace

bool TImportacaoPDVBistrel::Importar(IHint& Tray, const QString& DiretorioImportacao, bool& PrimeiraConexao) {
    TComunicacaoBancoBistrel Gateway(QStringLiteral("Importação"));
    TImportacaoPDVBistrelInterna Importacao(Tray, DiretorioImportacao);
    TDesconexao desconexao(Gateway);

    if (Importacao.ValidarImportacao()) desconexao.Conectado = Gateway.Conectar(PrimeiraConexao);
    const bool sucesso = desconexao.Conectado && Importacao.ExecutarImportacao(Gateway);
    if (sucesso)
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Importação realizada com sucesso!"), QStringLiteral("Importação"),
            Importacao.MontarResumoImportacao(), QString(), taInformacao);
    return sucesso;
}

}  // namespace vesko
