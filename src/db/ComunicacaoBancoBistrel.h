#pragma once
// The gateway through which every run reaches the POS database. One object
// per import or export run, owning one connection. Every operation that
// talks to the database catches its own errors (of the program's exception
// family), writes one audit record naming the run, and returns false: no
// database error crosses the gateway as an exception. Only the settings
// table operations let their errors through to the caller.
#include <QString>
#include <functional>
#include <memory>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Params.h"
#include "firebird/Query.h"

namespace vesko {

class TConnectionLink;

class TComunicacaoBancoBistrel {
public:
    // `TipoIntegracao` names the run ("Importação" or "Exportação") in every
    // audit record. Reads DiretorioBaseDeDados and the optional [BANCO]
    // section of the settings file; does not connect.
    explicit TComunicacaoBancoBistrel(const QString& TipoIntegracao);
    // Rolls back an open transaction and closes the connection.
    ~TComunicacaoBancoBistrel();
    TComunicacaoBancoBistrel(const TComunicacaoBancoBistrel&) = delete;
    TComunicacaoBancoBistrel& operator=(const TComunicacaoBancoBistrel&) = delete;

    // On the first connection of the program (PrimeiraConexao true): backs
    // the database up when its stored "VersaoIntegrador" differs from this
    // version, runs the schema check; then connects, clears PrimeiraConexao
    // and stores the version. True when connected.
    bool Conectar(bool& PrimeiraConexao);
    bool Desconectar();

    TConexaoFirebird& GetConexao() { return *FConexao; }
    QString GetCaminhoBancoDeDados() const { return FCaminhoBanco; }
    const QString& GetTipoIntegracao() const { return FTipoIntegracao; }

    bool IniciarTransacao();
    bool ConfirmarTransacao();
    bool ReverterTransacao();

    // True when the statement ran, whatever the number of rows it affected.
    bool ExecutarDelete(const QString& SQL, const TParams* Params = nullptr);
    bool ExecutarAlter(const QString& SQL, const TParams* Params = nullptr);
    // True when the statement ran and affected at least one row; no audit
    // record when it ran but touched none.
    bool ExecutarInsert(const QString& SQL, const TParams* Params = nullptr);
    bool ExecutarUpdate(const QString& SQL, const TParams* Params = nullptr);
    bool ExecutarDelete(const QString& SQL, const TParams& Params) { return ExecutarDelete(SQL, &Params); }
    bool ExecutarAlter(const QString& SQL, const TParams& Params) { return ExecutarAlter(SQL, &Params); }
    bool ExecutarInsert(const QString& SQL, const TParams& Params) { return ExecutarInsert(SQL, &Params); }
    bool ExecutarUpdate(const QString& SQL, const TParams& Params) { return ExecutarUpdate(SQL, &Params); }

    // Opens a SELECT with every row fetched, left on its last row. `Query`
    // always receives a query object, which the caller owns (closed when
    // the result is false).
    bool AbrirQuery(const QString& SQL, const TParams* Params, std::unique_ptr<TQuery>& Query);
    bool AbrirQuery(const QString& SQL, const TParams& Params, std::unique_ptr<TQuery>& Query) {
        return AbrirQuery(SQL, &Params, Query);
    }

    // Key `Chave` of section "BISTREL" of FOOD_CONFIG; empty when absent.
    // Errors raise.
    QString LerConfiguracao(const QString& Chave);
    void GravarConfiguracao(const QString& Chave, const QString& Valor);

    // "(" Atual " de " Total " -> " percentage "%)", the percentage with two
    // decimals and thousands separators in the regional number format:
    // "(1 de 3 -> 33,33%)" with Brazilian settings. A Total of 0 or less
    // shows 100,00 (nothing left to do).
    static QString FormatarProgresso(int Atual, int Total);

private:
    bool ExecutarQuery(const QString& SQL, const TParams* Params, bool IgnorarLinhasAfetadas);
    void EfetuarBackupSeVersaoMudou();
    void VerificarEstruturaBanco();
    void GravarVersaoIntegrador();
    void RegistrarErro(const QString& DescricaoCurta, const QString& Detalhes, const Exception& e);
    void RegistrarErroQuery(const QString& SQL, const Exception& e);

    QString FTipoIntegracao;
    QString FCaminhoBanco;
    std::unique_ptr<TConexaoFirebird> FConexao;
    std::unique_ptr<TConnectionLink> FLinkConexao;
};

// Disconnects the gateway at the end of a run that had connected
// (`Conectado`), also when an exception passes; never throws.
class TDesconexaoAoFinal {
public:
    explicit TDesconexaoAoFinal(TComunicacaoBancoBistrel& g) : m_g(g) {}
    ~TDesconexaoAoFinal();
    TDesconexaoAoFinal(const TDesconexaoAoFinal&) = delete;
    TDesconexaoAoFinal& operator=(const TDesconexaoAoFinal&) = delete;
    bool Conectado = false;

private:
    TComunicacaoBancoBistrel& m_g;
};

// One audit record written by a gateway, as handed to the listeners.
struct TRegistroAuditoriaBanco {
    QString DescricaoCurta;
    QString TipoIntegracao;
    QString Detalhes;
    QString TipoExcecao;
    TTipoAuditoria TipoAuditoria;
    bool ServidorNaoRespondeu = false;  // no database server answered (see ServidorNaoRespondeu)
};

// While an object of this class lives, its function receives every audit
// record that a gateway writes (the `conectar` command prints them).
class TEscutaAuditoriaBanco {
public:
    explicit TEscutaAuditoriaBanco(std::function<void(const TRegistroAuditoriaBanco&)> f);
    ~TEscutaAuditoriaBanco();
    TEscutaAuditoriaBanco(const TEscutaAuditoriaBanco&) = delete;
    TEscutaAuditoriaBanco& operator=(const TEscutaAuditoriaBanco&) = delete;

private:
    std::function<void(const TRegistroAuditoriaBanco&)> m_f;
};

}  // namespace vesko
