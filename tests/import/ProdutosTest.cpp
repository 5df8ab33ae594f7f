// Product groups, products with their pictures, and product codes (steps 8
// and 10), on a real embedded POS database and real data files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QMap>
#include <optional>

#include "ApoioImportacao.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"
#include "resources/RecursosImportacao.h"

using namespace vesko;
using retaguarda::TPacoteRetaguarda;
using teste::AmbienteImportacao;

namespace {

const QString kImportacao = QStringLiteral("Importação");

// One product of Produtos.dat: every field with a plain value, any of which
// a case overrides.
using TProduto = QMap<QString, QVariant>;

struct TCampoProduto {
    const char* Nome;
    TFieldType Tipo;
    int Tamanho;
    QVariant Padrao;
};

const QList<TCampoProduto>& CamposProduto() {
    static const QList<TCampoProduto> c = {
        {"IdProduto", ftString, 20, QStringLiteral("1")},     {"IdDetalhe", ftString, 20, QStringLiteral("1")},
        {"CdGrupo", ftString, 10, QStringLiteral("010")},     {"CdPrincipal", ftString, 20, QStringLiteral("P1")},
        {"DsDetalhe", ftString, 100, QStringLiteral("Prato")}, {"VlPrecoVenda", ftFloat, 0, 10.0},
        {"VlPrecoPraticado", ftFloat, 0, 0.0},               {"StAtivo", ftString, 3, QStringLiteral("S")},
        {"DsUnidade", ftString, 6, QStringLiteral("UN")},      {"Tributacao", ftString, 4, QStringLiteral("T18")},
        {"AlTributacao", ftFloat, 0, 18.0},                  {"AlTributacaoNFCe", ftFloat, 0, 3.2},
        {"StDescComplementar", ftBoolean, 0, false},         {"CdSitTrib", ftString, 3, QStringLiteral("000")},
        {"AlCargaTributaria", ftFloat, 0, 31.45},            {"CSOSN", ftString, 4, QStringLiteral("102")},
        {"NCM", ftString, 10, QStringLiteral("21069090")},     {"AlCtFedNac", ftFloat, 0, 10.24},
        {"AlCtFedImp", ftFloat, 0, 0.0},                     {"AlCtEst", ftFloat, 0, 18.0},
        {"AlCtMun", ftFloat, 0, 0.0},                        {"CdSitTribPIS", ftString, 2, QStringLiteral("01")},
        {"CdSitTribCOFINS", ftString, 2, QStringLiteral("01")}, {"AlPIS", ftFloat, 0, 0.65},
        {"AlCOFINS", ftFloat, 0, 3.0},                       {"NaturezaOperacao", ftInteger, 0, 1},
        {"OrigemMercadoria", ftString, 1, QStringLiteral("0")}, {"CEST", ftString, 9, QString()},
        {"CFOP", ftString, 4, QStringLiteral("5102")},         {"StPesado", ftString, 3, QStringLiteral("N")},
        {"StBalanca", ftBoolean, 0, false},                  {"StUnitario", ftBoolean, 0, true},
        {"StProdutoComposto", ftBoolean, 0, false},          {"StServico", ftBoolean, 0, false},
        {"FtConvUnidTributaria", ftFloat, 0, 1.0},           {"TpUnidTributaria", ftString, 6, QStringLiteral("UN")},
    };
    return c;
}

TProduto Produto(const QString& id, TProduto valores = {}) {
    valores.insert(QStringLiteral("IdProduto"), id);
    valores.insert(QStringLiteral("IdDetalhe"), id);
    return valores;
}

QByteArray Imagem(int largura, int altura, const char* formato) {
    QImage img(largura, altura, QImage::Format_RGB32);
    img.fill(qRgb(200, 80, 40));
    for (int y = 0; y < altura; y += 10) img.setPixel(largura / 2, y, qRgb(0, 0, 0));
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    QImageWriter(&b, formato).write(img);
    return bytes;
}

// The import directory of one case and the steps run on it.
class CenarioProdutos {
public:
    CenarioProdutos() {
        TPacoteRetaguarda config;
        config.Campo(QStringLiteral("CFOP"), ftString, 4)
            .Campo(QStringLiteral("CFOP_ST"), ftString, 4)
            .Campo(QStringLiteral("CFOP_ISS"), ftString, 4);
        config.Linha({QStringLiteral("5102"), QStringLiteral("5405"), QStringLiteral("5933")});
        config.Gravar(amb.ArquivoEntrada(QStringLiteral("Config.dat")));
        Codigos({});
    }

