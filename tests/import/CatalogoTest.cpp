// The catalogue tables: terms, validations, menu items, the POS detail
// tables and the delivery statuses.
#include <gtest/gtest.h>

#include <algorithm>

#include "ApoioImportacao.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/MonitorSql.h"
#include "import/ImportacaoPDVBistrelInterna.h"

using namespace vesko;
using retaguarda::TPacoteRetaguarda;
using teste::AmbienteImportacao;

namespace {

const QString kImportacao = QStringLiteral("Importação");

// One table of the family: its file, the step that rewrites it, and a
// SELECT of its rows in key order.
struct TabelaCatalogo {
    const char* Arquivo;
    const char* Tabela;
    bool (TImportacaoPDVBistrelInterna::*Salvar)(TComunicacaoBancoBistrel&);
    const char* Select;
};

const TabelaCatalogo kTabelas[] = {
    {"Prazos.dat", "PRAZOS", &TImportacaoPDVBistrelInterna::SalvarPrazos,
     "SELECT ID_PRAZO, DS_PRAZO, ALIQUOTA_ACRESCIMO, ALIQUOTA_PRIMEIRA, PRIMEIRA_A_VISTA FROM PRAZOS ORDER BY 1"},
    {"Validacao.dat", "VALIDACOES", &TImportacaoPDVBistrelInterna::SalvarValidacoes,
     "SELECT ID_VALIDACAO, MSG_VALIDACAO, COR_VALIDACAO, ACAO_VALIDACAO FROM VALIDACOES ORDER BY 1"},
    {"ItensCardapio.dat", "ITENS_CARDAPIO", &TImportacaoPDVBistrelInterna::SalvarItensCardapio,
     "SELECT IDITEMCARDAPIO, DSITEMCARDAPIO FROM ITENS_CARDAPIO ORDER BY 1"},
    {"DetalheVesko.dat", "DETALHE_VESKO", &TImportacaoPDVBistrelInterna::SalvarDetalhesVesko,
     "SELECT IDDETALHEVESKO, IDDETALHE, CDCARDAPIO, DSCARDAPIO, QTDETALHE, QTOPCOES, STCOBRADOAPARTE, STOPCIONAL "
     "FROM DETALHE_VESKO ORDER BY 1"},
    {"DetalheVeskoOpcoes.dat", "DETALHE_VESKO_OPCOES", &TImportacaoPDVBistrelInterna::SalvarDetalheVeskoOpcoes,
     "SELECT IDDETALHEVESKOOPCAO, IDDETALHEVESKO, QTITEM, STDEFAULT, IDITEMCARDAPIO FROM DETALHE_VESKO_OPCOES "
     "ORDER BY 1"},
    {"DetalheVeskoObservacoes.dat", "DETALHE_VESKO_OBSERVACOES",
     &TImportacaoPDVBistrelInterna::SalvarDetalheVeskoObservacoes,
     "SELECT IDDETALHEVESKOOBSERVACAO, IDDETALHE, DSOBSERVACAO FROM DETALHE_VESKO_OBSERVACOES ORDER BY 1"},
};

// One row the import must leave alone, in each table of the family.
void InserirLinhasAntigas(AmbienteImportacao& amb) {
    auto c = amb.Conexao();
    c->Executar(QStringLiteral("INSERT INTO PRAZOS (ID_PRAZO, DS_PRAZO) VALUES ('antigo', 'Antigo')"));
    c->Executar(QStringLiteral("INSERT INTO VALIDACOES (ID_VALIDACAO, MSG_VALIDACAO) VALUES (999, 'Antiga')"));
    c->Executar(QStringLiteral("INSERT INTO ITENS_CARDAPIO VALUES ('antigo', 'Antigo')"));
    c->Executar(QStringLiteral("INSERT INTO DETALHE_VESKO (IDDETALHEVESKO, IDDETALHE) VALUES ('antigo', '1')"));
    c->Executar(QStringLiteral("INSERT INTO DETALHE_VESKO_OPCOES (IDDETALHEVESKOOPCAO) VALUES ('antigo')"));
    c->Executar(QStringLiteral("INSERT INTO DETALHE_VESKO_OBSERVACOES VALUES ('antigo', '1', 'Antiga')"));
}

// Runs the six save steps of the family in their order; false at the first failure.
bool SalvarCatalogo(TImportacaoPDVBistrelInterna& w, TComunicacaoBancoBistrel& g) {
    for (const TabelaCatalogo& t : kTabelas)
        if (!(w.*t.Salvar)(g)) return false;
    return true;
}

QStringList Conteudo(AmbienteImportacao& amb, const TabelaCatalogo& t) {
    return amb.Linhas(QString::fromLatin1(t.Select));
}

// Prazos.dat with the back office's fields, named in other cases than the
// import asks for them.
TPacoteRetaguarda PacotePrazos() {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IDPRAZO"), ftString, 10)
        .Campo(QStringLiteral("cdprazo"), ftString, 10)
        .Campo(QStringLiteral("DsPrazo"), ftString, 60)
        .Campo(QStringLiteral("NrParcelas"), ftInteger)
        .Campo(QStringLiteral("Intervalo"), ftInteger)
        .Campo(QStringLiteral("stprimavista"), ftString, 2)
        .Campo(QStringLiteral("NrDiasPrim"), ftInteger)
        .Campo(QStringLiteral("AlPrimeira"), ftFloat)
        .Campo(QStringLiteral("StBaixaPrim"), ftString, 1)
        .Campo(QStringLiteral("ALACRESC"), ftFloat)
        .Campo(QStringLiteral("IdTpRecDemais"), ftString, 10)
        .Campo(QStringLiteral("StPrazoPessoa"), ftString, 10)
        .Campo(QStringLiteral("IdTpRecVista"), ftString, 10)
        .Campo(QStringLiteral("StVencFixo"), ftString, 1)
        .Campo(QStringLiteral("VlAcrescPrim"), ftFloat)
        .Campo(QStringLiteral("VlAcrescDemais"), ftFloat)
        .Campo(QStringLiteral("VlAcrescimoGeral"), ftFloat)
        .Campo(QStringLiteral("VlMinimo"), ftFloat);
    return p;
}

class Catalogo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao)); }

    AmbienteImportacao amb;
    TComunicacaoBancoBistrel g{kImportacao};
    THintMemoria hint;
};

}  // namespace

