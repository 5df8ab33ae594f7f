// Customers: the rewrite of the back-office customers, the merge of the
// customers registered at the checkout and the copy of the reference points,
// on a real embedded POS database and real Clientes.dat files.
#include <gtest/gtest.h>

#include <QFile>
#include <QVariantMap>

#include "ApoioImportacao.h"
#include "base/Excecoes.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"
#include "store/TextoLoja.h"

using namespace vesko;
using retaguarda::TPacoteRetaguarda;
using teste::AmbienteImportacao;

namespace {

const QString kImportacao = QStringLiteral("Importação");

// One customer of Clientes.dat; the fields not named here get fixed values,
// or none at all (null) with `Nulos`.
struct ClienteArquivo {
    QString Id{};
    QString Cpf{};
    QString Nome{};
    QString Celular{};
    QString Sexo = QStringLiteral("Masculino");
    bool Nulos = false;
};

struct CampoArquivo {
    const char* Nome;
    TFieldType Tipo;
    int Tamanho;
};

const CampoArquivo kCampos[] = {
    {"IdPessoa", ftString, 20},        {"CdChamada", ftString, 10},          {"CPF_CNPJ", ftString, 18},
    {"NmCliente", ftString, 200},      {"DsLogradouro", ftString, 100},      {"NmBairro", ftString, 60},
    {"NmCidade", ftString, 60},        {"NmUF", ftString, 2},                {"CdCep", ftString, 9},
    {"AlDesconto", ftFloat, 0},        {"NrCI", ftString, 20},               {"NmObservacao", ftString, 200},
    {"NrTelefone", ftString, 20},      {"Sexo", ftString, 10},               {"NrCelular", ftString, 20},
    {"DtNascimento", ftDate, 0},       {"Email", ftString, 100},             {"StAtivo", ftBoolean, 0},
    {"DsComplemento", ftString, 60},   {"DtValidadeLimCredito", ftDate, 0},  {"VlLimiteCredito", ftCurrency, 0},
    {"StCreditoBloqueado", ftBoolean, 0}, {"VlMaiorCompra", ftCurrency, 0},  {"NrDiasMaiorAtraso", ftInteger, 0},
    {"Dt1aCompra", ftDate, 0},         {"DtUltimaCompra", ftDate, 0},        {"VlTitulosAberto", ftCurrency, 0},
    {"NrTitulosAberto", ftInteger, 0}, {"NrTitulosVencidos", ftInteger, 0},  {"VlTitulosVencidos", ftCurrency, 0},
    {"IdPrazo", ftString, 10},         {"ObsAnaliseCredito", ftMemo, 0}};

QVariantMap Valores(const ClienteArquivo& c) {
    QVariantMap v{{"IdPessoa", c.Id}, {"NmCliente", c.Nome}};
    if (c.Nulos) return v;
    v.insert({{"CdChamada", QStringLiteral("C") + c.Id}, {"CPF_CNPJ", c.Cpf}, {"DsLogradouro", "Rua das Flores, 10"},
              {"NmBairro", "Centro"}, {"NmCidade", QStringLiteral("São Paulo")}, {"NmUF", "SP"},
              {"CdCep", "01310-100"}, {"AlDesconto", 2.5}, {"NrCI", "12.345.678-9"}, {"NmObservacao", "Cliente antigo"},
              {"NrTelefone", "(11) 3333-4444"}, {"Sexo", c.Sexo}, {"NrCelular", c.Celular},
              {"DtNascimento", QDate(1990, 5, 17)}, {"Email", "cliente@exemplo.com.br"}, {"StAtivo", true},
              {"DsComplemento", "Apto 12"}, {"DtValidadeLimCredito", QDate(2025, 12, 31)},
              {"VlLimiteCredito", 1500.0}, {"StCreditoBloqueado", true}, {"VlMaiorCompra", 320.5},
              {"NrDiasMaiorAtraso", 3}, {"Dt1aCompra", QDate(2020, 1, 2)}, {"DtUltimaCompra", QDate(2024, 3, 4)},
              {"VlTitulosAberto", 99.9}, {"NrTitulosAberto", 2}, {"NrTitulosVencidos", 1},
              {"VlTitulosVencidos", 45.0}, {"IdPrazo", "001"}, {"ObsAnaliseCredito", QStringLiteral("Bom pagador")}});
    return v;
}

// Clientes.dat with the given customers, without the fields in `Omitir`.
void GravarClientes(const AmbienteImportacao& amb, const QList<ClienteArquivo>& clientes,
                    const QStringList& Omitir = {}) {
    TPacoteRetaguarda p;
    for (const CampoArquivo& c : kCampos)
        if (!Omitir.contains(QLatin1String(c.Nome))) p.Campo(QLatin1String(c.Nome), c.Tipo, c.Tamanho);
    for (const ClienteArquivo& cliente : clientes) {
        const QVariantMap v = Valores(cliente);
        QVariantList linha;
        for (const CampoArquivo& c : kCampos)
            if (!Omitir.contains(QLatin1String(c.Nome))) linha << v.value(QLatin1String(c.Nome));
        p.Linha(linha);
    }
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("Clientes.dat")));
}

