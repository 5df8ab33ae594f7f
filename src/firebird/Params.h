#pragma once
// Named parameters of a statement. The runs build one collection per
// statement, create each parameter with its type and name and set its value;
// the connection binds them by name to the ":pName" placeholders of the SQL
// text, without regard to case.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>
#include <deque>

#include "datapacket/TiposCampo.h"

namespace vesko {

// Parameter and column types are the data packets' own (TFieldType).

class TParam {
public:
    TParam(TFieldType tipo, QString nome) : m_tipo(tipo), m_nome(std::move(nome)) {}

    const QString& Name() const { return m_nome; }
    TFieldType DataType() const { return m_tipo; }
    void SetDataType(TFieldType tipo) { m_tipo = tipo; }

    // Each setter stores the value and makes the parameter's type the one of
    // the setter, as the runs expect ("as integer", "as text", ...).
    void SetAsString(const QString& v);
    void SetAsSmallInt(int v);
    void SetAsInteger(int v);
    void SetAsLargeInt(qint64 v);
    void SetAsBoolean(bool v);
    void SetAsFloat(double v);
    void SetAsCurrency(double v);
    void SetAsDate(const QDate& v);
    void SetAsTime(const QTime& v);
    void SetAsDateTime(const QDateTime& v);
    void SetAsMemo(const QString& v);
    void SetAsMemo(const QByteArray& v);
    void SetAsBlob(const QByteArray& v);
    // Value of any kind, keeping the parameter's current type; a null
    // QVariant clears the parameter.
    void SetValue(const QVariant& v) {
        m_valor = v.isValid() && v.typeId() != QMetaType::Nullptr ? v : QVariant();
    }
    // Null, keeping the type.
    void Clear() { m_valor = QVariant(); }

    // Null only when never set or cleared: an empty text or an empty byte
    // array is a value (an empty string, an empty blob).
    bool IsNull() const { return !m_valor.isValid(); }
    const QVariant& Value() const { return m_valor; }
    QString AsString() const;

private:
    TFieldType m_tipo;
    QString m_nome;
    QVariant m_valor;
};

class TParams {
public:
    TParams() = default;

    // Adds a parameter (null until a value is set) and returns it. The
    // reference stays valid while the collection lives.
    TParam& CreateParam(TFieldType tipo, const QString& nome);

    // The parameter of that name, without regard to case; the last one when
    // several share it. FindParam gives nullptr, ParamByName raises
    // EDatabaseError when there is none.
    TParam* FindParam(const QString& nome);
    const TParam* FindParam(const QString& nome) const;
    TParam& ParamByName(const QString& nome);

    int Count() const { return static_cast<int>(m_params.size()); }
    bool IsEmpty() const { return m_params.empty(); }
    TParam& operator[](int i) { return m_params[static_cast<size_t>(i)]; }
    const TParam& operator[](int i) const { return m_params[static_cast<size_t>(i)]; }
    void Clear() { m_params.clear(); }

    auto begin() const { return m_params.begin(); }
    auto end() const { return m_params.end(); }

private:
    std::deque<TParam> m_params;
};

}  // namespace vesko