TEST_F(Catalogo, PrazosConvertEachFieldAndKeepTheSurchargeFraction) {
    TPacoteRetaguarda p = PacotePrazos();
    p.Linha({"1", "001", "30/60 dias", 2, 30, "s", 30, 2.5, "S", 2.5, "002", "  F ", "001", "n", 1.5, 0.75, 2.9, 50.0});
    p.Linha({"2", "002", "Entrada + 1x", 2, 30, " S", 0, 0.0, "x", 3.0, "003", "J", "001", "S", 0.0, 0.0, 0.0, 0.0});
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("Prazos.dat")));
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    ASSERT_TRUE(w.SalvarPrazos(g));
    g.Desconectar();

    // "s" counts as "S"; " S" does not (upper-cased, never trimmed); the
    // surcharge keeps its fraction like the first instalment's rate, and a
    // whole-number surcharge arrives unchanged.
    EXPECT_EQ(amb.Linhas(QStringLiteral(
                  "SELECT ID_PRAZO, CD_PRAZO, DS_PRAZO, NR_PARCELAS, INTERVALO, PRIMEIRA_A_VISTA, NR_DIAS_PRIMEIRA, "
                  "CAST(ALIQUOTA_PRIMEIRA * 100 AS INTEGER), BAIXA_PRIMEIRA, CAST(ALIQUOTA_ACRESCIMO * 100 AS "
                  "INTEGER), ID_TPREC_DEMAIS, '[' || ST_PRAZO_PESSOA || ']', ID_TPREC_A_VISTA, VENCIMENTO_FIXO, "
                  "CAST(VL_ACRESCIMO_PRIMEIRA * 100 AS INTEGER), CAST(VL_ACRESCIMO_DEMAIS * 100 AS INTEGER), "
                  "CAST(VL_ACRESICMO_GERAL * 100 AS INTEGER), CAST(VL_MINIMO AS INTEGER) FROM PRAZOS ORDER BY 1")),
              (QStringList{QStringLiteral("1|001|30/60 dias|2|30|1|30|250|1|250|002|[  F ]|001|0|150|75|290|50"),
                           QStringLiteral("2|002|Entrada + 1x|2|30|0|0|0|0|300|003|[J]|001|1|0|0|0|0")}));
    EXPECT_EQ(w.ArquivosImportados(), QStringLiteral("* Prazos.dat;\r\n"));
    EXPECT_EQ(hint.Historico(),
              (QStringList{QStringLiteral("Carregando arquivo de prazos..."), QStringLiteral("Apagando prazos..."),
                           QStringLiteral("Importando prazos (1 de 2 -> 50,00%)..."),
                           QStringLiteral("Importando prazos (1 de 2 -> 50,00%)..."),
                           QStringLiteral("Importando prazos (2 de 2 -> 100,00%)..."),
                           QStringLiteral("Salvando prazos no banco de dados...")}));
}

