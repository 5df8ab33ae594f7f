// Our own sample packets (dados/fixtures) against their decoded contents and
// their bytes: the generator still writes the committed files, two of them
// match packets built by hand from the layout rules, every form decodes to
// the invented data, the writer gives back what it wrote, and each XML
// fixture reads as its binary twin or its documented rows.
#include "Comum.h"
#include "GeradorFixtures.h"

#include "datapacket/FormatoPacote.h"

#include <QDir>

using namespace vesko;
using namespace vesko::teste;

namespace {

QString S(TClientDataSet& ds, const char* campo) { return ds.FieldByName(QString::fromUtf8(campo)).AsString(); }
double F(TClientDataSet& ds, const char* campo) { return ds.FieldByName(QString::fromUtf8(campo)).AsFloat(); }
qint64 I(TClientDataSet& ds, const char* campo) { return ds.FieldByName(QString::fromUtf8(campo)).AsLargeInt(); }
bool Nulo(TClientDataSet& ds, const char* campo) { return ds.FieldByName(QString::fromUtf8(campo)).IsNull(); }
QDateTime DH(int a, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(a, m, d), QTime(h, mi, s, ms), Qt::UTC);
}
QString U(const char* utf8) { return QString::fromUtf8(utf8); }

void ExpectCampo(TClientDataSet& ds, int i, const char* nome, TFieldType tipo, int tamanho = 0, std::uint32_t palavra = 0) {
    const TFieldDef& d = ds.Fields(i).Def();
    EXPECT_EQ(d.Name(), QString::fromUtf8(nome));
    EXPECT_EQ(d.DataType(), tipo) << nome;
    EXPECT_EQ(d.Size(), tamanho) << nome;
    if (palavra) {
        EXPECT_EQ(d.PalavraTipo(), palavra) << nome;
    }
}

QList<QByteArray> NomesDosParametros(const TClientDataSet& ds) {
    QList<QByteArray> r;
    for (const TParametroPacote& p : ds.Params().List()) r << p.Nome;
    return r;
}

std::uint64_t Registros(const QByteArray& pacote) { return pacote::LerSemSinal(pacote.constData() + 14, 4); }

}  // namespace

// The committed files are what the generator writes today: a change to the
// writer or to the invented data shows here first. After a deliberate change,
// write them again with gerar_fixtures_pacote (see the README).
TEST(AmostrasProprias, GeneratorWritesTheCommittedFiles) {
    QStringList gerados;
    for (const TFixture& f : GerarFixtures()) {
        EXPECT_EQ(f.bytes, LerArquivo(Fixture(f.nome))) << f.nome.toStdString();
        gerados << f.nome;
    }
    gerados.sort();
    EXPECT_EQ(QDir(QStringLiteral(DIR_FIXTURES)).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name), gerados);
}

// Two fixtures against packets assembled here from the layout rules alone, so
// the generator cannot drift together with the writer.
TEST(AmostrasProprias, GruposAndCupomBytesFollowTheLayoutRules) {
    TPacoteManual grupos;
    grupos.Campo("CodGrupo", 0x00010002)
        .Campo("Sigla", 0x00490001, {TPacoteManual::Largura(5)})
        .Campo("Nome", 0x00490001, {TPacoteManual::Largura(20)})
        .ParametroDoPacote(TPacoteManual::Param("LCID", 0x00010004, LE(4, 1046)));
    auto grupo = [](int codigo, const QByteArray& sigla, const QByteArray& nome) {
        return LE(1, 0) + LE(1, 0) + LE(2, static_cast<std::uint16_t>(codigo)) + LE(1, static_cast<std::uint64_t>(sigla.size())) +
               sigla + LE(1, static_cast<std::uint64_t>(nome.size())) + nome;
    };
    grupos.Registro(grupo(10, "BEB", "Bebidas"))
        .Registro(grupo(20, "LANCH", "Lanches"))
        .Registro(grupo(30, "PRATO", "Pratos executivos"))
        .Registro(grupo(40, "SOBRE", "Sobremesas"))
        .Registro(grupo(50, "SALG", "Salgados"))
        .Registro(grupo(32767, "DIV", "Diversos"))
        .Registro(grupo(-1, "TAXA", "Taxas e servi\xE7os"));  // Windows-1252
    EXPECT_EQ(LerArquivo(Fixture("grupos.dat")), grupos.Bytes());

    // One inserted record (status 4, named by the change log) of nine empty
    // strings, each a length of 1 and a NUL.
    TPacoteManual cupom;
    for (int i = 1; i <= 9; ++i) cupom.Campo("Linha" + QByteArray::number(i), 0x00490001, {TPacoteManual::Largura(30)});
    cupom.ParametroDoPacote(TPacoteManual::Param("CHANGE_LOG", 0x00820004, LE(4, 3) + LE(4, 1) + LE(4, 0) + LE(4, 4)));
    QByteArray registro = LE(1, 4) + LE(3, 0);
    for (int i = 0; i < 9; ++i) registro += LE(1, 1) + LE(1, 0);
    cupom.Registro(registro);
    EXPECT_EQ(LerArquivo(Fixture("cupom.dat")), cupom.Bytes());
}

