#pragma once
// The result of a SELECT, fetched whole into memory: every row, every column
// (blobs included, as bytes). Columns are found by name without regard to
// case ("IdCliente" reads IDCLIENTE). The cursor moves as a dataset's does:
// First, Next, Prior, Last; Eof is true after a Next past the last row, after
// Last, and on an empty result.
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "firebird/Params.h"

namespace vesko {

class TQuery;

// One column of the query, read on the current row.
class TCampoConsulta {
public:
    const QString& FieldName() const { return m_nome; }
    TFieldType DataType() const { return m_tipo; }
    int Size() const { return m_tamanho; }  // declared length of text columns
    int Index() const { return m_indice; }

    bool IsNull() const;
    const QVariant& Value() const;  // null QVariant for a null value

    // Conversions as a dataset field makes them: null reads as empty text,
    // 0, false, or the zero date-time (30/12/1899 00:00). A value that does
    // not convert raises EConvertError.
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;  // date-times as day serials counted from 30/12/1899
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    QDate AsDate() const;
    QByteArray AsBytes() const;  // blob bytes; text in the connection's code page

private:
    friend class TQuery;
    TCampoConsulta(const TQuery* q, int indice, QString nome, TFieldType tipo, int tamanho)
        : m_query(q), m_indice(indice), m_nome(std::move(nome)), m_tipo(tipo), m_tamanho(tamanho) {}
    const TQuery* m_query;
    int m_indice;
    QString m_nome;
    TFieldType m_tipo;
    int m_tamanho;
};

class TQuery {
public:
    TQuery() = default;
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    const QString& SQL() const { return m_sql; }
    void SetSQL(const QString& sql) { m_sql = sql; }

    bool Active() const { return m_ativa; }
    void Close();  // drops the rows and the columns

    int RecordCount() const { return static_cast<int>(m_linhas.size()); }
    bool IsEmpty() const { return m_linhas.empty(); }
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    int RecNo() const { return m_linhas.empty() ? 0 : m_atual + 1; }
    void First();
    void Next();
    void Prior();
    void Last();

    int FieldCount() const { return static_cast<int>(m_campos.size()); }
    // Raises EDatabaseError when there is no column `i`.
    const TCampoConsulta& Fields(int i) const;
    // Raises EDatabaseError when the query has no such column.
    const TCampoConsulta& FieldByName(const QString& nome) const;
    const TCampoConsulta* FindField(const QString& nome) const;

    // Filling (the connection does it).
    void DefinirCampos(const std::vector<std::pair<QString, std::pair<TFieldType, int>>>& campos);
    void AdicionarLinha(std::vector<QVariant> linha) { m_linhas.push_back(std::move(linha)); }
    void Abrir();  // marks the query open, on its first row

private:
    friend class TCampoConsulta;
    const QVariant& Valor(int coluna) const;

    QString m_sql;
    bool m_ativa = false;
    bool m_eof = true;
    bool m_bof = true;
    int m_atual = 0;
    std::vector<std::unique_ptr<TCampoConsulta>> m_campos;
    QHash<QString, int> m_porNome;  // upper-case name -> column
    std::vector<std::vector<QVariant>> m_linhas;
};

}  // namespace vesko