    // Produtos.dat with the given products; `semCampos` leaves those fields out.
    void Produtos(const QList<TProduto>& produtos, const QStringList& semCampos = {}) {
        TPacoteRetaguarda p;
        QList<const TCampoProduto*> campos;
        for (const TCampoProduto& c : CamposProduto()) {
            if (semCampos.contains(QString::fromLatin1(c.Nome))) continue;
            p.Campo(QString::fromLatin1(c.Nome), c.Tipo, c.Tamanho);
            campos << &c;
        }
        for (const TProduto& produto : produtos) {
            QVariantList linha;
            for (const TCampoProduto* c : campos) linha << produto.value(QString::fromLatin1(c->Nome), c->Padrao);
            p.Linha(linha);
        }
        p.Gravar(amb.ArquivoEntrada(QStringLiteral("Produtos.dat")));
    }

    // Grupos.dat: code, name, picture (an invalid QVariant: null).
    void Grupos(const QList<QVariantList>& grupos) {
        TPacoteRetaguarda p;
        p.Campo(QStringLiteral("CdGrupo"), ftString, 10)
            .Campo(QStringLiteral("NmGrupo"), ftString, 40)
            .Campo(QStringLiteral("Imagem"), ftBlob);
        for (const QVariantList& g : grupos) p.Linha(g);
        p.Gravar(amb.ArquivoEntrada(QStringLiteral("Grupos.dat")));
    }

    // Codigos.dat: IdDetalhe, TpCodigo, DsCodigo.
    void Codigos(const QList<QStringList>& codigos) {
        TPacoteRetaguarda p;
        p.Campo(QStringLiteral("IdDetalhe"), ftString, 20)
            .Campo(QStringLiteral("TpCodigo"), ftString, 10)
            .Campo(QStringLiteral("DsCodigo"), ftString, 100);
        for (const QStringList& c : codigos) p.Linha({c[0], c[1], c[2]});
        p.Gravar(amb.ArquivoEntrada(QStringLiteral("Codigos.dat")));
    }

    void Imagens(const QList<std::pair<QString, QByteArray>>& imagens) {
        TPacoteRetaguarda p;
        p.Campo(QStringLiteral("IdDetalhe"), ftString, 20).Campo(QStringLiteral("Imagem"), ftBlob);
        for (const auto& [id, bytes] : imagens) p.Linha({id, bytes});
        p.Gravar(amb.ArquivoEntrada(QStringLiteral("ImagensProdutos.dat")));
    }

    void Configuracao(const QString& chave, const QString& valor) {
        TComunicacaoBancoBistrel g(kImportacao);
        ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao));
        g.GravarConfiguracao(chave, valor);
        g.Desconectar();
    }

    // Runs one step on a fresh worker, as the chain runs it after the
    // configuration step (Config.dat loaded). The gateway is gone afterwards,
    // so an open transaction is rolled back as the run's end does.
    bool Rodar(bool (TImportacaoPDVBistrelInterna::*passo)(TComunicacaoBancoBistrel&)) {
        TComunicacaoBancoBistrel g(kImportacao);
        if (!g.Conectar(amb.PrimeiraConexao)) return false;
        hint = THintMemoria();
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        if (!w.CarregarArquivo(QStringLiteral("Config.dat"), w.cdsConfig)) return false;
        const bool ok = (w.*passo)(g);
        resumo = w.ArquivosImportados();
        g.Desconectar();
        return ok;
    }
    bool GruposProdutos() { return Rodar(&TImportacaoPDVBistrelInterna::SalvarGruposProdutos); }
    bool CodigosProdutos() { return Rodar(&TImportacaoPDVBistrelInterna::SalvarCodigosProdutos); }

    QString Produto(const QString& coluna, const QString& id) const {
        return amb.Valor(QStringLiteral("SELECT %1 FROM PRODUTOS WHERE IDDETALHE = '%2'").arg(coluna, id));
    }
    QByteArray ImagemProduto(const QString& id) const {
        auto c = amb.Conexao();
        auto q = c->Consultar(QStringLiteral("SELECT IMAGEM FROM PRODUTOS WHERE IDDETALHE = '%1'").arg(id));
        return q->Fields(0).AsBytes();
    }

    AmbienteImportacao amb;
    THintMemoria hint;
    QString resumo;
};

}  // namespace