QString Texto(const QString& s) { return s.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + s + QLatin1Char('\''); }

// A customer already in CLIENTES: registered at the checkout, or left by an
// earlier import.
QString Cliente(const QString& id, const QString& cpf, const QString& nome, const QString& celular,
                bool checkout = true) {
    return QStringLiteral("INSERT INTO CLIENTES (IDCLIENTE, CPF_CNPJ, NMCLIENTE, NRCELULAR, CADASTRADO_NO_CHECKOUT) "
                          "VALUES (%1, %2, %3, %4, %5)")
        .arg(Texto(id), Texto(cpf), Texto(nome), Texto(celular), checkout ? QStringLiteral("1") : QStringLiteral("0"));
}
QString Venda(const QString& idCliente) {
    return QStringLiteral("INSERT INTO MOVIMENTO (ID_CLIENTE) VALUES ('%1')").arg(idCliente);
}
QString Mesa(const QString& idCliente) {
    return QStringLiteral("INSERT INTO MESAS (ID_CLIENTE) VALUES ('%1')").arg(idCliente);
}
QString Complemento(const QString& idCliente, const QString& ponto) {
    return QStringLiteral("INSERT INTO CLIENTE_COMPLEMENTO (IDCLIENTE, PONTO_REFERENCIA) VALUES ('%1', '%2')")
        .arg(idCliente, ponto);
}

void Preparar(const AmbienteImportacao& amb, const QStringList& comandos) {
    auto c = amb.Conexao();
    for (const QString& sql : comandos) c->ExecutarDireto(sql);
}

struct ResultadoPasso {
    bool Ok = false;
    QString Arquivos;
    QStringList Hints;
};

// Step 17 alone, on a connection of its own, as the chain runs it.
ResultadoPasso SalvarClientes(AmbienteImportacao& amb) {
    TComunicacaoBancoBistrel g(kImportacao);
    EXPECT_TRUE(g.Conectar(amb.PrimeiraConexao));
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    ResultadoPasso r;
    r.Ok = w.SalvarClientes(g);
    r.Arquivos = w.ArquivosImportados();
    r.Hints = hint.Historico();
    g.Desconectar();
    return r;
}

// "IDCLIENTE|CADASTRADO_NO_CHECKOUT" of every customer, in id order.
QStringList Clientes(const AmbienteImportacao& amb) {
    return amb.Linhas(QStringLiteral("SELECT IDCLIENTE, CADASTRADO_NO_CHECKOUT FROM CLIENTES ORDER BY IDCLIENTE"));
}

}  // namespace

// ---- the rewrite ----------------------------------------------------------