TEST_F(Catalogo, DetailFlagsAreSmallIntegersFromBooleans) {
    TPacoteRetaguarda d;
    d.Campo(QStringLiteral("iddetalhevesko"), ftString, 10)
        .Campo(QStringLiteral("IDDETALHE"), ftString, 10)
        .Campo(QStringLiteral("CdCardapio"), ftString, 10)
        .Campo(QStringLiteral("DsCardapio"), ftString, 60)
        .Campo(QStringLiteral("QtDetalhe"), ftFloat)
        .Campo(QStringLiteral("QtOpcoes"), ftInteger)
        .Campo(QStringLiteral("StCobradoAParte"), ftBoolean)
        .Campo(QStringLiteral("StOpcional"), ftBoolean);
    d.Linha({"10", "000001", "C1", "Escolha o acompanhamento", 1.5, 2, true, false});
    d.Linha({"11", "000002", "C2", "Ponto da carne", 1.0, 1, false, true});
    d.Gravar(amb.ArquivoEntrada(QStringLiteral("DetalheVesko.dat")));
    TPacoteRetaguarda o;
    o.Campo(QStringLiteral("IdDetalheVeskoOpcao"), ftString, 10)
        .Campo(QStringLiteral("IdDetalheVesko"), ftString, 10)
        .Campo(QStringLiteral("QtItem"), ftFloat)
        .Campo(QStringLiteral("StDefault"), ftBoolean)
        .Campo(QStringLiteral("IdItemCardapio"), ftString, 10);
    o.Linha({"1", "10", 0.5, true, "000003"});
    o.Gravar(amb.ArquivoEntrada(QStringLiteral("DetalheVeskoOpcoes.dat")));
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    ASSERT_TRUE(w.SalvarDetalhesVesko(g));
    ASSERT_TRUE(w.SalvarDetalheVeskoOpcoes(g));
    g.Desconectar();
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDDETALHEVESKO, IDDETALHE, CDCARDAPIO, DSCARDAPIO, "
                                        "CAST(QTDETALHE * 10 AS INTEGER), QTOPCOES, STCOBRADOAPARTE, STOPCIONAL "
                                        "FROM DETALHE_VESKO ORDER BY 1")),
              (QStringList{QStringLiteral("10|000001|C1|Escolha o acompanhamento|15|2|1|0"),
                           QStringLiteral("11|000002|C2|Ponto da carne|10|1|0|1")}));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDDETALHEVESKOOPCAO, IDDETALHEVESKO, CAST(QTITEM * 10 AS INTEGER), "
                                        "STDEFAULT, IDITEMCARDAPIO FROM DETALHE_VESKO_OPCOES")),
              QStringList{QStringLiteral("1|10|5|1|000003")});
    EXPECT_EQ(w.ArquivosImportados(), QStringLiteral("* DetalheVesko.dat;\r\n* DetalheVeskoOpcoes.dat;\r\n"));
}