TEST(AmostrasProprias, GruposSmallintsAndFullWidthStrings) {
    TClientDataSet ds = CarregarFixture("grupos.dat");
    ASSERT_EQ(ds.FieldCount(), 3);
    ExpectCampo(ds, 0, "CodGrupo", ftSmallint, 0, 0x00010002);
    ExpectCampo(ds, 1, "Sigla", ftString, 5, 0x00490001);
    ExpectCampo(ds, 2, "Nome", ftString, 20);
    EXPECT_EQ(ds.RecordCount(), 7);
    EXPECT_EQ(ds.Params().Integer("LCID"), 1046);
    ds.First();
    EXPECT_EQ(I(ds, "CodGrupo"), 10);
    EXPECT_EQ(S(ds, "Nome"), "Bebidas");
    ds.Next();
    EXPECT_EQ(S(ds, "Sigla"), "LANCH");  // as wide as the field
    ds.Last();
    EXPECT_EQ(I(ds, "CodGrupo"), -1);
    EXPECT_EQ(S(ds, "Nome"), U("Taxas e serviços"));
    ds.Prior();
    EXPECT_EQ(I(ds, "CodGrupo"), 32767);
}

TEST(AmostrasProprias, ProdutosStringsMoneyDatesNullsAndParams) {
    TClientDataSet ds = CarregarFixture("produtos.dat");
    ASSERT_EQ(ds.FieldCount(), 10);
    ExpectCampo(ds, 0, "Codigo", ftInteger, 0, 0x00010004);
    EXPECT_EQ(ds.Fields(0).Def().Attributes(), faRequired);
    ExpectCampo(ds, 1, "Descricao", ftString, 40, 0x00490001);
    ExpectCampo(ds, 2, "Grupo", ftSmallint, 0, 0x00010002);
    ExpectCampo(ds, 3, "Unidade", ftString, 2);
    ExpectCampo(ds, 4, "Preco", ftCurrency, 0, 0x00040008);
    EXPECT_EQ(ds.Fields(4).Def().SubType(), "Money");
    ExpectCampo(ds, 5, "Custo", ftFloat, 0, 0x00040008);
    ExpectCampo(ds, 7, "Ativo", ftBoolean, 0, 0x00030002);
    ExpectCampo(ds, 8, "Cadastro", ftDate, 0, 0x00060004);
    ExpectCampo(ds, 9, "UltimaVenda", ftDateTime, 0, 0x00080008);
    EXPECT_EQ(ds.RecordCount(), 8);
    EXPECT_EQ(NomesDosParametros(ds), (QList<QByteArray>{"DEFAULT_ORDER", "PRIMARY_KEY", "LCID"}));
    EXPECT_EQ(ds.Params().Array("DEFAULT_ORDER"), QList<qint64>{1});
    EXPECT_EQ(ds.Params().Array("PRIMARY_KEY"), QList<qint64>{1});
    EXPECT_EQ(ds.Params().Integer("LCID"), 1046);

    ds.First();
    EXPECT_EQ(I(ds, "Codigo"), 1001);
    EXPECT_EQ(S(ds, "Descricao"), U("Pão de queijo"));
    EXPECT_EQ(I(ds, "Grupo"), 50);
    EXPECT_EQ(S(ds, "Unidade"), "UN");
    EXPECT_EQ(F(ds, "Preco"), 4.5);
    EXPECT_EQ(F(ds, "Custo"), 1.85);
    EXPECT_EQ(F(ds, "PesoKg"), 0.05);
    EXPECT_TRUE(ds.FieldByName("Ativo").AsBoolean());
    EXPECT_EQ(ds.FieldByName("Cadastro").AsDate(), QDate(2024, 3, 1));
    EXPECT_EQ(ds.FieldByName("UltimaVenda").AsDateTime(), DH(2026, 12, 5, 18, 42, 10, 250));
    ds.Next();
    EXPECT_EQ(S(ds, "Descricao"), "Coxinha & catupiry");
    ds.Next();
    EXPECT_EQ(S(ds, "Descricao"), U("Água mineral – 500 ml"));
    EXPECT_EQ(ds.FieldByName("Descricao").AsBytes(), QByteArray("\xC1gua mineral \x96 500 ml"));  // Windows-1252
    ds.Next();
    EXPECT_EQ(F(ds, "Preco"), 5.25);
    EXPECT_TRUE(Nulo(ds, "PesoKg"));
    ds.Next();
    EXPECT_EQ(F(ds, "Preco"), 39.9);
    EXPECT_TRUE(Nulo(ds, "UltimaVenda"));
    ds.Next();
    EXPECT_FALSE(ds.FieldByName("Ativo").AsBoolean());
    EXPECT_FALSE(Nulo(ds, "Ativo"));
    EXPECT_EQ(ds.FieldByName("UltimaVenda").AsDateTime(), DH(2026, 11, 30));
    ds.Last();
    EXPECT_EQ(I(ds, "Grupo"), -1);
    EXPECT_FALSE(Nulo(ds, "Unidade"));  // an empty string, not a null
    EXPECT_EQ(S(ds, "Unidade"), "");
    EXPECT_EQ(F(ds, "Preco"), 0.0);
    EXPECT_FALSE(Nulo(ds, "Preco"));
    EXPECT_TRUE(Nulo(ds, "PesoKg"));
}

