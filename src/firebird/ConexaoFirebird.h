#pragma once
// One connection (attachment) to a Firebird database through the client
// library's object interface, either to a server ("localhost", a host, or
// host/port) or to the embedded engine opening the file directly.
//
// Transactions: a statement run while no transaction is open commits by
// itself; a statement run between IniciarTransacao and ConfirmarTransacao or
// ReverterTransacao belongs to that transaction alone. A connection that is
// closed or destroyed with a transaction open rolls it back first, so
// nothing is ever committed by accident.
//
// Statements: ":pName" placeholders are bound by name, without regard to
// case, from a TParams collection; a parameter that the statement does not
// use is an error. The database converts each value to the column's type.
// A statement text prepared once is kept prepared for the life of the
// connection. Text travels in the connection's character set (WIN1252 by
// default), so the accents of Portuguese reach the database intact.
//
// Every failure raises EFirebirdError (an EDatabaseError) with the
// database's message; misuse (no connection, no transaction) raises
// EDatabaseError.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "base/Excecoes.h"
#include "firebird/ParametrosConexao.h"
#include "firebird/Params.h"
#include "firebird/Query.h"

namespace vesko {

class EFirebirdError : public EDatabaseError {
public:
    EFirebirdError(QString mensagem, int sqlCode, std::intptr_t codigoGds)
        : EDatabaseError(std::move(mensagem)), m_sqlCode(sqlCode), m_gds(codigoGds) {}
    QString NomeClasse() const override { return QStringLiteral("EFirebirdError"); }
    int SqlCode() const { return m_sqlCode; }
    std::intptr_t CodigoGds() const { return m_gds; }

private:
    int m_sqlCode;
    std::intptr_t m_gds;
};

// True when `e` says that no database server answered at the connection's
// address (nothing listens there, or the host cannot be reached).
bool ServidorNaoRespondeu(const std::exception& e);

class TConexaoFirebird {
public:
    // How long a statement of ours waits for a row another transaction (the
    // POS's) holds before it fails.
    static constexpr int kEsperaBloqueioSegundos = 10;

    TConexaoFirebird();
    explicit TConexaoFirebird(TParametrosConexao parametros);
    ~TConexaoFirebird();
    TConexaoFirebird(const TConexaoFirebird&) = delete;
    TConexaoFirebird& operator=(const TConexaoFirebird&) = delete;

    const TParametrosConexao& Parametros() const;
    void SetParametros(const TParametrosConexao& p);  // takes effect at the next Conectar

    // Identifying text shown in the SQL monitor's entries.
    const QString& Identificacao() const;
    void SetIdentificacao(const QString& texto);

    void Conectar();  // no-op when connected
    // Rolls back an open transaction, frees the prepared statements and
    // detaches. Afterwards the connection is closed even when it raised.
    void Desconectar();
    bool Conectado() const;

    // Creates the database file (never over an existing one) in the
    // connection's character set and stays connected to it.
    void CriarBanco(bool escritaForcada = true);
    // Reconnects setting the file's forced-writes mode (every page written
    // through to disk before a commit returns), which stays with the file.
    void DefinirEscritaForcada(bool ligada);
    // Drops the database this connection is attached to (file removed).
    void ApagarBanco();

    void IniciarTransacao();
    void ConfirmarTransacao();  // a failed commit leaves the transaction open
    void ReverterTransacao();
    bool EmTransacao() const;
    // Runs `f` inside the open transaction, or inside one of its own that is
    // committed when `f` returns and rolled back when it raises.
    void EmUmaTransacao(const std::function<void()>& f);

    // One statement with named parameters. Returns the number of rows it
    // affected when `contarLinhas` (0 otherwise).
    std::uint64_t Executar(const QString& sql, const TParams* params = nullptr, bool contarLinhas = true);
    // A statement without placeholders, not kept prepared (schema changes).
    void ExecutarDireto(const QString& sql);
    // A SELECT: every row is fetched into `destino`, which is left open on its
    // first row. On failure `destino` stays closed.
    void Consultar(const QString& sql, const TParams* params, TQuery& destino);
    std::unique_ptr<TQuery> Consultar(const QString& sql, const TParams* params = nullptr);

    int Dialeto() const;
    QString CharSetBanco();           // the database's default character set
    int ComandosPreparados() const;   // size of the prepared-statement cache
    int Preparacoes() const;          // statements prepared since the connection was made

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vesko
