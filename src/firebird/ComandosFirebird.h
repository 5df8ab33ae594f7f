#pragma once
// Internal to the Firebird client (src/firebird): a statement prepared once
// and kept for the life of the connection, and the cache that finds it again
// by its text.
#include <firebird/Interface.h>

#include <QHash>
#include <QString>
#include <functional>
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

// The statements prepared on one attachment, by their text. At most 512 are
// kept; the cache starts over when it is full.
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

private:
    std::unique_ptr<Comando> Compilar(const QString& sql, Contexto& cx, unsigned dialeto);
    bool InsercaoDeUmaLinhaEmTabela(const QString& texto) const;

    EhTabela m_ehTabela;
    QHash<QString, Comando*> m_comandos;
    Comando* m_ultimo = nullptr;  // the statement run last, checked before the cache
};

}  // namespace vesko::fb
