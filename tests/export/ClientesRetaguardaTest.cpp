// A customer registered at the checkout with a delivery, there and back:
// the export sends its CCad file once the delivery is finished and takes it
// out of CLIENTEEXP; the back office registers it under its own id and sends
// it back in Clientes.dat; the import's customers step then merges the
// checkout customer into the back-office one. Real database, real files.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>

#include "ApoioExportacao.h"
#include "PacoteRetaguarda.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"
#include "records/ClienteExportacaoRec.h"

using namespace vesko;
using vesko::teste::AmbienteExportacao;
using R = vesko::TClienteExportacaoRec;

namespace {

// The POS side: the customer registered at the checkout, its complement, its
// delivery (closed, under way) and its row in the export queue.
void RegistrarClienteNoCheckout(AmbienteExportacao& a) {
    a.Executar(QStringLiteral("INSERT INTO CLIENTES (IDCLIENTE, CPF_CNPJ, NMCLIENTE, NRCELULAR, DSENDERECO, "
                              "CADASTRADO_NO_CHECKOUT) VALUES ('PDV-7', '123.456.789-00', 'Ana Souza', "
                              "'11999998888', 'Rua das Flores, 123', 1)"));
    a.Executar(QStringLiteral("INSERT INTO CLIENTE_COMPLEMENTO (IDCLIENTE, PONTO_REFERENCIA) "
                              "VALUES ('PDV-7', 'Perto da praça')"));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, ID_CLIENTE, HRFECHAMENTO, DATA_HORA_PEDIDO, "
                              "ST_MOVIMENTO, ST_MOVIMENTO_EXPORTADO, TIPO_OPERACAO, ST_ENTREGA, "
                              "ST_ENTREGAFINALIZADA) VALUES (10, 'PDV-7', '2026-03-01 14:45:00', "
                              "'2026-03-01 14:30:05', 1, 0, 'V', 1, 0)"));
    a.Executar(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, VALOR, NRORDEM, IPTERMINAL) "
                              "VALUES (10, 42, '4321', 'CAIXA01')"));
    a.Executar(QStringLiteral("INSERT INTO CLIENTEEXP (IDCLIENTE, NOME, CPF_CNPJ, NR_TELEFONE, IPTERMINAL, "
                              "DSENDERECO, NMBAIRRO, NMCIDADE, CDUF, CDCEP, NRCELULAR, EMAIL, DTNASCIMENTO, "
                              "ALTERACAO_CADASTRO, COMPLEMENTO_ENDERECO) VALUES ('PDV-7', 'Ana Souza', "
                              "'123.456.789-00', '1133334444', 'CAIXA01', 'Rua das Flores, 123', 'Centro', "
                              "'São Paulo', 'SP', '01310-100', '11999998888', 'ana@exemplo.com', '1990-07-08', 0, "
                              "'Apto 4')"));
}

struct CampoClientes {
    const char* Nome;
    TFieldType Tipo;
    int Tamanho;
};

// The fields of the back office's Clientes.dat.
const CampoClientes kCamposClientes[] = {
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
    {"IdPrazo", ftString, 10}};

// The back office side: it reads the CCad record, registers the customer
// under its own id and sends it back, with the customers it already had.
void ResponderRetaguarda(const QString& ArquivoCCad, const QString& ArquivoClientes) {
    R rec;
    rec.Carregar(teste::LerArquivo(ArquivoCCad));
    const QStringList valores{
        QStringLiteral("R100"), QStringLiteral("100"), rec.Valor(R::CpfCnpj), rec.Valor(R::Nome),
        rec.Valor(R::Logradouro) + QStringLiteral(", ") + rec.Valor(R::Numero), rec.Valor(R::NmBairro),
        rec.Valor(R::NmCidade), rec.Valor(R::CdUf), rec.Valor(R::CdCep)};
    retaguarda::TPacoteRetaguarda p;
    for (const CampoClientes& c : kCamposClientes) p.Campo(QLatin1String(c.Nome), c.Tipo, c.Tamanho);
    QVariantList novo;
    for (const QString& v : valores) novo << v;
    novo << 0.0 << QString() << QString() << rec.Valor(R::NrTelefone) << QStringLiteral("Feminino")
         << rec.Valor(R::NrCelular) << QDate::fromString(rec.Valor(R::DtNascimento), QStringLiteral("dd/MM/yyyy"))
         << rec.Valor(R::Email) << true << rec.Valor(R::Complemento);
    p.Linha(novo);
    p.Linha({QStringLiteral("R001"), QStringLiteral("1"), QStringLiteral("987.654.321-00"),
             QStringLiteral("Bruno Lima")});
    p.Gravar(ArquivoClientes);
}

}  // namespace

