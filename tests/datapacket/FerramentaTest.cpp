// The vesko-dat tool, run as a program: exit codes, the JSON round trip of
// every fixture, CSV quoting, and the JSON form of every type.
#include "Comum.h"

#include <QJsonDocument>
#include <QProcess>

using namespace vesko;
using namespace vesko::teste;

namespace {

struct TSaida {
    int codigo = -1;
    QByteArray saida, erro;
};

TSaida VeskoDat(const QStringList& argumentos) {
    QProcess p;
    p.start(QStringLiteral(VESKO_DAT), argumentos);
    if (!p.waitForFinished(60000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(), p.readAllStandardError()};
}

}  // namespace

TEST(VeskoDat, ExitCodes) {
    PastaTemporaria pasta;
    GravarArquivo(pasta.Arquivo("lixo.dat"), "isto não é um pacote");
    EXPECT_EQ(VeskoDat({"check", Fixture("pedidos.dat")}).codigo, 0);
    EXPECT_EQ(VeskoDat({"check", Fixture("estoque.dat")}).codigo, 0);
    EXPECT_EQ(VeskoDat({"check", Fixture("cardapio-utf8.xml")}).codigo, 0);
    const TSaida ruim = VeskoDat({"check", pasta.Arquivo("lixo.dat")});
    EXPECT_EQ(ruim.codigo, 1);
    EXPECT_TRUE(QString::fromUtf8(ruim.erro).contains("não é um pacote de dados")) << ruim.erro.toStdString();
    EXPECT_EQ(VeskoDat({"dump", pasta.Arquivo("falta.dat")}).codigo, 1);
    EXPECT_EQ(VeskoDat({}).codigo, 2);
    EXPECT_EQ(VeskoDat({"check"}).codigo, 2);
    EXPECT_EQ(VeskoDat({"dump", Fixture("produtos.dat"), "--xml"}).codigo, 2);
    EXPECT_EQ(VeskoDat({"from-json", "só-um"}).codigo, 2);
    EXPECT_EQ(VeskoDat({"apagar", "x"}).codigo, 2);
}

TEST(VeskoDat, DumpTableAndCsv) {
    const TSaida tabela = VeskoDat({"dump", Fixture("produtos.dat")});
    ASSERT_EQ(tabela.codigo, 0);
    EXPECT_TRUE(tabela.saida.startsWith("10 campos, 8 registros\n"));
    EXPECT_TRUE(tabela.saida.contains("Água mineral – 500 ml")) << tabela.saida.toStdString();  // Windows-1252 shown as UTF-8

    const TSaida csv = VeskoDat({"dump", Fixture("produtos.dat"), "--csv"});
    ASSERT_EQ(csv.codigo, 0);
    EXPECT_TRUE(csv.saida.startsWith("Codigo,Descricao,Grupo,Unidade,Preco,Custo,PesoKg,Ativo,Cadastro,UltimaVenda\r\n"
                                     "1001,Pão de queijo,50,UN,4.5,1.85,0.05,true,2024-03-01,2026-12-05T18:42:10.250\r\n"
                                     "1002,Coxinha & catupiry,50,UN,7,2.4,0.12,true,2024-03-01,2026-12-06T12:05:00\r\n"))
        << csv.saida.toStdString();
    EXPECT_TRUE(csv.saida.endsWith("1008,Taxa de serviço (10%),-1,,0,0,,true,2024-03-01,\r\n")) << csv.saida.toStdString();

    // Quoting of commas, quotes and line breaks; UTF-8; nulls empty.
    PastaTemporaria pasta;
    TClientDataSet ds;
    ds.FieldDefs().Add("Texto", ftString, 40);
    ds.FieldDefs().Add("Nota", ftMemo);
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("Texto").SetAsString("Pão, \"francês\"");
    ds.FieldByName("Nota").SetAsString("a\r\nb");
    ds.Post();
    ds.Append();
    ds.Post();
    ds.SaveToFile(pasta.Arquivo("csv.dat"));
    EXPECT_EQ(VeskoDat({"dump", pasta.Arquivo("csv.dat"), "--csv"}).saida,
              QString::fromUtf8("Texto,Nota\r\n\"Pão, \"\"francês\"\"\",\"a\r\nb\"\r\n,\r\n").toUtf8());
}

// dump --json and from-json give back the same packet, for every fixture
// whose text Windows-1252 can hold.
TEST(VeskoDat, JsonRoundTripOfEveryFixture) {
    PastaTemporaria pasta;
    for (const char* nome : {"grupos.dat", "produtos.dat", "pedidos.dat", "reservas.dat", "eventos.dat", "icones.dat",
                             "estoque.dat", "cupom.dat", "produtos.xml"}) {
        const TSaida json = VeskoDat({"dump", Fixture(QString::fromLatin1(nome)), "--json"});
        ASSERT_EQ(json.codigo, 0) << nome << json.erro.toStdString();
        GravarArquivo(pasta.Arquivo("a.json"), json.saida);
        const TSaida volta = VeskoDat({"from-json", pasta.Arquivo("a.json"), pasta.Arquivo("a.dat")});
        ASSERT_EQ(volta.codigo, 0) << nome << volta.erro.toStdString();
        TClientDataSet original = CarregarFixture(QString::fromLatin1(nome));
        TClientDataSet refeito;
        refeito.LoadFromFile(pasta.Arquivo("a.dat"));
        ExpectMesmoConteudo(original, refeito);
        EXPECT_EQ(VeskoDat({"dump", pasta.Arquivo("a.dat"), "--json"}).saida, json.saida) << nome;
    }
}

TEST(VeskoDat, JsonFormOfEveryType) {
    const QByteArray doc = R"({
  "fields": [
    {"name": "s", "type": "string", "size": 300},
    {"name": "w", "type": "widestring", "size": 10},
    {"name": "i8", "type": "int8"}, {"name": "i16", "type": "int16"}, {"name": "i32", "type": "int32", "required": true},
    {"name": "i64", "type": "int64"}, {"name": "u8", "type": "uint8"}, {"name": "u16", "type": "uint16"},
    {"name": "u32", "type": "uint32"}, {"name": "ai", "type": "autoinc"}, {"name": "b", "type": "boolean"},
    {"name": "f", "type": "float"}, {"name": "c", "type": "currency"}, {"name": "d", "type": "date"},
    {"name": "t", "type": "time"}, {"name": "dt", "type": "datetime"}, {"name": "m", "type": "memo", "size": 30},
    {"name": "wm", "type": "widememo"}, {"name": "bl", "type": "blob"}, {"name": "g", "type": "graphic"}
  ],
  "rows": [
    {"s": "ação", "w": "テスト", "i8": -128, "i16": -32768, "i32": -2147483648, "i64": -9223372036854775808,
     "u8": 255, "u16": 65535, "u32": 4294967295, "ai": 7, "b": true, "f": -1.5e-300, "c": 12.34,
     "d": "1850-06-15", "t": "23:59:59.999", "dt": "2150-01-01T00:00:00", "m": "a\r\nb", "wm": "日本",
     "bl": "AAEC/w==", "g": "AQAAAQQAAABCTQEC"},
    {"s": "", "w": null, "i8": null, "i16": null, "i32": 0, "i64": null, "u8": null, "u16": null, "u32": null,
     "ai": 8, "b": false, "f": null, "c": null, "d": null, "t": "00:00:00", "dt": "1600-02-29T12:00:00.500",
     "m": null, "wm": null, "bl": null, "g": null}
  ]
})";
    PastaTemporaria pasta;
    GravarArquivo(pasta.Arquivo("tipos.json"), doc);
    const TSaida r = VeskoDat({"from-json", pasta.Arquivo("tipos.json"), pasta.Arquivo("tipos.dat")});
    ASSERT_EQ(r.codigo, 0) << r.erro.toStdString();
    const TSaida json = VeskoDat({"dump", pasta.Arquivo("tipos.dat"), "--json"});
    ASSERT_EQ(json.codigo, 0);
    EXPECT_EQ(QJsonDocument::fromJson(json.saida), QJsonDocument::fromJson(doc)) << json.saida.toStdString();
}

