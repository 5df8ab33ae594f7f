// Bad input: each fault gives one EDBClient with a clear Portuguese message,
// never a crash, never another exception type.
#include "Comum.h"
#include "fuzz/Exercitar.h"

#include "base/Excecoes.h"

#include <QDir>
#include <QDirIterator>
#include <random>

using namespace vesko;
using namespace vesko::teste;

namespace {

// The message of the EDBClient that loading raises; "" when it loads.
QString Erro(const QByteArray& bytes) {
    try {
        TClientDataSet ds;
        ds.LoadFromBytes(bytes);
        return {};
    } catch (const EDBClient& e) {
        return e.Mensagem();
    }
}

#define EXPECT_ERRO(bytes, trecho)                                                     \
    do {                                                                               \
        const QString m_ = Erro(bytes);                                                \
        EXPECT_TRUE(m_.contains(QString::fromUtf8(trecho))) << "mensagem: " << m_.toStdString(); \
    } while (0)

// A packet with one string field and the given record bytes.
QByteArray UmCampo(std::uint32_t tipo, const QByteArray& registro, QList<QByteArray> params = {}) {
    TPacoteManual p;
    p.Campo("A", tipo, std::move(params));
    if (!registro.isNull()) p.Registro(registro);
    return p.Bytes();
}

}  // namespace

TEST(Hostil, NotAPacket) {
    EXPECT_ERRO(QByteArray(), "não é um pacote de dados");
    EXPECT_ERRO(QByteArray("PK\x03\x04 qualquer coisa"), "não é um pacote de dados");
    QByteArray b = LerArquivo(Fixture("grupos.dat"));
    b[0] = 0x00;
    EXPECT_ERRO(b, "não é um pacote de dados");
    EXPECT_ERRO(QByteArray("<html><body/></html>"), "não é um pacote de dados");
}

TEST(Hostil, EveryTruncationOfAFixtureIsOneClearError) {
    for (const char* nome : {"produtos.dat", "cupom.dat", "icones.dat", "estoque.dat"}) {
        const QByteArray b = LerArquivo(Fixture(QString::fromLatin1(nome)));
        for (qsizetype n = 4; n < b.size(); ++n) {
            const QString m = Erro(b.left(n));
            ASSERT_FALSE(m.isEmpty()) << nome << " cortado em " << n;
            if (n >= 24) {
                ASSERT_TRUE(m.startsWith(QStringLiteral("arquivo truncado no byte %1").arg(n)) || m.contains(u"registros"))
                    << nome << " cortado em " << n << ": " << m.toStdString();
            }
        }
    }
    EXPECT_EQ(Erro(LerArquivo(Fixture("produtos.dat")).left(650)),
              "arquivo truncado no byte 650 (registro 6, campo 'Preco')");
}

TEST(Hostil, HeaderFaults) {
    QByteArray b = LerArquivo(Fixture("grupos.dat"));
    QByteArray v = b;
    v[4] = 4;
    EXPECT_ERRO(v, "versão 4.0 do pacote não suportada");
    v = b;
    v[8] = 5;
    EXPECT_ERRO(v, "tamanho de cabeçalho inválido (5)");
    v = b;
    v[12] = 0;
    EXPECT_ERRO(v, "o pacote não define nenhum campo");
    v = b;
    v.replace(14, 4, LE(4, 0xFFFFFFFFu));
    EXPECT_ERRO(v, "o cabeçalho declara 4294967295 registros, mais do que cabe no arquivo");
    v = b;
    v[22] = 0x70;
    EXPECT_ERRO(v, "início dos registros (byte 112) não confere com o fim dos campos (byte 107)");
    EXPECT_ERRO(b + "xyz", "3 bytes a mais depois do último registro, a partir do byte 251");
    v = b;
    v[12] = 9;  // more descriptors than there are
    EXPECT_FALSE(Erro(v).isEmpty());
}