TEST(AmostrasProprias, PedidosManyNullsRequiredDateTimesAndMoney) {
    const QByteArray bytes = LerArquivo(Fixture("pedidos.dat"));
    TClientDataSet ds = CarregarFixture("pedidos.dat");
    ASSERT_EQ(ds.FieldCount(), 21);
    EXPECT_EQ(ds.RecordCount(), 36);
    ExpectCampo(ds, 2, "Abertura", ftDateTime, 0, 0x00080008);
    ExpectCampo(ds, 4, "CodGarcom", ftInteger, 0, 0x00010004);
    ExpectCampo(ds, 17, "TotalItens", ftCurrency);
    ExpectCampo(ds, 18, "TaxaServico", ftFloat);
    EXPECT_TRUE(ds.FieldByName("CodCliente").Required());
    EXPECT_TRUE(ds.FieldByName("CodGarcom").Required());
    EXPECT_FALSE(ds.FieldByName("NumPedido").Required());
    EXPECT_EQ(ds.FieldByName("ValorPago").Def().SubType(), "Money");

    // First record: status 0, six bytes of blank bits (21 fields), contact,
    // address, phone and coupon null.
    const auto dados = static_cast<qsizetype>(pacote::LerSemSinal(bytes.constData() + 22, 2));
    EXPECT_EQ(bytes.mid(dados, 7).toHex(), "00005455110000");

    ds.First();
    EXPECT_EQ(I(ds, "NumPedido"), 5001);
    EXPECT_EQ(I(ds, "CodCliente"), 1);
    EXPECT_EQ(ds.FieldByName("Abertura").AsDateTime(), DH(2026, 12, 1, 11, 43, 54));
    EXPECT_EQ(ds.FieldByName("Fechamento").AsDateTime(), DH(2026, 12, 1, 12, 58, 54));
    EXPECT_EQ(I(ds, "CodGarcom"), 4);
    for (const char* c : {"NomeContato", "Endereco", "Complemento", "Bairro", "Cidade", "UF", "CEP", "Telefone", "Cupom"})
        EXPECT_TRUE(Nulo(ds, c)) << c;
    EXPECT_EQ(S(ds, "Canal"), U("Salão"));
    EXPECT_EQ(S(ds, "Condicao"), U("À vista"));
    EXPECT_EQ(S(ds, "FormaPagto"), U("Vale-refeição"));
    EXPECT_EQ(F(ds, "TotalItens"), 97.25);
    EXPECT_EQ(F(ds, "TaxaServico"), 10.0);
    EXPECT_EQ(F(ds, "Entrega"), 0.0);
    EXPECT_EQ(F(ds, "ValorPago"), 106.98);

    ds.Next();
    EXPECT_EQ(I(ds, "NumPedido"), 5002);
    EXPECT_EQ(S(ds, "NomeContato"), U("Luíza Fernandes"));
    EXPECT_EQ(S(ds, "Endereco"), "Av. Brasil, 4500");
    EXPECT_EQ(S(ds, "Complemento"), "Apto 102");
    EXPECT_EQ(S(ds, "Bairro"), "Centro");
    EXPECT_EQ(S(ds, "Cidade"), "Belo Horizonte");
    EXPECT_EQ(S(ds, "UF"), "MG");
    EXPECT_EQ(S(ds, "CEP"), "30107-011");
    EXPECT_EQ(S(ds, "Telefone"), "(31) 98159-4461");
    EXPECT_EQ(S(ds, "Canal"), "Delivery");
    EXPECT_TRUE(Nulo(ds, "Cupom"));
    EXPECT_EQ(F(ds, "Entrega"), 6.5);
    EXPECT_EQ(F(ds, "ValorPago"), 175.28);

    ds.Last();  // still open
    EXPECT_EQ(I(ds, "NumPedido"), 5036);
    EXPECT_TRUE(Nulo(ds, "Fechamento"));
    EXPECT_TRUE(Nulo(ds, "FormaPagto"));
    EXPECT_TRUE(Nulo(ds, "ValorPago"));
    EXPECT_FALSE(Nulo(ds, "TotalItens"));
}

