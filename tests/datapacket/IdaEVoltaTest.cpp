// Round trips through the binary writer and reader, at the edges of every
// type the program writes, and reading of the types no sample carries.
#include "Comum.h"

#include "base/Excecoes.h"

#include <limits>

using namespace vesko;
using namespace vesko::teste;

namespace {

QByteArray Ida(TClientDataSet& ds) { return ds.SaveToBytes(); }

TClientDataSet Volta(const QByteArray& b) {
    TClientDataSet ds;
    ds.LoadFromBytes(b);
    return ds;
}

}  // namespace

TEST(IdaEVolta, EveryWritableTypeAtItsEdgesAndNulls) {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("s253", ftString, 253);
    f.Add("s254", ftString, 254);
    f.Add("s255", ftString, 255);
    f.Add("ws126", ftWideString, 126);
    f.Add("ws127", ftWideString, 127);
    f.Add("i8", ftShortint);
    f.Add("i16", ftSmallint);
    f.Add("i32", ftInteger);
    f.Add("i64", ftLargeint);
    f.Add("u8", ftByte);
    f.Add("u16", ftWord);
    f.Add("u32", ftLongWord);
    f.Add("u64", ftLargeUInt);
    f.Add("b", ftBoolean);
    f.Add("fl", ftFloat);
    f.Add("cur", ftCurrency);
    f.Add("d", ftDate);
    f.Add("t", ftTime);
    f.Add("dt", ftDateTime);
    f.Add("m", ftMemo);
    f.Add("wm", ftWideMemo);
    f.Add("fc", ftFixedChar, 5);
    f.Add("by", ftBytes, 4);
    f.Add("vb", ftVarBytes, 10);
    ds.CreateDataSet();

    const QString longo255(255, u'x');
    const QString japones = QString::fromUtf8("テスト、漢字");
    struct Linha { QList<QVariant> v; };
    const QList<QList<QVariant>> linhas = {
        {QString(253, u'a'), QString(254, u'b'), longo255, QString(126, u'w'), japones,
         -128, -32768, std::numeric_limits<qint32>::min(), std::numeric_limits<qint64>::min(),
         255, 65535, QVariant::fromValue(qlonglong{0xFFFFFFFFll}), QVariant::fromValue(std::numeric_limits<qulonglong>::max()),
         true, -1.5e300, -0.01, QDate(1, 1, 1), QTime(23, 59, 59, 999),
         QDateTime(QDate(1850, 6, 15), QTime(23, 59, 59, 999), Qt::UTC),
         QStringLiteral("linha 1\r\nlinha 2 é € ç"), japones, QStringLiteral("ab   "), QByteArray("\x01\x02\x03\x04", 4),
         QByteArray("\x00\xFF", 2)},
        {QString(), QString(), QString(), QString(), QString(), 127, 32767, std::numeric_limits<qint32>::max(),
         std::numeric_limits<qint64>::max(), 0, 0, 0, 0, false, 0.0, 1234.5678, QDate(9999, 12, 31), QTime(0, 0),
         QDateTime(QDate(2150, 1, 1), QTime(0, 0), Qt::UTC), QStringLiteral("x"), QStringLiteral("y"), QString(),
         QByteArray(4, '\0'), QByteArray("z")},
    };
    for (const auto& l : linhas) {
        ds.Append();
        for (int i = 0; i < ds.FieldCount(); ++i) ds.Fields(i).SetAsVariant(l[i]);
        ds.Post();
    }
    ds.Append();  // a row of nulls
    ds.Post();

    TClientDataSet lido = Volta(Ida(ds));
    ExpectMesmoConteudo(ds, lido);

    // Width 253 keeps the 1-byte length prefix, 254 and above take 2 bytes;
    // wide strings switch at 127 characters.
    EXPECT_EQ(lido.FieldByName("s253").Def().PalavraTipo(), 0x00490001u);
    EXPECT_EQ(lido.FieldByName("s254").Def().PalavraTipo(), 0x00490002u);
    EXPECT_EQ(lido.FieldByName("s255").Def().PalavraTipo(), 0x00490002u);
    EXPECT_EQ(lido.FieldByName("ws126").Def().PalavraTipo(), 0x004A0001u);
    EXPECT_EQ(lido.FieldByName("ws127").Def().PalavraTipo(), 0x004A0002u);
    EXPECT_EQ(lido.FieldByName("ws127").Size(), 127);
    EXPECT_EQ(lido.FieldByName("fc").Def().Attributes(), faFixed);

    lido.First();
    EXPECT_EQ(lido.FieldByName("s255").AsString(), longo255);
    EXPECT_EQ(lido.FieldByName("ws127").AsString(), japones);
    EXPECT_EQ(lido.FieldByName("i64").AsLargeInt(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(lido.FieldByName("u64").AsVariant().toULongLong(), std::numeric_limits<qulonglong>::max());
    EXPECT_EQ(lido.FieldByName("d").AsDate(), QDate(1, 1, 1));
    EXPECT_EQ(lido.FieldByName("t").AsTime(), QTime(23, 59, 59, 999));
    EXPECT_EQ(lido.FieldByName("m").AsString(), QStringLiteral("linha 1\r\nlinha 2 é € ç"));
    EXPECT_EQ(lido.FieldByName("m").AsBytes(), QByteArray("linha 1\r\nlinha 2 \xE9 \x80 \xE7"));
    lido.Next();
    EXPECT_FALSE(lido.FieldByName("s253").IsNull());  // an empty string is a value...
    EXPECT_EQ(lido.FieldByName("s253").AsString(), "");
    EXPECT_FALSE(lido.FieldByName("ws126").IsNull());
    EXPECT_EQ(lido.FieldByName("d").AsDate(), QDate(9999, 12, 31));
    lido.Next();
    for (int i = 0; i < lido.FieldCount(); ++i) EXPECT_TRUE(lido.Fields(i).IsNull()) << i;  // ...and null is null
}

TEST(IdaEVolta, EmptyStringIsOneNulByteAndEmptyBlobIsNull) {
    TClientDataSet ds;
    ds.FieldDefs().Add("s", ftString, 10);
    ds.FieldDefs().Add("m", ftMemo);
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("s").SetAsString("");
    ds.FieldByName("m").SetAsString("");
    ds.Post();
    const QByteArray b = ds.SaveToBytes();
    // status, blank bits (field 1, m, null), then "s" as 01 00
    EXPECT_EQ(b.right(4).toHex(), "00040100");
    TClientDataSet lido = Volta(b);
    EXPECT_FALSE(lido.FieldByName("s").IsNull());
    EXPECT_TRUE(lido.FieldByName("m").IsNull());
    EXPECT_EQ(lido.FieldByName("m").AsString(), "");
}

TEST(IdaEVolta, OneMegabyteBlobAndGraphicKeepTheirBytes) {
    TClientDataSet ds;
    ds.FieldDefs().Add("Id", ftInteger);
    ds.FieldDefs().Add("Dados", ftBlob);
    ds.FieldDefs().Add("Foto", ftGraphic);
    ds.CreateDataSet();
    QByteArray mega(1 << 20, Qt::Uninitialized);
    for (int i = 0; i < mega.size(); ++i) mega[i] = static_cast<char>((i * 131) ^ (i >> 8));
    const QByteArray foto = QByteArray::fromHex("0100000104000000") + "BM\x01\x02";
    ds.Append();
    ds.FieldByName("Id").SetAsInteger(1);
    ds.FieldByName("Dados").SetAsBytes(mega);
    ds.FieldByName("Foto").SetAsBytes(foto);
    ds.Post();
    PastaTemporaria pasta;
    const QString arquivo = pasta.Arquivo("blob.dat");
    ds.SaveToFile(arquivo);
    TClientDataSet lido;
    lido.LoadFromFile(arquivo);
    EXPECT_EQ(lido.FieldByName("Dados").AsBytes(), mega);
    EXPECT_EQ(lido.FieldByName("Foto").AsBytes(), foto);  // the graphic header stays part of the value
    EXPECT_EQ(lido.FieldByName("Foto").Def().SubType(), "Graphics");
}

TEST(IdaEVolta, TextBeyondTheCodePageAndTheWidth) {
    TClientDataSet ds;
    ds.FieldDefs().Add("Curta", ftString, 50);
    ds.FieldDefs().Add("Larga", ftWideString, 5);
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("Curta").SetAsString(QString(60, u'é'));
    ds.FieldByName("Larga").SetAsString(QString::fromUtf8("日本語のテキスト"));
    ds.Post();
    TClientDataSet lido = Volta(ds.SaveToBytes());
    EXPECT_EQ(lido.FieldByName("Curta").AsString(), QString(50, u'é'));
    EXPECT_EQ(lido.FieldByName("Larga").AsString(), QString::fromUtf8("日本語のテ"));
    lido.Edit();
    lido.FieldByName("Curta").SetAsString(QString::fromUtf8("日本"));  // not in Windows-1252
    lido.Post();
    EXPECT_EQ(lido.FieldByName("Curta").AsString(), "??");
}

TEST(IdaEVolta, ReadOnlyTypesAreReadButNeverWritten) {
    TClientDataSet ds;
    ds.FieldDefs().Add("Id", ftInteger);
    ds.FieldDefs().Add("Valor", ftBCD).SetPrecision(10);
    ds.CreateDataSet();
    ds.Append();
    try {
        ds.FieldByName("Valor").SetAsString("1.5");
        FAIL() << "BCD aceito";
    } catch (const EDBClient& e) {
        EXPECT_TRUE(e.Mensagem().contains("ainda não grava")) << e.what();
    }
    ds.Post();
    try {
        ds.SaveToBytes();
        FAIL() << "BCD gravado";
    } catch (const EDBClient& e) {
        EXPECT_TRUE(e.Mensagem().contains("'Valor'")) << e.what();
    }
}

// Values of types that only single-source notes describe, read from packets
// built by hand after those notes.
TEST(IdaEVolta, ReadsBcdSingleExtendedTimestampUnicodeAndSmallIntegers) {
    TPacoteManual p;
    p.Campo("Bcd", 0x00050007, {TPacoteManual::Param("DECIMALS", 0x00020002, LE(2, 2)), TPacoteManual::Largura(10)})
        .Campo("Sng", 0x001B0004)
        .Campo("Ext", 0x0004000A)
        .Campo("Ts", 0x00110010, {TPacoteManual::Subtipo("Formatted")})
        .Campo("Uni", 0x004A0001, {TPacoteManual::Largura(20)})
        .Campo("I8", 0x00010001)
        .Campo("U32", 0x00020004);
    QByteArray r = LE(1, 0) + LE(2, 0);  // status, 7 fields -> 2 blank bytes
    QByteArray bcd(18, '\0');
    bcd[0] = 5;
    bcd[1] = static_cast<char>(0x82);  // negative, 2 decimals
    bcd[2] = 0x12; bcd[3] = 0x34; bcd[4] = 0x50;
    r += bcd;
    const float um = 1.5f;
    r += QByteArray(reinterpret_cast<const char*>(&um), 4) + QByteArray(4, '\0');
    r += LE(8, 0x8000000000000000ull) + LE(2, 0xC000);  // -2.0
    r += LE(2, 2024) + LE(2, 2) + LE(2, 29) + LE(2, 13) + LE(2, 14) + LE(2, 15) + LE(4, 678);
    r += LE(1, 4) + QByteArray("a\0\xE9\0", 4);
    r += LE(1, 0xFF);
    r += LE(4, 0xFFFFFFFFu);
    p.Registro(r);

    TClientDataSet ds = Volta(p.Bytes());
    EXPECT_EQ(ds.FieldByName("Bcd").DataType(), ftBCD);
    EXPECT_EQ(ds.FieldByName("Bcd").Def().Precision(), 10);
    EXPECT_EQ(ds.FieldByName("Bcd").Def().Scale(), 2);
    EXPECT_EQ(ds.FieldByName("Bcd").AsString(), "-123,45");
    EXPECT_DOUBLE_EQ(ds.FieldByName("Bcd").AsFloat(), -123.45);
    EXPECT_EQ(ds.FieldByName("Sng").AsFloat(), 1.5);
    EXPECT_EQ(ds.FieldByName("Ext").AsFloat(), -2.0);
    EXPECT_EQ(ds.FieldByName("Ts").DataType(), ftTimeStamp);
    EXPECT_EQ(ds.FieldByName("Ts").AsDateTime(), QDateTime(QDate(2024, 2, 29), QTime(13, 14, 15, 678), Qt::UTC));
    EXPECT_EQ(ds.FieldByName("Uni").AsString(), QStringLiteral("aé"));
    EXPECT_EQ(ds.FieldByName("Uni").Size(), 10);
    EXPECT_EQ(ds.FieldByName("I8").AsInteger(), -1);
    EXPECT_EQ(ds.FieldByName("U32").AsLargeInt(), 0xFFFFFFFFll);
}

// A nested table is parsed and skipped: its field shows, its rows are
// stepped over, and the fields after it read right.
TEST(IdaEVolta, NestedTableMetadataAndRowsAreSkippedCleanly) {
    TPacoteManual p;
    p.maior = 2;
    p.Campo("Varenr", 0x00490001, {TPacoteManual::Largura(10)})
        .Campo("Lines", 0x050E0002)
        .Campo("Category", 0x00010004)
        .Campo("Name", 0x00490001, {TPacoteManual::Largura(50)})
        .Bruto(LE(2, 0))  // parameters of Lines
        .Campo("Depois", 0x00010002);
    p.descritores = 5;
    QByteArray r = LE(1, 0) + LE(1, 0) + "\x03" "abc";
    r += LE(4, 2) + LE(1, 0) + LE(1, 0) + LE(4, 7) + "\x02xy" + LE(1, 0) + LE(1, 0x01) + "\x01z";
    r += LE(2, 42);
    p.Registro(r);
    TClientDataSet ds = Volta(p.Bytes());
    ASSERT_EQ(ds.FieldCount(), 3);
    EXPECT_EQ(ds.FieldByName("Lines").DataType(), ftDataSet);
    ASSERT_NE(ds.FieldByName("Lines").Def().Filhos(), nullptr);
    EXPECT_EQ(ds.FieldByName("Lines").Def().Filhos()->Count(), 2);
    EXPECT_EQ(ds.FieldByName("Varenr").AsString(), "abc");
    EXPECT_EQ(ds.FieldByName("Depois").AsInteger(), 42);
    EXPECT_THROW(ds.SaveToBytes(), EDBClient);
}

TEST(IdaEVolta, EmptyDatasetAndFileOnDisk) {
    TClientDataSet ds;
    ds.FieldDefs().Add("IdAuditoria", ftAutoInc);
    ds.FieldDefs().Add("DetalhesLog", ftMemo);
    ds.CreateDataSet();
    const QByteArray vazio = ds.SaveToBytes();
    EXPECT_EQ(pacote::LerSemSinal(vazio.constData() + 22, 2), static_cast<std::uint64_t>(vazio.size()));  // data offset = end
    EXPECT_EQ(Volta(vazio).RecordCount(), 0);

    PastaTemporaria pasta;
    const QString arquivo = pasta.Arquivo("DetalhesAuditoria.dat");
    for (int i = 0; i < 3; ++i) {
        ds.Append();
        ds.FieldByName("DetalhesLog").SetAsString(QStringLiteral("evento %1\r\n").arg(i));
        ds.Post();
    }
    ds.SaveToFile(arquivo);
    TClientDataSet lido;
    lido.LoadFromFile(arquivo);
    ASSERT_EQ(lido.RecordCount(), 3);
    lido.Last();
    EXPECT_EQ(lido.FieldByName("IdAuditoria").AsInteger(), 3);  // numbered by the dataset
    EXPECT_EQ(lido.Params().Integer("AUTOINCVALUE"), 4);
}

// The XML forms: plain XML carries Windows-1252 undeclared, UTF-8 XML is
// declared or marked; escapes, base64 and text BLOBs, hidden rows, a modified
// row that inherits what it leaves out, nested rows skipped.
TEST(IdaEVolta, XmlFormsAndTheirChangeLog) {
    const QByteArray corpo =
        "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"Id\" fieldtype=\"i4\" required=\"true\"/>"
        "<FIELD fieldname=\"Nome Completo\" attrname=\"Nome_Completo\" fieldtype=\"string\" WIDTH=\"20\"/>"
        "<FIELD attrname=\"Nota\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"
        "<FIELD attrname=\"Foto\" fieldtype=\"bin.hex\" SUBTYPE=\"Binary\"/>"
        "<FIELD attrname=\"Quando\" fieldtype=\"dateTime\"/>"
        "<FIELD attrname=\"Itens\" fieldtype=\"nested\"><FIELDS><FIELD attrname=\"Q\" fieldtype=\"i2\"/></FIELDS><PARAMS/></FIELD>"
        "</FIELDS><PARAMS CHANGE_LOG=\"1 0 4 2 1 8 3 0 4 3 0 2\" LCID=\"1046\"/></METADATA><ROWDATA>"
        "<ROW RowState=\"5\" Id=\"1\" Nome_Completo=\"Jos\xE9\" Nota=\"a&#013;&#010;b\" Foto=\"AAEC\" Quando=\"20261207T14:30:05250\"/>"
        "<ROW RowState=\"12\" Id=\"2\"><Itens><ROWItens Q=\"1\"/></Itens></ROW>"
        "<ROW RowState=\"6\" Id=\"3\"/>"
        "</ROWDATA></DATAPACKET>";
    const QByteArray plano = "<?xml version=\"1.0\" standalone=\"yes\"?>  " + corpo;
    QByteArray utf8 = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>  " + corpo;
    utf8.replace("Jos\xE9", "Jos\xC3\xA9");
    for (const QByteArray& xml : {plano, utf8}) {
        TClientDataSet ds;
        ds.LoadFromBytes(xml);
        ASSERT_EQ(ds.RecordCount(), 1);  // record 1 superseded, record 3 deleted
        EXPECT_EQ(ds.FieldByName("Id").AsInteger(), 2);
        EXPECT_TRUE(ds.FieldByName("Id").Required());
        EXPECT_EQ(ds.FieldByName("Nome Completo").AsString(), QStringLiteral("José"));
        EXPECT_EQ(ds.FieldByName("Nota").AsString(), "a\r\nb");
        EXPECT_EQ(ds.FieldByName("Foto").AsBytes(), QByteArray("\x00\x01\x02", 3));
        EXPECT_EQ(ds.FieldByName("Quando").AsDateTime(), QDateTime(QDate(2026, 12, 7), QTime(14, 30, 5, 250), Qt::UTC));
        EXPECT_EQ(ds.FieldByName("Itens").DataType(), ftDataSet);
        EXPECT_EQ(ds.Params().Integer("LCID"), 1046);
    }
}
