// Users, waiters and access rights: FUNCIONARIOS, USUARIOS_ACESSOS,
// USUARIOS_RESTRICOES and SENHAS_GARCONS, step 5 of the import run.
#include <gtest/gtest.h>

#include "ApoioImportacao.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/MonitorSql.h"
#include "import/ImportacaoPDVBistrelInterna.h"
#include "store/Criptografia.h"
#include "store/TextoLoja.h"

using namespace vesko;
using teste::AmbienteImportacao;
using retaguarda::TPacoteRetaguarda;

namespace {

struct TUsuario {
    int Id;
    QString Nome, Curto;
    double Desconto;
    QString Senha;
};
struct TAcesso {
    int IdUsuario;
    QVariant IdAcesso;  // an integer, or a text for a file that sends the code as text
    bool Valor;
};
struct TVendedor {
    int Id;
    QString Chamada, Nome;
};

void GravarUsuarios(const AmbienteImportacao& amb, const QList<TUsuario>& usuarios) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdUsuario"), ftInteger)
        .Campo(QStringLiteral("NmUsuario"), ftString, 60)
        .Campo(QStringLiteral("NmCurto"), ftString, 20)
        .Campo(QStringLiteral("AlDescontoMax"), ftFloat)
        .Campo(QStringLiteral("DsSenha"), ftString, 20);
    for (const auto& u : usuarios) p.Linha({u.Id, u.Nome, u.Curto, u.Desconto, u.Senha});
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("Usuarios.dat")));
}

void GravarAcessos(const AmbienteImportacao& amb, const QList<TAcesso>& acessos, bool codigoTexto = false) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdUsuario"), ftInteger)
        .Campo(QStringLiteral("IdAcesso"), codigoTexto ? ftString : ftInteger, codigoTexto ? 30 : 0)
        .Campo(QStringLiteral("Valor"), ftBoolean);
    for (const auto& a : acessos) p.Linha({a.IdUsuario, a.IdAcesso, a.Valor});
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("Acessos.dat")));
}

void GravarVendedores(const AmbienteImportacao& amb, const QList<TVendedor>& vendedores) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdVendedor"), ftInteger)
        .Campo(QStringLiteral("CdChamada"), ftString, 10)
        .Campo(QStringLiteral("NmVendedor"), ftString, 200);
    for (const auto& v : vendedores) p.Linha({v.Id, v.Chamada, v.Nome});
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("Vendedores.dat")));
}

void Executar(const AmbienteImportacao& amb, const QString& sql) { amb.Conexao()->Executar(sql); }

// What a store had before the import: a user, a waiter with a password, two
// accesses far up the sequences and a restriction.
void DadosAnteriores(const AmbienteImportacao& amb) {
    for (const char* sql : {
             "INSERT INTO FUNCIONARIOS (IDFUNCIONARIO, CDFUNCIONARIO, NMFUNCIONARIO, TPFUNCIONARIO) "
             "VALUES ('000099', '000099', 'Antigo', 'U')",
             "INSERT INTO FUNCIONARIOS (IDFUNCIONARIO, CDFUNCIONARIO, NMFUNCIONARIO, TPFUNCIONARIO) "
             "VALUES ('101', '001', 'Garçom antigo', 'V')",
             "INSERT INTO SENHAS_GARCONS (ID_GARCOM, SENHA, SENHA_MAITRE) VALUES ('101', 'segredo', 1)",
             "INSERT INTO SENHAS_GARCONS (ID_GARCOM, SENHA, SENHA_MAITRE) VALUES ('900', 'outro', 0)",
             "ALTER SEQUENCE GEN_USUARIOS_ACESSOS_ID RESTART WITH 40",
             "ALTER SEQUENCE GEN_USUARIOS_RESTRICOES_ID RESTART WITH 70",
             "INSERT INTO USUARIOS_ACESSOS (CODIGO, DESCRICAO) VALUES ('9801', 'Abrir venda caixa')",
             "INSERT INTO USUARIOS_ACESSOS (CODIGO, DESCRICAO) VALUES ('9813', 'Sangria')",
             "INSERT INTO USUARIOS_RESTRICOES (ID_USUARIO, ID_ACESSO, TP_RESTRICAO) VALUES ('000099', 41, 'P')"})
        Executar(amb, QString::fromUtf8(sql));
}

