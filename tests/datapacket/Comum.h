#pragma once
// Helpers shared by the data-packet tests.
#include "TestSupport.h"
#include "datapacket/ClientDataSet.h"

#include <gtest/gtest.h>

#include <QDir>

namespace vesko::teste {

inline QString Amostra(const QString& nome) { return DiretorioAmostras() + QDir::separator() + nome; }

inline TClientDataSet CarregarAmostra(const QString& nome) {
    TClientDataSet ds;
    ds.LoadFromFile(Amostra(nome));
    return ds;
}

// Same fields (names, types, sizes), same rows in the same order, same values.
inline void ExpectMesmoConteudo(TClientDataSet& a, TClientDataSet& b) {
    ASSERT_EQ(a.FieldCount(), b.FieldCount());
    for (int i = 0; i < a.FieldCount(); ++i) {
        const TFieldDef& x = a.Fields(i).Def();
        const TFieldDef& y = b.Fields(i).Def();
        EXPECT_EQ(x.Name(), y.Name());
        EXPECT_EQ(x.DataType(), y.DataType()) << x.Name().toStdString();
        EXPECT_EQ(x.Size(), y.Size()) << x.Name().toStdString();
        EXPECT_EQ(x.Precision(), y.Precision()) << x.Name().toStdString();
        EXPECT_EQ(x.Scale(), y.Scale()) << x.Name().toStdString();
        EXPECT_EQ(x.Required(), y.Required()) << x.Name().toStdString();
    }
    ASSERT_EQ(a.RecordCount(), b.RecordCount());
    a.First();
    b.First();
    for (qint64 r = 1; !a.Eof(); ++r, a.Next(), b.Next()) {
        for (int i = 0; i < a.FieldCount(); ++i) {
            TField& x = a.Fields(i);
            TField& y = b.Fields(i);
            ASSERT_EQ(x.IsNull(), y.IsNull()) << "registro " << r << ", " << x.FieldName().toStdString();
            ASSERT_EQ(x.AsVariant(), y.AsVariant()) << "registro " << r << ", " << x.FieldName().toStdString();
        }
    }
}

}  // namespace vesko::teste
