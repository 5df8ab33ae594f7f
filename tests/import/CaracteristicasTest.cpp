// Product characteristics, their links to products and the compositions of
// products from ingredients.
#include <gtest/gtest.h>

#include "ApoioImportacao.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/MonitorSql.h"
#include "import/ImportacaoPDVBistrelInterna.h"

using namespace vesko;
using retaguarda::TPacoteRetaguarda;
using teste::AmbienteImportacao;

namespace {

const QString kImportacao = QStringLiteral("Importação");

void InserirLinhasAntigas(AmbienteImportacao& amb) {
    auto c = amb.Conexao();
    c->Executar(QStringLiteral("INSERT INTO CARACTERISTICAS VALUES ('antiga', 'Antiga')"));
    c->Executar(QStringLiteral("INSERT INTO PRODUTOCARACTERISTICAS VALUES ('antiga', 'antigo')"));
    c->Executar(QStringLiteral("INSERT INTO PRODUTO_COMPOSICAO VALUES ('antigo', 'antigo', 1)"));
}

class Caracteristicas : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao)); }

    bool SalvarTodas(TImportacaoPDVBistrelInterna& w) {
        return w.SalvarCaracteristicas(g) && w.SalvarCaracteristicasProdutos(g) && w.SalvarComposicaoProdutos(g);
    }
    QStringList Tabelas() {
        return amb.Linhas(QStringLiteral("SELECT IDCARACTERISTICA, DSCARACTERISTICA FROM CARACTERISTICAS "
                                         "ORDER BY 1")) +
               amb.Linhas(QStringLiteral("SELECT IDCARACTERISTICA, IDDETALHE FROM PRODUTOCARACTERISTICAS "
                                         "ORDER BY 1, 2")) +
               amb.Linhas(QStringLiteral("SELECT IDDETALHE, IDDETALHE_INSUMO, "
                                         "CAST(QUANTIDADE_INSUMO * 1000 AS INTEGER) "
                                         "FROM PRODUTO_COMPOSICAO ORDER BY 1, 2"));
    }

    AmbienteImportacao amb;
    TComunicacaoBancoBistrel g{kImportacao};
    THintMemoria hint;
};

}  // namespace

TEST_F(Caracteristicas, BlankKeysAreSkippedSilentlyAndTheRestIsWrittenUntrimmed) {
    InserirLinhasAntigas(amb);
    TPacoteRetaguarda c;
    c.Campo(QStringLiteral("IDCARACTERISTICA"), ftString, 10).Campo(QStringLiteral("dscaracteristica"), ftString, 60);
    c.Linha({"01", "Vegetariano"});
    c.Linha({"02", "   "});        // blank description: skipped
    c.Linha({"  ", "Picante"});    // blank id: skipped
    c.Linha({"03", " Sem glúten"});
    c.Gravar(amb.ArquivoEntrada(QStringLiteral("Caracteristicas.dat")));
    TPacoteRetaguarda pc;
    pc.Campo(QStringLiteral("idcaracteristica"), ftString, 10).Campo(QStringLiteral("IdDetalhe"), ftString, 10);
    pc.Linha({"01", "000001"});
    pc.Linha({"03", QVariant()});  // null product: skipped
    pc.Gravar(amb.ArquivoEntrada(QStringLiteral("ProdutoCaracteristicas.dat")));
    TPacoteRetaguarda comp;
    comp.Campo(QStringLiteral("IdDetalhe"), ftString, 10)
        .Campo(QStringLiteral("IDDETALHEINSUMO"), ftString, 10)
        .Campo(QStringLiteral("QtdInsumo"), ftFloat);
    comp.Linha({"000002", "000005", 0.5});
    comp.Linha({"000002", QVariant(), 1.0});  // no ingredient: skipped
    comp.Linha({"000002", "000006", 0.125});
    comp.Gravar(amb.ArquivoEntrada(QStringLiteral("ProdutoComposicao.dat")));

    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    ASSERT_TRUE(SalvarTodas(w));
    g.Desconectar();
    EXPECT_EQ(Tabelas(), (QStringList{QStringLiteral("01|Vegetariano"), QStringLiteral("03| Sem glúten"),
                                      QStringLiteral("01|000001"), QStringLiteral("000002|000005|500"),
                                      QStringLiteral("000002|000006|125")}));
    EXPECT_EQ(w.ArquivosImportados(), QStringLiteral("* Caracteristicas.dat;\r\n* ProdutoCaracteristicas.dat;\r\n"
                                                     "* ProdutoComposicao.dat;\r\n"));
    EXPECT_TRUE(AmbienteImportacao::Auditorias().isEmpty());
    EXPECT_EQ(hint.Historico(),
              (QStringList{QStringLiteral("Carregando arquivo de caracteristicas..."),
                           QStringLiteral("Apagando características..."),
                           QStringLiteral("Importando caracteristicas..."),
                           QStringLiteral("Salvando características no banco de dados..."),
                           QStringLiteral("Carregando arquivo de caracteristicas dos produtos..."),
                           QStringLiteral("Apagando características dos produtos..."),
                           QStringLiteral("Importando caracteristicas dos produtos..."),
                           QStringLiteral("Salvando características dos produtos no banco de dados..."),
                           QStringLiteral("Carregando arquivo de composição de produtos..."),
                           QStringLiteral("Apagando composição de produtos..."),
                           QStringLiteral("Importando composições de produtos..."),
                           QStringLiteral("Salvando composição de produtos no banco de dados...")}));
}