const QString kAcessos = QStringLiteral("SELECT ID, CODIGO, DESCRICAO FROM USUARIOS_ACESSOS ORDER BY ID");
const QString kRestricoes =
    QStringLiteral("SELECT ID, ID_USUARIO, ID_ACESSO, TP_RESTRICAO FROM USUARIOS_RESTRICOES ORDER BY ID");
const QString kFuncionarios = QStringLiteral(
    "SELECT IDFUNCIONARIO, CDFUNCIONARIO, NMFUNCIONARIO, NMCURTO, ALDESCONTOMAXIMO, TPFUNCIONARIO "
    "FROM FUNCIONARIOS ORDER BY TPFUNCIONARIO, IDFUNCIONARIO");

// Step 5 alone, on its own gateway and worker.
struct TPassoUsuarios {
    explicit TPassoUsuarios(AmbienteImportacao& amb) : w(hint, amb.Entrada()) {
        conectado = g.Conectar(amb.PrimeiraConexao);
    }
    bool Salvar() {
        const bool ok = w.SalvarUsuarios(g);
        g.Desconectar();
        return ok;
    }
    TComunicacaoBancoBistrel g{QStringLiteral("Importação")};
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w;
    bool conectado = false;
};

const QString k30 = QStringLiteral("Maria Aparecida da Conceição S");  // 30 characters

void ArquivosBasicos(const AmbienteImportacao& amb) {
    GravarUsuarios(amb, {{7, QStringLiteral("Ana Souza Lima"), QStringLiteral("Ana S."), 12.5, QStringLiteral("1234")},
                         {12, QStringLiteral("João Pereira"), QStringLiteral("João"), 0, QStringLiteral("1234")}});
    GravarAcessos(amb, {{7, 9813, true}, {7, 5004, false}, {12, 9813, false}, {12, 7777, true}});
    GravarVendedores(amb, {{101, QStringLiteral("001"), k30}, {102, QStringLiteral("002"), QStringLiteral("Rita")}});
}

}  // namespace