TEST(VeskoDat, FromJsonRefusals) {
    PastaTemporaria pasta;
    auto tentar = [&](const QByteArray& json) {
        GravarArquivo(pasta.Arquivo("x.json"), json);
        return VeskoDat({"from-json", pasta.Arquivo("x.json"), pasta.Arquivo("x.dat")});
    };
    TSaida r = tentar(R"({"fields": [{"name": "V", "type": "bcd", "precision": 10, "scale": 2}], "rows": [{"V": "1.50"}]})");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(QString::fromUtf8(r.erro).contains("ainda não grava")) << r.erro.toStdString();
    r = tentar(R"({"fields": [{"name": "V", "type": "bcd", "precision": 10, "scale": 2}], "rows": []})");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_FALSE(QFile::exists(pasta.Arquivo("x.dat")));
    r = tentar("{\"fields\": [");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(QString::fromUtf8(r.erro).contains("JSON inválido"));
    r = tentar(R"({"fields": [{"name": "A", "type": "int32"}], "rows": [{"A": "x"}]})");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(QString::fromUtf8(r.erro).contains("linha 1, campo 'A': esperado um número inteiro")) << r.erro.toStdString();
    r = tentar(R"({"fields": [{"name": "A", "type": "int128"}]})");
    EXPECT_TRUE(QString::fromUtf8(r.erro).contains("tipo desconhecido \"int128\"")) << r.erro.toStdString();
    r = tentar(R"({"fields": [{"name": "A", "type": "int16"}], "rows": [{"B": 1}]})");
    EXPECT_TRUE(QString::fromUtf8(r.erro).contains("campo desconhecido 'B'")) << r.erro.toStdString();
}
