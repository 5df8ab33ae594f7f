// The schema check: on an empty database it creates every table, column,
// sequence, trigger and index the runs rely on; a second pass changes
// nothing; a missing column comes back without loss of data; the file
// itself is never created. The runs' own statements then work as written.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "ApoioBanco.h"
#include "store/DmInstala.h"
#include "store/EsquemaPdv.h"

using namespace vesko;
using vesko::teste::AmbienteBanco;

namespace {

QSet<QString> Conjunto(TConexaoFirebird& c, const QString& sql) {
    QSet<QString> r;
    auto q = c.Consultar(sql);
    for (q->First(); !q->Eof(); q->Next()) r.insert(q->Fields(0).AsString().trimmed());
    return r;
}

TEST(Esquema, BancoVazioRecebeTudoEUmaSegundaPassagemNadaMuda) {
    AmbienteBanco amb(true, false);
    TDmInstala dm;
    dm.VerificaTables(true, amb.CaminhoBanco());
    EXPECT_FALSE(dm.Alteracoes().isEmpty());

    auto c = amb.Conexao();
    const QSet<QString> colunas = Conjunto(*c, QStringLiteral(
        "SELECT TRIM(RDB$RELATION_NAME) || '.' || TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS"));
    const QSet<QString> sequencias = Conjunto(*c, QStringLiteral("SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS"));
    const QSet<QString> gatilhos = Conjunto(*c, QStringLiteral("SELECT RDB$TRIGGER_NAME FROM RDB$TRIGGERS"));
    int tabelas = 0;
    for (const TTabelaPdv& t : TabelasPdv()) {
        ++tabelas;
        for (const TColunaPdv& col : t.Colunas)
            EXPECT_TRUE(colunas.contains(QStringLiteral("%1.%2").arg(t.Nome, col.Nome))) << t.Nome << "." << col.Nome;
        if (t.Sequencia) {
            EXPECT_TRUE(sequencias.contains(QString::fromLatin1(t.Sequencia))) << t.Sequencia;
            EXPECT_TRUE(gatilhos.contains(QString::fromLatin1(t.Nome) + QStringLiteral("_BI"))) << t.Nome;
        }
    }
    EXPECT_EQ(tabelas, 31);
    for (const char* s : {"GEN_GRUPOS_ID", "GEN_USUARIOS_ACESSOS_ID", "GEN_USUARIOS_RESTRICOES_ID"})
        EXPECT_TRUE(sequencias.contains(QString::fromLatin1(s)));
    const QSet<QString> indices = Conjunto(*c, QStringLiteral("SELECT RDB$INDEX_NAME FROM RDB$INDICES"));
    for (const TIndicePdv& i : IndicesPdv()) EXPECT_TRUE(indices.contains(QString::fromLatin1(i.Nome))) << i.Nome;
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("FOOD_CONFIG")), 0);
    c->Desconectar();

    dm.VerificaTables(true, amb.CaminhoBanco());
    EXPECT_TRUE(dm.Alteracoes().isEmpty()) << dm.Alteracoes().join(QStringLiteral(", ")).toStdString();
    EXPECT_NO_THROW(dm.VerificaTables(false, amb.CaminhoBanco()));
}

TEST(Esquema, ColunaQueFaltaVoltaSemPerdaDeDados) {
    AmbienteBanco amb;
    {
        auto c = amb.Conexao();
        c->ExecutarDireto(QStringLiteral("ALTER TABLE CLIENTES DROP PONTO_REFERENCIA"));
        c->Executar(QStringLiteral("INSERT INTO CLIENTES (IDCLIENTE, NMCLIENTE) VALUES ('1', 'José')"));
    }
    TDmInstala dm;
    try {
        dm.VerificaTables(false, amb.CaminhoBanco());
        FAIL() << "a verificação sem criar deveria apontar a falta";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Mensagem().contains(QStringLiteral("coluna CLIENTES.PONTO_REFERENCIA"))) << e.Mensagem().toStdString();
    }
    dm.VerificaTables(true, amb.CaminhoBanco());
    EXPECT_EQ(dm.Alteracoes(), QStringList{QStringLiteral("coluna CLIENTES.PONTO_REFERENCIA")});
    auto c = amb.Conexao();
    auto q = c->Consultar(QStringLiteral("SELECT IDCLIENTE, NMCLIENTE, PONTO_REFERENCIA, CADASTRADO_NO_CHECKOUT FROM CLIENTES"));
    ASSERT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(q->Fields(1).AsString(), QStringLiteral("José"));
    EXPECT_TRUE(q->Fields(2).IsNull());
    EXPECT_EQ(q->Fields(3).AsInteger(), 0);
}

