// The in-memory dataset: conversions of field values, the cursor, editing,
// search and the in-memory index.
#include "Comum.h"

#include "base/Excecoes.h"

using namespace vesko;
using namespace vesko::teste;

namespace {

// One row per call, fields given as name/value pairs.
class DataSet : public ::testing::Test {
protected:
    void SetUp() override {
        auto& f = ds.FieldDefs();
        f.Add("Codigo", ftInteger);
        f.Add("Nome", ftString, 30);
        f.Add("Tipo", ftString, 10);
        f.Add("Preco", ftFloat);
        f.Add("Ativo", ftBoolean);
        f.Add("Cadastro", ftDateTime);
        ds.CreateDataSet();
        Linha(3, "Café", "EAN13", 4.5, true, QDateTime(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC));
        Linha(1, "Água", "Chamada", 2.25, false, QDateTime(QDate(2026, 12, 7), QTime(14, 30, 5), Qt::UTC));
        Linha(2, "Pão", "EAN13", 0.5, true, {});
        Linha(1, "Bolo", "EAN13", 12.0, true, {});
    }
    void Linha(int codigo, const char* nome, const char* tipo, double preco, bool ativo, const QDateTime& cadastro) {
        ds.Append();
        ds.FieldByName("Codigo").SetAsInteger(codigo);
        ds.FieldByName("Nome").SetAsString(QString::fromUtf8(nome));
        ds.FieldByName("Tipo").SetAsString(QString::fromLatin1(tipo));
        ds.FieldByName("Preco").SetAsFloat(preco);
        ds.FieldByName("Ativo").SetAsBoolean(ativo);
        if (cadastro.isValid()) ds.FieldByName("Cadastro").SetAsDateTime(cadastro);
        ds.Post();
    }
    QList<QString> Nomes() {
        QList<QString> r;
        for (ds.First(); !ds.Eof(); ds.Next()) r << ds.FieldByName("Nome").AsString();
        return r;
    }
    TClientDataSet ds;
};

}  // namespace

TEST_F(DataSet, ConversionsOfTheClassicField) {
    ds.First();
    EXPECT_EQ(ds.FieldByName("Codigo").AsString(), "3");
    EXPECT_EQ(ds.FieldByName("Preco").AsString(), "4,5");  // regional decimal separator (pt_BR)
    EXPECT_EQ(ds.FieldByName("Preco").AsInteger(), 5);       // nearest whole number
    EXPECT_EQ(ds.FieldByName("Ativo").AsString(), "True");
    EXPECT_EQ(ds.FieldByName("Ativo").AsInteger(), 1);
    EXPECT_EQ(ds.FieldByName("Cadastro").AsString(), "07/12/2026");  // midnight: date only
    EXPECT_EQ(ds.FieldByName("Cadastro").AsDate(), QDate(2026, 12, 7));
    EXPECT_DOUBLE_EQ(ds.FieldByName("Cadastro").AsFloat(), 46363.0);  // days since 1899-12-30
    EXPECT_EQ(ds.FieldByName("Codigo").AsVariant().typeId(), QMetaType::Int);
    EXPECT_EQ(ds.FieldByName("Nome").AsVariant(), QVariant(QStringLiteral("Café")));
    ds.Next();
    EXPECT_EQ(ds.FieldByName("Cadastro").AsString(), "07/12/2026 14:30:05");
    EXPECT_EQ(ds.FieldByName("Preco").AsString(), "2,25");

    // Nulls read as empty text, 0, false and the zero date.
    ds.Next();
    TField& nulo = ds.FieldByName("Cadastro");
    EXPECT_TRUE(nulo.IsNull());
    EXPECT_EQ(nulo.AsString(), "");
    EXPECT_EQ(nulo.AsFloat(), 0.0);
    EXPECT_EQ(nulo.AsDateTime(), QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC));
    EXPECT_FALSE(nulo.AsVariant().isValid());

    // Text read as numbers, dates and Booleans; setting text into typed fields.
    ds.Edit();
    ds.FieldByName("Tipo").SetAsString(" 42 ");
    EXPECT_EQ(ds.FieldByName("Tipo").AsInteger(), 42);
    ds.FieldByName("Tipo").SetAsString("12,5");
    EXPECT_EQ(ds.FieldByName("Tipo").AsFloat(), 12.5);
    ds.FieldByName("Tipo").SetAsString("12.5");
    EXPECT_EQ(ds.FieldByName("Tipo").AsFloat(), 12.5);
    ds.FieldByName("Tipo").SetAsString("S");
    EXPECT_TRUE(ds.FieldByName("Tipo").AsBoolean());
    ds.FieldByName("Tipo").SetAsString("31/01/2025");
    EXPECT_EQ(ds.FieldByName("Tipo").AsDate(), QDate(2025, 1, 31));
    ds.FieldByName("Codigo").SetAsString("77");
    EXPECT_EQ(ds.FieldByName("Codigo").AsInteger(), 77);
    ds.FieldByName("Codigo").SetAsString("");
    EXPECT_TRUE(ds.FieldByName("Codigo").IsNull());
    ds.FieldByName("Preco").SetAsString("1234,5");
    EXPECT_EQ(ds.FieldByName("Preco").AsFloat(), 1234.5);
    ds.FieldByName("Cadastro").SetAsString("08/12/2026 10:00:00");
    EXPECT_EQ(ds.FieldByName("Cadastro").AsDateTime(), QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC));
    ds.Cancel();
}

