#pragma once
// The point of sale under load, stood in for by one thread with its own
// connection: every tick (100 ms) it commits a closed sale with items,
// payments and three document rows; every second it adds a document row to
// an older sale and reads PRODUTOS; every five seconds it cancels a sale
// the export already sent. It remembers everything it committed and how long
// each transaction took, for the check at the end.
#include <QList>
#include <QString>
#include <atomic>
#include <functional>
#include <cstdint>
#include <random>
#include <vector>

#include "firebird/ParametrosConexao.h"

namespace vesko {
class TConexaoFirebird;
}

namespace vesko::carga {

// A document row the stand-in committed; `Marca` is written inside its
// content and is unique, so the row can be found in a file.
struct TDocumentoCarga {
    int IdMovimento = 0;
    QString Tipo;
    QString Marca;
};

struct TVendaCarga {
    int IdMovimento = 0;
    int Itens = 0;
    QStringList TiposDocumento;  // the kinds of document rows it was given
};

struct TRegistroCarga {
    std::vector<TVendaCarga> Vendas;
    std::vector<TDocumentoCarga> Documentos;
    QList<int> Cancelamentos;       // sales cancelled after their export
    std::vector<double> DuracoesMs;  // of every committed transaction
    int LeiturasProdutos = 0;
    int Falhas = 0;                 // transactions that raised
    QStringList MensagensFalha;     // the first few
};

class TPdvCarga {
public:
    TPdvCarga(TParametrosConexao parametros, std::uint32_t semente);
    // With `repetir`, the row added to an older sale is of a kind the sale
    // already has (IDDOC, SDOC or DANFE) instead of a new kind.
    void SetRepetirTipos(bool repetir) { m_repetirTipos = repetir; }

    // Runs until `parar` becomes true; never raises (failures are counted).
    void Executar(const std::atomic<bool>& parar);
    // `n` ticks through `c` (connected) one after the other, without the
    // pause between them; the count of ticks goes on across calls.
    void Tiques(TConexaoFirebird& c, int n);
    const TRegistroCarga& Registro() const { return m_registro; }

private:
    struct TProduto {
        QString Id, Detalhe, Codigo, Descricao;
        double Preco = 10;
    };
    void CarregarCatalogo(TConexaoFirebird& c);
    void Tique(TConexaoFirebird& c, int n);
    void Cronometrar(TConexaoFirebird& c, const char* oque, const std::function<void()>& f);
    void InserirVenda(TConexaoFirebird& c);
    void InserirDocumento(TConexaoFirebird& c, int idMovimento, const QString& tipo, int bytes);
    void DocumentoEmVendaAntiga(TConexaoFirebird& c);
    void CancelarVendaExportada(TConexaoFirebird& c);
    void LerProdutos(TConexaoFirebird& c);
    int Sortear(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

    TParametrosConexao m_parametros;
    std::mt19937 m_rng;
    QList<TProduto> m_produtos;
    QString m_tipoRecebimento = QStringLiteral("000001");
    int m_proximaMarca = 1;
    int m_tique = 0;
    bool m_repetirTipos = false;
    TRegistroCarga m_registro;
};

}  // namespace vesko::carga