TEST(AmostrasProprias, ReservasAutoincDateMemoBoolean) {
    TClientDataSet ds = CarregarFixture("reservas.dat");
    ASSERT_EQ(ds.FieldCount(), 11);
    EXPECT_EQ(ds.RecordCount(), 24);
    ExpectCampo(ds, 0, "IdReserva", ftAutoInc, 0, 0x00010004);
    EXPECT_EQ(ds.Fields(0).Def().Attributes(), faReadonly);
    EXPECT_EQ(ds.Fields(0).Def().SubType(), "Autoinc");
    ExpectCampo(ds, 7, "ValidadeCartao", ftDate, 0, 0x00060004);
    ExpectCampo(ds, 8, "Observacoes", ftMemo, 30, 0x004B0004);
    ExpectCampo(ds, 10, "Confirmada", ftBoolean, 0, 0x00030002);
    // The next number goes after the index parameters, before LCID.
    EXPECT_EQ(NomesDosParametros(ds), (QList<QByteArray>{"DEFAULT_ORDER", "PRIMARY_KEY", "AUTOINCVALUE", "LCID"}));
    EXPECT_EQ(ds.Params().Integer("AUTOINCVALUE"), 125);

    QList<qint64> ids;
    int observacoes = 0;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        ids << I(ds, "IdReserva");
        observacoes += Nulo(ds, "Observacoes") ? 0 : 1;
    }
    QList<qint64> esperados;
    for (int i = 101; i <= 124; ++i) esperados << i;
    EXPECT_EQ(ids, esperados);  // the first number given, the rest numbered by the dataset
    EXPECT_EQ(observacoes, 3);

    ds.First();
    EXPECT_EQ(I(ds, "CodCliente"), 285);
    EXPECT_EQ(I(ds, "Mesa"), 9);
    EXPECT_EQ(F(ds, "Sinal"), 25.0);
    EXPECT_EQ(S(ds, "FormaPagto"), "Pix");
    EXPECT_TRUE(Nulo(ds, "Cartao"));
    EXPECT_TRUE(Nulo(ds, "ValidadeCartao"));
    EXPECT_EQ(ds.FieldByName("DataReserva").AsDate(), QDate(2026, 12, 10));
    EXPECT_TRUE(ds.FieldByName("Confirmada").AsBoolean());
    ds.Next();
    EXPECT_EQ(S(ds, "FormaPagto"), U("Cartão"));
    EXPECT_EQ(S(ds, "Cartao"), "4090 **** **** 3234");
    EXPECT_EQ(ds.FieldByName("ValidadeCartao").AsDate(), QDate(2028, 4, 30));
    ds.Next();
    EXPECT_EQ(S(ds, "Observacoes"), U("Aniversário: levar bolo às 21h\r\nMesa perto da janela"));
    ds.Next();
    ds.Next();
    EXPECT_FALSE(ds.FieldByName("Confirmada").AsBoolean());
}

