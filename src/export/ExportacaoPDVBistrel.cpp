#include "export/ExportacaoPDVBistrel.h"

#include "db/ComunicacaoBancoBistrel.h"
#include "export/ExportacaoPDVBistrelInterna.h"

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

bool TExportacaoPDVBistrel::Exportar(IHint& TrayIcon, bool Automatico, const QString& DiretorioExportacao,
                                     bool& PrimeiraConexao) {
    TComunicacaoBancoBistrel Gateway(QStringLiteral("Exportação"));
    TExportacaoPDVBistrelInterna Exportacao(TrayIcon, DiretorioExportacao);
    bool completa = false;
    {
        TDesconexao desconexao(Gateway);
        desconexao.Conectado = Gateway.Conectar(PrimeiraConexao);
        if (desconexao.Conectado) completa = Exportacao.ExecutarPassos(Gateway);
    }
    Exportacao.RegistrarResumo(completa, Automatico);
    return completa;
}

}  // namespace vesko
