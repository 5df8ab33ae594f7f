// The Firebird connection: binding by name, conversions, affected rows,
// auto-commit and isolation, rollback on close, the prepared-statement cache.
// Built twice: on the embedded engine and against the test server.
#include <gtest/gtest.h>

#include <QDateTime>

#include "ApoioFirebird.h"
#include "base/Cp1252.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/SqlParametros.h"

using namespace vesko;
using vesko::teste::AmbienteFirebird;

namespace {

class ConexaoTest : public ::testing::Test {
protected:
    AmbienteFirebird amb;
    std::unique_ptr<TConexaoFirebird> c = amb.Conexao();

    void SetUp() override {
        c->ExecutarDireto(QStringLiteral(
            "CREATE TABLE T (ID INTEGER, NOME VARCHAR(40), VALOR NUMERIC(15,2), DATA DATE, MOMENTO TIMESTAMP, "
            "FLAG SMALLINT, FOTO BLOB SUB_TYPE 0, TEXTO BLOB SUB_TYPE 1, CARIMBO VARCHAR(20))"));
    }

    void Inserir(int id, const QString& nome) {
        TParams p;
        p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(id);
        p.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(nome);
        c->Executar(QStringLiteral("INSERT INTO T (ID, NOME) VALUES (:pId, :pNome)"), &p);
    }
};

TEST_F(ConexaoTest, ValoresPassamPorNomeSemDiferencaDeCaixaEVoltamComOTipoDaColuna) {
    QByteArray foto;
    for (int i = 0; i < 100000; ++i) foto.append(static_cast<char>(i % 256));  // several segments
    TParams p;
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(7);
    p.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(QStringLiteral("Pão de queijo"));
    p.CreateParam(TFieldType::ftFloat, QStringLiteral("pValor")).SetAsFloat(12.345);
    p.CreateParam(TFieldType::ftDate, QStringLiteral("pData")).SetAsDate(QDate(1899, 12, 30));
    p.CreateParam(TFieldType::ftDateTime, QStringLiteral("pMomento")).SetAsDateTime(QDateTime(QDate(2024, 2, 29), QTime(23, 50, 7)));
    p.CreateParam(TFieldType::ftBoolean, QStringLiteral("pFlag")).SetAsBoolean(true);
    p.CreateParam(TFieldType::ftBlob, QStringLiteral("pFoto")).SetAsBlob(foto);
    p.CreateParam(TFieldType::ftMemo, QStringLiteral("pTexto")).SetAsMemo(QStringLiteral("Observação: não há."));
    p.CreateParam(TFieldType::ftString, QStringLiteral("pCarimbo"));  // null
    const auto n = c->Executar(QStringLiteral(
        "INSERT INTO T (ID, NOME, VALOR, DATA, MOMENTO, FLAG, FOTO, TEXTO, CARIMBO) VALUES "
        "(:PID, :pnome, :pValor, :pData, :pMomento, :pFlag, :pFoto, :pTEXTO, :pCarimbo)"), &p);
    EXPECT_EQ(n, 1u);

    auto q = c->Consultar(QStringLiteral("SELECT * FROM T"));
    ASSERT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Id")).AsInteger(), 7);
    EXPECT_EQ(q->FieldByName(QStringLiteral("nome")).AsString(), QStringLiteral("Pão de queijo"));
    EXPECT_DOUBLE_EQ(q->FieldByName(QStringLiteral("VALOR")).AsFloat(), 12.35);  // the column's scale rounds
    EXPECT_EQ(q->FieldByName(QStringLiteral("VALOR")).AsString(), QStringLiteral("12,35"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("Data")).AsDate(), QDate(1899, 12, 30));
    EXPECT_EQ(q->FieldByName(QStringLiteral("Data")).AsFloat(), 0.0);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Momento")).AsDateTime(), QDateTime(QDate(2024, 2, 29), QTime(23, 50, 7)));
    EXPECT_EQ(q->FieldByName(QStringLiteral("Flag")).AsInteger(), 1);  // a Boolean lands in SMALLINT as 1
    EXPECT_EQ(q->FieldByName(QStringLiteral("Foto")).AsBytes(), foto);
    EXPECT_EQ(q->FieldByName(QStringLiteral("Texto")).AsString(), QStringLiteral("Observação: não há."));
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Carimbo")).IsNull());
    EXPECT_EQ(q->FieldByName(QStringLiteral("Carimbo")).AsString(), QString());

    // One parameter may fill several placeholders; a text reaches an integer
    // column through the database's own conversion.
    TParams p2;
    p2.CreateParam(TFieldType::ftString, QStringLiteral("pX")).SetAsString(QStringLiteral("7"));
    EXPECT_EQ(c->Executar(QStringLiteral("UPDATE T SET ID = :pX + 1 WHERE ID = :px"), &p2), 1u);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T WHERE ID = 8")), 1);
}

TEST_F(ConexaoTest, AcentosChegamNoCharsetDoBancoSemPerda) {
    EXPECT_EQ(c->CharSetBanco(), QStringLiteral("WIN1252"));
    const QString texto = QStringLiteral("Configurações ÁÉÍÓÚ âêô ü Ç");
    Inserir(1, texto);
    EXPECT_EQ(c->Consultar(QStringLiteral("SELECT NOME FROM T"))->Fields(0).AsString(), texto);
    // Stored as the POS stores it: one Windows-1252 byte per letter.
    auto q = c->Consultar(QStringLiteral("SELECT CAST(NOME AS VARCHAR(40) CHARACTER SET OCTETS) FROM T"));
    EXPECT_EQ(q->Fields(0).AsBytes(), ParaCp1252(texto));
    // And found by a parameter holding the same text.
    TParams p;
    p.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(texto);
    EXPECT_EQ(c->Consultar(QStringLiteral("SELECT ID FROM T WHERE NOME = :pNome"), &p)->RecordCount(), 1);
}

TEST_F(ConexaoTest, ParametroQueOComandoNaoUsaFalhaSemExecutar) {
    TParams p;
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(1);
    p.CreateParam(TFieldType::ftString, QStringLiteral("pNaoUsado")).SetAsString(QStringLiteral("x"));
    try {
        c->Executar(QStringLiteral("INSERT INTO T (ID) VALUES (:pId)"), &p);
        FAIL() << "deveria falhar";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Mensagem(), QStringLiteral("Parâmetro 'pNaoUsado' não encontrado."));
    }
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 0);
}