// ---- groups -------------------------------------------------------------------------

TEST(ProdutosGrupos, TheDefaultGroupIsOneAndTakesBlankOrUnknownCodes) {
    CenarioProdutos c;
    c.Grupos({{QStringLiteral("010"), QStringLiteral("PRATOS"), QByteArray("\xFF\xD8jpeg", 6)},
              {QStringLiteral("020"), QStringLiteral("SEM PRODUTOS"), QVariant()},
              {QStringLiteral("030"), QStringLiteral("  "), QVariant()},  // no name: skipped
              {QStringLiteral("040"), QStringLiteral("BEBIDAS"), QVariant()}});
    c.Produtos({Produto(QStringLiteral("1")),
                Produto(QStringLiteral("2"), {{QStringLiteral("CdGrupo"), QStringLiteral("  ")}}),
                Produto(QStringLiteral("3"), {{QStringLiteral("CdGrupo"), QStringLiteral("077")}}),
                Produto(QStringLiteral("4"), {{QStringLiteral("CdGrupo"), QStringLiteral("040")}})});
    ASSERT_TRUE(c.GruposProdutos());

    // The default group first (1), then the file's groups in file order;
    // the unused one is gone.
    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT IDGRUPO, CDGRUPO, DSGRUPO, STPRODUCAO FROM GRUPOS ORDER BY IDGRUPO")),
              (QStringList{QStringLiteral("1|999999|GRUPO INDEFINIDO|0"), QStringLiteral("2|010|PRATOS|0"),
                           QStringLiteral("4|040|BEBIDAS|0")}));
    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT IDDETALHE, IDGRUPO FROM PRODUTOS ORDER BY IDDETALHE")),
              (QStringList{QStringLiteral("1|2"), QStringLiteral("2|1"), QStringLiteral("3|1"), QStringLiteral("4|4")}));
    {
        auto con = c.amb.Conexao();
        auto q = con->Consultar(QStringLiteral("SELECT IMAGEM FROM GRUPOS ORDER BY IDGRUPO"));
        EXPECT_EQ(q->Fields(0).AsBytes(), CarregarRecurso(QStringLiteral("GRUPO_PADRAO")));
        q->Next();
        EXPECT_EQ(q->Fields(0).AsBytes(), QByteArray("\xFF\xD8jpeg", 6));
        q->Next();
        EXPECT_TRUE(q->Fields(0).IsNull());  // a file group without a picture: NULL, not an empty blob
    }
    EXPECT_EQ(c.resumo, QStringLiteral("* Grupos.dat;\r\n* Produtos.dat;\r\n"));
    EXPECT_EQ(c.hint.Historico(),
              (QStringList{QStringLiteral("Carregando arquivo de grupos..."), QStringLiteral("Carregando arquivo de produtos..."),
                           QStringLiteral("Carregando arquivo de códigos..."), QStringLiteral("Apagando grupos de produtos..."),
                           QStringLiteral("Zerando sequencia dos grupos de produtos..."),
                           QStringLiteral("Cadastrando grupo padrão de produtos..."),
                           QStringLiteral("Importando grupos de produtos..."), QStringLiteral("Apagando produtos..."),
                           QStringLiteral("Importando arquivo de produtos (1 de 4 -> 25,00%)..."),
                           QStringLiteral("Importando arquivo de produtos (1 de 4 -> 25,00%)..."),
                           QStringLiteral("Importando arquivo de produtos (2 de 4 -> 50,00%)..."),
                           QStringLiteral("Importando arquivo de produtos (3 de 4 -> 75,00%)..."),
                           QStringLiteral("Importando arquivo de produtos (4 de 4 -> 100,00%)..."),
                           QStringLiteral("Salvando grupos e produtos no banco de dados...")}));

    // Every run restarts the numbering: the default group is 1 again.
    ASSERT_TRUE(c.GruposProdutos());
    EXPECT_EQ(c.amb.Valor(QStringLiteral("SELECT IDGRUPO FROM GRUPOS WHERE CDGRUPO = '999999'")), QStringLiteral("1"));
    EXPECT_EQ(c.Produto(QStringLiteral("IDGRUPO"), QStringLiteral("4")), QStringLiteral("4"));
}