TEST(ClientesReescrita, ColumnsConversionsHintsAndSummary) {
    AmbienteImportacao amb;
    const QString nome60 = QStringLiteral("Maria Aparecida da Conceição Albuquerque Cavalcanti de Souza");
    ASSERT_EQ(nome60.size(), 60);
    GravarClientes(amb, {{QStringLiteral("101"), QStringLiteral("12.345.678/0001-95"), nome60,
                          QStringLiteral("(11) 98888-7777"), QStringLiteral(" feminino ")},
                         {QStringLiteral("102"), QStringLiteral("123.456.789-09"), QStringLiteral("Joana Lima"),
                          QString(), QStringLiteral("F")},
                         {QStringLiteral("103"), QString(), QStringLiteral("Sem Dados"), QString(), QString(), true}});
    const ResultadoPasso r = SalvarClientes(amb);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Arquivos, QStringLiteral("* Clientes.dat.\r\n"));
    EXPECT_EQ(r.Hints, (QStringList{QStringLiteral("Carregando arquivo de clientes..."),
                                    QStringLiteral("Importando arquivo de clientes (1 de 3 -> 33,33%)..."),
                                    QStringLiteral("Importando arquivo de clientes (1 de 3 -> 33,33%)..."),
                                    QStringLiteral("Importando arquivo de clientes (2 de 3 -> 66,67%)..."),
                                    QStringLiteral("Importando arquivo de clientes (3 de 3 -> 100,00%)..."),
                                    QStringLiteral("Salvando clientes no banco de dados...")}));

    // A 14-digit number with its punctuation is a company; the word for
    // female, in any case and with blanks, is the only thing that gives 0.
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDCLIENTE, TPPESSOA, SEXO, CADASTRADO_NO_CHECKOUT FROM CLIENTES "
                                        "ORDER BY IDCLIENTE")),
              (QStringList{QStringLiteral("101|1|0|0"), QStringLiteral("102|0|1|0"), QStringLiteral("103|0|1|0")}));
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT NMCLIENTE FROM CLIENTES WHERE IDCLIENTE = '101'")), nome60);
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT DSAPELIDONMFANTASIA FROM CLIENTES WHERE IDCLIENTE = '101'")),
              nome60.left(50));
    EXPECT_EQ(amb.Valor(QStringLiteral(
                  "SELECT CDCLIENTE, CPF_CNPJ, DSENDERECO, NMBAIRRO, NMCIDADE, CDUF, CDCEP, ALDESCONTO, CI_IE, OBS, "
                  "NR_TELEFONE, NRCELULAR, DTNASCIMENTO, EMAIL, ATIVO, COMPLEMENTO_ENDERECO, VALIDADE_LIM_CREDITO, "
                  "VL_LIMITE_CREDITO, CREDITO_BLOQUEADO, VL_MAIOR_COMPRA, NR_DIAS_MAIOR_ATRASO, DATA_PRIMEIRA_COMPRA, "
                  "DATA_ULTIMA_COMPRA, VL_TITULOS_ABERTOS, NR_TITULOS_ABERTOS, NR_TITULOS_VENCIDOS, VL_MEDIA_COMPRA, "
                  "ID_PRAZO, OBS_ANALISE_CREDITO FROM CLIENTES WHERE IDCLIENTE = '101'")),
              QStringLiteral("C101|12.345.678/0001-95|Rua das Flores, 10|Centro|São Paulo|SP|01310-100|2,5|"
                             "12.345.678-9|Cliente antigo|(11) 3333-4444|(11) 98888-7777|17/05/1990|"
                             "cliente@exemplo.com.br|1|Apto 12|31/12/2025|1500|1|320,5|3|02/01/2020|04/03/2024|"
                             "99,9|2|1|45|001|Bom pagador"));
    // Null fields read as empty text, 0, false and the zero date.
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT CPF_CNPJ, ALDESCONTO, ATIVO, DTNASCIMENTO, NR_TITULOS_ABERTOS, "
                                       "OBS_ANALISE_CREDITO FROM CLIENTES WHERE IDCLIENTE = '103'")),
              QStringLiteral("|0|0|30/12/1899|0|"));
}

TEST(ClientesReescrita, OlderFileWithoutObsAnaliseCreditoAndAFileMissingAField) {
    AmbienteImportacao amb;
    GravarClientes(amb, {{QStringLiteral("201"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui Costa")}},
                   {QStringLiteral("ObsAnaliseCredito")});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT NMCLIENTE, OBS_ANALISE_CREDITO FROM CLIENTES")),
              QStringLiteral("Rui Costa|"));

    // Any other missing field raises out of the step; nothing of it commits.
    GravarClientes(amb, {{QStringLiteral("202"), QString(), QStringLiteral("Outro")}}, {QStringLiteral("Email")});
    {
        TComunicacaoBancoBistrel g(kImportacao);
        ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao));
        THintMemoria hint;
        TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
        EXPECT_THROW(w.SalvarClientes(g), Exception);
    }
    EXPECT_EQ(Clientes(amb), QStringList{QStringLiteral("201|0")});
}