TEST(AmostrasProprias, EventosTimeMemoGraphicsAndAutoincWithoutNextValue) {
    TClientDataSet ds = CarregarFixture("eventos.dat");
    ASSERT_EQ(ds.FieldCount(), 8);
    EXPECT_EQ(ds.RecordCount(), 6);
    ExpectCampo(ds, 4, "Hora", ftTime, 0, 0x00070004);
    ExpectCampo(ds, 5, "Descricao", ftMemo, 100);
    ExpectCampo(ds, 7, "Cartaz", ftGraphic, 0, 0x004B0004);
    EXPECT_EQ(ds.Fields(7).Def().SubType(), "Graphics");
    // An auto-increment column numbered by the writer of the file: no next
    // number kept, and none added when the file is written again.
    ExpectCampo(ds, 0, "IdEvento", ftAutoInc, 0, 0x00010004);
    EXPECT_EQ(ds.Fields(0).Def().Attributes(), faReadonly);
    EXPECT_EQ(NomesDosParametros(ds), (QList<QByteArray>{"DEFAULT_ORDER", "PRIMARY_KEY", "LCID"}));

    ds.First();
    EXPECT_EQ(I(ds, "IdEvento"), 1);
    EXPECT_EQ(S(ds, "Nome"), "Noite da pizza");
    EXPECT_EQ(ds.FieldByName("Data").AsDate(), QDate(2026, 12, 11));
    EXPECT_EQ(ds.FieldByName("Hora").AsTime(), QTime(19, 30));
    EXPECT_EQ(S(ds, "Descricao"), U("Rodízio de pizzas salgadas e doces, com música ao vivo a partir das 20h."));
    EXPECT_EQ(F(ds, "Ingresso"), 59.9);
    const QByteArray cartaz = ds.FieldByName("Cartaz").AsBytes();
    EXPECT_EQ(cartaz.size(), 1214);
    EXPECT_EQ(cartaz.left(10).toHex(), "01000001b6040000424d");  // picture header, then the BMP
    ds.Next();
    EXPECT_EQ(ds.FieldByName("Cartaz").AsBytes().left(10).toHex(), "01000001e6040000424d");
    ds.Next();
    EXPECT_EQ(ds.FieldByName("Hora").AsTime(), QTime(17, 45, 30));
    EXPECT_TRUE(Nulo(ds, "Descricao"));
    EXPECT_EQ(F(ds, "Ingresso"), 0.0);
    ds.Next();
    EXPECT_EQ(S(ds, "Descricao"), U("Feijoada completa com couve, farofa, laranja e torresmo.\r\nSobremesa inclusa."));
    ds.Next();
    EXPECT_EQ(ds.FieldByName("Hora").AsTime(), QTime(18, 0, 0, 500));
    EXPECT_TRUE(Nulo(ds, "Cartaz"));
    ds.Next();
    EXPECT_EQ(S(ds, "Nome"), U("Réveillon"));
    EXPECT_EQ(ds.FieldByName("Cartaz").AsBytes().size(), 2942);
}

