#pragma once
// Named placeholders of an SQL text: ":pName" becomes the "?" that the
// database client expects, and the names are kept in their order, so that
// the statement's parameters can be bound by name. Quoted strings, quoted
// identifiers and comments are copied untouched.
#include <QString>
#include <vector>

namespace vesko {

struct TSqlAnalisado {
    QString Texto;               // the SQL with every placeholder as "?"
    std::vector<QString> Nomes;  // one per "?", upper-cased; empty for a bare "?"
    std::vector<QString> NomesComoEscritos;  // the same as the text spells them
};

TSqlAnalisado AnalisarParametrosSql(const QString& sql);

}  // namespace vesko