TEST(ClientesReescrita, BackOfficeCustomersAreReplacedCheckoutCustomersKept) {
    AmbienteImportacao amb;
    Preparar(amb, {Cliente(QStringLiteral("900"), QString(), QStringLiteral("Antigo"), QString(), false),
                   Cliente(QStringLiteral("PDV-1"), QStringLiteral("529.982.247-25"), QStringLiteral("Novo no Caixa"),
                           QStringLiteral("(21) 97777-0000"))});
    GravarClientes(amb, {{QStringLiteral("301"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui Costa"),
                          QStringLiteral("(21) 96666-0000")}});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(Clientes(amb), (QStringList{QStringLiteral("301|0"), QStringLiteral("PDV-1|1")}));
}

TEST(ClientesReescrita, AFailedInsertRollsTheStepBack) {
    AmbienteImportacao amb;
    Preparar(amb, {Cliente(QStringLiteral("900"), QString(), QStringLiteral("Antigo"), QString(), false)});
    GravarClientes(amb, {{QStringLiteral("401"), QString(), QStringLiteral("Certo")},
                         {QStringLiteral("402"), QString(), QStringLiteral("X").repeated(151)}});  // NMCLIENTE is 150
    const ResultadoPasso r = SalvarClientes(amb);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Arquivos.isEmpty());
    EXPECT_EQ(Clientes(amb), QStringList{QStringLiteral("900|0")});
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});
}

// ---- without a file; the reference points ---------------------------------

TEST(ClientesSemArquivo, NothingIsDeletedInsertedOrMergedButReferencePointsAreCopied) {
    AmbienteImportacao amb;
    // A store without customers: nothing to copy is no failure.
    ResultadoPasso r = SalvarClientes(amb);
    EXPECT_TRUE(r.Ok);
    EXPECT_EQ(r.Hints, QStringList{QStringLiteral("Salvando clientes no banco de dados...")});

    Preparar(amb, {Cliente(QStringLiteral("500"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui"), QString(), false),
                   Cliente(QStringLiteral("PDV-5"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui"), QString()),
                   Complemento(QStringLiteral("500"), QStringLiteral("Ao lado do mercado")),
                   Complemento(QStringLiteral("PDV-5"), QStringLiteral("Portão verde"))});
    r = SalvarClientes(amb);
    EXPECT_TRUE(r.Ok);
    EXPECT_TRUE(r.Arquivos.isEmpty());
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDCLIENTE, CADASTRADO_NO_CHECKOUT, PONTO_REFERENCIA FROM CLIENTES "
                                        "ORDER BY IDCLIENTE")),
              (QStringList{QStringLiteral("500|0|Ao lado do mercado"), QStringLiteral("PDV-5|1|Portão verde")}));

    // An empty file is treated as an absent one.
    GravarClientes(amb, {});
    r = SalvarClientes(amb);
    EXPECT_TRUE(r.Ok);
    EXPECT_TRUE(r.Arquivos.isEmpty());
    EXPECT_EQ(Clientes(amb), (QStringList{QStringLiteral("500|0"), QStringLiteral("PDV-5|1")}));
}

TEST(ClientesPontoReferencia, TwoComplementsForOneCustomerStillFailTheStep) {
    AmbienteImportacao amb;
    Preparar(amb, {Cliente(QStringLiteral("600"), QString(), QStringLiteral("Rui"), QString(), false),
                   Complemento(QStringLiteral("601"), QStringLiteral("um")),
                   Complemento(QStringLiteral("601"), QStringLiteral("dois"))});
    GravarClientes(amb, {{QStringLiteral("601"), QString(), QStringLiteral("Novo")}});
    EXPECT_FALSE(SalvarClientes(amb).Ok);
    EXPECT_EQ(Clientes(amb), QStringList{QStringLiteral("600|0")});  // the rewrite rolled back with it
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});
}

// ---- the merge of checkout customers ----------------------------------------