TEST_F(ConexaoTest, ContaAsLinhasAfetadasDeCadaComando) {
    for (int i = 1; i <= 3; ++i) Inserir(i, QStringLiteral("n%1").arg(i));
    EXPECT_EQ(c->Executar(QStringLiteral("INSERT INTO T (ID) SELECT ID + 10 FROM T")), 3u);
    EXPECT_EQ(c->Executar(QStringLiteral("UPDATE T SET NOME = 'x' WHERE ID > 10")), 3u);
    EXPECT_EQ(c->Executar(QStringLiteral("UPDATE T SET NOME = 'x' WHERE ID = 99")), 0u);
    EXPECT_EQ(c->Executar(QStringLiteral("DELETE FROM T WHERE ID < 3")), 2u);
}

TEST_F(ConexaoTest, ComandoComSaidaSemCursorDevolveSuaLinha) {
    TParams p;
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(5);
    p.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(QStringLiteral("Pão"));
    auto q = c->Consultar(QStringLiteral("INSERT INTO T (ID, NOME) VALUES (:pId, :pNome) RETURNING ID, NOME"), &p);
    ASSERT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(q->FieldByName(QStringLiteral("ID")).AsInteger(), 5);
    EXPECT_EQ(q->FieldByName(QStringLiteral("NOME")).AsString(), QStringLiteral("Pão"));
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T WHERE ID = 5")), 1);
}