TEST(ProdutosGrupos, WithoutGroupsFileTheDefaultGroupIsPurgedWhenNoActiveProductUsesIt) {
    CenarioProdutos c;
    c.Produtos({Produto(QStringLiteral("1"), {{QStringLiteral("StAtivo"), QStringLiteral("N")}})});
    ASSERT_TRUE(c.GruposProdutos());
    EXPECT_EQ(c.amb.Contar(QStringLiteral("GRUPOS")), 0);
    EXPECT_EQ(c.Produto(QStringLiteral("IDGRUPO"), QStringLiteral("1")), QStringLiteral("1"));
    EXPECT_EQ(c.resumo, QStringLiteral("* Produtos.dat;\r\n"));

    // An active product keeps it.
    c.Produtos({Produto(QStringLiteral("1"))});
    ASSERT_TRUE(c.GruposProdutos());
    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT IDGRUPO, CDGRUPO FROM GRUPOS")), QStringList{QStringLiteral("1|999999")});
}

TEST(ProdutosGrupos, ARepeatedGroupCodeGivesTheGroupTheLookupQueryEndsOn) {
    CenarioProdutos c;
    c.Grupos({{QStringLiteral("030"), QStringLiteral("PRIMEIRO"), QVariant()},
              {QStringLiteral("030"), QStringLiteral("SEGUNDO"), QVariant()}});
    c.Produtos({Produto(QStringLiteral("1"), {{QStringLiteral("CdGrupo"), QStringLiteral("030")}})});
    ASSERT_TRUE(c.GruposProdutos());
    // The lookup query leaves its cursor on the last row: the second group.
    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT G.DSGRUPO FROM PRODUTOS P JOIN GRUPOS G ON G.IDGRUPO = P.IDGRUPO")),
              QStringList{QStringLiteral("SEGUNDO")});
}

TEST(ProdutosGrupos, AFailedGroupInsertFailsTheStepEvenWithoutAGroupsFileToFollow) {
    CenarioProdutos c;
    c.Produtos({Produto(QStringLiteral("1"))});
    ASSERT_TRUE(c.GruposProdutos());
    {
        auto con = c.amb.Conexao();
        con->ExecutarDireto(QStringLiteral("ALTER TABLE GRUPOS ADD CONSTRAINT CK_TESTE CHECK (CDGRUPO <> '999999')"));
    }
    EXPECT_FALSE(c.GruposProdutos());  // the default group cannot be inserted
    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT IDGRUPO, CDGRUPO FROM GRUPOS")), QStringList{QStringLiteral("1|999999")});
    EXPECT_TRUE(c.resumo.isEmpty());
}

// ---- products ---------------------------------------------------------------------------