TEST(UsuariosImportacao, UsersThenWaitersAccessesFromOneAndRestrictionsWithTheirSummary) {
    AmbienteImportacao amb;
    DadosAnteriores(amb);
    ArquivosBasicos(amb);
    TPassoUsuarios passo(amb);
    ASSERT_TRUE(passo.conectado);
    ASSERT_TRUE(passo.Salvar());

    EXPECT_EQ(amb.Linhas(kFuncionarios),
              (QStringList{QStringLiteral("000007|000007|Ana Souza Lima|Ana S.|12,5|U"),
                           QStringLiteral("000012|000012|João Pereira|João|0|U"),
                           QStringLiteral("101|001|") + k30 + QLatin1Char('|') + k30.left(20) + QStringLiteral("|0|V"),
                           QStringLiteral("102|002|Rita|Rita|0|V")}));
    // The password is stored hashed, salted per user, and checks.
    const QString s7 = amb.Valor(QStringLiteral("SELECT SENHA FROM FUNCIONARIOS WHERE IDFUNCIONARIO = '000007'"));
    const QString s12 = amb.Valor(QStringLiteral("SELECT SENHA FROM FUNCIONARIOS WHERE IDFUNCIONARIO = '000012'"));
    EXPECT_NE(s7, s12);
    EXPECT_TRUE(VerificarCriptografy(QStringLiteral("1234"), s7));
    EXPECT_TRUE(VerificarCriptografy(QStringLiteral("1234"), s12));
    EXPECT_FALSE(VerificarCriptografy(QStringLiteral("4321"), s7));
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT COUNT(*) FROM FUNCIONARIOS WHERE TPFUNCIONARIO = 'V' AND SENHA IS NOT NULL")),
              QStringLiteral("0"));

    // Exactly the codes used, from ID 1 in the order of first use, with the
    // fixed descriptions (an unknown code has none).
    EXPECT_EQ(amb.Linhas(kAcessos),
              (QStringList{QStringLiteral("1|9813|Sangria"),
                           QStringLiteral("2|5004|Liberar venda para clientes com título(s) vencido(s)"),
                           QStringLiteral("3|7777|")}));
    EXPECT_EQ(amb.Linhas(kRestricoes),
              (QStringList{QStringLiteral("1|000007|1|P"), QStringLiteral("2|000007|2|X"),
                           QStringLiteral("3|000012|1|X"), QStringLiteral("4|000012|3|P")}));
    // The old waiter keeps its password, the new one gets an empty one.
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_GARCOM, SENHA, SENHA_MAITRE FROM SENHAS_GARCONS ORDER BY ID_GARCOM")),
              (QStringList{QStringLiteral("101|segredo|1"), QStringLiteral("102||0"), QStringLiteral("900|outro|0")}));

    EXPECT_EQ(passo.w.ArquivosImportados(),
              QStringLiteral("* Usuarios.dat;\r\n* Acessos.dat;\r\n* Vendedores.dat;\r\n"));
    const QStringList hints{
        QStringLiteral("Carregando arquivo de usuários..."),
        QStringLiteral("Carregando arquivo de acessos ..."),
        QStringLiteral("Carregando arquivo de vendedores..."),
        QStringLiteral("Apagando usuários..."),
        QStringLiteral("Importando arquivo de usuários (1 de 2 -> 50,00%)..."),
        QStringLiteral("Importando arquivo de usuários (1 de 2 -> 50,00%)..."),
        QStringLiteral("Importando arquivo de usuários (2 de 2 -> 100,00%)..."),
        QStringLiteral("Apagando restrições de usuários..."),
        QStringLiteral("Apagando acessos de usuários..."),
        QStringLiteral("Zerando sequencia de acessos de usuários..."),
        QStringLiteral("Zerando sequencia de restrições de usuários..."),
        QStringLiteral("Importando arquivo de acessos de usuários (1 de 4 -> 25,00%)..."),
        QStringLiteral("Importando arquivo de acessos de usuários (1 de 4 -> 25,00%)..."),
        QStringLiteral("Importando arquivo de acessos de usuários (2 de 4 -> 50,00%)..."),
        QStringLiteral("Importando arquivo de acessos de usuários (3 de 4 -> 75,00%)..."),
        QStringLiteral("Importando arquivo de acessos de usuários (4 de 4 -> 100,00%)..."),
        QStringLiteral("Importando arquivo de Vendedores (1 de 2 -> 50,00%)..."),
        QStringLiteral("Importando arquivo de vendedores (1 de 2 -> 50,00%)..."),
        QStringLiteral("Importando arquivo de vendedores (2 de 2 -> 100,00%)..."),
        QStringLiteral("Salvando garcons, usuários e acessos no banco de dados...")};
    EXPECT_EQ(passo.hint.Historico(), hints);
    EXPECT_TRUE(AmbienteImportacao::Auditorias().isEmpty());
}

TEST(UsuariosImportacao, WithoutAcessosOrWithAnEmptyOneTheAccessTablesKeepTheirRows) {
    AmbienteImportacao amb;
    DadosAnteriores(amb);
    ArquivosBasicos(amb);
    const QStringList acessos = amb.Linhas(kAcessos), restricoes = amb.Linhas(kRestricoes);
    amb.Remover(QStringLiteral("Acessos.dat"));
    {
        TPassoUsuarios passo(amb);
        ASSERT_TRUE(passo.Salvar());
        EXPECT_EQ(passo.w.ArquivosImportados(), QStringLiteral("* Usuarios.dat;\r\n* Vendedores.dat;\r\n"));
        EXPECT_FALSE(passo.hint.Historico().contains(QStringLiteral("Carregando arquivo de acessos ...")));
    }
    EXPECT_EQ(amb.Linhas(kAcessos), acessos);
    EXPECT_EQ(amb.Linhas(kRestricoes), restricoes);
    EXPECT_EQ(amb.Contar(QStringLiteral("FUNCIONARIOS")), 4);  // rebuilt all the same

    GravarAcessos(amb, {});
    TPassoUsuarios passo(amb);
    ASSERT_TRUE(passo.Salvar());
    EXPECT_EQ(passo.w.ArquivosImportados(), QStringLiteral("* Usuarios.dat;\r\n* Vendedores.dat;\r\n"));
    EXPECT_EQ(amb.Linhas(kAcessos), acessos);
    EXPECT_EQ(amb.Linhas(kRestricoes), restricoes);
}