TEST_F(ConexaoTest, MemoNoutroCharsetEConvertidoNaIdaENaVolta) {
    c->ExecutarDireto(QStringLiteral("CREATE TABLE NOTAS (ID INTEGER, NOTA BLOB SUB_TYPE 1 CHARACTER SET UTF8)"));
    const QString texto = QStringLiteral("Configurações ÁÉÍÓÚ âêô ü Ç");
    TParams p;
    p.CreateParam(TFieldType::ftMemo, QStringLiteral("pNota")).SetAsMemo(texto);
    c->Executar(QStringLiteral("INSERT INTO NOTAS (ID, NOTA) VALUES (1, :pNota)"), &p);
    EXPECT_EQ(c->Consultar(QStringLiteral("SELECT NOTA FROM NOTAS"))->Fields(0).AsString(), texto);
    // Stored as UTF-8, as the database itself reads it.
    auto q = c->Consultar(QStringLiteral("SELECT CAST(CAST(NOTA AS VARCHAR(100) CHARACTER SET UTF8) "
                                         "AS VARCHAR(200) CHARACTER SET OCTETS) FROM NOTAS"));
    EXPECT_EQ(q->Fields(0).AsBytes(), texto.toUtf8());
}

TEST_F(ConexaoTest, ConsultaBuscaTodasAsLinhasEAndaComoUmDataset) {
    for (int i = 1; i <= 3; ++i) Inserir(i, QStringLiteral("n%1").arg(i));
    auto q = c->Consultar(QStringLiteral("SELECT ID, NOME AS Apelido FROM T ORDER BY ID"));
    EXPECT_EQ(q->RecordCount(), 3);
    EXPECT_FALSE(q->Eof());
    QList<int> ids;
    for (q->First(); !q->Eof(); q->Next()) ids.append(q->FieldByName(QStringLiteral("id")).AsInteger());
    EXPECT_EQ(ids, (QList<int>{1, 2, 3}));
    q->Last();
    EXPECT_TRUE(q->Eof());
    EXPECT_EQ(q->FieldByName(QStringLiteral("APELIDO")).AsString(), QStringLiteral("n3"));
    EXPECT_THROW(q->FieldByName(QStringLiteral("NAOEXISTE")), EDatabaseError);
    EXPECT_EQ(q->FindField(QStringLiteral("NAOEXISTE")), nullptr);

    auto vazia = c->Consultar(QStringLiteral("SELECT ID FROM T WHERE ID < 0"));
    EXPECT_TRUE(vazia->IsEmpty());
    EXPECT_TRUE(vazia->Eof());
}

TEST_F(ConexaoTest, ForaDeTransacaoCadaComandoConfirmaSozinho) {
    auto outra = amb.Conexao();
    Inserir(1, QStringLiteral("a"));
    EXPECT_FALSE(c->EmTransacao());
    EXPECT_EQ(amb.Contar(*outra, QStringLiteral("T")), 1);
}

TEST_F(ConexaoTest, DentroDaTransacaoOsComandosSaoDelaSo) {
    auto outra = amb.Conexao();
    c->IniciarTransacao();
    Inserir(1, QStringLiteral("a"));
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 1);
    EXPECT_EQ(amb.Contar(*outra, QStringLiteral("T")), 0);
    c->ReverterTransacao();
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 0);

    c->IniciarTransacao();
    Inserir(2, QStringLiteral("b"));
    c->ConfirmarTransacao();
    EXPECT_EQ(amb.Contar(*outra, QStringLiteral("T")), 1);

    EXPECT_THROW(c->ConfirmarTransacao(), EDatabaseError);  // none open
    c->IniciarTransacao();
    EXPECT_THROW(c->IniciarTransacao(), EDatabaseError);    // one already open
    c->ReverterTransacao();
}

TEST_F(ConexaoTest, PassoRevertidoMantemOCarimboGravadoAntes) {
    Inserir(1, QStringLiteral("a"));
    c->Executar(QStringLiteral("UPDATE T SET CARIMBO = '2024-01-01 10:00:00'"));
    c->IniciarTransacao();
    c->Executar(QStringLiteral("DELETE FROM T"));
    Inserir(2, QStringLiteral("b"));
    c->ReverterTransacao();
    auto outra = amb.Conexao();
    auto q = outra->Consultar(QStringLiteral("SELECT ID, CARIMBO FROM T"));
    ASSERT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(q->Fields(0).AsInteger(), 1);
    EXPECT_EQ(q->Fields(1).AsString(), QStringLiteral("2024-01-01 10:00:00"));
}

