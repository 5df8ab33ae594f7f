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
#include <cstddef>
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
        m_nulo = !v.isValid() || v.typeId() == QMetaType::Nullptr;
        m_valor = m_nulo ? QVariant() : v;
    }
    // Null, keeping the type.
    void Clear() {
        m_nulo = true;
        m_valor = QVariant();
    }
    // Makes this object a new parameter of that type and name, null. The old
    // value is only dropped when the next one replaces it: a row refilling
    // its parameters frees each value once.
    void Reiniciar(TFieldType tipo, const QString& nome) {
        m_tipo = tipo;
        if (m_nome.constData() != nome.constData() || m_nome.size() != nome.size()) m_nome = nome;
        m_nulo = true;
    }

    // Null only when never set or cleared: an empty text or an empty byte
    // array is a value (an empty string, an empty blob).
    bool IsNull() const { return m_nulo; }
    const QVariant& Value() const { return m_nulo ? Nulo() : m_valor; }
    QString AsString() const;

private:
    template <typename T>
    void Definir(TFieldType tipo, const T& v) {
        m_tipo = tipo;
        m_valor.setValue(v);  // in place when the kind is the same
        m_nulo = false;
    }
    static const QVariant& Nulo();

    TFieldType m_tipo;
    QString m_nome;
    QVariant m_valor;  // meaningless while m_nulo
    bool m_nulo = true;
};

class TParams {
public:
    TParams() = default;

    // Adds a parameter (null until a value is set) and returns it. The
    // reference stays valid while the collection lives (until Reutilizar).
    TParam& CreateParam(TFieldType tipo, const QString& nome);

    // Empties the collection for the next row of a run that fills the same
    // parameters row after row: the parameter objects are kept and handed
    // out again by CreateParam, so a row allocates nothing for them.
    void Reutilizar() { m_usados = 0; }

    // The parameter of that name, without regard to case; the last one when
    // several share it. FindParam gives nullptr, ParamByName raises
    // EDatabaseError when there is none.
    TParam* FindParam(const QString& nome);
    const TParam* FindParam(const QString& nome) const;
    TParam& ParamByName(const QString& nome);

    int Count() const { return static_cast<int>(m_usados); }
    bool IsEmpty() const { return m_usados == 0; }
    TParam& operator[](int i) { return m_params[static_cast<size_t>(i)]; }
    const TParam& operator[](int i) const { return m_params[static_cast<size_t>(i)]; }
    void Clear() {
        m_params.clear();
        m_usados = 0;
    }

    auto begin() const { return m_params.begin(); }
    auto end() const { return m_params.begin() + static_cast<std::ptrdiff_t>(m_usados); }

private:
    std::deque<TParam> m_params;
    size_t m_usados = 0;  // the first m_usados of m_params are the collection
};

}  // namespace vesko
