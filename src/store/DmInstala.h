#pragma once
// The schema check of the POS database. It walks the schema held as data
// (EsquemaPdv.h) and, with Flag set, creates whatever is missing: sequences,
// tables (with their keys), columns of existing tables, the triggers that
// fill sequence keys, and indexes. It never creates the database file, never
// drops anything and never changes a column that exists; a column added to
// an existing table is nullable (or has its default).
#include <QString>
#include <QStringList>

namespace vesko {

class TConexaoFirebird;

class TDmInstala {
public:
    TDmInstala() = default;

    // Connects to `DatabasePath` with the connection settings of the program
    // ([BANCO] section) and checks the schema. A database file that does not
    // exist on this machine is left alone: nothing is created. With `Flag`
    // False nothing is changed either: missing objects raise EDatabaseError,
    // listing them. Database failures raise.
    void VerificaTables(bool Flag, const QString& DatabasePath);
    // The same on a connection that is already open.
    void VerificaTables(bool Flag, TConexaoFirebird& Conexao);

    // What the last check created, or found missing when Flag was False
    // ("tabela X", "coluna X.Y", "sequência S", "gatilho G", "índice I").
    const QStringList& Alteracoes() const { return m_alteracoes; }

private:
    QStringList m_alteracoes;
};

}  // namespace vesko