TEST_F(ConexaoTest, ConexaoLiberadaNoMeioDeUmaTransacaoNaoConfirmaNada) {
    for (int i = 1; i <= 3; ++i) Inserir(i, QStringLiteral("n"));
    try {
        auto passo = amb.Conexao();
        passo->IniciarTransacao();
        passo->Executar(QStringLiteral("DELETE FROM T"));
        throw std::runtime_error("falha no meio do passo");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 3);

    auto passo = amb.Conexao();
    passo->IniciarTransacao();
    passo->Executar(QStringLiteral("DELETE FROM T"));
    passo->Desconectar();
    EXPECT_FALSE(passo->Conectado());
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 3);
}

TEST_F(ConexaoTest, TextoJaPreparadoNaoEPreparadoDeNovo) {
    Inserir(-1, QStringLiteral("primeiro"));
    const int antes = c->ComandosPreparados();
    for (int i = 0; i < 50; ++i) Inserir(i, i % 2 ? QStringLiteral("um texto mais longo que o outro") : QString());
    EXPECT_EQ(c->ComandosPreparados(), antes);
    TParams nulos;
    nulos.CreateParam(TFieldType::ftInteger, QStringLiteral("pId"));
    nulos.CreateParam(TFieldType::ftString, QStringLiteral("pNome"));
    c->Executar(QStringLiteral("INSERT INTO T (ID, NOME) VALUES (:pId, :pNome)"), &nulos);
    EXPECT_EQ(c->ComandosPreparados(), antes);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T WHERE ID IS NULL AND NOME IS NULL")), 1);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T WHERE NOME = 'um texto mais longo que o outro'")), 25);
}

TEST_F(ConexaoTest, MarcadorSemParametroFalhaEDizQualEra) {
    TParams p;
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(1);
    try {
        c->Executar(QStringLiteral("INSERT INTO T (ID, NOME) VALUES (:pId, :pNmoe)"), &p);
        FAIL() << "a placeholder without its parameter must not store NULL";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Mensagem(), QStringLiteral("Nenhum parâmetro foi informado para ':pNmoe'."));
    }
    EXPECT_THROW(c->Executar(QStringLiteral("DELETE FROM T WHERE ID = :pId")), EDatabaseError);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 0);
}

TEST_F(ConexaoTest, SoOParametroLimpoENuloTextoEBlobVaziosSaoValores) {
    TParams p;
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(1);
    p.CreateParam(TFieldType::ftBlob, QStringLiteral("pFoto")).SetAsBlob(QByteArray());
    p.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(QString());
    p.CreateParam(TFieldType::ftMemo, QStringLiteral("pTexto")).SetAsMemo(QStringLiteral("x"));
    p.ParamByName(QStringLiteral("pTexto")).Clear();
    c->Executar(QStringLiteral("INSERT INTO T (ID, FOTO, NOME, TEXTO) VALUES (:pId, :pFoto, :pNome, :pTexto)"), &p);
    auto q = c->Consultar(QStringLiteral(
        "SELECT FOTO IS NULL, OCTET_LENGTH(FOTO), NOME IS NULL, CHAR_LENGTH(NOME), TEXTO IS NULL FROM T"));
    EXPECT_FALSE(q->Fields(0).AsBoolean());
    EXPECT_EQ(q->Fields(1).AsInteger(), 0);
    EXPECT_FALSE(q->Fields(2).AsBoolean());
    EXPECT_EQ(q->Fields(3).AsInteger(), 0);
    EXPECT_TRUE(q->Fields(4).AsBoolean());
    EXPECT_THROW(q->Fields(5), EDatabaseError);
    EXPECT_THROW(q->Fields(-1), EDatabaseError);
}

TEST_F(ConexaoTest, TransacaoEsperaNoMaximoDezSegundosPorUmaLinhaBloqueada) {
    const QString sql = QStringLiteral(
        "SELECT MON$LOCK_TIMEOUT, MON$ISOLATION_MODE FROM MON$TRANSACTIONS "
        "WHERE MON$TRANSACTION_ID = CURRENT_TRANSACTION");
    c->IniciarTransacao();
    auto q = c->Consultar(sql);
    EXPECT_EQ(q->Fields(0).AsInteger(), 10);
    EXPECT_EQ(q->Fields(1).AsInteger(), 2);  // read committed, record versions
    c->ReverterTransacao();
    // A statement outside a transaction runs in one of the same kind.
    q = c->Consultar(sql);
    EXPECT_EQ(q->Fields(0).AsInteger(), 10);
}

