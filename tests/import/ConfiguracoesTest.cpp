// Store configuration: Config.dat into the FOOD_CONFIG rows of section
// "BISTREL".
#include <gtest/gtest.h>

#include "ApoioImportacao.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"

using namespace vesko;
using retaguarda::TPacoteRetaguarda;
using teste::AmbienteImportacao;

namespace {

const QString kImportacao = QStringLiteral("Importação");

// The fields every Config.dat must carry ("text" and "flag" rows), in the
// order of the key table.
struct TCampoObrigatorio {
    const char* Nome;
    bool Flag;
};
const TCampoObrigatorio kObrigatorios[] = {
    {"StTrabalhaClientes", true}, {"NmEmpresa", false}, {"DsEndereco", false}, {"NmBairro", false},
    {"NmCidade", false}, {"CdUF", false}, {"CdCep", false}, {"NrTelefone", false}, {"NrInscEst", false},
    {"NrInscMunicipal", false}, {"NrCGC", false}, {"CdEmpresa", false}, {"CdRegimeTributario", false},
    {"IdClientePadrao", false}, {"CNAE", false}, {"CFOP", false}, {"CFOP_ST", false}, {"CFOP_ISS", false},
    {"AmbienteNFCe", false}, {"TokenNFCe", false}, {"CodigoTokenNFCe", false}, {"StCalculaPISCOFINS", true},
    {"LimiteVendaNFCe", false}, {"ImpressaoDANFE_NFCe", false}, {"ArmazDanfeNFCeConting", false},
    {"LimiteVendaSemClienteNFCe", false}, {"TipoCertificado", false}, {"ExibirTelaDecreto", true},
    {"ExibeDescComplementarPDV", true}, {"StBalEtiq", true}, {"IdentUsuarioLogin", true},
    {"StSolicitaDadosCartao", true}, {"ValidaCliAvancada", true}, {"MesmoDiaEmissao", true},
    {"StImprimePromissoria", true}, {"TextoCabecalhoPromissoria", false}, {"TextoRodapePromissoria", false}};

// A Config.dat of the required fields only, with their names upper-cased
// (names match without regard to case), less `semCampo`; `extras` adds
// fields (name, type, value).
void GravarConfigMinimo(const QString& caminho, const QString& semCampo = QString(),
                        const QList<std::tuple<QString, TFieldType, QVariant>>& extras = {}) {
    TPacoteRetaguarda p;
    QVariantList linha;
    for (const TCampoObrigatorio& c : kObrigatorios) {
        const QString nome = QString::fromLatin1(c.Nome);
        if (nome == semCampo) continue;
        p.Campo(nome.toUpper(), c.Flag ? ftBoolean : ftString, 60);
        linha << (c.Flag ? QVariant(true) : QVariant(QStringLiteral("v-") + nome));
    }
    for (const auto& [nome, tipo, valor] : extras) {
        p.Campo(nome, tipo, tipo == ftString ? 60 : 0);
        linha << valor;
    }
    p.Linha(linha);
    p.Gravar(caminho);
}

// Runs SalvarConfiguracoes on a connected gateway, as the chain does.
bool SalvarConfiguracoes(AmbienteImportacao& amb, THintMemoria& hint, QString* resumo = nullptr) {
    TComunicacaoBancoBistrel g(kImportacao);
    if (!g.Conectar(amb.PrimeiraConexao)) return false;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    const bool ok = w.SalvarConfiguracoes(g);
    if (resumo) *resumo = w.ArquivosImportados();
    g.Desconectar();
    return ok;
}

QString Config(const AmbienteImportacao& amb, const QString& chave) {
    const QStringList l = amb.Linhas(
        QStringLiteral("SELECT DATA_VALUE FROM FOOD_CONFIG WHERE NAME = 'FOOD_CONFIG' AND SECTION = 'BISTREL' "
                       "AND IDENT = '%1'")
            .arg(chave));
    return l.isEmpty() ? QStringLiteral("<ausente>") : l.first();
}

void GravarConfig(const AmbienteImportacao& amb, const QString& chave, const QString& valor,
                  const QByteArray& memo = QByteArray()) {
    auto c = amb.Conexao();
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pIdent")).SetAsString(chave);
    p.CreateParam(ftString, QStringLiteral("pValor")).SetAsString(valor);
    p.CreateParam(ftBlob, QStringLiteral("pMemo")).SetAsBlob(memo);
    c->Executar(QStringLiteral("INSERT INTO FOOD_CONFIG (NAME, SECTION, IDENT, DATA_VALUE, MEMO) "
                               "VALUES ('FOOD_CONFIG', 'BISTREL', :pIdent, :pValor, :pMemo)"),
                &p);
}

QByteArray Logo(const AmbienteImportacao& amb) {
    auto c = amb.Conexao();
    auto q = c->Consultar(QStringLiteral("SELECT MEMO FROM FOOD_CONFIG WHERE IDENT = 'LogoEmpresaBinario'"));
    return q->IsEmpty() ? QByteArray() : q->Fields(0).AsBytes();
}

}  // namespace

