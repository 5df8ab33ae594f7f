#pragma once
// The export's statements are written line by line, as the POS's own tools
// write theirs: every line reaches the database followed by CR LF (which is
// also how the SQL monitor shows them).
#include <QString>
#include <initializer_list>

namespace vesko {

inline QString MontarSql(std::initializer_list<const char*> Linhas) {
    QString sql;
    for (const char* linha : Linhas) sql += QString::fromLatin1(linha) + QStringLiteral("\r\n");
    return sql;
}

}  // namespace vesko