TEST_F(ConexaoTest, ListaReaproveitadaNaoGuardaValoresNemParametrosDaLinhaAnterior) {
    const QString sql = QStringLiteral("INSERT INTO T (ID, NOME) VALUES (:pId, :pNome)");
    TParams p;
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(1);
    p.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(QStringLiteral("primeira"));
    c->Executar(sql, &p);
    // Created again but not set: null, not the previous row's text.
    p.Reutilizar();
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(2);
    p.CreateParam(TFieldType::ftString, QStringLiteral("pNome"));
    c->Executar(sql, &p);
    // Not created again: the statement fails instead of sending a stale value.
    p.Reutilizar();
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(3);
    EXPECT_EQ(p.Count(), 1);
    EXPECT_EQ(p.FindParam(QStringLiteral("pNome")), nullptr);
    EXPECT_THROW(c->Executar(sql, &p), EDatabaseError);
    // Another name in a kept slot binds by its own name.
    p.Reutilizar();
    p.CreateParam(TFieldType::ftString, QStringLiteral("PNOME")).SetAsString(QStringLiteral("quarta"));
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pid")).SetAsInteger(4);
    c->Executar(sql, &p);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 3);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T WHERE ID = 1 AND NOME = 'primeira'")), 1);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T WHERE ID = 2 AND NOME IS NULL")), 1);
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T WHERE ID = 4 AND NOME = 'quarta'")), 1);
}

TEST_F(ConexaoTest, CacheCheioLiberaOMenosUsadoENaoOQueRodaSempre) {
    const QString frequente = QStringLiteral("SELECT COUNT(*) FROM T");
    c->Consultar(frequente);
    const int antes = c->Preparacoes();
    for (int i = 0; i < 600; ++i) {
        c->Consultar(QStringLiteral("SELECT %1 FROM RDB$DATABASE").arg(i));
        c->Consultar(frequente);
    }
    EXPECT_EQ(c->Preparacoes(), antes + 600);  // the frequent text was never prepared again
    EXPECT_LE(c->ComandosPreparados(), 512);
}

TEST_F(ConexaoTest, ErroDoBancoViraExcecaoEAConexaoContinuaUtil) {
    try {
        c->Executar(QStringLiteral("INSERT INTO NAO_EXISTE (X) VALUES (1)"));
        FAIL();
    } catch (const EFirebirdError& e) {
        EXPECT_TRUE(e.Mensagem().contains(QStringLiteral("NAO_EXISTE"))) << e.Mensagem().toStdString();
        EXPECT_EQ(e.NomeClasse(), QStringLiteral("EFirebirdError"));
    }
    TParams p;
    p.CreateParam(TFieldType::ftString, QStringLiteral("pId")).SetAsString(QStringLiteral("abc"));
    EXPECT_THROW(c->Executar(QStringLiteral("INSERT INTO T (ID) VALUES (:pId)"), &p), EFirebirdError);
    TParams longo;
    longo.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(QString(41, QLatin1Char('x')));
    EXPECT_THROW(c->Executar(QStringLiteral("INSERT INTO T (NOME) VALUES (:pNome)"), &longo), EFirebirdError);
    Inserir(1, QStringLiteral("ok"));
    EXPECT_EQ(amb.Contar(*c, QStringLiteral("T")), 1);
}

TEST(ConexaoSemBanco, ArquivoInexistenteNaoECriado) {
    AmbienteFirebird amb(false);
    TConexaoFirebird c(amb.Parametros());
    EXPECT_THROW(c.Conectar(), EFirebirdError);
    EXPECT_FALSE(c.Conectado());
    EXPECT_FALSE(QFile::exists(amb.CaminhoBanco()));
    EXPECT_THROW(c.Executar(QStringLiteral("SELECT 1 FROM RDB$DATABASE")), EDatabaseError);
}

TEST(ConexaoSemBanco, SenhaErradaERecusada) {
    AmbienteFirebird amb;
    TParametrosConexao p = amb.Parametros();
    p.Senha = QStringLiteral("errada");
    TConexaoFirebird c(p);
    if (p.Embutido()) {
        c.Conectar();  // the embedded engine trusts the local user
        EXPECT_TRUE(c.Conectado());
    } else {
        EXPECT_THROW(c.Conectar(), EFirebirdError);
    }
}