TEST_F(DataSet, ConversionErrorsRaiseEConvertErrorWithReadableText) {
    ds.First();
    ds.Edit();
    ds.FieldByName("Tipo").SetAsString("abc");
    try {
        ds.FieldByName("Tipo").AsInteger();
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Mensagem(), QStringLiteral("'abc' não é um valor inteiro válido (campo 'Tipo')"));
    }
    EXPECT_THROW(ds.FieldByName("Tipo").AsFloat(), EConvertError);
    EXPECT_THROW(ds.FieldByName("Tipo").AsDateTime(), EConvertError);
    EXPECT_THROW(ds.FieldByName("Tipo").AsBoolean(), EConvertError);
    EXPECT_THROW(ds.FieldByName("Codigo").SetAsString("12x"), EConvertError);
    EXPECT_THROW(ds.FieldByName("Cadastro").SetAsString("ontem"), EConvertError);
    try {
        ds.FieldByName("Cadastro").AsInteger();
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Mensagem(), QStringLiteral("o campo 'Cadastro' (ftDateTime) não pode ser lido como inteiro"));
    }
    ds.Cancel();

    TClientDataSet pequeno;
    pequeno.FieldDefs().Add("N", ftSmallint);
    pequeno.CreateDataSet();
    pequeno.Append();
    EXPECT_THROW(pequeno.FieldByName("N").SetAsInteger(40000), EConvertError);
    pequeno.FieldByName("N").SetAsInteger(-32768);
    pequeno.Post();
    EXPECT_EQ(pequeno.FieldByName("N").AsInteger(), -32768);
}

TEST_F(DataSet, FieldNamesMatchWithoutRegardToCase) {
    EXPECT_EQ(&ds.FieldByName("NOME"), &ds.FieldByName("nome"));
    EXPECT_EQ(ds.FindField("pReCo"), &ds.FieldByName("Preco"));
    EXPECT_EQ(ds.FindField("Inexistente"), nullptr);
    try {
        ds.FieldByName("Inexistente");
        FAIL();
    } catch (const EDBClient& e) {
        EXPECT_EQ(e.Mensagem(), QStringLiteral("campo 'Inexistente' não encontrado"));
    }
}

TEST_F(DataSet, CursorFirstNextEofLastPrior) {
    EXPECT_EQ(ds.RecordCount(), 4);
    ds.First();
    EXPECT_TRUE(ds.Bof());
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(Nomes(), (QList<QString>{"Café", "Água", "Pão", "Bolo"}));
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Bolo");  // Eof stays on the last row
    ds.Last();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 4);
    ds.Prior();
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Pão");

    TClientDataSet vazio;
    vazio.FieldDefs().Add("A", ftInteger);
    vazio.CreateDataSet();
    vazio.First();
    EXPECT_TRUE(vazio.Eof());
    EXPECT_TRUE(vazio.FieldByName("A").IsNull());
    EXPECT_EQ(vazio.RecNo(), 0);
}

TEST_F(DataSet, EditDeleteCancelAndRequiredFields) {
    ds.First();
    ds.Edit();
    ds.FieldByName("Nome").SetAsString("Café expresso");
    ds.Post();
    ds.Next();
    ds.Delete();
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Pão");
    ds.Append();
    ds.FieldByName("Nome").SetAsString("descartado");
    ds.Cancel();
    EXPECT_EQ(Nomes(), (QList<QString>{"Café expresso", "Pão", "Bolo"}));

    // Editing requires Append or Edit.
    ds.First();
    EXPECT_THROW(ds.FieldByName("Nome").SetAsString("x"), EDBClient);

    TClientDataSet obrigatorio;
    obrigatorio.FieldDefs().Add("Id", ftInteger, 0, true);
    obrigatorio.CreateDataSet();
    obrigatorio.Append();
    EXPECT_THROW(obrigatorio.Post(), EDBClient);
    obrigatorio.FieldByName("Id").SetAsInteger(1);
    obrigatorio.Post();
    EXPECT_EQ(obrigatorio.RecordCount(), 1);

    // Edits survive the file.
    TClientDataSet lido;
    lido.LoadFromBytes(ds.SaveToBytes());
    ExpectMesmoConteudo(ds, lido);
}

