#pragma once
// Builds a back-office data file (a binary data packet) the way the back
// office writes one: field definitions, then one row per record.
//
//     TPacoteRetaguarda p;
//     p.Campo("IdTpRecebimento", ftString, 10).Campo("StTEF", ftBoolean);
//     p.Linha({"001", true});
//     p.Gravar(dir + "/TpRec.dat");
#include <QString>
#include <QVariant>
#include <QVariantList>

#include "datapacket/ClientDataSet.h"

namespace vesko::retaguarda {

class TPacoteRetaguarda {
public:
    TPacoteRetaguarda& Campo(const QString& nome, TFieldType tipo, int tamanho = 0);
    // One record, values in field order; an invalid QVariant leaves the field
    // null, fewer values than fields leave the rest null.
    void Linha(const QVariantList& valores);
    void Gravar(const QString& caminho);
    TClientDataSet& DataSet();

private:
    void Criar();
    TClientDataSet m_ds;
};

}  // namespace vesko::retaguarda