TEST(ProdutosCampos, CodesPricesFlagsAndTextsAreConvertedAsTheFileGivesThem) {
    CenarioProdutos c;
    const QString longo = QStringLiteral("Filé de Frango Grelhado com Arroz, Feijão, Farofa e Saladas!");  // 60
    ASSERT_EQ(longo.size(), 60);
    c.Produtos({
        Produto(QStringLiteral("1"), {{QStringLiteral("CdPrincipal"), QStringLiteral(" ")},  // EAN13 wins
                                      {QStringLiteral("VlPrecoPraticado"), 0.0}, {QStringLiteral("VlPrecoVenda"), 12.5},
                                      {QStringLiteral("StAtivo"), QStringLiteral(" s ")},
                                      {QStringLiteral("StPesado"), QStringLiteral(" S")},
                                      {QStringLiteral("OrigemMercadoria"), QString()},
                                      {QStringLiteral("DsDetalhe"), longo}}),
        Produto(QStringLiteral("2"), {{QStringLiteral("CdPrincipal"), QString()},  // only a call code
                                      {QStringLiteral("VlPrecoPraticado"), 9.0}, {QStringLiteral("VlPrecoVenda"), 12.5},
                                      {QStringLiteral("StAtivo"), QStringLiteral("Sim")},
                                      {QStringLiteral("StPesado"), QStringLiteral("N")},
                                      {QStringLiteral("OrigemMercadoria"), QStringLiteral(" ")}}),
        Produto(QStringLiteral("3"), {{QStringLiteral("CdPrincipal"), QStringLiteral(" ")},  // no code at all
                                      {QStringLiteral("VlPrecoPraticado"), -1.0}, {QStringLiteral("VlPrecoVenda"), 0.0},
                                      {QStringLiteral("StAtivo"), QStringLiteral("N")}}),
        Produto(QStringLiteral("4"), {{QStringLiteral("CdPrincipal"), QStringLiteral("INT-4")}}),
    });
    c.Codigos({{QStringLiteral("1"), QStringLiteral("Chamada"), QStringLiteral("101")},
               {QStringLiteral("1"), QStringLiteral("ean13"), QStringLiteral("não é este: outro caso")},
               {QStringLiteral("1"), QStringLiteral("EAN13"), QStringLiteral("7891234567895")},
               {QStringLiteral("1"), QStringLiteral("EAN13"), QStringLiteral("7890000000000")},
               {QStringLiteral("2"), QStringLiteral("Chamada"), QStringLiteral("202")},
               {QStringLiteral("4"), QStringLiteral("EAN13"), QStringLiteral("7895555555555")}});
    ASSERT_TRUE(c.GruposProdutos());

    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT IDDETALHE, CDPRODUTO, VLVENDA, STATIVO, STPESADO, ORIGEMMERCADORIA "
                                          "FROM PRODUTOS ORDER BY IDDETALHE")),
              (QStringList{QStringLiteral("1|7891234567895|12,5|1|1|0"), QStringLiteral("2|202|9|0|0| "),
                           QStringLiteral("3| |0|0|0|0"), QStringLiteral("4|INT-4|10|1|0|0")}));
    EXPECT_EQ(c.Produto(QStringLiteral("DSPRODUTO"), QStringLiteral("1")), longo);
    EXPECT_EQ(c.Produto(QStringLiteral("DSCURTA"), QStringLiteral("1")), longo.left(40));
    // Fixed values, whatever the file says.
    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT DISTINCT STINSUMO, STIMPRIMECOMANDA, ST_CONTROLA_SERVIDO, ST1 FROM PRODUTOS")),
              QStringList{QStringLiteral("0|1|1|0")});
    // The rest of the row, as the file gives it.
    EXPECT_EQ(c.amb.Linhas(QStringLiteral(
                  "SELECT IDPRODUTO, UNIDADE, TPTRIBUTACAO, ALTRIBUTACAO, STDESCCOMPLEMENTAR, CDSITTRIB, ALCARGATRIBUTARIA, "
                  "CSOSN, NCM, ALCTFEDNAC, ALCTEST, CDSITTRIBPIS, ALPIS, ALCOFINS, NATUREZAOPERACAO, CFOP, STBALANCA, "
                  "STUNITARIO, STPRODUTOCOMPOSTO, FTCONVUNIDTRIBUTARIA, TPUNIDTRIBUTARIA, IMAGEM FROM PRODUTOS "
                  "WHERE IDDETALHE = '4'")),
              QStringList{QStringLiteral("4|UN|T18|18|0|000|31,45|102|21069090|10,24|18|01|0,65|3|1|5102|0|1|0|1|UN|<null>")});
}