TEST(ClientesRetaguarda, ADeliveryCustomerGoesOutOnceAndComesBackMergedIntoTheBackOfficeCustomer) {
    AmbienteExportacao a;
    RegistrarClienteNoCheckout(a);

    // The delivery is under way: the customer waits in the queue, no file.
    ASSERT_TRUE(a.Exportar(true));
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("CCad*")).isEmpty());
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 1);

    // Delivered: the customer file carries the bracket groups of the sale's
    // files, and the queue row leaves with the step's commit.
    a.Executar(QStringLiteral("UPDATE MOVIMENTO SET ST_ENTREGAFINALIZADA = 1 WHERE IDMOVIMENTO = 10"));
    ASSERT_TRUE(a.Exportar(true));
    const QStringList ccad = a.ArquivosSaida(QStringLiteral("CCad*"));
    ASSERT_EQ(ccad.size(), 1);
    const QString grupos = QStringLiteral("[CAIXA01][CAIXA01-000004321][143005]");
    EXPECT_TRUE(ccad.first().startsWith(QStringLiteral("CCad") + grupos)) << ccad.first().toStdString();
    const QStringList hdoc = a.ArquivosSaida(QStringLiteral("HDoc*"));
    ASSERT_EQ(hdoc.size(), 1);
    EXPECT_TRUE(hdoc.first().startsWith(QStringLiteral("HDoc") + grupos)) << hdoc.first().toStdString();
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 0);
    const R rec = [&] {
        R r;
        r.Carregar(teste::LerArquivo(a.ArquivoSaida(ccad.first())));
        return r;
    }();
    EXPECT_EQ(rec.Valor(R::IdCliente), QString());  // a new customer: the back office gives the id
    EXPECT_EQ(rec.Valor(R::CpfCnpj), QStringLiteral("123.456.789-00"));
    EXPECT_EQ(rec.Valor(R::CdCep), QStringLiteral("01310100"));

    // A later run sends it no more.
    ASSERT_TRUE(a.Exportar(true));
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("CCad*")).size(), 1);

    // The back office answers; the import merges the checkout customer.
    const QString entrada = a.Arquivo(QStringLiteral("entrada"));
    ASSERT_TRUE(QDir().mkpath(entrada));
    ResponderRetaguarda(a.ArquivoSaida(ccad.first()), entrada + QStringLiteral("/Clientes.dat"));
    {
        TComunicacaoBancoBistrel g(QStringLiteral("Importação"));
        ASSERT_TRUE(g.Conectar(a.PrimeiraConexao));
        THintMemoria hint;
        TImportacaoPDVBistrelInterna importacao(hint, entrada);
        ASSERT_TRUE(importacao.SalvarClientes(g));
        g.Desconectar();
    }
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT IDCLIENTE, CADASTRADO_NO_CHECKOUT, NMCLIENTE, CPF_CNPJ, DSENDERECO, "
                                      "CDCEP, PONTO_REFERENCIA FROM CLIENTES ORDER BY IDCLIENTE")),
              (QStringList{QStringLiteral("R001|0|Bruno Lima|987.654.321-00|||<null>"),
                           QStringLiteral("R100|0|Ana Souza|123.456.789-00|Rua das Flores, 123|01310100|"
                                          "Perto da praça")}));
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT ID_CLIENTE FROM MOVIMENTO")), QStringList{QStringLiteral("R100")});
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT IDCLIENTE FROM CLIENTE_COMPLEMENTO")),
              QStringList{QStringLiteral("R100")});
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 0);
}