TEST(Hostil, DescriptorAndParameterFaults) {
    EXPECT_ERRO(UmCampo(0x00130004, {}), "tipo de campo desconhecido (0x00130004) no campo 'A', byte 26");
    EXPECT_ERRO(UmCampo(0x010C0001, {}), "tipo composto");
    EXPECT_ERRO(UmCampo(0x00490003, {}), "tipo de campo inválido (0x00490003)");
    EXPECT_ERRO(UmCampo(0x00010003, {}), "tipo de campo inválido");

    TPacoteManual semNome;
    semNome.Campo("", 0x00010004);
    EXPECT_ERRO(semNome.Bytes(), "nome de campo vazio no byte 24");
    EXPECT_ERRO(UmCampo(0x00010004, {}, {TPacoteManual::Param("", 0x00010004, LE(4, 1))}), "nome de parâmetro vazio no byte 34");
    EXPECT_ERRO(UmCampo(0x00010004, {}, {TPacoteManual::Param("X", 0x00490003, LE(3, 1))}), "tipo de parâmetro inválido");
    EXPECT_ERRO(UmCampo(0x00010004, {}, {TPacoteManual::Param("X", 0x00820002, LE(4, 0x7FFFFFFF))}), "arquivo truncado no byte");
    EXPECT_ERRO(UmCampo(0x00010004, {}, {TPacoteManual::Param("X", 0x00490002, LE(2, 0xFFFF))}), "arquivo truncado no byte");

    TPacoteManual aninhado;
    aninhado.maior = 2;
    aninhado.Campo("T", 0x050E0009).Campo("B", 0x00010004).Bruto(LE(2, 0));
    aninhado.descritores = 2;
    EXPECT_ERRO(aninhado.Bytes(), "a tabela aninhada 'T' declara 9 campos, mais do que o pacote tem");

    TPacoteManual fundo;  // 17 nested levels
    for (int i = 0; i < 17; ++i) fundo.Campo("N", 0x050E0000 | static_cast<std::uint32_t>(17 - i));
    fundo.Campo("Folha", 0x00010004);
    for (int i = 0; i < 17; ++i) fundo.Bruto(LE(2, 0));
    fundo.descritores = 18;
    EXPECT_ERRO(fundo.Bytes(), "tabelas aninhadas em mais de 16 níveis");
}

TEST(Hostil, ValueLengthsPastTheEnd) {
    EXPECT_ERRO(UmCampo(0x00490002, LE(1, 0) + LE(1, 0) + LE(2, 0xFFFF) + "abc"), "arquivo truncado no byte 43 (registro 1, campo 'A')");
    EXPECT_ERRO(UmCampo(0x004B0004, LE(1, 0) + LE(1, 0) + LE(4, 0x7FFFFFFF)), "arquivo truncado no byte");
    EXPECT_ERRO(UmCampo(0x004B0004, LE(1, 0) + LE(1, 0) + LE(4, 0xFFFFFFFFu)), "valor não incluído no arquivo no byte 38");

    TPacoteManual linhas;
    linhas.maior = 2;
    linhas.Campo("T", 0x050E0001).Campo("B", 0x00010004).Bruto(LE(2, 0));
    linhas.descritores = 2;
    linhas.Registro(LE(1, 0) + LE(1, 0) + LE(4, 0x10000000));
    EXPECT_ERRO(linhas.Bytes(), "contagem de linhas aninhadas (268435456) além do fim do arquivo");
}

TEST(Hostil, BrokenChangeLog) {
    auto comLog = [](const QList<std::uint32_t>& log, int registros) {
        TPacoteManual p;
        p.Campo("A", 0x00010004);
        QByteArray v = LE(4, static_cast<std::uint64_t>(log.size()));
        for (std::uint32_t x : log) v += LE(4, x);
        p.ParametroDoPacote(TPacoteManual::Param("CHANGE_LOG", 0x00820004, v));
        for (int i = 0; i < registros; ++i) p.Registro(LE(1, 4) + LE(1, 0) + LE(4, static_cast<std::uint64_t>(i)));
        return p.Bytes();
    };
    EXPECT_ERRO(comLog({1, 0}, 1), "registro de alterações (CHANGE_LOG) inválido: 2 números, que não formam trios");
    EXPECT_ERRO(comLog({5, 0, 4}, 1), "aponta para o registro 5, que não existe");
    EXPECT_ERRO(comLog({2, 9, 8}, 2), "aponta para o registro 9, que não existe");
    EXPECT_ERRO(comLog({1, 2, 8, 2, 1, 8}, 2), "circular");
    EXPECT_ERRO(comLog({2, 1, 8, 3, 1, 8}, 3), "aparece em duas cadeias");
    EXPECT_EQ(Erro(comLog({1, 0, 4, 2, 1, 8}, 2)), "");
}