TEST(ProdutosCampos, AnOlderFileTakesTheStoresCFOPAndTheDefaults) {
    CenarioProdutos c;
    c.Configuracao(QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal"), QStringLiteral("1"));
    const TProduto servico{{QStringLiteral("StServico"), true}, {QStringLiteral("Tributacao"), QStringLiteral("S")}};
    c.Produtos({Produto(QStringLiteral("1"), servico),
                Produto(QStringLiteral("2"), {{QStringLiteral("Tributacao"), QStringLiteral("s")}}),
                Produto(QStringLiteral("3"), {{QStringLiteral("Tributacao"), QStringLiteral("F")}}),
                Produto(QStringLiteral("4"), {{QStringLiteral("Tributacao"), QString()}})},
               {QStringLiteral("AlTributacaoNFCe"), QStringLiteral("FtConvUnidTributaria"),
                QStringLiteral("TpUnidTributaria"), QStringLiteral("CFOP")});
    ASSERT_TRUE(c.GruposProdutos());
    EXPECT_EQ(c.amb.Linhas(QStringLiteral("SELECT IDDETALHE, CFOP, ALTRIBUTACAO, FTCONVUNIDTRIBUTARIA, TPUNIDTRIBUTARIA "
                                          "FROM PRODUTOS ORDER BY IDDETALHE")),
              (QStringList{QStringLiteral("1|5933|18|0|"), QStringLiteral("2|5405|18|0|"), QStringLiteral("3|5102|18|0|"),
                           QStringLiteral("4|5102|18|0|")}));
}

TEST(ProdutosCampos, TheNFCeRateAppliesOnlyWhenTheSettingReadsExactlyOne) {
    CenarioProdutos c;
    c.Produtos({Produto(QStringLiteral("1"))});
    const QString aliquota = QStringLiteral("SELECT ALTRIBUTACAO FROM PRODUTOS");
    ASSERT_TRUE(c.GruposProdutos());  // the setting is absent
    EXPECT_EQ(c.amb.Valor(aliquota), QStringLiteral("18"));
    c.Configuracao(QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal"), QStringLiteral(" 1"));
    ASSERT_TRUE(c.GruposProdutos());
    EXPECT_EQ(c.amb.Valor(aliquota), QStringLiteral("18"));
    c.Configuracao(QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal"), QStringLiteral("1"));
    ASSERT_TRUE(c.GruposProdutos());
    EXPECT_EQ(c.amb.Valor(aliquota), QStringLiteral("3,2"));
}

TEST(ProdutosImagens, NoPictureIsNullALargeOneIsFittedAndTheRestKeepTheirBytes) {
    CenarioProdutos c;
    const QByteArray grande = Imagem(800, 600, "jpeg"), pequena = Imagem(120, 90, "png");
    const QByteArray lixo("isto não é uma imagem");
    c.Produtos({Produto(QStringLiteral("1")), Produto(QStringLiteral("2")), Produto(QStringLiteral("3")),
                Produto(QStringLiteral("4"))});
    c.Imagens({{QStringLiteral("3"), lixo}, {QStringLiteral("1"), grande}, {QStringLiteral("2"), pequena},
               {QStringLiteral("99"), grande}});
    ASSERT_TRUE(c.GruposProdutos());

    QImage reduzida;
    ASSERT_TRUE(reduzida.loadFromData(c.ImagemProduto(QStringLiteral("1")), "JPEG"));
    EXPECT_EQ(reduzida.size(), QSize(200, 150));
    EXPECT_EQ(c.ImagemProduto(QStringLiteral("2")), pequena);
    EXPECT_EQ(c.ImagemProduto(QStringLiteral("3")), lixo);
    EXPECT_EQ(c.amb.Valor(QStringLiteral("SELECT COUNT(*) FROM PRODUTOS WHERE IMAGEM IS NULL")), QStringLiteral("1"));
    EXPECT_TRUE(c.ImagemProduto(QStringLiteral("4")).isNull());
    EXPECT_EQ(c.resumo, QStringLiteral("* Produtos.dat;\r\n* ImagensProdutos.dat;\r\n"));
    EXPECT_TRUE(c.hint.Historico().contains(QStringLiteral("Carregando arquivo de imagens de produtos...")));
}

TEST(ProdutosFalhas, AFileWithoutDsDetalheLeavesProductsAndGroupsAsTheyWere) {
    CenarioProdutos c;
    c.Grupos({{QStringLiteral("010"), QStringLiteral("PRATOS"), QVariant()}});
    c.Produtos({Produto(QStringLiteral("1"))});
    ASSERT_TRUE(c.GruposProdutos());
    const QString produtos = QStringLiteral("SELECT IDDETALHE, IDGRUPO, DSPRODUTO FROM PRODUTOS");
    const QString grupos = QStringLiteral("SELECT IDGRUPO, CDGRUPO, DSGRUPO FROM GRUPOS ORDER BY IDGRUPO");
    const QStringList antesProdutos = c.amb.Linhas(produtos), antesGrupos = c.amb.Linhas(grupos);

    c.Grupos({{QStringLiteral("020"), QStringLiteral("OUTRO"), QVariant()}});
    c.Produtos({Produto(QStringLiteral("7"), {{QStringLiteral("CdGrupo"), QStringLiteral("020")}})},
               {QStringLiteral("DsDetalhe")});
    EXPECT_THROW(c.GruposProdutos(), EDatabaseError);
    EXPECT_EQ(c.amb.Linhas(produtos), antesProdutos);
    EXPECT_EQ(c.amb.Linhas(grupos), antesGrupos);
}

// ---- product codes ------------------------------------------------------------------------

TEST(ProdutosCodigos, EveryRecordRunsAndTheLastOneDecides) {
    CenarioProdutos c;
    const QString longo(80, QLatin1Char('9'));  // longer than DESCRICAO: its INSERT fails
    c.Codigos({{QStringLiteral("1"), QStringLiteral("EAN13"), QStringLiteral("7891234567895")},
               {QStringLiteral("2"), QStringLiteral("EAN13"), longo},
               {QStringLiteral("3"), QStringLiteral("Chamada"), QStringLiteral("303")}});
    ASSERT_TRUE(c.CodigosProdutos());
    const QString codigos = QStringLiteral("SELECT IDDETALHE, TIPOCODIGO, DESCRICAO FROM CODIGOSPRODUTOS ORDER BY IDDETALHE");
    EXPECT_EQ(c.amb.Linhas(codigos),
              (QStringList{QStringLiteral("1|EAN13|7891234567895"), QStringLiteral("3|Chamada|303")}));
    EXPECT_EQ(c.resumo, QStringLiteral("* Codigos.dat;\r\n"));
    EXPECT_EQ(c.hint.Historico(),
              (QStringList{QStringLiteral("Carregando arquivo de códigos..."),
                           QStringLiteral("Importando arquivo codigos de produtos (1 de 3 -> 33,33%)..."),
                           QStringLiteral("Importando arquivo codigos de produtos (2 de 3 -> 66,67%)..."),
                           QStringLiteral("Importando arquivo codigos de produtos (3 de 3 -> 100,00%)..."),
                           QStringLiteral("Salvando códigos dos produtos no banco de dados...")}));
    EXPECT_EQ(teste::AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});

    // A failing last record rolls the whole step back.
    c.Codigos({{QStringLiteral("5"), QStringLiteral("EAN13"), QStringLiteral("7890000000005")},
               {QStringLiteral("6"), QStringLiteral("EAN13"), longo}});
    EXPECT_FALSE(c.CodigosProdutos());
    EXPECT_EQ(c.amb.Linhas(codigos),
              (QStringList{QStringLiteral("1|EAN13|7891234567895"), QStringLiteral("3|Chamada|303")}));
    EXPECT_TRUE(c.resumo.isEmpty());

    // A file without records empties the table and is listed.
    c.Codigos({});
    ASSERT_TRUE(c.CodigosProdutos());
    EXPECT_EQ(c.amb.Contar(QStringLiteral("CODIGOSPRODUTOS")), 0);
    EXPECT_EQ(c.resumo, QStringLiteral("* Codigos.dat;\r\n"));
}

TEST(ProdutosCodigos, AMissingCodesFileFailsBothStepsWithTheLoadersRecord) {
    CenarioProdutos c;
    c.Produtos({Produto(QStringLiteral("1"))});
    c.amb.Remover(QStringLiteral("Codigos.dat"));
    EXPECT_FALSE(c.GruposProdutos());
    EXPECT_FALSE(c.CodigosProdutos());
    EXPECT_EQ(teste::AmbienteImportacao::Descricoes(),
              (QStringList{QStringLiteral("Erro no carregamento do arquivo de base."),
                           QStringLiteral("Erro no carregamento do arquivo de base.")}));
    EXPECT_EQ(c.amb.Contar(QStringLiteral("PRODUTOS")), 0);
}

// ---- the generated set -----------------------------------------------------------------

TEST(ProdutosRetaguarda, TheGeneratedFilesImportAndTheSecondVariantChangesEveryRow) {
    CenarioProdutos c;
    retaguarda::TOpcoesGerador o;
    o.Grupos = 11;
    o.Produtos = 30;
    o.ProdutosComImagem = 5;
    retaguarda::GerarProdutos(c.amb.Entrada(), o);
    ASSERT_TRUE(c.GruposProdutos());
    ASSERT_TRUE(c.CodigosProdutos());
    EXPECT_EQ(c.amb.Contar(QStringLiteral("PRODUTOS")), 30);
    EXPECT_EQ(c.amb.Contar(QStringLiteral("CODIGOSPRODUTOS")), 60);
    EXPECT_EQ(c.amb.Valor(QStringLiteral("SELECT COUNT(*) FROM PRODUTOS WHERE IMAGEM IS NOT NULL")), QStringLiteral("5"));
    const QString produtos = QStringLiteral("SELECT IDDETALHE, IDGRUPO, CDPRODUTO, DSPRODUTO, VLVENDA FROM PRODUTOS ORDER BY IDDETALHE");
    const QString grupos = QStringLiteral("SELECT CDGRUPO, DSGRUPO FROM GRUPOS WHERE CDGRUPO <> '999999' ORDER BY CDGRUPO");
    const QString codigos = QStringLiteral("SELECT IDDETALHE, TIPOCODIGO, DESCRICAO FROM CODIGOSPRODUTOS ORDER BY 1, 2");
    const QStringList a[] = {c.amb.Linhas(produtos), c.amb.Linhas(grupos), c.amb.Linhas(codigos)};

    o.Variante = 1;
    retaguarda::GerarProdutos(c.amb.Entrada(), o);
    ASSERT_TRUE(c.GruposProdutos());
    ASSERT_TRUE(c.CodigosProdutos());
    const QStringList b[] = {c.amb.Linhas(produtos), c.amb.Linhas(grupos), c.amb.Linhas(codigos)};
    for (int t = 0; t < 3; ++t) {
        ASSERT_EQ(a[t].size(), b[t].size());
        ASSERT_FALSE(a[t].isEmpty());
        for (int i = 0; i < a[t].size(); ++i) {
            EXPECT_NE(a[t][i], b[t][i]);
            EXPECT_EQ(a[t][i].section(QLatin1Char('|'), 0, 0), b[t][i].section(QLatin1Char('|'), 0, 0));  // same keys
        }
    }
}