TEST(ClientesUnificacao, ByCpfSalesTablesAndComplementMoveToTheBackOfficeId) {
    AmbienteImportacao amb;
    Preparar(amb, {Cliente(QStringLiteral("PDV-1"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui C."),
                           QStringLiteral("(11) 90000-0001")),
                   Venda(QStringLiteral("PDV-1")), Venda(QStringLiteral("PDV-1")), Mesa(QStringLiteral("PDV-1")),
                   Complemento(QStringLiteral("PDV-1"), QStringLiteral("Casa amarela")),
                   // No sales, tables or complement: merged all the same.
                   Cliente(QStringLiteral("PDV-2"), QStringLiteral("529.982.247-25"), QStringLiteral("Ana"), QString()),
                   Venda(QStringLiteral("OUTRO"))});
    GravarClientes(amb, {{QStringLiteral("701"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui Costa"),
                          QStringLiteral("(11) 95555-5555")},
                         {QStringLiteral("702"), QStringLiteral("529.982.247-25"), QStringLiteral("Ana Souza")}});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(Clientes(amb), (QStringList{QStringLiteral("701|0"), QStringLiteral("702|0")}));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_CLIENTE FROM MOVIMENTO ORDER BY ID_CLIENTE")),
              (QStringList{QStringLiteral("701"), QStringLiteral("701"), QStringLiteral("OUTRO")}));
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT ID_CLIENTE FROM MESAS")), QStringLiteral("701"));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDCLIENTE, PONTO_REFERENCIA FROM CLIENTE_COMPLEMENTO")),
              QStringList{QStringLiteral("701|Casa amarela")});
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT PONTO_REFERENCIA FROM CLIENTES WHERE IDCLIENTE = '701'")),
              QStringLiteral("Casa amarela"));
    EXPECT_TRUE(AmbienteImportacao::Descricoes().isEmpty());
}

TEST(ClientesUnificacao, FallsBackToTheMobileThenToMobileAndName) {
    AmbienteImportacao amb;
    const QString cpf = QStringLiteral("111.444.777-35");
    Preparar(amb, {// CPF on two back-office customers, mobile on one of them.
                   Cliente(QStringLiteral("PDV-1"), cpf, QStringLiteral("Rui"), QStringLiteral("(11) 90000-0001")),
                   // Mobile on two: the name picks one.
                   Cliente(QStringLiteral("PDV-2"), QString(), QStringLiteral("Bia Rocha"), QStringLiteral("(11) 90000-0002")),
                   // No CPF, no mobile: the one with an empty mobile and the same name.
                   Cliente(QStringLiteral("PDV-3"), QString(), QStringLiteral("Caio Dias"), QString()),
                   // Nothing unique: stays.
                   Cliente(QStringLiteral("PDV-4"), QString(), QStringLiteral("Duda"), QStringLiteral("(11) 90000-0004"))});
    GravarClientes(amb, {{QStringLiteral("801"), cpf, QStringLiteral("Rui Costa"), QStringLiteral("(11) 90000-0001")},
                         {QStringLiteral("802"), cpf, QStringLiteral("Rui Costa Filho"), QStringLiteral("(11) 91111-1111")},
                         {QStringLiteral("803"), QString(), QStringLiteral("Bia Rocha"), QStringLiteral("(11) 90000-0002")},
                         {QStringLiteral("804"), QString(), QStringLiteral("Beto Rocha"), QStringLiteral("(11) 90000-0002")},
                         {QStringLiteral("805"), QString(), QStringLiteral("Caio Dias"), QString()},
                         {QStringLiteral("806"), QString(), QStringLiteral("Duda"), QStringLiteral("(11) 90000-0004")},
                         {QStringLiteral("807"), QString(), QStringLiteral("Duda"), QStringLiteral("(11) 90000-0004")}});
    Preparar(amb, {Venda(QStringLiteral("PDV-1")), Venda(QStringLiteral("PDV-2")), Venda(QStringLiteral("PDV-3")),
                   Venda(QStringLiteral("PDV-4"))});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT ID_CLIENTE FROM MOVIMENTO ORDER BY IDMOVIMENTO")),
              (QStringList{QStringLiteral("801"), QStringLiteral("803"), QStringLiteral("805"), QStringLiteral("PDV-4")}));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDCLIENTE FROM CLIENTES WHERE CADASTRADO_NO_CHECKOUT = 1")),
              QStringList{QStringLiteral("PDV-4")});
}