TEST_F(Catalogo, AbsentOrEmptyFilesKeepTheTablesAndPresentOnesReplaceThem) {
    InserirLinhasAntigas(amb);
    QList<QStringList> antes;
    for (const TabelaCatalogo& t : kTabelas) antes << Conteudo(amb, t);

    // No files: every table keeps its rows, nothing is listed, and the only
    // hints are the steps' own.
    {
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarCatalogo(w, g));
        EXPECT_TRUE(w.ArquivosImportados().isEmpty());
        EXPECT_EQ(hint.Historico().size(), 6);
        EXPECT_EQ(hint.Historico().first(), QStringLiteral("Salvando prazos no banco de dados..."));
    }
    // Files without records: the same.
    retaguarda::TOpcoesGerador vazio;
    vazio.Catalogo = 0;
    retaguarda::GerarCatalogo(amb.Entrada(), vazio);
    {
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarCatalogo(w, g));
        EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    }
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Conteudo(amb, kTabelas[i]), antes[i]) << kTabelas[i].Tabela;

    // The generated set replaces every table and lists every file in order;
    // its second variant keeps the keys and changes every row.
    retaguarda::TOpcoesGerador opcoes;
    opcoes.Catalogo = 15;
    QList<QStringList> primeiro;
    for (int variante : {0, 1}) {
        opcoes.Variante = variante;
        retaguarda::GerarCatalogo(amb.Entrada(), opcoes);
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarCatalogo(w, g));
        EXPECT_EQ(w.ArquivosImportados(),
                  QStringLiteral("* Prazos.dat;\r\n* Validacao.dat;\r\n* ItensCardapio.dat;\r\n* DetalheVesko.dat;\r\n"
                                 "* DetalheVeskoOpcoes.dat;\r\n* DetalheVeskoObservacoes.dat;\r\n"));
        for (int i = 0; i < 6; ++i) {
            const QStringList linhas = Conteudo(amb, kTabelas[i]);
            ASSERT_EQ(linhas.size(), 15) << kTabelas[i].Tabela;
            if (variante == 0) {
                primeiro << linhas;
                continue;
            }
            for (int k = 0; k < 15; ++k) {
                EXPECT_EQ(linhas[k].section(QLatin1Char('|'), 0, 0), primeiro[i][k].section(QLatin1Char('|'), 0, 0));
                EXPECT_NE(linhas[k], primeiro[i][k]) << kTabelas[i].Tabela;
            }
        }
    }
    EXPECT_TRUE(AmbienteImportacao::Auditorias().isEmpty());
}