TEST(Esquema, ChaveDeSequenciaAcrescentadaNumaTabelaComLinhas) {
    AmbienteBanco amb(true, false);
    {
        auto c = amb.Conexao();
        c->ExecutarDireto(QStringLiteral(
            "CREATE TABLE ARQUIVOSDOCUMENTO (IDMOVIMENTO INTEGER, TIPOARQUIVO VARCHAR(10), CONTEUDOARQUIVO BLOB, IPTERMINAL VARCHAR(60))"));
        c->Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO) VALUES (1, 'SDOC')"));
        c->Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO) VALUES (1, 'XDOC')"));
    }
    TDmInstala().VerificaTables(true, amb.CaminhoBanco());
    auto c = amb.Conexao();
    c->Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO) VALUES (2, 'ECXA')"));
    auto q = c->Consultar(QStringLiteral("SELECT IDARQUIVODOCUMENTO, TIPOARQUIVO FROM ARQUIVOSDOCUMENTO ORDER BY 1"));
    ASSERT_EQ(q->RecordCount(), 3);
    QStringList linhas;
    for (q->First(); !q->Eof(); q->Next()) linhas << q->Fields(0).AsString() + QLatin1Char(' ') + q->Fields(1).AsString();
    EXPECT_EQ(linhas, (QStringList{QStringLiteral("1 SDOC"), QStringLiteral("2 XDOC"), QStringLiteral("3 ECXA")}));
}

TEST(Esquema, NuncaCriaOArquivoDoBanco) {
    AmbienteBanco amb(false);
    TDmInstala dm;
    EXPECT_NO_THROW(dm.VerificaTables(true, amb.CaminhoBanco()));
    EXPECT_FALSE(QFile::exists(amb.CaminhoBanco()));
    EXPECT_TRUE(dm.Alteracoes().isEmpty());
}

