#include "firebird/SqlParametros.h"

namespace vesko {
namespace {
bool InicioNome(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool ParteNome(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }
}  // namespace

TSqlAnalisado AnalisarParametrosSql(const QString& sql) {
    TSqlAnalisado r;
    r.Texto.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Literal or quoted identifier; a doubled quote stays inside it.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype fim = j < n ? j + 1 : n;
            r.Texto += QStringView(sql).mid(i, fim - i);
            i = fim;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0) j = n;
            r.Texto += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            r.Texto += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && InicioNome(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && ParteNome(sql[j])) ++j;
            r.NomesComoEscritos.push_back(sql.mid(i + 1, j - i - 1));
            r.Nomes.push_back(r.NomesComoEscritos.back().toUpper());
            r.Texto += QLatin1Char('?');
            i = j;
        } else if (c == QLatin1Char('?')) {
            r.Nomes.emplace_back();
            r.NomesComoEscritos.emplace_back();
            r.Texto += c;
            ++i;
        } else {
            r.Texto += c;
            ++i;
        }
    }
    return r;
}

}  // namespace vesko