TEST(ClientesUnificacao, AMobileOrNameMatchMustNotCarryAnotherCpf) {
    AmbienteImportacao amb;
    Preparar(amb, {// A spouse sharing the phone, with her own CPF: not merged.
                   Cliente(QStringLiteral("PDV-1"), QStringLiteral("111.444.777-35"), QStringLiteral("João Alves"),
                           QStringLiteral("(11) 90000-0001")),
                   // The same digits written otherwise: merged by the mobile.
                   Cliente(QStringLiteral("PDV-2"), QStringLiteral("529.982.247-25"), QStringLiteral("Ana"),
                           QStringLiteral("(11) 90000-0002")),
                   // A match without CPF: merged.
                   Cliente(QStringLiteral("PDV-3"), QStringLiteral("390.533.447-05"), QStringLiteral("Caio"),
                           QStringLiteral("(11) 90000-0003")),
                   // Found by name with another CPF: not merged.
                   Cliente(QStringLiteral("PDV-4"), QStringLiteral("868.547.180-36"), QStringLiteral("Duda"), QString()),
                   // No CPF at the checkout, a CPF in the back office: cannot be told apart, not merged.
                   Cliente(QStringLiteral("PDV-5"), QString(), QStringLiteral("Eva"), QStringLiteral("(11) 90000-0005"))});
    GravarClientes(amb, {{QStringLiteral("901"), QStringLiteral("987.654.321-00"), QStringLiteral("Maria Alves"),
                          QStringLiteral("(11) 90000-0001")},
                         {QStringLiteral("902"), QStringLiteral("52998224725"), QStringLiteral("Ana Souza"),
                          QStringLiteral("(11) 90000-0002")},
                         {QStringLiteral("903"), QString(), QStringLiteral("Caio Lima"), QStringLiteral("(11) 90000-0003")},
                         {QStringLiteral("904"), QStringLiteral("123.456.789-09"), QStringLiteral("Duda"), QString()},
                         {QStringLiteral("905"), QStringLiteral("123.456.789-09"), QStringLiteral("Eva Dias"),
                          QStringLiteral("(11) 90000-0005")}});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDCLIENTE FROM CLIENTES WHERE CADASTRADO_NO_CHECKOUT = 1 "
                                        "ORDER BY IDCLIENTE")),
              (QStringList{QStringLiteral("PDV-1"), QStringLiteral("PDV-4"), QStringLiteral("PDV-5")}));
}

TEST(ClientesUnificacao, AFailedTransferKeepsTheCheckoutCustomerForTheNextRun) {
    AmbienteImportacao amb;
    Preparar(amb, {QStringLiteral("CREATE EXCEPTION E_MESA_TESTE 'mesa bloqueada'"),
                   QStringLiteral("CREATE TRIGGER MESAS_TESTE FOR MESAS BEFORE UPDATE AS BEGIN "
                                  "IF (NEW.ID_CLIENTE = '1001') THEN EXCEPTION E_MESA_TESTE; END"),
                   Cliente(QStringLiteral("PDV-1"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui"), QString()),
                   Mesa(QStringLiteral("PDV-1")), Complemento(QStringLiteral("PDV-1"), QStringLiteral("Esquina"))});
    GravarClientes(amb, {{QStringLiteral("1001"), QStringLiteral("111.444.777-35"), QStringLiteral("Rui Costa")}});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(Clientes(amb), (QStringList{QStringLiteral("1001|0"), QStringLiteral("PDV-1|1")}));
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT ID_CLIENTE FROM MESAS")), QStringLiteral("PDV-1"));
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT IDCLIENTE FROM CLIENTE_COMPLEMENTO")), QStringLiteral("PDV-1"));
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});

    Preparar(amb, {QStringLiteral("DROP TRIGGER MESAS_TESTE")});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(Clientes(amb), QStringList{QStringLiteral("1001|0")});
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT ID_CLIENTE FROM MESAS")), QStringLiteral("1001"));
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT PONTO_REFERENCIA FROM CLIENTES")), QStringLiteral("Esquina"));
}

