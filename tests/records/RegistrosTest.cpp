// The three export records byte by byte: sizes, cleared state, every field at
// the offset and width the back office reads, little-endian numbers, short
// strings cut to their width with "?" for characters outside Windows-1252,
// and the regional number, date and time texts.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <cstring>
#include <map>
#include <string>

#include "base/Excecoes.h"
#include "records/ClienteExportacaoRec.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"

using namespace vesko;

namespace {

struct Esperado {
    int Offset;
    int Largura;  // characters of a short string; 0 for other kinds
};

// The layout as the back office reads it, written out independently of the
// record classes.
const std::map<std::string, Esperado> kItem = {
    {"NrItem", {0, 0}},         {"IdProduto", {4, 40}},       {"IdDetalhe", {45, 40}},
    {"CdProduto", {86, 20}},    {"DsProduto", {107, 100}},    {"QtdeProduto", {208, 20}},
    {"VlUnitario", {229, 20}},  {"VlDescontoItem", {250, 20}}, {"VlAcrescimoItem", {271, 20}},
    {"VlTotalProduto", {334, 20}}, {"TipoTributacao", {355, 0}}, {"AlTributacao", {356, 20}},
    {"Unidade", {377, 3}},      {"TemVendedor", {382, 0}},    {"IdVendedor", {383, 40}},
    {"CdSitTrib", {794, 3}},    {"NaturezaOperacao", {844, 0}}, {"ObsItem", {890, 200}},
    {"TemObservacao", {1091, 0}}, {"AlCargaTributaria", {1133, 5}}, {"StPesado", {1140, 0}},
    {"OrigemMercadoria", {1141, 1}}, {"Csosn", {1143, 3}},    {"Ncm", {1147, 20}},
    {"AlCtFedNac", {1168, 0}},  {"AlCtFedImp", {1172, 0}},    {"AlCtEst", {1176, 0}},
    {"AlCtMun", {1180, 0}},     {"Cest", {1188, 7}},          {"AlPis", {1196, 20}},
    {"AlCofins", {1217, 20}},   {"CdSitTribCofins", {1238, 2}}, {"CdSitTribPis", {1241, 2}},
    {"IndicadorItem", {1244, 0}}, {"Cfop", {1245, 4}},        {"MarcaFormato", {1444, 7}},
};

const std::map<std::string, Esperado> kCliente = {
    {"IdCliente", {0, 50}},     {"CpfCnpj", {102, 18}},      {"Nome", {121, 100}},
    {"Logradouro", {222, 100}}, {"Numero", {323, 20}},       {"Complemento", {344, 50}},
    {"NrTelefone", {395, 20}},  {"NmCidade", {416, 50}},     {"NmBairro", {467, 50}},
    {"CdUf", {518, 2}},         {"CdCep", {521, 8}},         {"Email", {561, 60}},
    {"DtNascimento", {622, 10}}, {"AlteracaoCadastro", {633, 0}}, {"IdMunicipio", {634, 5}},
    {"NrCelular", {640, 20}},   {"DataHoraAlteracao", {661, 20}},
};

// The header offsets the export and the back office read.
const std::map<std::string, Esperado> kHeader = {
    {"TipoRegistro", {0, 0}},   {"IpTerminal", {8, 71}},     {"DataFechamento", {80, 10}},
    {"HoraFechamento", {91, 8}}, {"CdEmpresa", {100, 20}},   {"NrModeloNf", {681, 2}},
    {"NrOrdem", {684, 20}},     {"NrSerie", {705, 10}},      {"TerminalGuid", {856, 60}},
};

void ConferirLayout(const std::vector<TDescricaoCampo>& campos, int tamanho, const std::map<std::string, Esperado>& esperado,
                    bool todos) {
    std::map<std::string, const TDescricaoCampo*> porNome;
    int fim = 0;
    for (const TDescricaoCampo& c : campos) {
        porNome[c.Nome] = &c;
        EXPECT_GE(c.Offset, fim) << c.Nome << " overlaps the field before it";
        fim = c.Offset + c.Bytes;
        EXPECT_LE(fim, tamanho) << c.Nome;
    }
    for (const auto& [nome, e] : esperado) {
        ASSERT_TRUE(porNome.count(nome)) << nome;
        EXPECT_EQ(porNome[nome]->Offset, e.Offset) << nome;
        EXPECT_EQ(porNome[nome]->Largura, e.Largura) << nome;
    }
    if (todos) {
        EXPECT_EQ(campos.size(), esperado.size());
    }
}

QByteArray Trecho(const TRegistroFixo& r, int offset, int n) { return r.Bytes().mid(offset, n); }

QByteArray TextoCurto(const QByteArray& cp1252) { return char(cp1252.size()) + cp1252; }

}  // namespace