// The statements reach the database as written line by line, every line
// followed by CR LF (the SQL monitor logs each text followed by a newline).
TEST_F(Catalogo, StatementsAreSentLineByLineEachLineEndingInCrLf) {
    retaguarda::TOpcoesGerador opcoes;
    opcoes.Catalogo = 2;
    retaguarda::GerarCatalogo(amb.Entrada(), opcoes);
    {
        TMonitorSql monitor;
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(SalvarCatalogo(w, g));
        ASSERT_TRUE(w.CadastrarStatusEntrega(g));
    }
    const QString log = QString::fromUtf8(teste::LerArquivo(TMonitorSql::NomeArquivo()));
    const auto texto = [](std::initializer_list<const char*> linhas) {
        QString s = QStringLiteral("\n");
        for (const char* l : linhas) s += QString::fromLatin1(l) + QStringLiteral("\r\n");
        return s + QStringLiteral("\n");
    };
    EXPECT_TRUE(log.contains(texto(
        {"INSERT INTO PRAZOS", " (ID_PRAZO,", "  CD_PRAZO,", "  DS_PRAZO,", "  NR_PARCELAS,", "  INTERVALO,",
         "  PRIMEIRA_A_VISTA,", "  NR_DIAS_PRIMEIRA,", "  ALIQUOTA_PRIMEIRA,", "  BAIXA_PRIMEIRA,",
         "  ALIQUOTA_ACRESCIMO,", "  ID_TPREC_DEMAIS,", "  ST_PRAZO_PESSOA,", "  ID_TPREC_A_VISTA,",
         "  VENCIMENTO_FIXO,", "  VL_ACRESCIMO_PRIMEIRA,", "  VL_ACRESCIMO_DEMAIS,", "  VL_ACRESICMO_GERAL,",
         "  VL_MINIMO) ", "VALUES", " (:pIdPrazo,", "  :pCdPrazo,", "  :pDsPrazo,", "  :pNrParcelas,", "  :pIntervalo,",
         "  :pPrimeiraAVista,", "  :pNrDiasPrimeira,", "  :pAliquotaPrimeira,", "  :pBaixaPrimeira,",
         "  :pAliquotaAcrescimo,", "  :pIdTpRecDemais,", "  :pStPrazoPessoa,", "  :pIdTpRecAVista,",
         "  :pVencimentoFixo,", "  :pVlAcrescimoPrimeira,", "  :pVlAcrescimoDemais,", "  :pVlAcrescimoGeral,",
         "  :pVlMinimo)"})));
    EXPECT_TRUE(log.contains(texto({"INSERT INTO DETALHE_VESKO_OBSERVACOES", " (IDDETALHEVESKOOBSERVACAO,",
                                    "  IDDETALHE,", "  DSOBSERVACAO) ", "VALUES", " (:pIdDetalheVeskoObservacao,",
                                    "  :pIdDetalhe,", "  :pDsObservacao)"})));
    EXPECT_TRUE(log.contains(texto({"INSERT INTO ENTREGA_STATUS", " (IDSTATUSENTREGA,", "  DESCRICAO,",
                                    "  OBRIGATORIO,", "  ORDEM,", "  VISIVEL) ", "VALUES", " (:pIdStatusEntrega,",
                                    "  :pDescricao,", "  :pObrigatorio,", "  :pOrdem,", "  :pVisivel)"})));
}

TEST_F(Catalogo, ASecondRecordThatFailsLeavesTheTableAsItWas) {
    InserirLinhasAntigas(amb);
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdValidacao"), ftInteger)
        .Campo(QStringLiteral("MsgValidacao"), ftString, 100)
        .Campo(QStringLiteral("CorValidacao"), ftString, 20)
        .Campo(QStringLiteral("AcaoValidacao"), ftInteger);
    p.Linha({1, "Confirme a idade do cliente.", "#D32F2F", 1});
    p.Linha({1, "Repetida", "#1976D2", 0});  // the same key: the INSERT fails
    p.Linha({2, "Ofereça a sobremesa do dia.", "#388E3C", 0});
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("Validacao.dat")));
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    EXPECT_FALSE(w.SalvarValidacoes(g));
    EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    EXPECT_EQ(hint.Hint(), QStringLiteral("Salvando validações no banco de dados..."));
    g.Desconectar();
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_VALIDACAO, MSG_VALIDACAO FROM VALIDACOES")),
              QStringList{QStringLiteral("999|Antiga")});
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});
}

TEST_F(Catalogo, ATextWhereANumberBelongsRaisesAndCommitsNothing) {
    InserirLinhasAntigas(amb);
    TPacoteRetaguarda p = PacotePrazos();
    p.Linha({"1", "001", "À vista", 1, 0, "S", 0, 0.0, "N", 0.0, "001", "A", "001", "N", 0.0, 0.0, 0.0, 0.0});
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("Prazos.dat")));
    TPacoteRetaguarda itens;
    itens.Campo(QStringLiteral("IdItemCardapio"), ftString, 10).Campo(QStringLiteral("DsItemCardapio"), ftString, 60);
    itens.Linha({"1", "Arroz branco"});
    itens.Gravar(amb.ArquivoEntrada(QStringLiteral("ItensCardapio.dat")));
    TPacoteRetaguarda v;
    v.Campo(QStringLiteral("IdValidacao"), ftString, 10)
        .Campo(QStringLiteral("MsgValidacao"), ftString, 100)
        .Campo(QStringLiteral("CorValidacao"), ftString, 20)
        .Campo(QStringLiteral("AcaoValidacao"), ftInteger);
    v.Linha({"1", "Confirme a idade do cliente.", "#D32F2F", 1});
    v.Linha({"dois", "Ofereça a sobremesa do dia.", "#388E3C", 0});
    v.Gravar(amb.ArquivoEntrada(QStringLiteral("Validacao.dat")));
    {
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        ASSERT_TRUE(w.SalvarPrazos(g));
        EXPECT_THROW(w.SalvarValidacoes(g), Exception);
    }
    g.Desconectar();  // as the run ends: the open step is rolled back
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_PRAZO FROM PRAZOS")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_VALIDACAO FROM VALIDACOES")), QStringList{QStringLiteral("999")});
}