TEST(UsuariosImportacao, EmptyUsersAndWaitersFilesNeverRaise) {
    AmbienteImportacao amb;
    DadosAnteriores(amb);
    GravarUsuarios(amb, {});
    GravarVendedores(amb, {});
    TPassoUsuarios passo(amb);
    ASSERT_TRUE(passo.Salvar());
    // No guard on the users: the table is emptied, waiters included, and the
    // progress shows the gateway's zero-total text.
    EXPECT_EQ(amb.Contar(QStringLiteral("FUNCIONARIOS")), 0);
    EXPECT_TRUE(passo.hint.Historico().contains(QStringLiteral("Importando arquivo de usuários (1 de 0 -> 100,00%)...")));
    EXPECT_EQ(passo.w.ArquivosImportados(), QStringLiteral("* Usuarios.dat;\r\n"));
    EXPECT_EQ(amb.Contar(QStringLiteral("SENHAS_GARCONS")), 2);
}

TEST(UsuariosImportacao, MissingVendedoresFailsTheLoadAndRollsTheStepBack) {
    AmbienteImportacao amb;
    DadosAnteriores(amb);
    ArquivosBasicos(amb);
    amb.Remover(QStringLiteral("Vendedores.dat"));
    const QStringList antes = amb.Linhas(kFuncionarios);
    TPassoUsuarios passo(amb);
    EXPECT_FALSE(passo.Salvar());
    EXPECT_EQ(amb.Linhas(kFuncionarios), antes);
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].Descricao, QStringLiteral("Erro no carregamento do arquivo de base."));
    EXPECT_TRUE(r[0].Detalhes.contains(QStringLiteral("\"Vendedores.dat\"")));
    EXPECT_EQ(passo.hint.Hint(), QStringLiteral("Salvando garcons, usuários e acessos no banco de dados..."));
}

TEST(UsuariosImportacao, EveryWaiterRunsAndTheLastOneDecides) {
    AmbienteImportacao amb;
    DadosAnteriores(amb);
    ArquivosBasicos(amb);
    const QString longo(120, QLatin1Char('x'));  // beyond NMFUNCIONARIO: the insert fails
    GravarVendedores(amb, {{101, QStringLiteral("001"), QStringLiteral("Rui")},
                           {102, QStringLiteral("002"), longo},
                           {103, QStringLiteral("003"), QStringLiteral("Rita")}});
    {
        TPassoUsuarios passo(amb);
        ASSERT_TRUE(passo.Salvar());
        EXPECT_TRUE(passo.w.ArquivosImportados().contains(QStringLiteral("* Vendedores.dat;")));
    }
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDFUNCIONARIO FROM FUNCIONARIOS WHERE TPFUNCIONARIO = 'V' ORDER BY 1")),
              (QStringList{QStringLiteral("101"), QStringLiteral("103")}));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_GARCOM FROM SENHAS_GARCONS ORDER BY 1")),
              (QStringList{QStringLiteral("101"), QStringLiteral("103"), QStringLiteral("900")}));
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});

    // The last waiter failing fails the step: users and waiters roll back.
    const QStringList antes = amb.Linhas(kFuncionarios);
    GravarVendedores(amb, {{104, QStringLiteral("004"), QStringLiteral("Lia")}, {105, QStringLiteral("005"), longo}});
    TPassoUsuarios passo(amb);
    EXPECT_FALSE(passo.Salvar());
    EXPECT_EQ(amb.Linhas(kFuncionarios), antes);
}

