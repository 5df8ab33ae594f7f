#pragma once
// Helpers shared by the data-packet tests.
#include "TestSupport.h"
#include "datapacket/ClientDataSet.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable QString in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace vesko::teste {

// Our own sample packets (dados/fixtures, see the README there).
inline QString Fixture(const QString& nome) { return QStringLiteral(DIR_FIXTURES) + u'/' + nome; }

inline TClientDataSet CarregarFixture(const QString& nome) {
    TClientDataSet ds;
    ds.LoadFromFile(Fixture(nome));
    return ds;
}

// The public sample packets, when VESKO_AMOSTRAS names their folder.
inline QString Amostra(const QString& nome) { return DiretorioAmostras() + u'/' + nome; }

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

namespace vesko::teste {

inline QByteArray LE(int n, std::uint64_t v) {
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i) { b[i] = static_cast<char>(v & 0xFF); v >>= 8; }
    return b;
}

// Builds a binary packet by hand, from the layout rules alone: for layouts no
// sample file carries, for broken files, and to check our own files' bytes.
struct TPacoteManual {
    QByteArray metadados;
    int descritores = 0;
    QByteArray parametros;
    int nParametros = 0;
    QList<QByteArray> registros;
    quint16 maior = 1;

    static QByteArray Param(const QByteArray& nome, std::uint32_t tipo, const QByteArray& valor) {
        return LE(1, static_cast<std::uint64_t>(nome.size())) + nome + LE(4, tipo) + valor;
    }
    static QByteArray Largura(int w) { return Param("WIDTH", 0x00020002, LE(2, static_cast<std::uint64_t>(w))); }
    static QByteArray Subtipo(const QByteArray& s) { return Param("SUBTYPE", 0x00490002, LE(2, static_cast<std::uint64_t>(s.size() + 1)) + s + '\0'); }

    TPacoteManual& Campo(const QByteArray& nome, std::uint32_t tipo, QList<QByteArray> params = {}, quint16 atributos = 0) {
        metadados += LE(1, static_cast<std::uint64_t>(nome.size())) + nome + LE(4, tipo) + LE(2, atributos) +
                     LE(2, static_cast<std::uint64_t>(params.size()));
        for (const QByteArray& p : params) metadados += p;
        ++descritores;
        return *this;
    }
    TPacoteManual& Bruto(const QByteArray& b) { metadados += b; return *this; }
    TPacoteManual& ParametroDoPacote(const QByteArray& p) { parametros += p; ++nParametros; return *this; }
    TPacoteManual& Registro(const QByteArray& r) { registros << r; return *this; }

    QByteArray Bytes() const {
        const QByteArray meta = metadados + LE(2, static_cast<std::uint64_t>(nParametros)) + parametros;
        QByteArray b = LE(4, 0xBDE01996u) + LE(2, maior) + LE(2, 0) + LE(4, 24) + LE(2, static_cast<std::uint64_t>(descritores)) +
                       LE(4, static_cast<std::uint64_t>(registros.size())) + LE(4, 3) + LE(2, static_cast<std::uint64_t>(24 + meta.size()));
        b += meta;
        for (const QByteArray& r : registros) b += r;
        return b;
    }
};

}  // namespace vesko::teste