TEST_F(Caracteristicas, AbsentOrEmptyFilesKeepTheTablesAndTheGeneratedSetsReplaceThem) {
    InserirLinhasAntigas(amb);
    const QStringList antes = Tabelas();
    {
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarTodas(w));
        EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    }
    retaguarda::TOpcoesGerador opcoes;
    opcoes.Catalogo = 0;
    opcoes.Produtos = 0;
    retaguarda::GerarCaracteristicas(amb.Entrada(), opcoes);
    {
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarTodas(w));
        EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    }
    EXPECT_EQ(Tabelas(), antes);

    // The generated sets: every table replaced; the second variant keeps the
    // characteristics' and the compositions' keys and changes every row.
    opcoes = {};
    QStringList primeiro;
    for (int variante : {0, 1}) {
        opcoes.Variante = variante;
        retaguarda::GerarCaracteristicas(amb.Entrada(), opcoes);
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarTodas(w));
        EXPECT_EQ(w.ArquivosImportados().count(QLatin1Char('*')), 3);
        const QStringList agora = Tabelas();
        EXPECT_FALSE(agora.contains(QStringLiteral("antiga|Antiga")));
        EXPECT_EQ(amb.Contar(QStringLiteral("CARACTERISTICAS")), opcoes.Catalogo);
        EXPECT_GT(amb.Contar(QStringLiteral("PRODUTOCARACTERISTICAS")), 0);
        EXPECT_GT(amb.Contar(QStringLiteral("PRODUTO_COMPOSICAO")), 0);
        if (variante == 0) {
            primeiro = agora;
            continue;
        }
        ASSERT_EQ(agora.size(), primeiro.size());
        for (const QString& linha : agora) EXPECT_FALSE(primeiro.contains(linha)) << linha.toStdString();
    }
    EXPECT_TRUE(AmbienteImportacao::Auditorias().isEmpty());
}

// The statements reach the database as written line by line, every line
// followed by CR LF (the SQL monitor logs each text followed by a newline).
TEST_F(Caracteristicas, StatementsAreSentLineByLineEachLineEndingInCrLf) {
    retaguarda::TOpcoesGerador opcoes;
    retaguarda::GerarCaracteristicas(amb.Entrada(), opcoes);
    {
        TMonitorSql monitor;
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarTodas(w));
    }
    const QString log = QString::fromUtf8(teste::LerArquivo(TMonitorSql::NomeArquivo()));
    const auto texto = [](std::initializer_list<const char*> linhas) {
        QString s = QStringLiteral("\n");
        for (const char* l : linhas) s += QString::fromLatin1(l) + QStringLiteral("\r\n");
        return s + QStringLiteral("\n");
    };
    EXPECT_TRUE(log.contains(texto({"INSERT INTO CARACTERISTICAS", " (IDCARACTERISTICA,", "  DSCARACTERISTICA) ",
                                    "VALUES", " (:pIdCaracteristica,", "  :pDsCaracteristica)"})));
    EXPECT_TRUE(log.contains(texto({"INSERT INTO PRODUTOCARACTERISTICAS", " (IDCARACTERISTICA,", "  IDDETALHE) ",
                                    "VALUES", " (:pIdCaracteristica,", "  :pIdDetalhe)"})));
    EXPECT_TRUE(log.contains(texto({"INSERT INTO PRODUTO_COMPOSICAO", " (IDDETALHE,", "  IDDETALHE_INSUMO,",
                                    "  QUANTIDADE_INSUMO) ", "VALUES", " (:pIdDetalhe,", "  :pIdDetalheInsumo,",
                                    "  :pQuantidadeInsumo)"})));
}

TEST_F(Caracteristicas, AFailingInsertRollsItsStepBack) {
    InserirLinhasAntigas(amb);
    TPacoteRetaguarda c;
    c.Campo(QStringLiteral("IdCaracteristica"), ftString, 10).Campo(QStringLiteral("DsCaracteristica"), ftString, 60);
    c.Linha({"01", "Vegano"});
    c.Linha({"01", "Vegano outra vez"});  // the same key: the INSERT fails
    c.Linha({"02", "Picante"});
    c.Gravar(amb.ArquivoEntrada(QStringLiteral("Caracteristicas.dat")));
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    EXPECT_FALSE(w.SalvarCaracteristicas(g));
    EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    g.Desconectar();
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDCARACTERISTICA FROM CARACTERISTICAS")),
              QStringList{QStringLiteral("antiga")});
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});
}