// Modified versions that store only what changed: each field comes from the
// latest version that stores it, an id never assigned stays null, a memo set
// to null by a modification is null, rows come in the order of their insert.
TEST(AmostrasProprias, IconesChangeLogGivesCurrentRows) {
    const QByteArray bytes = LerArquivo(Fixture("icones.dat"));
    EXPECT_EQ(Registros(bytes), 14u);
    TClientDataSet ds = CarregarFixture("icones.dat");
    ASSERT_EQ(ds.FieldCount(), 5);
    ExpectCampo(ds, 3, "PalavrasChave", ftMemo);
    ExpectCampo(ds, 4, "Icone", ftBlob);
    EXPECT_TRUE(ds.Params().List().isEmpty());  // no LCID; the change log is not kept
    ASSERT_EQ(ds.RecordCount(), 6);

    struct TIcone { const char* categoria; const char* descricao; const char* palavras; };
    const TIcone esperados[] = {
        {"Cardápio", "Prato do dia e sugestões", "Prato\r\nAlmoço\r\nExecutivo"},
        {"Cardápio", "Bebidas", "Bebida\r\nRefrigerante"},
        {"Financeiro", "Fechamento do caixa", "Caixa\r\nFechamento"},
        {"Salão", "Mesas", "Mesa\r\nComanda\r\nReserva"},
        {"Caixa", "Sangria", nullptr},
        {"Salão", "Garçons", "Garçom\r\nAtendimento"},
    };
    ds.First();
    for (const TIcone& e : esperados) {
        SCOPED_TRACE(e.descricao);
        EXPECT_TRUE(Nulo(ds, "Id"));
        EXPECT_EQ(S(ds, "Categoria"), U(e.categoria));
        EXPECT_EQ(S(ds, "Descricao"), U(e.descricao));
        EXPECT_EQ(Nulo(ds, "PalavrasChave"), e.palavras == nullptr);
        if (e.palavras) {
            EXPECT_EQ(S(ds, "PalavrasChave"), U(e.palavras));
        }
        const QByteArray icone = ds.FieldByName("Icone").AsBytes();
        EXPECT_EQ(icone.size(), 852);
        EXPECT_EQ(icone.left(8).toHex(), "89504e470d0a1a0a");
        ds.Next();
    }
    EXPECT_TRUE(ds.Eof());
    // Two versions of one icon, the later taken.
    ds.First();
    const QByteArray prato = ds.FieldByName("Icone").AsBytes();
    ds.Next();
    EXPECT_NE(ds.FieldByName("Icone").AsBytes(), prato);
}

// Complete modified versions, deletes of inserted, modified and original
// rows, rows that were there before the log: the current rows in the order
// of their first version.
TEST(AmostrasProprias, EstoqueLongChangeLogInInsertOrder) {
    const QByteArray bytes = LerArquivo(Fixture("estoque.dat"));
    EXPECT_EQ(Registros(bytes), 77u);
    TClientDataSet ds = CarregarFixture("estoque.dat");
    EXPECT_EQ(ds.RecordCount(), 12);
    EXPECT_EQ(ds.Params().Integer("AUTOINCVALUE"), 16);
    EXPECT_FALSE(ds.Params().Contains("CHANGE_LOG"));
    QList<qint64> codigos;
    for (ds.First(); !ds.Eof(); ds.Next()) codigos << I(ds, "Codigo");
    EXPECT_EQ(codigos, (QList<qint64>{1, 3, 4, 6, 7, 8, 9, 10, 11, 13, 14, 15}));
    ds.First();
    EXPECT_EQ(S(ds, "Produto"), "Arroz 5 kg");
    EXPECT_EQ(I(ds, "Estoque"), 118);
    EXPECT_EQ(I(ds, "EstoqueMinimo"), 10);
    ds.Next();
    EXPECT_EQ(S(ds, "Produto"), U("Óleo de soja 900 ml"));
    EXPECT_EQ(I(ds, "Estoque"), 100);
    EXPECT_EQ(I(ds, "EstoqueMinimo"), 5);
    ds.Last();
    EXPECT_EQ(S(ds, "Produto"), U("Filé de frango"));  // inserted, never changed
    EXPECT_EQ(I(ds, "Estoque"), 30);
    ds.Prior();
    EXPECT_EQ(S(ds, "Produto"), U("Carne moída"));
    EXPECT_EQ(I(ds, "Estoque"), 16);
    EXPECT_EQ(I(ds, "EstoqueMinimo"), 8);
}

TEST(AmostrasProprias, CupomEmptyStringsAreEmptyNotNull) {
    TClientDataSet ds = CarregarFixture("cupom.dat");
    ASSERT_EQ(ds.FieldCount(), 9);
    ASSERT_EQ(ds.RecordCount(), 1);
    for (int i = 0; i < 9; ++i) {
        EXPECT_FALSE(ds.Fields(i).IsNull());
        EXPECT_EQ(ds.Fields(i).AsString(), "");
        EXPECT_EQ(ds.Fields(i).Size(), 30);
    }
}