TEST(Hostil, XmlFaults) {
    const QByteArray inicio = "<?xml version=\"1.0\" standalone=\"yes\"?>  ";
    EXPECT_ERRO(inicio + "<DATAPACKET Version=\"2.0\"><METADATA>", "XML inválido");
    EXPECT_ERRO(inicio + "<OUTRO/>", "XML inválido: não é um pacote de dados");
    const QByteArray campos = "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"%1\"/></FIELDS><PARAMS/></METADATA><ROWDATA>";
    auto pacote = [&](const char* tipo, const QByteArray& linhas) {
        return inicio + QByteArray(campos).replace("%1", tipo) + linhas + "</ROWDATA></DATAPACKET>";
    };
    EXPECT_ERRO(pacote("i9", ""), "tipo de campo desconhecido 'i9' no campo 'A'");
    EXPECT_ERRO(pacote("i4", "<ROW A=\"doze\"/>"), "valor inválido 'doze' no campo 'A' (linha 1)");
    EXPECT_ERRO(pacote("i2", "<ROW A=\"70000\"/>"), "fora da faixa");
    EXPECT_ERRO(pacote("bin.hex", "<ROW A=\"***\"/>"), "valor inválido '***'");
    EXPECT_ERRO(pacote("date", "<ROW A=\"20241399\"/>"), "valor inválido '20241399'");
    EXPECT_ERRO(pacote("i4", "<ROW RowState=\"x\" A=\"1\"/>"), "RowState inválido");
    EXPECT_EQ(Erro(pacote("time", "<ROW A=\"23:59:59999\"/>")), "");
}

// Bytes that describe impossible values load, and reading such a value
// raises EConvertError, not garbage.
TEST(Hostil, ImpossibleValuesRaiseOnRead) {
    TPacoteManual p;
    p.Campo("Hora", 0x00070004).Campo("Momento", 0x00080008).Campo("Bcd", 0x00050003);
    QByteArray bcd(18, '\0');
    bcd[0] = 2;
    bcd[2] = static_cast<char>(0xAF);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    p.Registro(LE(1, 0) + LE(1, 0) + LE(4, 90000000) + QByteArray(reinterpret_cast<const char*>(&nan), 8) + bcd);
    TClientDataSet ds;
    ds.LoadFromBytes(p.Bytes());
    EXPECT_THROW(ds.FieldByName("Hora").AsTime(), EConvertError);
    EXPECT_THROW(ds.FieldByName("Momento").AsString(), EConvertError);
    EXPECT_THROW(ds.FieldByName("Bcd").AsString(), EConvertError);
}

// Random damage to every fixture: only our exceptions, and what we write we read.
TEST(Hostil, RandomDamageToFixtures) {
    std::mt19937 gerador(20261207);
    const QStringList nomes =
        QDir(QStringLiteral(DIR_FIXTURES)).entryList({QStringLiteral("*.dat"), QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    ASSERT_GE(nomes.size(), 10);
    for (const QString& nome : nomes) {
        const QByteArray original = LerArquivo(Fixture(nome));
        for (int i = 0; i < 300; ++i) {
            QByteArray b = original;
            const int golpes = 1 + static_cast<int>(gerador() % 4);
            for (int g = 0; g < golpes && !b.isEmpty(); ++g) {
                const auto pos = static_cast<qsizetype>(gerador() % static_cast<std::uint32_t>(b.size()));
                switch (gerador() % 4) {
                case 0: b[pos] = static_cast<char>(gerador()); break;
                case 1: b[pos] = static_cast<char>(b[pos] ^ (1 << (gerador() % 8))); break;
                case 2: b.remove(pos, 1 + static_cast<qsizetype>(gerador() % 8)); break;
                case 3: b.insert(pos, QByteArray(1 + static_cast<qsizetype>(gerador() % 4), static_cast<char>(0xFF))); break;
                }
            }
            const QString falha = ExercitarPacote(b);
            ASSERT_TRUE(falha.isEmpty()) << nome.toStdString() << " #" << i << ": " << falha.toStdString();
        }
    }
}

// Inputs kept from fuzzing runs and hand-made hostile files.
TEST(Hostil, RegressionInputs) {
    int n = 0;
    QDirIterator it(QStringLiteral(DIR_REGRESSAO), QDir::Files);
    while (it.hasNext()) {
        const QString arquivo = it.next();
        const QString falha = ExercitarPacote(LerArquivo(arquivo));
        EXPECT_TRUE(falha.isEmpty()) << arquivo.toStdString() << ": " << falha.toStdString();
        ++n;
    }
    EXPECT_GT(n, 0);
}