TEST(Registros, TamanhosEEstadoLimpo) {
    TVendaHeader h;
    TVendaItemRec i;
    TClienteExportacaoRec c;
    ASSERT_EQ(h.Bytes().size(), 14944);
    ASSERT_EQ(i.Bytes().size(), 1452);
    ASSERT_EQ(c.Bytes().size(), 1074);

    // Every byte zero but the format mark: 7 "CORVANE" in the last 8 bytes.
    const QByteArray marca = QByteArray("\x07" "CORVANE", 8);
    EXPECT_EQ(h.Bytes(), QByteArray(14936, '\0') + marca);
    EXPECT_EQ(i.Bytes(), QByteArray(1444, '\0') + marca);
    EXPECT_EQ(c.Bytes(), QByteArray(1074, '\0'));

    // Clearing a filled record gives the same bytes back.
    i.Definir(TVendaItemRec::DsProduto, QStringLiteral("X-Burguer"));
    i.Definir(TVendaItemRec::NrItem, 3);
    ClearVendaItemRecord(i);
    EXPECT_EQ(i.Bytes(), TVendaItemRec().Bytes());
    h.Definir(TVendaHeader::IpTerminal, QStringLiteral("CAIXA01"));
    h.Definir(TVendaHeader::Observacao, QString(900, u'o'));
    ClearVendaHeader(h);
    EXPECT_EQ(h.Bytes(), TVendaHeader().Bytes());
    c.Definir(TClienteExportacaoRec::AlteracaoCadastro, true);
    ClearClienteExportacaoRec(c);
    EXPECT_EQ(c.Bytes(), QByteArray(1074, '\0'));
}

TEST(Registros, CamposNosOffsetsELargurasCombinados) {
    ConferirLayout(TVendaItemRec::Campos(), 1452, kItem, true);
    ConferirLayout(TClienteExportacaoRec::Campos(), 1074, kCliente, true);
    ConferirLayout(TVendaHeader::Campos(), 14944, kHeader, false);
    // Payment entries fit their slot, and the slots sit between the
    // header's fields and its format mark.
    ConferirLayout(TVendaHeader::CamposRecebimento(), TVendaHeader::TamanhoRecebimento, {}, false);
    const int fimUltimoCampo = TVendaHeader::Observacao.Offset + TVendaHeader::Observacao.Largura + 2;
    EXPECT_GE(TVendaHeader::InicioRecebimentos, fimUltimoCampo);
    EXPECT_LE(TVendaHeader::InicioRecebimentos + TVendaHeader::MaxRecebimentos * TVendaHeader::TamanhoRecebimento,
              TVendaHeader::MarcaFormato.Offset);
    EXPECT_EQ(TVendaHeader::NoRecebimento(2, TVendaHeader::RecVlRecebido).Offset, 2000 + 2 * 256 + 176);
    EXPECT_THROW(TVendaHeader::NoRecebimento(40, TVendaHeader::RecVlRecebido), EArgumentException);
    EXPECT_THROW(TVendaHeader::NoRecebimento(-1, TVendaHeader::RecVlRecebido), EArgumentException);
}