TEST(ClientesUnificacao, TwoCheckoutCustomersWithOneCpfAndAnExistingReferencePoint) {
    AmbienteImportacao amb;
    const QString cpfA = QStringLiteral("111.444.777-35"), cpfB = QStringLiteral("529.982.247-25");
    Preparar(amb, {// The back-office customer already has a reference point.
                   Complemento(QStringLiteral("1101"), QStringLiteral("Portão azul")),
                   Cliente(QStringLiteral("PDV-1"), cpfA, QStringLiteral("Rui"), QString()),
                   Complemento(QStringLiteral("PDV-1"), QStringLiteral("Perto da praça")),
                   // Two checkout registrations of one person, each with a complement.
                   Cliente(QStringLiteral("PDV-2"), cpfB, QStringLiteral("Ana"), QString()),
                   Complemento(QStringLiteral("PDV-2"), QStringLiteral("Casa 2")),
                   Cliente(QStringLiteral("PDV-3"), cpfB, QStringLiteral("Ana S."), QString()),
                   Complemento(QStringLiteral("PDV-3"), QStringLiteral("Casa 3"))});
    GravarClientes(amb, {{QStringLiteral("1101"), cpfA, QStringLiteral("Rui Costa")},
                         {QStringLiteral("1102"), cpfB, QStringLiteral("Ana Souza")}});
    for (int execucao = 1; execucao <= 2; ++execucao) {
        SCOPED_TRACE(execucao);
        ASSERT_TRUE(SalvarClientes(amb).Ok);
        EXPECT_EQ(Clientes(amb), (QStringList{QStringLiteral("1101|0"), QStringLiteral("1102|0")}));
        EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT PONTO_REFERENCIA FROM CLIENTE_COMPLEMENTO WHERE IDCLIENTE = '1101'")),
                  QStringList{QStringLiteral("Portão azul")});
        const QStringList pontoB =
            amb.Linhas(QStringLiteral("SELECT PONTO_REFERENCIA FROM CLIENTE_COMPLEMENTO WHERE IDCLIENTE = '1102'"));
        ASSERT_EQ(pontoB.size(), 1);
        EXPECT_TRUE(pontoB[0] == QStringLiteral("Casa 2") || pontoB[0] == QStringLiteral("Casa 3"));
        EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT PONTO_REFERENCIA FROM CLIENTES ORDER BY IDCLIENTE")),
                  (QStringList{QStringLiteral("Portão azul"), pontoB[0]}));
    }
    EXPECT_TRUE(AmbienteImportacao::Descricoes().isEmpty());
}

TEST(ClientesUnificacao, ARegistrationStillQueuedForExportIsMergedOnlyOnceSent) {
    AmbienteImportacao amb;
    const QString cpf = QStringLiteral("111.444.777-35");
    Preparar(amb, {Cliente(QStringLiteral("PDV-1"), cpf, QStringLiteral("Rui"), QString()), Venda(QStringLiteral("PDV-1")),
                   QStringLiteral("INSERT INTO CLIENTEEXP (IDCLIENTE, NOME, CPF_CNPJ) VALUES ('PDV-1', 'Rui', '%1')").arg(cpf)});
    GravarClientes(amb, {{QStringLiteral("1201"), cpf, QStringLiteral("Rui Costa")}});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(Clientes(amb), (QStringList{QStringLiteral("1201|0"), QStringLiteral("PDV-1|1")}));
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT ID_CLIENTE FROM MOVIMENTO")), QStringLiteral("PDV-1"));

    // The export sent the registration and removed it from the queue.
    Preparar(amb, {QStringLiteral("DELETE FROM CLIENTEEXP")});
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(Clientes(amb), QStringList{QStringLiteral("1201|0")});
    EXPECT_EQ(amb.Valor(QStringLiteral("SELECT ID_CLIENTE FROM MOVIMENTO")), QStringLiteral("1201"));
}

