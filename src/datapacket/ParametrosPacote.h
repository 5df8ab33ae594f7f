#pragma once
// The dataset-level parameters of a packet (DEFAULT_ORDER, PRIMARY_KEY, LCID,
// AUTOINCVALUE and whatever the writer of a file added), kept as stored and
// written back in the same order. The change log is not kept: it is resolved
// when a packet is read.
#include "datapacket/TiposCampo.h"

#include <QList>
#include <QString>
#include <optional>

namespace vesko {

class TPacketParams {
public:
    const QList<TParametroPacote>& List() const { return m_lista; }
    bool Contains(const QString& nome) const { return Find(nome) >= 0; }
    void Remove(const QString& nome);
    void Clear() { m_lista.clear(); }
    // Replaces the parameter of the same name where it stands, or appends it.
    void Set(TParametroPacote parametro);
    void Insert(int posicao, TParametroPacote parametro) { m_lista.insert(qBound(0, posicao, int(m_lista.size())), std::move(parametro)); }

    void SetInteger(const QString& nome, qint32 valor);            // int32
    void SetFieldList(const QString& nome, const QList<int>& campos);  // uint16 array, 1-based field numbers
    void SetText(const QString& nome, const QString& valor);       // string

    // The value of an integer parameter, of any width; empty when absent or not an integer.
    std::optional<qint64> Integer(const QString& nome) const;
    // The elements of an array parameter (DEFAULT_ORDER = {1, 0x8002} ...).
    QList<qint64> Array(const QString& nome) const;
    QString Text(const QString& nome) const;

    int Find(const QString& nome) const;

private:
    QList<TParametroPacote> m_lista;
};

}  // namespace vesko