TEST_F(DataSet, LocateOnOneOrSeveralFields) {
    EXPECT_TRUE(ds.Locate("Codigo;Tipo", QVariantList{1, "EAN13"}));
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Bolo");
    EXPECT_TRUE(ds.Locate("codigo", 2));
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Pão");
    EXPECT_TRUE(ds.Locate("Codigo", "3"));  // converted as the field would
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Café");
    EXPECT_FALSE(ds.Locate("Tipo", "ean13"));
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Café");  // unchanged when not found
    EXPECT_TRUE(ds.Locate("Tipo", "ean13", loCaseInsensitive));
    EXPECT_TRUE(ds.Locate("Nome", "Ág", loPartialKey));
    EXPECT_EQ(ds.FieldByName("Codigo").AsInteger(), 1);
    EXPECT_TRUE(ds.Locate("Cadastro", QVariant()));  // null matches null
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Pão");
    EXPECT_THROW(ds.Locate("Codigo;Tipo", 1), EDBClient);
    EXPECT_THROW(ds.Locate("Nada", 1), EDBClient);
}

TEST_F(DataSet, PrimaryIndexOrdersRowsAndFindsByKey) {
    ds.AddIndex("idxCodigo", "Codigo;Nome", ixPrimary);
    EXPECT_THROW(ds.FindKey({1}), EDBClient);  // no active index yet
    ds.SetIndexName("idxCodigo");
    EXPECT_EQ(ds.IndexName(), "idxCodigo");
    EXPECT_EQ(Nomes(), (QList<QString>{"Água", "Bolo", "Pão", "Café"}));  // text in regional order
    ASSERT_TRUE(ds.FindKey({1}));
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Água");  // the first row of the key
    ASSERT_TRUE(ds.FindKey({1, QStringLiteral("Bolo")}));
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_FALSE(ds.FindKey({9}));

    // Rows posted while the index is active take their place in it.
    ds.Append();
    ds.FieldByName("Codigo").SetAsInteger(0);
    ds.FieldByName("Nome").SetAsString("Zero");
    ds.Post();
    EXPECT_EQ(ds.RecNo(), 1);
    ASSERT_TRUE(ds.FindKey({3}));
    ds.Edit();
    ds.FieldByName("Codigo").SetAsInteger(-5);
    ds.Post();
    EXPECT_EQ(Nomes(), (QList<QString>{"Café", "Zero", "Água", "Bolo", "Pão"}));

    ds.AddIndex("idxNomeDesc", "Nome", ixDescending | ixCaseInsensitive);
    ds.SetIndexName("idxNomeDesc");
    EXPECT_EQ(Nomes(), (QList<QString>{"Zero", "Pão", "Café", "Bolo", "Água"}));
    EXPECT_TRUE(ds.FindKey({QStringLiteral("bolo")}));
    ds.SetIndexName("");
    EXPECT_EQ(Nomes(), (QList<QString>{"Café", "Água", "Pão", "Bolo", "Zero"}));  // natural order
    ds.SetIndexFieldNames("Preco");
    ds.First();
    EXPECT_EQ(ds.FieldByName("Nome").AsString(), "Zero");  // null price first
    EXPECT_THROW(ds.SetIndexName("semIndice"), EDBClient);
}

TEST_F(DataSet, MovedDatasetKeepsRowsCursorAndFields) {
    ds.First();
    ds.Next();
    TField* nome = &ds.FieldByName("Nome");
    TClientDataSet movido(std::move(ds));
    EXPECT_EQ(movido.FieldByName("Nome").AsString(), "Água");
    EXPECT_EQ(nome, &movido.FieldByName("Nome"));  // the field objects move along
    EXPECT_EQ(nome->AsString(), "Água");
    TClientDataSet outro;
    outro = std::move(movido);
    outro.Next();
    EXPECT_EQ(outro.FieldByName("Nome").AsString(), "Pão");
    EXPECT_FALSE(movido.Active());
}

TEST(DataSetArquivos, FailedLoadKeepsTheDatasetAndFailedSaveKeepsTheFile) {
    PastaTemporaria pasta;
    const QString arquivo = pasta.Arquivo("Produtos.dat");
    TClientDataSet ds;
    ds.FieldDefs().Add("Id", ftInteger);
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("Id").SetAsInteger(7);
    ds.Post();
    ds.SaveToFile(arquivo);
    const QByteArray original = LerArquivo(arquivo);

    GravarArquivo(pasta.Arquivo("ruim.dat"), QByteArray("\x96\x19\xE0\xBD\x01\x00", 6));
    EXPECT_THROW(ds.LoadFromFile(pasta.Arquivo("ruim.dat")), EDBClient);
    EXPECT_THROW(ds.LoadFromFile(pasta.Arquivo("nao-existe.dat")), EFOpenError);
    ASSERT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.FieldByName("Id").AsInteger(), 7);

    TClientDataSet bcd;
    bcd.FieldDefs().Add("Valor", ftFMTBcd).SetPrecision(18);
    bcd.CreateDataSet();
    EXPECT_THROW(bcd.SaveToFile(arquivo), EDBClient);
    EXPECT_EQ(LerArquivo(arquivo), original);
    EXPECT_THROW(ds.SaveToFile(pasta.Arquivo("sem/pasta/x.dat")), EFCreateError);
}