TEST(ClientesUnificacao, ASearchThatCannotBeOpenedEndsThatCustomersSearchOnly) {
    AmbienteImportacao amb;
    // The CPF of the back-office customer "Quebra" holds a character the
    // import's connection (WIN1252) cannot receive, so a search that reads
    // it fails to open.
    {
        TParametrosConexao p = amb.Parametros();
        p.CharSet = QStringLiteral("UTF8");
        TConexaoFirebird c(p);
        c.Conectar();
        c.ExecutarDireto(QStringLiteral("CREATE TABLE CPF_ILEGIVEL (V VARCHAR(30) CHARACTER SET UTF8)"));
        c.ExecutarDireto(QStringLiteral("DROP INDEX IDX_CLIENTES_CPF_CNPJ"));
        c.ExecutarDireto(QStringLiteral("ALTER TABLE CLIENTES DROP CPF_CNPJ"));
        c.ExecutarDireto(QStringLiteral("ALTER TABLE CLIENTES ADD CPF_CNPJ VARCHAR(30) CHARACTER SET UTF8"));
        c.Executar(QStringLiteral("INSERT INTO CPF_ILEGIVEL VALUES ('ŁŁŁ')"));
        c.ExecutarDireto(QStringLiteral("CREATE TRIGGER CLIENTES_TESTE FOR CLIENTES BEFORE INSERT AS BEGIN "
                                        "IF (NEW.NMCLIENTE = 'Quebra') THEN "
                                        "NEW.CPF_CNPJ = (SELECT FIRST 1 V FROM CPF_ILEGIVEL); END"));
        c.Desconectar();
    }
    Preparar(amb, {// Its mobile search fails; the name search would have found 1302.
                   Cliente(QStringLiteral("PDV-1"), QString(), QStringLiteral("Bia Rocha"), QStringLiteral("(11) 90000-0001")),
                   // Another customer goes on and is merged.
                   Cliente(QStringLiteral("PDV-2"), QString(), QStringLiteral("Caio"), QStringLiteral("(11) 90000-0002"))});
    GravarClientes(amb, {{QStringLiteral("1301"), QString(), QStringLiteral("Quebra"), QStringLiteral("(11) 90000-0001")},
                         {QStringLiteral("1302"), QString(), QStringLiteral("Bia Rocha"), QStringLiteral("(11) 90000-0001")},
                         {QStringLiteral("1303"), QString(), QStringLiteral("Caio Dias"), QStringLiteral("(11) 90000-0002")}});
    ASSERT_TRUE(SalvarClientes(amb).Ok) << AmbienteImportacao::Auditorias().value(0).Detalhes.toStdString();
    EXPECT_EQ(Clientes(amb), (QStringList{QStringLiteral("1301|0"), QStringLiteral("1302|0"),
                                          QStringLiteral("1303|0"), QStringLiteral("PDV-1|1")}));
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});
}

// ---- the generated file ------------------------------------------------------

TEST(ClientesGerador, ImportsWholeAndTheSecondSetChangesEveryRow) {
    AmbienteImportacao amb;
    retaguarda::TOpcoesGerador opcoes;
    opcoes.Clientes = 40;
    retaguarda::GerarClientes(amb.Entrada(), opcoes);
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    const QString select = QStringLiteral("SELECT IDCLIENTE, NMCLIENTE, CPF_CNPJ, TPPESSOA, VL_LIMITE_CREDITO "
                                          "FROM CLIENTES ORDER BY IDCLIENTE");
    const QStringList a = amb.Linhas(select);
    ASSERT_EQ(a.size(), 40);
    // Valid-looking numbers: 11 digits for people, 14 for companies.
    for (const QString& linha : a) {
        const QStringList c = linha.split(QLatin1Char('|'));
        EXPECT_EQ(OnlyNumber(c[2]).size(), c[3] == QStringLiteral("1") ? 14 : 11) << linha.toStdString();
    }
    retaguarda::GerarClientes(amb.Entrada(), opcoes);  // the same seed gives the same set
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    EXPECT_EQ(amb.Linhas(select), a);

    opcoes.Variante = 1;
    retaguarda::GerarClientes(amb.Entrada(), opcoes);
    ASSERT_TRUE(SalvarClientes(amb).Ok);
    const QStringList b = amb.Linhas(select);
    ASSERT_EQ(b.size(), a.size());
    for (int i = 0; i < a.size(); ++i) {
        const QStringList ca = a[i].split(QLatin1Char('|')), cb = b[i].split(QLatin1Char('|'));
        EXPECT_EQ(ca[0], cb[0]);  // same keys
        EXPECT_EQ(ca[2], cb[2]);
        EXPECT_NE(ca[1], cb[1]);  // another name in every row
        EXPECT_NE(ca[4], cb[4]);
    }
}
