#pragma once
// Settings kept in a table of the POS database, organised like an INI file:
// NAME (the "file", here the table's name), SECTION, IDENT (the key),
// DATA_VALUE (the value) and MEMO (a long value). The integrator uses the
// table FOOD_CONFIG and the section "BISTREL".
//
// Errors are not caught: a missing table or a failed statement raises
// EDatabaseError to the caller.
#include <QString>

namespace vesko {

class TConexaoFirebird;

class TDBIniFileBistrel {
public:
    // `TableName` is the table and also the NAME of its rows. Raises
    // EDatabaseError when it is not a plain identifier.
    TDBIniFileBistrel(TConexaoFirebird& Connection, const QString& TableName);

    // DATA_VALUE of the key, or `Default` when the table has no row for it
    // (a row whose value is null reads as empty text).
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default);
    // Replaces the key's row (every row of that NAME, SECTION and IDENT) by
    // one row holding `Value`, in the open transaction or in one of its own.
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    bool ValueExists(const QString& Section, const QString& Ident);

private:
    TConexaoFirebird& m_conexao;
    QString m_tabela;
};

}  // namespace vesko