// Plain XML (Windows-1252, undeclared) read as its binary twin, and written
// as binary gives that file byte for byte.
TEST(AmostrasProprias, ProdutosXmlEqualsItsBinaryTwin) {
    TClientDataSet xml = CarregarFixture("produtos.xml");
    TClientDataSet bin = CarregarFixture("produtos.dat");
    ExpectMesmoConteudo(xml, bin);
    EXPECT_EQ(xml.Fields(0).Def().Attributes(), faRequired);
    EXPECT_EQ(xml.Params().Integer("LCID"), 1046);
    EXPECT_EQ(xml.Params().Array("DEFAULT_ORDER"), QList<qint64>{1});
    xml.First();
    xml.Next();
    xml.Next();
    EXPECT_EQ(xml.FieldByName("Descricao").AsString(), U("Água mineral – 500 ml"));
    EXPECT_EQ(xml.SaveToBytes(), LerArquivo(Fixture("produtos.dat")));
}

// UTF-8 XML: Japanese text in 8-bit string fields, non-ASCII field names, a
// change log of three inserts and one modification that leaves out what it
// does not change.
TEST(AmostrasProprias, CardapioUtf8XmlWithJapaneseText) {
    TClientDataSet ds = CarregarFixture("cardapio-utf8.xml");
    ASSERT_EQ(ds.FieldCount(), 5);
    ExpectCampo(ds, 0, "Código", ftInteger);
    ExpectCampo(ds, 1, "品名", ftString, 20);
    ExpectCampo(ds, 2, "Prato", ftString, 30);
    ExpectCampo(ds, 3, "Preço", ftCurrency);
    ExpectCampo(ds, 4, "Observação", ftMemo);
    ASSERT_EQ(ds.RecordCount(), 3);
    ds.First();
    EXPECT_EQ(I(ds, "CÓDIGO"), 1);  // names match without regard to case
    EXPECT_EQ(S(ds, "品名"), U("寿司盛り合わせ"));
    EXPECT_EQ(S(ds, "Prato"), U("Sushi variado – 12 peças"));
    EXPECT_EQ(F(ds, "Preço"), 58.9);
    EXPECT_EQ(S(ds, "Observação"), U("Salmão, atum e peixe branco\r\nサーモン、マグロ、白身魚"));
    ds.Next();
    EXPECT_EQ(I(ds, "Código"), 2);
    EXPECT_EQ(S(ds, "品名"), U("天ぷら定食"));
    EXPECT_EQ(F(ds, "Preço"), 44.9);  // from the modified version
    EXPECT_EQ(S(ds, "Observação"), U("Camarão e legumes"));  // kept from the first
    ds.Next();
    EXPECT_EQ(I(ds, "Código"), 3);
    EXPECT_EQ(S(ds, "Prato"), U("Lámen de missô"));
    EXPECT_TRUE(Nulo(ds, "Observação"));
}

// Fixtures without a change log are written back byte for byte.
TEST(AmostrasProprias, WriterReproducesFixturesWithoutChangeLog) {
    for (const char* nome : {"grupos.dat", "produtos.dat", "pedidos.dat", "reservas.dat", "eventos.dat"}) {
        TClientDataSet ds = CarregarFixture(QString::fromLatin1(nome));
        EXPECT_EQ(ds.SaveToBytes(), LerArquivo(Fixture(QString::fromLatin1(nome)))) << nome;
    }
}

// Change-log fixtures (and the plain XML one) written again: one record per
// current row, no change log, the same fields and rows when read back.
TEST(AmostrasProprias, ChangeLogAndXmlFixturesRoundTrip) {
    for (const char* nome : {"icones.dat", "estoque.dat", "cupom.dat", "produtos.xml"}) {
        TClientDataSet ds = CarregarFixture(QString::fromLatin1(nome));
        const QByteArray bytes = ds.SaveToBytes();
        EXPECT_EQ(Registros(bytes), static_cast<std::uint64_t>(ds.RecordCount())) << nome;
        TClientDataSet relido;
        relido.LoadFromBytes(bytes);
        ExpectMesmoConteudo(ds, relido);
        EXPECT_FALSE(relido.Params().Contains("CHANGE_LOG")) << nome;
    }
    TClientDataSet estoque = CarregarFixture("estoque.dat");
    TClientDataSet relido;
    relido.LoadFromBytes(estoque.SaveToBytes());
    EXPECT_EQ(relido.Params().Integer("AUTOINCVALUE"), 16);
}