// The statements below are the runs' own (import and export), as they send
// them; on the schema they must run without error and do what the runs expect.
TEST(Esquema, OsComandosDasRotinasFuncionamComoEscritos) {
    AmbienteBanco amb;
    auto c = amb.Conexao();
    const auto exec = [&](const QString& sql, const TParams* p = nullptr) { return c->Executar(sql, p); };

    TParams img;
    img.CreateParam(TFieldType::ftBlob, QStringLiteral("pImagem")).SetAsBlob(QByteArray("BM\x01\x02", 4));
    EXPECT_EQ(exec(QStringLiteral("INSERT INTO GRUPOSTPREC VALUES (3, '000003', 'CARTÃO', :pImagem, null, 0)"), &img), 1u);

    exec(QStringLiteral("ALTER SEQUENCE GEN_GRUPOS_ID RESTART WITH 0"));
    TParams g;
    g.CreateParam(TFieldType::ftString, QStringLiteral("pDsGrupo")).SetAsString(QStringLiteral("GRUPO INDEFINIDO"));
    g.CreateParam(TFieldType::ftString, QStringLiteral("pCdGrupo")).SetAsString(QStringLiteral("999999"));
    g.CreateParam(TFieldType::ftBlob, QStringLiteral("pImagem")).SetAsBlob(QByteArray(2698, 'j'));
    g.CreateParam(TFieldType::ftInteger, QStringLiteral("pStProducao")).SetAsInteger(0);
    EXPECT_EQ(exec(QStringLiteral("INSERT INTO GRUPOS\r\n (DSGRUPO,\r\n  CDGRUPO,\r\n  IMAGEM,\r\n  STPRODUCAO) \r\nVALUES\r\n"
                                  " (:pDsGrupo,\r\n  :pCdGrupo,\r\n  :pImagem,\r\n  :pStProducao)\r\n"), &g), 1u);
    EXPECT_EQ(c->Consultar(QStringLiteral("SELECT IDGRUPO FROM GRUPOS WHERE CDGRUPO = '999999'"))->Fields(0).AsInteger(), 1);

    // Products: the long statement, whose last placeholder differs in case
    // from its parameter.
    const QString produtos = QStringLiteral(
        "INSERT INTO PRODUTOS (IDPRODUTO,  IDDETALHE,  IDGRUPO,  CDPRODUTO,  DSPRODUTO,  DSCURTA,  STINSUMO,  VLVENDA,  "
        "STIMPRIMECOMANDA,  ST_CONTROLA_SERVIDO,  STATIVO,  UNIDADE,  TPTRIBUTACAO,  ALTRIBUTACAO,  ST1,  STDESCCOMPLEMENTAR,  "
        "CDSITTRIB,  ALCARGATRIBUTARIA,  CSOSN,  NCM,  ALCTFEDNAC,  ALCTFEDIMP,  ALCTEST,  ALCTMUN,  CDSITTRIBPIS,  "
        "CDSITTRIBCOFINS,  ALPIS,  ALCOFINS,  NATUREZAOPERACAO,  ORIGEMMERCADORIA,  CEST,  CFOP,  STPESADO,  STBALANCA,  "
        "STUNITARIO,  STPRODUTOCOMPOSTO,  IMAGEM,  FTCONVUNIDTRIBUTARIA,  TPUNIDTRIBUTARIA)VALUES (:pIdProduto,  :pIdDetalhe,  "
        ":pIdGrupo,  :pCdProduto,  :pDsProduto,  :pDsCurta,  :pStInsumo,  :pVlVenda,  :pStImprimeComanda,  :pStControlaServido,  "
        ":pStAtivo,  :pUnidade,  :pTpTributacao,  :pAlTributacao,  :pSt1,  :pStDescComplementar,  :pCdSitTrib,  "
        ":pAlCargaTributaria,  :pCSOSN,  :pNCM,  :pAlCtFedNac,  :pAlCtFedImp,  :pAlCtEst,  :pAlCtMun,  :pCdSitTribPIS,  "
        ":pCdSitTribCOFINS,  :pAlPIS,  :pAlCOFINS,  :pNaturezaOperacao,  :pOrigemMercadoria,  :pCEST,  :pCFOP,  :pStPesado,  "
        ":pStBalanca,  :pStUnitario,  :pStProdutoComposto,  :pImagem,  :pFTConvUnidTributaria,  :pTPUnidTributaria)");
    TParams p;
    using T = TFieldType;
    const auto texto = [&](const char* n, const QString& v) { p.CreateParam(T::ftString, QString::fromLatin1(n)).SetAsString(v); };
    const auto real = [&](const char* n, double v) { p.CreateParam(T::ftFloat, QString::fromLatin1(n)).SetAsFloat(v); };
    const auto inteiro = [&](const char* n, int v) { p.CreateParam(T::ftInteger, QString::fromLatin1(n)).SetAsInteger(v); };
    const auto logico = [&](const char* n, bool v) { p.CreateParam(T::ftBoolean, QString::fromLatin1(n)).SetAsBoolean(v); };
    texto("pIdProduto", QStringLiteral("10")); texto("pIdDetalhe", QStringLiteral("10.1")); inteiro("pIdGrupo", 1);
    texto("pCdProduto", QStringLiteral("7891234567895")); texto("pDsProduto", QString(60, QLatin1Char('P')));
    texto("pDsCurta", QString(40, QLatin1Char('P'))); p.CreateParam(T::ftSmallint, QStringLiteral("pStInsumo")).SetAsSmallInt(0);
    real("pVlVenda", 12.5); inteiro("pStImprimeComanda", 1); inteiro("pStControlaServido", 1); inteiro("pStAtivo", 1);
    texto("pUnidade", QStringLiteral("UN")); texto("pTpTributacao", QStringLiteral("T")); real("pAlTributacao", 18);
    inteiro("pSt1", 0); logico("pStDescComplementar", false); texto("pCdSitTrib", QStringLiteral("00"));
    real("pAlCargaTributaria", 31.45); texto("pCSOSN", QStringLiteral("102")); texto("pNCM", QStringLiteral("21069090"));
    real("pAlCtFedNac", 4.2); real("pAlCtFedImp", 5.1); real("pAlCtEst", 18); real("pAlCtMun", 0);
    texto("pCdSitTribPIS", QStringLiteral("01")); texto("pCdSitTribCOFINS", QStringLiteral("01")); real("pAlPIS", 1.65);
    real("pAlCOFINS", 7.6); inteiro("pNaturezaOperacao", 1); texto("pOrigemMercadoria", QStringLiteral("0"));
    texto("pCEST", QStringLiteral("1709600")); texto("pCFOP", QStringLiteral("5102")); logico("pStPesado", true);
    logico("pStBalanca", false); logico("pStUnitario", true); logico("pStProdutoComposto", false);
    p.CreateParam(T::ftBlob, QStringLiteral("pImagem"));  // no picture: null
    real("pFTConvUnidTributaria", 0); texto("pTpUnidTributaria", QStringLiteral("KG"));
    EXPECT_EQ(exec(produtos, &p), 1u);
    EXPECT_EQ(c->Consultar(QStringLiteral("SELECT TPUNIDTRIBUTARIA, STPESADO, VLVENDA FROM PRODUTOS"))->Fields(0).AsString(),
              QStringLiteral("KG"));

    // Users: a 128-character password hash; restrictions pointing at access 0.
    TParams f;
    f.CreateParam(T::ftString, QStringLiteral("pIdFuncionario")).SetAsString(QStringLiteral("000007"));
    f.CreateParam(T::ftString, QStringLiteral("pSenha")).SetAsString(QString(128, QLatin1Char('a')));
    EXPECT_EQ(exec(QStringLiteral("INSERT INTO FUNCIONARIOS (IDFUNCIONARIO, SENHA, TPFUNCIONARIO) VALUES (:pIdFuncionario, :pSenha, 'U')"), &f), 1u);
    exec(QStringLiteral("ALTER SEQUENCE GEN_USUARIOS_ACESSOS_ID RESTART WITH 0"));
    EXPECT_EQ(exec(QStringLiteral("INSERT INTO USUARIOS_ACESSOS\r\n  (CODIGO, DESCRICAO) \r\nVALUES\r\n  ('9813', 'Sangria')")), 1u);
    EXPECT_EQ(c->Consultar(QStringLiteral("SELECT ID FROM USUARIOS_ACESSOS"))->Fields(0).AsInteger(), 1);
    EXPECT_EQ(exec(QStringLiteral("INSERT INTO USUARIOS_RESTRICOES  (ID_USUARIO, ID_ACESSO, TP_RESTRICAO) VALUES  ('000007', 0, 'P')")), 1u);
    EXPECT_EQ(exec(QStringLiteral("INSERT INTO SENHAS_GARCONS\r\n  (ID_GARCOM, SENHA, SENHA_MAITRE) \r\nVALUES\r\n  ('12', '', 0)")), 1u);

    // Customers: back-office rows go while sales still point at them.
    exec(QStringLiteral("INSERT INTO CLIENTES (IDCLIENTE, CADASTRADO_NO_CHECKOUT) VALUES ('B1', 0)"));
    exec(QStringLiteral("INSERT INTO MOVIMENTO (ID_CLIENTE, ST_MOVIMENTO, TIPO_OPERACAO, HRFECHAMENTO) VALUES ('B1', 1, 'V', CURRENT_TIMESTAMP)"));
    exec(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, NRORDEM, IPTERMINAL) VALUES (1, '1234', 'CAIXA01')"));
    exec(QStringLiteral("INSERT INTO CLIENTE_COMPLEMENTO (IDCLIENTE, PONTO_REFERENCIA) VALUES ('B1', 'Perto da praça')"));
    EXPECT_EQ(exec(QStringLiteral("UPDATE\r\n  CLIENTES C \r\nSET\r\n  C.PONTO_REFERENCIA = (SELECT\r\n  CP.PONTO_REFERENCIA\r\n"
                                  "  FROM\r\n  CLIENTE_COMPLEMENTO CP\r\n  WHERE\r\n  CP.IDCLIENTE = C.IDCLIENTE)")), 1u);
    EXPECT_EQ(exec(QStringLiteral("DELETE FROM CLIENTES WHERE CADASTRADO_NO_CHECKOUT = 0")), 1u);

    // Export selections whose columns carry no table prefix.
    TParams v;
    for (const auto& [n, x] : std::initializer_list<std::pair<const char*, int>>{
             {"pNao", 0}, {"pVenda", 1}, {"pCancelamento", 2}, {"pAlteracao", 3}, {"pTrue", 1}})
        v.CreateParam(T::ftInteger, QString::fromLatin1(n)).SetAsInteger(x);
    v.CreateParam(T::ftString, QStringLiteral("pOperacaoVenda")).SetAsString(QStringLiteral("V"));
    auto vendas = c->Consultar(QStringLiteral(
        "SELECT M.IDMOVIMENTO, M.HRFECHAMENTO, M.DATA_HORA_PEDIDO, COALESCE(M.IDVENDEDOR, '') AS IDVENDEDOR, M.ID_USUARIO, "
        "M.ID_CLIENTE, M.CPF_CNPJ, M.ST_MOVIMENTO, M.ST_MOVIMENTO_EXPORTADO, MC.VALOR, MC.OBSERVACAO, "
        "COALESCE(MC.VLACRESCIMO, 0.00) + COALESCE(MC.VLSERVICO, 0.00) AS VLACRESCIMO, COALESCE(MC.VLSERVICO, 0.00) AS VLSERVICO, "
        "MC.VLDESCONTO, MC.NRMODELONF, MC.NRSERIE, MC.NRORDEM, M.NUMERO_PEDIDO, MC.TERMINALGUID, MC.IPTERMINAL, "
        "MC.DOCABERTURAENCERRAMENTO, MC.VLTRIBFEDNAC, MC.VLTRIBFEDIMP, MC.VLTRIBEST, MC.VLTRIBMUN \r\n"
        "FROM MOVIMENTO M INNER JOIN MOVIMENTO_COMPLEMENTO MC ON M.IDMOVIMENTO = MC.MOVIMENTO_ID \r\n"
        "WHERE (M.ST_MOVIMENTO = :pVenda OR M.ST_MOVIMENTO = :pCancelamento) AND "
        "(M.ST_MOVIMENTO_EXPORTADO IN (:pNao, :pAlteracao) OR M.ST_MOVIMENTO_EXPORTADO = :pCancelamento) AND "
        "UPPER(M.TIPO_OPERACAO) = :pOperacaoVenda AND ((ST_ENTREGA=:pTrue and ST_ENTREGAFINALIZADA=:pTrue ) OR (ST_ENTREGA=:pNao))"), &v);
    ASSERT_EQ(vendas->RecordCount(), 1);
    EXPECT_EQ(vendas->FieldByName(QStringLiteral("NRORDEM")).AsString(), QStringLiteral("1234"));

    TParams cli;
    cli.CreateParam(T::ftString, QStringLiteral("pIdCliente")).SetAsString(QStringLiteral("B1"));
    cli.CreateParam(T::ftInteger, QStringLiteral("pTrue")).SetAsInteger(1);
    cli.CreateParam(T::ftInteger, QStringLiteral("pNao")).SetAsInteger(0);
    EXPECT_EQ(c->Consultar(QStringLiteral(
        "SELECT NRORDEM, IPTERMINAL, DATA_HORA_PEDIDO FROM MOVIMENTO M INNER JOIN MOVIMENTO_COMPLEMENTO MC ON "
        "M.IDMOVIMENTO = MC.MOVIMENTO_ID WHERE M.ID_CLIENTE = :pIdCliente AND "
        "((ST_ENTREGA = :pTrue AND ST_ENTREGAFINALIZADA = :pTrue) OR (ST_ENTREGA = :pNao))"), &cli)->RecordCount(), 1);

    exec(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, IPTERMINAL) VALUES (NULL, 'ECXA', 'CAIXA01')"));
    exec(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, IPTERMINAL) VALUES (1, 'XDOC', 'CAIXA01')"));
    TParams doc;
    doc.CreateParam(T::ftString, QStringLiteral("pTipoArquvo")).SetAsString(QStringLiteral("XDOC"));
    doc.CreateParam(T::ftInteger, QStringLiteral("pTrue")).SetAsInteger(1);
    doc.CreateParam(T::ftInteger, QStringLiteral("pNao")).SetAsInteger(0);
    EXPECT_EQ(c->Consultar(QStringLiteral(
        "SELECT\r\n  IPTERMINAL,\r\n  TIPOARQUIVO,\r\n  CONTEUDOARQUIVO \r\nFROM\r\n  ARQUIVOSDOCUMENTO AD \r\n"
        "LEFT JOIN MOVIMENTO M ON AD.IDMOVIMENTO = M.IDMOVIMENTO \r\nWHERE\r\n  UPPER(TIPOARQUIVO) = :pTipoArquvo \r\n"
        " AND ((M.ST_ENTREGA=:pTrue and M.ST_ENTREGAFINALIZADA=:pTrue )\r\n  OR (M.ST_ENTREGA=:pNao))"), &doc)->RecordCount(), 1);
    EXPECT_EQ(exec(QStringLiteral(
        "DELETE FROM\r\n  ARQUIVOSDOCUMENTO \r\nWHERE\r\n  UPPER(TIPOARQUIVO) = :pTipoArquvo \r\n AND IDMOVIMENTO IN (\r\n"
        " SELECT IDMOVIMENTO FROM MOVIMENTO\r\n WHERE\r\n ((ST_ENTREGA=:pTrue and ST_ENTREGAFINALIZADA=:pTrue )\r\n"
        "  OR (ST_ENTREGA=:pNao)))"), &doc), 1u);
    EXPECT_EQ(c->Consultar(QStringLiteral("SELECT IDARQUIVODOCUMENTO FROM ARQUIVOSDOCUMENTO"))->Fields(0).AsInteger(), 1);

    exec(QStringLiteral("INSERT INTO LOGEVT (DSUSUARIOLOGADO, TPLOG) VALUES ('caixa', 1)"));
    auto log = c->Consultar(QStringLiteral("SELECT IDLOG, DTLOG FROM LOGEVT"));
    EXPECT_EQ(log->Fields(0).AsInteger(), 1);
    EXPECT_FALSE(log->Fields(1).IsNull());
}

// docs/schema-pdv.md lists every table with every column of it.
TEST(Esquema, DocumentacaoDescreveCadaTabelaEColuna) {
    QFile f(QStringLiteral(VESKO_SOURCE_DIR "/docs/schema-pdv.md"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString doc = QString::fromUtf8(f.readAll());
    for (const TTabelaPdv& t : TabelasPdv()) {
        const QString titulo = QStringLiteral("\n### ") + QString::fromLatin1(t.Nome) + QLatin1Char('\n');
        const qsizetype inicio = doc.indexOf(titulo);
        ASSERT_GE(inicio, 0) << t.Nome;
        qsizetype fim = doc.indexOf(QStringLiteral("\n#"), inicio + titulo.size());
        if (fim < 0) fim = doc.size();
        const QString secao = doc.mid(inicio, fim - inicio);
        for (const TColunaPdv& col : t.Colunas)
            EXPECT_TRUE(secao.contains(QStringLiteral("| ") + QString::fromLatin1(col.Nome) + QStringLiteral(" |")))
                << t.Nome << "." << col.Nome;
    }
}

}  // namespace