// The statements reach the database as written line by line, every line
// followed by CR LF (the SQL monitor logs each text followed by a newline).
TEST(UsuariosImportacao, StatementsAreSentLineByLineEachLineEndingInCrLf) {
    AmbienteImportacao amb;
    ArquivosBasicos(amb);
    {
        TMonitorSql monitor;
        TPassoUsuarios passo(amb);
        ASSERT_TRUE(passo.Salvar());
    }
    const QString log = QString::fromUtf8(teste::LerArquivo(TMonitorSql::NomeArquivo()));
    const auto texto = [](std::initializer_list<const char*> linhas) {
        QString s = QStringLiteral("\n");
        for (const char* l : linhas) s += QString::fromLatin1(l) + QStringLiteral("\r\n");
        return s + QStringLiteral("\n");
    };
    EXPECT_TRUE(log.contains(texto({"INSERT INTO FUNCIONARIOS", " (IDFUNCIONARIO,", "  CDFUNCIONARIO,",
                                    "  NMFUNCIONARIO,", "  NMCURTO,", "  ALDESCONTOMAXIMO,", "  SENHA,",
                                    "  TPFUNCIONARIO) ", "VALUES", " (:pIdFuncionario,", "  :pCdFuncionario,",
                                    "  :pNmFuncionario,", "  :pNmCurto,", "  :pAlDescontoMaximo,", "  :pSenha,",
                                    "  :pTpFuncionario)"})));
    EXPECT_TRUE(log.contains(texto({"INSERT INTO FUNCIONARIOS", " (IDFUNCIONARIO,", "  CDFUNCIONARIO,",
                                    "  NMFUNCIONARIO,", "  NMCURTO,", "  TPFUNCIONARIO) ", "VALUES",
                                    " (:pIdFuncionario,", "  :pCdFuncionario,", "  :pNmFuncionario,", "  :pNmCurto,",
                                    "  :pTpFuncionario)"})));
    EXPECT_TRUE(log.contains(texto({"INSERT INTO SENHAS_GARCONS", "  (ID_GARCOM, SENHA, SENHA_MAITRE) ", "VALUES",
                                    "  (:pIdGarcom, '', 0)"})));
    EXPECT_TRUE(log.contains(
        texto({"INSERT INTO USUARIOS_ACESSOS", "  (CODIGO, DESCRICAO) ", "VALUES", "  (:pCodigo, :pDescricao)"})));
    // The one-line statement stays one line.
    EXPECT_TRUE(log.contains(QStringLiteral("\nINSERT INTO USUARIOS_RESTRICOES  (ID_USUARIO, ID_ACESSO, TP_RESTRICAO) "
                                            "VALUES  (:pIdUsuario, :pIdAcesso, :pTpRestricao)\n")));
}

TEST(UsuariosImportacao, AnAccessCodeThatIsNotADecimalIntegerIsSkippedWithOneWarning) {
    AmbienteImportacao amb;
    ArquivosBasicos(amb);
    GravarAcessos(amb,
                  {{7, QStringLiteral("9813"), true}, {7, QStringLiteral("ABC"), false},
                   {12, QStringLiteral("$264D"), true}, {12, QStringLiteral(" 9809 "), false}},
                  true);
    TPassoUsuarios passo(amb);
    ASSERT_TRUE(passo.Salvar());
    EXPECT_EQ(amb.Linhas(kAcessos),
              (QStringList{QStringLiteral("1|9813|Sangria"), QStringLiteral("2|9809|Cancelar item")}));
    EXPECT_EQ(amb.Linhas(kRestricoes), (QStringList{QStringLiteral("1|000007|1|P"), QStringLiteral("2|000012|2|X")}));
    EXPECT_TRUE(passo.w.ArquivosImportados().contains(QStringLiteral("* Acessos.dat;")));
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].Descricao, QStringLiteral("Restrições de acesso não importadas."));
    EXPECT_EQ(r[0].Tipo, taAviso);
    EXPECT_TRUE(r[0].Detalhes.contains(QStringLiteral("Usuário 000007, código de acesso \"ABC\"")));
    EXPECT_TRUE(r[0].Detalhes.contains(QStringLiteral("Usuário 000012, código de acesso \"$264D\"")));
}

TEST(UsuariosImportacao, AFailedAccessInsertFailsTheStepInsteadOfWritingAccessZero) {
    AmbienteImportacao amb;
    DadosAnteriores(amb);
    ArquivosBasicos(amb);
    // The database refuses the second access: its insert raises an error.
    Executar(amb, QStringLiteral("ALTER TABLE USUARIOS_ACESSOS ADD CONSTRAINT CK_TESTE CHECK (CODIGO <> '9801')"));
    GravarAcessos(amb, {{7, 9813, true}, {7, 9801, true}, {12, 9813, true}});
    const QStringList acessos = amb.Linhas(kAcessos), restricoes = amb.Linhas(kRestricoes);
    const QStringList funcionarios = amb.Linhas(kFuncionarios);
    TPassoUsuarios passo(amb);
    EXPECT_FALSE(passo.Salvar());
    EXPECT_EQ(amb.Linhas(kAcessos), acessos);
    EXPECT_EQ(amb.Linhas(kRestricoes), restricoes);
    EXPECT_EQ(amb.Linhas(kFuncionarios), funcionarios);
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].Descricao, QStringLiteral("Erro na execução de query."));
    EXPECT_TRUE(r[0].Detalhes.contains(QStringLiteral("INSERT INTO USUARIOS_ACESSOS")));
}