TEST(Registros, BytesDoItemNosOffsets) {
    TVendaItemRec i;
    i.Definir(TVendaItemRec::NrItem, 0x01020304);
    i.Definir(TVendaItemRec::IdProduto, QStringLiteral("10"));
    i.Definir(TVendaItemRec::QtdeProduto, TextoNumeroRegional(1.5));
    i.Definir(TVendaItemRec::TipoTributacao, GetTipoTributacao(QStringLiteral("S")));
    i.Definir(TVendaItemRec::TemVendedor, true);
    i.Definir(TVendaItemRec::NaturezaOperacao, -2);
    i.Definir(TVendaItemRec::AlCtFedNac, 1.5f);
    i.Definir(TVendaItemRec::IndicadorItem, 1);
    i.Definir(TVendaItemRec::Cfop, QStringLiteral("5102"));
    const QByteArray& b = i.Bytes();
    EXPECT_EQ(Trecho(i, 0, 4), QByteArray("\x04\x03\x02\x01", 4));
    EXPECT_EQ(Trecho(i, 4, 4), QByteArray("\x02" "10\0", 4));
    EXPECT_EQ(Trecho(i, 208, 5), QByteArray("\x03" "1,5\0", 5));
    EXPECT_EQ(b[355], 1);
    EXPECT_EQ(b[382], 1);
    EXPECT_EQ(Trecho(i, 844, 4), QByteArray("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(Trecho(i, 1168, 4), QByteArray("\x00\x00\xC0\x3F", 4));  // 1.5f
    EXPECT_EQ(b[1244], 1);
    EXPECT_EQ(Trecho(i, 1245, 5), QByteArray("\x04" "5102", 5));
    EXPECT_EQ(i.Valor(TVendaItemRec::AlCtFedNac), 1.5f);
    EXPECT_EQ(i.Valor(TVendaItemRec::NaturezaOperacao), -2);
}

TEST(Registros, TextoCurtoCortadoNaLarguraEForaDoCp1252ViraInterrogacao) {
    TVendaItemRec i;
    // 250 characters into the observation of 200: the first 200, and the
    // next field (its flag at 1091) untouched.
    QString obs;
    for (int k = 0; k < 250; ++k) obs += QChar(u'a' + k % 26);
    i.Definir(TVendaItemRec::ObsItem, obs);
    EXPECT_EQ(static_cast<quint8>(i.Bytes()[890]), 200);
    EXPECT_EQ(i.Valor(TVendaItemRec::ObsItem), obs.left(200));
    EXPECT_EQ(i.Bytes()[1091], 0);

    // Windows-1252 bytes for accents and the euro sign; "?" for a character
    // the code page lacks, one "?" for a character outside the BMP.
    i.Definir(TVendaItemRec::DsProduto, QStringLiteral("Café €5 ☕ x") + QString::fromUtf8("\xF0\x9F\x8D\x94"));
    EXPECT_EQ(Trecho(i, 107, 13), TextoCurto(QByteArray("Caf\xE9 \x80" "5 ? x?")));
    EXPECT_EQ(i.Valor(TVendaItemRec::DsProduto), QStringLiteral("Café €5 ? x?"));

    // A shorter text over a longer one leaves no trace of the old one.
    TClienteExportacaoRec c;
    c.Definir(TClienteExportacaoRec::Nome, QStringLiteral("Maria Aparecida"));
    c.Definir(TClienteExportacaoRec::Nome, QStringLiteral("Ana"));
    EXPECT_EQ(Trecho(c, 121, 101), TextoCurto("Ana") + QByteArray(97, '\0'));
    // The header's terminal: 71 characters at most, the date at 80 untouched.
    TVendaHeader h;
    h.Definir(TVendaHeader::IpTerminal, QString(80, u'T'));
    EXPECT_EQ(Trecho(h, 8, 72), char(71) + QByteArray(71, 'T'));
    EXPECT_EQ(h.Bytes()[80], 0);
}

TEST(Registros, BytesDoClienteEDoCabecalho) {
    TClienteExportacaoRec c;
    c.Definir(TClienteExportacaoRec::IdCliente, QStringLiteral("C-77"));
    c.Definir(TClienteExportacaoRec::CdCep, QStringLiteral("12345678"));
    c.Definir(TClienteExportacaoRec::AlteracaoCadastro, true);
    c.Definir(TClienteExportacaoRec::DataHoraAlteracao, QStringLiteral("08/12/2026 14:30:05"));
    EXPECT_EQ(Trecho(c, 0, 5), TextoCurto("C-77"));
    EXPECT_EQ(Trecho(c, 521, 9), TextoCurto("12345678"));
    EXPECT_EQ(c.Bytes()[633], 1);
    EXPECT_EQ(Trecho(c, 661, 20), TextoCurto("08/12/2026 14:30:05"));
    // No birth date: bytes 622 to 632 stay zero.
    EXPECT_EQ(Trecho(c, 622, 11), QByteArray(11, '\0'));

    TVendaHeader h;
    h.Definir(TVendaHeader::DataFechamento, QStringLiteral("08/12/2026"));
    h.Definir(TVendaHeader::HoraFechamento, QStringLiteral("14:30:05"));
    h.Definir(TVendaHeader::CdEmpresa, QStringLiteral("0001"));
    h.Definir(TVendaHeader::NrModeloNf, QStringLiteral("65"));
    h.Definir(TVendaHeader::NrOrdem, QStringLiteral("1234"));
    h.Definir(TVendaHeader::NrSerie, QStringLiteral("1"));
    h.Definir(TVendaHeader::TerminalGuid, QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"));
    h.Definir(TVendaHeader::VlMovimento, 12.345);
    EXPECT_EQ(Trecho(h, 80, 11), TextoCurto("08/12/2026"));
    EXPECT_EQ(Trecho(h, 91, 9), TextoCurto("14:30:05"));
    EXPECT_EQ(Trecho(h, 100, 5), TextoCurto("0001"));
    EXPECT_EQ(Trecho(h, 681, 3), TextoCurto("65"));
    EXPECT_EQ(Trecho(h, 684, 5), TextoCurto("1234"));
    EXPECT_EQ(Trecho(h, 705, 2), TextoCurto("1"));
    EXPECT_EQ(Trecho(h, 856, 39), TextoCurto("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"));
    // Money as a 64-bit count of ten-thousandths: 123450 = 0x1E23A.
    EXPECT_EQ(Trecho(h, 304, 8), QByteArray("\x3A\xE2\x01\0\0\0\0\0", 8));
    EXPECT_DOUBLE_EQ(h.Valor(TVendaHeader::VlMovimento), 12.345);
    EXPECT_THROW(h.Definir(TVendaHeader::VlMovimento, 1e300), EConvertError);
}

TEST(Registros, TextosNumericosRegionais) {
    // Brazilian settings (the test program's default).
    EXPECT_EQ(TextoNumeroRegional(12.5), QStringLiteral("12,5"));
    EXPECT_EQ(TextoNumeroRegional(3), QStringLiteral("3"));
    EXPECT_EQ(TextoNumeroRegional(0.1), QStringLiteral("0,1"));
    EXPECT_EQ(TextoNumeroRegional(1234567.89), QStringLiteral("1234567,89"));  // no thousands separator
    EXPECT_EQ(TextoNumeroRegional(-2.25), QStringLiteral("-2,25"));
    EXPECT_EQ(TextoNumeroRegional(-0.0), QStringLiteral("0"));
    EXPECT_EQ(TextoNumeroRegional(0.0000001), QStringLiteral("0,0000001"));  // never an exponent

    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TextoNumeroRegional(1234.5), QStringLiteral("1234.5"));
    QLocale::setDefault(antes);
}

TEST(Registros, TipoDeTributacao) {
    EXPECT_EQ(GetTipoTributacao(QStringLiteral("T")), 0);
    EXPECT_EQ(GetTipoTributacao(QStringLiteral("s")), 1);
    EXPECT_EQ(GetTipoTributacao(QStringLiteral("Isento")), 2);
    EXPECT_EQ(GetTipoTributacao(QStringLiteral("n")), 3);
    EXPECT_EQ(GetTipoTributacao(QString()), 0);
    EXPECT_EQ(GetTipoTributacao(QStringLiteral("   ")), 0);
    EXPECT_EQ(GetTipoTributacao(QStringLiteral("F")), 0);
}

TEST(Registros, DatasEHorasComOsSeparadoresRegionais) {
    const QDate d(2026, 12, 8);
    const QTime t(9, 5, 7);
    EXPECT_EQ(TextoDataRegional(d), QStringLiteral("08/12/2026"));
    EXPECT_EQ(TextoHoraRegional(t), QStringLiteral("09:05:07"));
    EXPECT_EQ(TextoDataHoraRegional(QDateTime(d, t)), QStringLiteral("08/12/2026 09:05:07"));
    EXPECT_EQ(LerDataRegional(QStringLiteral("08/12/2026")), d);
    EXPECT_EQ(LerHoraRegional(QStringLiteral("09:05:07")), t);
    EXPECT_FALSE(LerDataRegional(QStringLiteral("")).isValid());
    EXPECT_FALSE(LerDataRegional(QStringLiteral("31/02/2026")).isValid());
    EXPECT_FALSE(LerHoraRegional(QStringLiteral("25:00:00")).isValid());

    // Other settings: their separators, always day first and four-digit
    // years, and what is written reads back the same.
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TextoDataRegional(d), QStringLiteral("08.12.2026"));
    EXPECT_EQ(LerDataRegional(TextoDataRegional(d)), d);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TextoDataRegional(d), QStringLiteral("08/12/2026"));
    EXPECT_EQ(LerDataRegional(TextoDataRegional(d)), d);
    EXPECT_EQ(LerHoraRegional(TextoHoraRegional(QTime(23, 59, 59))), QTime(23, 59, 59));
    QLocale::setDefault(antes);
}

