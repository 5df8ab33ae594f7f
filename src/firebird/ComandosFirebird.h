#pragma once
// Internal to the Firebird client (src/firebird): a statement prepared once
// and kept for the life of the connection, and the cache that finds it again
// by its text.
#include <firebird/Interface.h>

#include <QHash>
#include <QString>
#include <functional>
#include <list>
#include <memory>

#include "firebird/MensagensFirebird.h"

namespace vesko::fb {

struct Comando {
    QString sql;
    Firebird::IStatement* stmt = nullptr;
    unsigned tipo = 0;
    // A single-row INSERT ... VALUES into a table inserts exactly one row
    // when it runs without error, so its count needs no question to the
    // database.
    bool umaLinha = false;
    Entrada entrada;
    Saida saida;

    bool Cursor() const { return tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd; }
    void Liberar();
};

// The statements prepared on one attachment, by their text. At most
// kMaximo are kept; when full, the one used least recently is freed, so a
// run that builds many one-off texts does not push out the statements it
// runs for every record.
class CacheComandos {
public:
    // Whether the relation of that name is a table, not a view (asked of
    // the database when an insert is prepared).
    using EhTabela = std::function<bool(const QString& nome)>;

    explicit CacheComandos(EhTabela ehTabela) : m_ehTabela(std::move(ehTabela)) {}
    ~CacheComandos() { Limpar(); }
    CacheComandos(const CacheComandos&) = delete;
    CacheComandos& operator=(const CacheComandos&) = delete;

    // The statement of `sql` (":pName" placeholders), prepared on `cx.att`
    // inside `cx.t` the first time it is asked for.
    Comando* Preparar(const QString& sql, Contexto& cx, unsigned dialeto);
    // Frees every statement (before the attachment goes).
    void Limpar();
    int Tamanho() const { return static_cast<int>(m_comandos.size()); }
    int Compilados() const { return m_compilados; }

    static constexpr int kMaximo = 512;

private:
    std::unique_ptr<Comando> Compilar(const QString& sql, Contexto& cx, unsigned dialeto);
    bool InsercaoDeUmaLinhaEmTabela(const QString& texto) const;

    void LiberarMenosUsado();

    EhTabela m_ehTabela;
    std::list<Comando*> m_ordem;  // most recently used first
    QHash<QString, std::list<Comando*>::iterator> m_comandos;
    Comando* m_ultimo = nullptr;  // the statement run last, checked before the cache
    int m_compilados = 0;
};

}  // namespace vesko::fb