TEST(UsuariosImportacao, AnAccessStoredWithIdZeroIsFoundAndNotInsertedAgain) {
    AmbienteImportacao amb;
    ArquivosBasicos(amb);
    // A server that hands out 0 first (or a POS trigger that does): the
    // access with ID 0 exists and must be found by its row, not taken for
    // missing because of its ID.
    Executar(amb, QStringLiteral("ALTER TRIGGER USUARIOS_ACESSOS_BI AS BEGIN "
                                 "NEW.ID = NEXT VALUE FOR GEN_USUARIOS_ACESSOS_ID - 1; END"));
    TPassoUsuarios passo(amb);
    ASSERT_TRUE(passo.Salvar());
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID, CODIGO FROM USUARIOS_ACESSOS ORDER BY ID")),
              (QStringList{QStringLiteral("0|9813"), QStringLiteral("1|5004"), QStringLiteral("2|7777")}));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_ACESSO FROM USUARIOS_RESTRICOES ORDER BY ID")),
              (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")}));
}

TEST(UsuariosGerador, TheSecondSetChangesEveryRowTheStepWritesAndKeepsTheKeys) {
    AmbienteImportacao amb;
    const auto importar = [&amb](int variante) {
        retaguarda::TOpcoesGerador o;
        o.Variante = variante;
        o.Usuarios = 3;
        o.Vendedores = 4;
        o.RestricoesPorUsuario = 6;
        retaguarda::GerarUsuarios(amb.Entrada(), o);
        TPassoUsuarios passo(amb);
        EXPECT_TRUE(passo.Salvar());
        QMap<QString, QString> linhas;  // key -> the rest of the row
        for (const QString& l : amb.Linhas(QStringLiteral(
                 "SELECT TPFUNCIONARIO || IDFUNCIONARIO, NMFUNCIONARIO || NMCURTO || COALESCE(ALDESCONTOMAXIMO, -1) "
                 "FROM FUNCIONARIOS")))
            linhas.insert(l.section(QLatin1Char('|'), 0, 0), l.section(QLatin1Char('|'), 1));
        for (const QString& l : amb.Linhas(QStringLiteral(
                 "SELECT R.ID_USUARIO || '/' || A.CODIGO, R.TP_RESTRICAO FROM USUARIOS_RESTRICOES R "
                 "JOIN USUARIOS_ACESSOS A ON A.ID = R.ID_ACESSO")))
            linhas.insert(l.section(QLatin1Char('|'), 0, 0), l.section(QLatin1Char('|'), 1));
        return linhas;
    };
    const auto a = importar(0);
    const QStringList senhas = amb.Linhas(QStringLiteral("SELECT SENHA FROM FUNCIONARIOS WHERE TPFUNCIONARIO = 'U' ORDER BY 1"));
    const auto b = importar(1);
    ASSERT_EQ(a.size(), 3 + 4 + 3 * 6);
    EXPECT_EQ(a.keys(), b.keys());
    for (auto it = a.begin(); it != a.end(); ++it) EXPECT_NE(it.value(), b.value(it.key())) << it.key().toStdString();
    // Set A's passwords no longer open set B's users.
    TClientDataSet usuarios;
    retaguarda::TOpcoesGerador o;
    o.Usuarios = 3;
    retaguarda::GerarUsuarios(amb.Entrada(), o);
    usuarios.LoadFromFile(amb.ArquivoEntrada(QStringLiteral("Usuarios.dat")));
    for (usuarios.First(); !usuarios.Eof(); usuarios.Next()) {
        const QString id = StrZero(usuarios.FieldByName(QStringLiteral("IdUsuario")).AsString(), 6);
        const QString senha = amb.Valor(QStringLiteral("SELECT SENHA FROM FUNCIONARIOS WHERE IDFUNCIONARIO = '%1'").arg(id));
        EXPECT_FALSE(VerificarCriptografy(usuarios.FieldByName(QStringLiteral("DsSenha")).AsString(), senha));
    }
    EXPECT_EQ(senhas.size(), 3);
}
