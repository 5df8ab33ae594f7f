#pragma once
// Loads bytes as a data packet, reads every value of every row in every form,
// writes the packet again and reads that back. Our own exceptions are the
// expected answer to bad input and are swallowed; anything else propagates.
// Returns an empty text, or what went wrong with a packet we wrote ourselves.
#include "base/Excecoes.h"
#include "datapacket/ClientDataSet.h"

#include <QByteArray>
#include <QString>

namespace vesko::teste {

inline QString ExercitarPacote(const QByteArray& bytes) {
    TClientDataSet ds;
    try {
        ds.LoadFromBytes(bytes);
    } catch (const Exception&) {
        return {};
    }
    for (ds.First(); !ds.Eof(); ds.Next()) {
        for (int i = 0; i < ds.FieldCount(); ++i) {
            TField& f = ds.Fields(i);
            try { (void)f.AsString(); } catch (const Exception&) {}
            try { (void)f.AsVariant(); } catch (const Exception&) {}
            try { (void)f.AsFloat(); } catch (const Exception&) {}
            try { (void)f.AsDateTime(); } catch (const Exception&) {}
            (void)f.IsNull();
            (void)f.AsBytes();
        }
    }
    QByteArray escrito;
    try {
        escrito = ds.SaveToBytes();
    } catch (const Exception&) {
        return {};  // a field type we do not write, a value that does not fit
    }
    TClientDataSet relido;
    try {
        relido.LoadFromBytes(escrito);
    } catch (const Exception& e) {
        return QStringLiteral("o pacote gravado não foi lido de volta: ") + e.Mensagem();
    }
    if (relido.RecordCount() != ds.RecordCount() || relido.FieldCount() != ds.FieldCount())
        return QStringLiteral("o pacote gravado voltou com outra forma");
    return {};
}

}  // namespace vesko::teste