TEST_F(Catalogo, DeliveryStatusesAreAddedWhenMissingAndNeverChanged) {
    const QStringList fixos{QStringLiteral("1|Em Preparo|1|1|1"),
                            QStringLiteral("2|Pronto|0|2|1"),
                            QStringLiteral("3|Separado para Entrega|0|3|1"),
                            QStringLiteral("4|Em Entrega|0|4|1"),
                            QStringLiteral("5|Entregue|1|5|1"),
                            QStringLiteral("6|Cancelado|1|6|1"),
                            QStringLiteral("7|Entrega agendada|1|7|1")};
    const QString select =
        QStringLiteral("SELECT IDSTATUSENTREGA, DESCRICAO, OBRIGATORIO, ORDEM, VISIVEL FROM ENTREGA_STATUS ORDER BY 1");
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());

    // On an empty table: the seven rows, committed at once (the step opens no
    // transaction of its own), no hint, no summary line.
    ASSERT_TRUE(w.CadastrarStatusEntrega(g));
    EXPECT_EQ(amb.Linhas(select), fixos);
    EXPECT_TRUE(hint.Historico().isEmpty());
    EXPECT_TRUE(w.ArquivosImportados().isEmpty());

    // Rows 1 to 6 present, row 2 renamed and hidden, row 4 gone and a status
    // of the store's own: only the missing fixed rows come back.
    {
        auto c = amb.Conexao();
        c->Executar(QStringLiteral("DELETE FROM ENTREGA_STATUS WHERE IDSTATUSENTREGA IN (4, 7)"));
        c->Executar(QStringLiteral("UPDATE ENTREGA_STATUS SET DESCRICAO = 'Pronto p/ retirar', ORDEM = 9, "
                                   "VISIVEL = 0 WHERE IDSTATUSENTREGA = 2"));
        c->Executar(QStringLiteral("INSERT INTO ENTREGA_STATUS VALUES (8, 'Aguardando motoboy', 0, 8, 1)"));
    }
    QStringList esperado = fixos;
    esperado[1] = QStringLiteral("2|Pronto p/ retirar|0|9|0");
    esperado << QStringLiteral("8|Aguardando motoboy|0|8|1");
    for (int execucao = 0; execucao < 2; ++execucao) {
        ASSERT_TRUE(w.CadastrarStatusEntrega(g));
        EXPECT_EQ(amb.Linhas(select), esperado);
    }
    EXPECT_TRUE(AmbienteImportacao::Auditorias().isEmpty());
}

TEST_F(Catalogo, AFailingDeliveryStatusStopsTheRestAndIsAudited) {
    {
        auto c = amb.Conexao();
        // A store whose descriptions cannot hold the third status.
        c->ExecutarDireto(QStringLiteral("ALTER TABLE ENTREGA_STATUS ADD CONSTRAINT CK_DESCRICAO_CURTA "
                                         "CHECK (CHAR_LENGTH(DESCRICAO) < 15)"));
    }
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    EXPECT_FALSE(w.CadastrarStatusEntrega(g));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDSTATUSENTREGA FROM ENTREGA_STATUS ORDER BY 1")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});
}