// A [BANCO] Usuario the server does not know, or left blank: refused with
// the server's own words, never taken for another user.
TEST(ConexaoSemBanco, UsuarioDesconhecidoOuEmBrancoERecusado) {
    AmbienteFirebird amb;
    for (const QString& usuario : {QStringLiteral("NINGUEM"), QString()}) {
        TParametrosConexao p = amb.Parametros();
        if (p.Embutido()) GTEST_SKIP() << "o motor embutido confia no usuário local";
        p.Usuario = usuario;
        TConexaoFirebird c(p);
        try {
            c.Conectar();
            ADD_FAILURE() << "aceito: '" << usuario.toStdString() << "'";
        } catch (const EFirebirdError& e) {
            EXPECT_TRUE(e.Mensagem().contains(QStringLiteral("user name and password"))) << e.Mensagem().toStdString();
        }
        EXPECT_FALSE(c.Conectado());
    }
}

TEST(SqlParametros, TrocaNomesPorMarcadoresForaDeTextosEComentarios) {
    const TSqlAnalisado a = AnalisarParametrosSql(QStringLiteral(
        "SELECT ':naoE', \"X:Y\" /* :nem */ FROM T -- :tampouco\nWHERE A = :pA AND B IN (:pB, :pa) AND C = 'it''s :x'"));
    EXPECT_EQ(a.Texto, QStringLiteral("SELECT ':naoE', \"X:Y\" /* :nem */ FROM T -- :tampouco\n"
                                      "WHERE A = ? AND B IN (?, ?) AND C = 'it''s :x'"));
    EXPECT_EQ(a.Nomes, (std::vector<QString>{QStringLiteral("PA"), QStringLiteral("PB"), QStringLiteral("PA")}));
}

#if !VESKO_TESTE_SERVIDOR
// The optional [BANCO] section as a store may write it by hand: a blank
// server is the POS's own, names go without regard to case or outer blanks,
// and a remote host is never taken for a file on this disk.
TEST(ParametrosConexao, BancoSectionAsAStoreMayWriteIt) {
    teste::PastaTemporaria pasta;
    DefinirDiretorioPrograma(pasta.Caminho());
    const QString banco = QStringLiteral("/dados/pdv/VESKO.GDB");
    const auto com = [&](const QByteArray& texto) {
        teste::GravarArquivo(pasta.Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")), texto);
        return TParametrosConexao::DaConfiguracao(banco);
    };

    TParametrosConexao p = com("[CONFIGS]\nIntervaloImportacao=8\n");  // no section
    EXPECT_EQ(p.TextoConexao(), QStringLiteral("localhost:") + banco);
    EXPECT_EQ(p.Usuario, QStringLiteral("SYSDBA"));
    EXPECT_TRUE(p.ArquivoLocal());

    p = com("[BANCO]\nServidor=   \n");
    EXPECT_FALSE(p.Embutido());
    EXPECT_EQ(p.TextoConexao(), QStringLiteral("localhost:") + banco);

    p = com("[banco]\r\nservidor = Embutido \r\n");
    EXPECT_TRUE(p.Embutido());
    EXPECT_EQ(p.TextoConexao(), banco);
    EXPECT_EQ(p.TextoGerenciadorServicos(), QStringLiteral("service_mgr"));
    EXPECT_TRUE(p.ArquivoLocal());

    p = com("[BANCO]\nServidor=10.0.0.5/3051\n");
    EXPECT_EQ(p.TextoConexao(), QStringLiteral("10.0.0.5/3051:") + banco);
    EXPECT_EQ(p.TextoGerenciadorServicos(), QStringLiteral("10.0.0.5/3051:service_mgr"));
    EXPECT_FALSE(p.ArquivoLocal());  // its file cannot be looked for here

    p = com("[BANCO]\nServidor=127.0.0.1/3051\n");
    EXPECT_TRUE(p.ArquivoLocal());
    DefinirDiretorioPrograma(QString());
}
#endif

}  // namespace