TEST(Configuracoes, TheGeneratedFileWritesEveryKeyWithItsRenamedFieldsAndTheLogo) {
    AmbienteImportacao amb;
    retaguarda::GerarConfiguracoes(amb.Entrada(), {});
    THintMemoria hint;
    QString resumo;
    ASSERT_TRUE(SalvarConfiguracoes(amb, hint, &resumo));
    EXPECT_EQ(resumo, QStringLiteral("* Config.dat;\r\n"));
    EXPECT_EQ(hint.Historico(), (QStringList{QStringLiteral("Carregando arquivo de configurações..."),
                                             QStringLiteral("Importando arquivo de configurações..."),
                                             QStringLiteral("Salvando consigurações no banco de dados...")}));

    TClientDataSet ds;
    ds.LoadFromFile(amb.ArquivoEntrada(QStringLiteral("Config.dat")));
    EXPECT_EQ(Config(amb, QStringLiteral("NmEmpresa")), ds.FieldByName(QStringLiteral("NmEmpresa")).AsString());
    EXPECT_EQ(Config(amb, QStringLiteral("EnderecoEmpresa")), ds.FieldByName(QStringLiteral("DsEndereco")).AsString());
    EXPECT_EQ(Config(amb, QStringLiteral("CNPJEmpresa")), ds.FieldByName(QStringLiteral("NrCGC")).AsString());
    EXPECT_EQ(Config(amb, QStringLiteral("LimiteValorCompra")), QStringLiteral("30"));  // PercMedia
    EXPECT_EQ(Config(amb, QStringLiteral("ExibeDescComplementar")), QStringLiteral("1"));
    EXPECT_EQ(Config(amb, QStringLiteral("ExibeTelaEmailFinalVenda")), QStringLiteral("0"));
    EXPECT_EQ(Config(amb, QStringLiteral("DiaVencPadrao")), QStringLiteral("10"));
    EXPECT_EQ(Config(amb, QStringLiteral("VersaoNFCe")), QStringLiteral("4.00"));
    EXPECT_EQ(Config(amb, QStringLiteral("CFOP_ISS")), QStringLiteral("5933"));
    EXPECT_EQ(Config(amb, QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal")), QStringLiteral("2"));
    EXPECT_EQ(Config(amb, QStringLiteral("LogoEmpresaBinario")), QString());
    const QByteArray logo = Logo(amb);
    EXPECT_EQ(logo, ds.FieldByName(QStringLiteral("LogoEmpresaBinario")).AsBytes());
    EXPECT_TRUE(logo.startsWith("BM"));
    // 63 keys, the non-fiscal mode and the logo.
    EXPECT_EQ(amb.Contar(QStringLiteral("FOOD_CONFIG WHERE SECTION = 'BISTREL' AND IDENT <> 'VersaoIntegrador'")), 65);
}

TEST(Configuracoes, OptionalFieldsAbsentOrNullTakeTheirDefaults) {
    AmbienteImportacao amb;
    GravarConfigMinimo(amb.ArquivoEntrada(QStringLiteral("Config.dat")), QString(),
                       {{QStringLiteral("EditaQuantidade"), ftString, QVariant()},  // null
                        {QStringLiteral("percmedia"), ftFloat, 12.5}});
    THintMemoria hint;
    ASSERT_TRUE(SalvarConfiguracoes(amb, hint));
    const QList<std::pair<const char*, const char*>> esperados{
        {"VersaoNFCe", "3.10"},          {"EditaQuantidade", "S"},        {"DiaVencPadrao", "1"},
        {"ExibeTelaEmailFinalVenda", "1"}, {"SuprimirCentavos", "0"},     {"EnviarEmail", "0"},
        {"StRetaguarda", "0"},           {"StObrigaCadClienteComCPF", "1"}, {"StNFStock", "1"},
        {"PermiteContingenciaManual", "0"}, {"TpSomaCentavos", "0"},      {"NrDiasMaiorAtraso", "0"},
        {"ConfigEmail", ""},             {"StUtilizaLogo", "0"},          {"LimiteValorCompra", "12,5"},
        {"TrabalhaClientes", "1"},       {"NmEmpresa", "v-NmEmpresa"},    {"ExibeDescComplementar", "1"}};
    for (const auto& [chave, valor] : esperados)
        EXPECT_EQ(Config(amb, QString::fromLatin1(chave)), QString::fromLatin1(valor)) << chave;
    EXPECT_EQ(Config(amb, QStringLiteral("LogoEmpresaBinario")), QStringLiteral("<ausente>"));
}

TEST(Configuracoes, NonFiscalModeIsWrittenOnlyWhenEmptyAndTheOldLogoStaysWithoutANewOne) {
    AmbienteImportacao amb;
    GravarConfig(amb, QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal"), QStringLiteral("1"));
    GravarConfig(amb, QStringLiteral("LogoEmpresaBinario"), QString(), QByteArray("logo antigo"));
    GravarConfigMinimo(amb.ArquivoEntrada(QStringLiteral("Config.dat")), QString(),
                       {{QStringLiteral("LogoEmpresaBinario"), ftBlob, QVariant()}});  // null logo
    THintMemoria hint;
    ASSERT_TRUE(SalvarConfiguracoes(amb, hint));
    EXPECT_EQ(Config(amb, QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal")), QStringLiteral("1"));
    EXPECT_EQ(Logo(amb), QByteArray("logo antigo"));

    // An empty value counts as none; a new logo replaces the old one.
    {
        auto c = amb.Conexao();
        c->Executar(QStringLiteral("UPDATE FOOD_CONFIG SET DATA_VALUE = '' WHERE IDENT = 'TrabalhaSAT_NFCe_NaoFiscal'"));
    }
    const QByteArray novo("\x00\x01\xFFnovo logo", 12);
    GravarConfigMinimo(amb.ArquivoEntrada(QStringLiteral("Config.dat")), QString(),
                       {{QStringLiteral("logoempresabinario"), ftBlob, novo}});
    ASSERT_TRUE(SalvarConfiguracoes(amb, hint));
    EXPECT_EQ(Config(amb, QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal")), QStringLiteral("2"));
    EXPECT_EQ(Logo(amb), novo);
    EXPECT_EQ(Config(amb, QStringLiteral("LogoEmpresaBinario")), QString());
}

TEST(Configuracoes, ImportingTwiceLeavesOneRowPerKeyAndKeysNotInTheFileUntouched) {
    AmbienteImportacao amb;
    GravarConfig(amb, QStringLiteral("ChaveDaLoja"), QStringLiteral("mantida"));
    GravarConfig(amb, QStringLiteral("NmEmpresa"), QStringLiteral("Nome antigo"));
    retaguarda::GerarConfiguracoes(amb.Entrada(), {});
    THintMemoria hint;
    ASSERT_TRUE(SalvarConfiguracoes(amb, hint));
    const QString porChave = QStringLiteral("SELECT IDENT, DATA_VALUE FROM FOOD_CONFIG ORDER BY IDENT");
    const QStringList primeira = amb.Linhas(porChave);

    // The second store's file replaces every value, one row per key.
    retaguarda::TOpcoesGerador b;
    b.Variante = 1;
    retaguarda::GerarConfiguracoes(amb.Entrada(), b);
    ASSERT_TRUE(SalvarConfiguracoes(amb, hint));
    ASSERT_TRUE(SalvarConfiguracoes(amb, hint));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDENT FROM FOOD_CONFIG GROUP BY IDENT HAVING COUNT(*) > 1")),
              QStringList());
    const QStringList segunda = amb.Linhas(porChave);
    ASSERT_EQ(primeira.size(), segunda.size());
    QStringList iguais;
    for (int i = 0; i < primeira.size(); ++i)
        if (primeira[i] == segunda[i]) iguais << primeira[i].section(QLatin1Char('|'), 0, 0);
    // Only the key the file does not carry, the gateway's version, the
    // non-fiscal mode (kept once set) and the logo row (empty text; its
    // picture differs) keep their text.
    EXPECT_EQ(iguais, (QStringList{QStringLiteral("ChaveDaLoja"), QStringLiteral("LogoEmpresaBinario"),
                                   QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal"), QStringLiteral("VersaoIntegrador")}));
    EXPECT_NE(Logo(amb), QByteArray());
    EXPECT_EQ(Config(amb, QStringLiteral("ChaveDaLoja")), QStringLiteral("mantida"));
    EXPECT_EQ(Config(amb, QStringLiteral("NmEmpresa")), QStringLiteral("Cantina Bela Vista"));
}

TEST(Configuracoes, AMissingRequiredFieldRaisesAndTheStepCommitsNothing) {
    AmbienteImportacao amb;
    GravarConfig(amb, QStringLiteral("TrabalhaClientes"), QStringLiteral("antigo"));
    // The last "text" row: every write before it was made in the step's
    // transaction, which the gateway rolls back as it goes out of scope.
    GravarConfigMinimo(amb.ArquivoEntrada(QStringLiteral("Config.dat")), QStringLiteral("TextoRodapePromissoria"));
    THintMemoria hint;
    EXPECT_THROW(SalvarConfiguracoes(amb, hint), EDBClient);
    EXPECT_EQ(Config(amb, QStringLiteral("TrabalhaClientes")), QStringLiteral("antigo"));
    EXPECT_EQ(Config(amb, QStringLiteral("NmEmpresa")), QStringLiteral("<ausente>"));

    // A missing "flag" field raises the same way, midway through the keys.
    GravarConfigMinimo(amb.ArquivoEntrada(QStringLiteral("Config.dat")), QStringLiteral("StImprimePromissoria"));
    {
        TComunicacaoBancoBistrel g(kImportacao);
        ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao));
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        EXPECT_THROW(w.SalvarConfiguracoes(g), EDBClient);
        EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    }
    EXPECT_EQ(Config(amb, QStringLiteral("TrabalhaClientes")), QStringLiteral("antigo"));
    EXPECT_EQ(Config(amb, QStringLiteral("MesmoDiaEmissao")), QStringLiteral("<ausente>"));
}