// docs/registros-exportacao.md gives every field with its offset and size,
// in the section of its record.
TEST(Registros, DocumentacaoDescreveCadaCampo) {
    QFile f(QStringLiteral(VESKO_SOURCE_DIR "/docs/registros-exportacao.md"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString doc = QString::fromUtf8(f.readAll());
    const auto secao = [&](const QString& titulo) {
        const qsizetype i = doc.indexOf(QStringLiteral("\n## `") + titulo + QLatin1Char('`'));
        const qsizetype fim = doc.indexOf(QStringLiteral("\n## "), i + 1);
        return i < 0 ? QString() : doc.mid(i, fim < 0 ? -1 : fim - i);
    };
    const auto conferir = [&](const QString& texto, const std::vector<TDescricaoCampo>& campos, const char* registro) {
        ASSERT_FALSE(texto.isEmpty()) << registro;
        for (const TDescricaoCampo& c : campos) {
            const QRegularExpression linha(QStringLiteral("\\n\\| %1 \\| %2 \\| [^|]+ \\| %3 \\|")
                                               .arg(c.Offset).arg(c.Bytes).arg(QLatin1String(c.Nome)));
            EXPECT_TRUE(linha.match(texto).hasMatch()) << registro << " " << c.Nome;
        }
    };
    conferir(secao(QStringLiteral("TVendaHeader")), TVendaHeader::Campos(), "TVendaHeader");
    conferir(secao(QStringLiteral("TVendaHeader")), TVendaHeader::CamposRecebimento(), "TVendaHeader");
    conferir(secao(QStringLiteral("TVendaItemRec")), TVendaItemRec::Campos(), "TVendaItemRec");
    conferir(secao(QStringLiteral("TClienteExportacaoRec")), TClienteExportacaoRec::Campos(), "TClienteExportacaoRec");
}
