// The run's frame: validation before connecting, the generic loader and table
// rewrite, the step transaction, the field helpers and the summary.
#include <gtest/gtest.h>

#include <QFile>

#include "ApoioImportacao.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"

using namespace vesko;
using teste::AmbienteImportacao;
using retaguarda::TPacoteRetaguarda;

namespace {

const QString kImportacao = QStringLiteral("Importação");

// A small data file of one text and one integer field.
void GravarLista(const QString& caminho, int linhas) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("Nome"), ftString, 20).Campo(QStringLiteral("Numero"), ftInteger);
    for (int i = 1; i <= linhas; ++i) p.Linha({QStringLiteral("linha %1").arg(i), i});
    p.Gravar(caminho);
}

// A table of our own for the rewrite: NUMERO must be below 3 for the third
// INSERT to fail.
void CriarTabelaTeste(AmbienteImportacao& amb) {
    auto c = amb.Conexao();
    c->ExecutarDireto(QStringLiteral("CREATE TABLE TESTE (NOME VARCHAR(20), NUMERO INTEGER CHECK (NUMERO < 3))"));
}

TReescritaTabela ReescritaTeste(TClientDataSet& ds) {
    TReescritaTabela r;
    r.DataSet = &ds;
    r.SqlDelete = QStringLiteral("DELETE FROM TESTE");
    r.TextoProgresso = QStringLiteral("Importando teste ");
    r.ArquivoResumo = QStringLiteral("Teste.dat");
    r.MontarInsert = [&ds](TParams& p) {
        p.CreateParam(ftString, QStringLiteral("pNome")).SetAsString(ds.FieldByName(QStringLiteral("nome")).AsString());
        p.CreateParam(ftInteger, QStringLiteral("pNumero")).SetAsInteger(ds.FieldByName(QStringLiteral("NUMERO")).AsInteger());
        return QStringLiteral("INSERT INTO TESTE (NOME, NUMERO)\r\nVALUES (:pNome, :pNumero)");
    };
    return r;
}

}  // namespace

TEST(ImportacaoValidacao, MissingDirectoryIsOneWarningAndNoConnection) {
    AmbienteImportacao amb;
    QDir(amb.Entrada()).removeRecursively();
    EXPECT_FALSE(amb.Importar());
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].Descricao, QStringLiteral("Importação não realizada. Diretório não encontrado"));
    EXPECT_EQ(r[0].Detalhes, QStringLiteral("Não foi possível realizar a importação da base de dados do Vesko, pois o "
                                            "diretório de integração configurado para importação não existe."));
    EXPECT_EQ(r[0].Tipo, taAviso);
    EXPECT_TRUE(amb.PrimeiraConexao);  // never connected
}

TEST(ImportacaoValidacao, RequiredFilesAreCheckedInOrderAndTheFirstFailureIsRecorded) {
    AmbienteImportacao amb;
    for (const char* nome : {"Produtos.dat", "TpRec.dat", "Config.dat", "Usuarios.dat"})
        GravarLista(amb.ArquivoEntrada(QString::fromLatin1(nome)), 1);
    amb.Remover(QStringLiteral("Config.dat"));
    EXPECT_FALSE(amb.Importar());
    auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].Descricao, QStringLiteral("Importação não realizada. Arquivo não encontrado."));
    EXPECT_EQ(r[0].Detalhes,
              QStringLiteral("Não foi possível realizar a importação da base de dados do Vesko, pois o arquivo "
                             "\"Config.dat\" não foi encontrado.\r\n\r\nPor favor, faça uma nova exportação de "
                             "dados no servidor e tente novamente."));
    EXPECT_EQ(r[0].Tipo, taAviso);
    EXPECT_TRUE(amb.Hint.Historico().contains(QStringLiteral("Verificando arquivos de importação...")));

    // A file that does not load is corrupted; one that loads with no
    // records is refused too, so an empty export never wipes the store.
    GravarLista(amb.ArquivoEntrada(QStringLiteral("Config.dat")), 1);
    QFile f(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("isto não é um pacote");
    f.close();
    GravarLista(amb.ArquivoEntrada(QStringLiteral("Usuarios.dat")), 0);
    EXPECT_FALSE(amb.Importar());
    r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[1].Descricao, QStringLiteral("Importação não realizada. Arquivo inválido."));
    EXPECT_TRUE(r[1].Detalhes.contains(QStringLiteral("\"TpRec.dat\" está corrompido.\r\n\r\n")));

    GravarLista(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")), 1);
    EXPECT_FALSE(amb.Importar());
    r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[2].Descricao, QStringLiteral("Importação não realizada. Arquivo vazio."));
    EXPECT_TRUE(r[2].Detalhes.contains(QStringLiteral("\"Usuarios.dat\" não contém registros.\r\n\r\n")));
    EXPECT_TRUE(amb.PrimeiraConexao);
}

TEST(ImportacaoValidacao, ClientesIsVerifiedOnlyWhenPresentAndMayBeEmpty) {
    AmbienteImportacao amb;
    THintMemoria hint;
    for (const char* nome : {"Produtos.dat", "TpRec.dat", "Config.dat", "Usuarios.dat"})
        GravarLista(amb.ArquivoEntrada(QString::fromLatin1(nome)), 1);
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    EXPECT_TRUE(w.ValidarImportacao());
    GravarLista(amb.ArquivoEntrada(QStringLiteral("Clientes.dat")), 0);
    EXPECT_TRUE(w.ValidarImportacao());
    QFile f(amb.ArquivoEntrada(QStringLiteral("Clientes.dat")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("\x96\x19\xE0\xBD", 4);  // the magic and nothing else
    f.close();
    EXPECT_FALSE(w.ValidarImportacao());
    EXPECT_EQ(AmbienteImportacao::Descricoes().last(), QStringLiteral("Importação não realizada. Arquivo inválido."));
}

// A file copied only in part (the copy cut short): refused as corrupted at
// every cut tried, before the run connects.
TEST(ImportacaoValidacao, ARequiredFileCutShortIsRefusedAsCorrupted) {
    AmbienteImportacao amb;
    for (const char* nome : {"Produtos.dat", "TpRec.dat", "Config.dat", "Usuarios.dat"})
        GravarLista(amb.ArquivoEntrada(QString::fromLatin1(nome)), 3);
    const QString produtos = amb.ArquivoEntrada(QStringLiteral("Produtos.dat"));
    const QByteArray inteiro = teste::LerArquivo(produtos);
    int registros = 0;
    for (qsizetype n = 1; n < inteiro.size(); n += 7) {
        teste::GravarArquivo(produtos, inteiro.left(n));
        EXPECT_FALSE(amb.Importar()) << "cortado em " << n;
        const auto r = AmbienteImportacao::Auditorias();
        ASSERT_EQ(r.size(), ++registros) << "cortado em " << n;
        EXPECT_EQ(r.last().Descricao, QStringLiteral("Importação não realizada. Arquivo inválido.")) << n;
        EXPECT_EQ(r.last().Tipo, taAviso);
        EXPECT_TRUE(r.last().Detalhes.contains(QStringLiteral("\"Produtos.dat\" está corrompido."))) << n;
    }
    EXPECT_GT(registros, 10);
    EXPECT_TRUE(amb.PrimeiraConexao);  // never connected
}

TEST(ImportacaoArquivos, FileNamesAreFoundWithoutRegardToCase) {
    AmbienteImportacao amb;
    GravarLista(amb.ArquivoEntrada(QStringLiteral("PRODUTOS.DAT")), 2);
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    EXPECT_TRUE(w.ArquivoExiste(QStringLiteral("Produtos.dat")));
    EXPECT_TRUE(w.VerificarArquivo(QStringLiteral("Produtos.dat"), true));
    EXPECT_TRUE(w.CarregarArquivo(QStringLiteral("Produtos.dat"), w.cdsProdutos));
    EXPECT_EQ(w.cdsProdutos.RecordCount(), 2);
    // An optional loader leaves the dataset closed when the file is absent.
    EXPECT_TRUE(w.CarregarOpcional(QStringLiteral("Prazos.dat"), w.cdsPrazos, QStringLiteral("Carregando...")));
    EXPECT_FALSE(w.cdsPrazos.Active());
    EXPECT_TRUE(hint.Historico().isEmpty());
}

TEST(ImportacaoArquivos, AFileThatFailsToLoadInsideAStepIsAnErrorRecord) {
    AmbienteImportacao amb;
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    EXPECT_FALSE(w.CarregarObrigatorio(QStringLiteral("Vendedores.dat"), w.cdsVendedores,
                                       QStringLiteral("Carregando arquivo de vendedores...")));
    EXPECT_EQ(hint.Hint(), QStringLiteral("Carregando arquivo de vendedores..."));
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].Descricao, QStringLiteral("Erro no carregamento do arquivo de base."));
    EXPECT_TRUE(r[0].Detalhes.startsWith(
        QStringLiteral("Houve o seguinte problema ao tentar carregar o arquivo \"Vendedores.dat\":\r\n")));
    EXPECT_FALSE(r[0].TipoExcecao.isEmpty());
    EXPECT_EQ(r[0].Tipo, taErro);
}

TEST(ImportacaoCampos, ObterValorCampoAndSalvarCampoEmStream) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("Texto"), ftString, 10).Campo(QStringLiteral("Logo"), ftBlob).Campo(QStringLiteral("Memo"), ftMemo);
    p.Linha({QStringLiteral("a"), QByteArray("\x01\x02", 2), QStringLiteral("m")});
    p.Linha({QVariant(), QVariant(), QVariant()});
    TClientDataSet& ds = p.DataSet();
    ds.First();
    using W = TImportacaoPDVBistrelInterna;
    EXPECT_EQ(W::ObterValorCampo(ds, QStringLiteral("TEXTO"), QStringLiteral("x")).toString(), QStringLiteral("a"));
    EXPECT_EQ(W::ObterValorCampo(ds, QStringLiteral("Falta"), QStringLiteral("3.10")).toString(), QStringLiteral("3.10"));
    QByteArray s;
    W::SalvarCampoEmStream(ds, QStringLiteral("logo"), s);
    W::SalvarCampoEmStream(ds, QStringLiteral("Texto"), s);  // not a blob: nothing
    W::SalvarCampoEmStream(ds, QStringLiteral("Memo"), s);
    EXPECT_EQ(s, QByteArray("\x01\x02m", 3));
    ds.Next();
    EXPECT_EQ(W::ObterValorCampo(ds, QStringLiteral("Texto"), 7).toInt(), 7);  // null gives the default
    QByteArray vazio;
    W::SalvarCampoEmStream(ds, QStringLiteral("Logo"), vazio);
    EXPECT_TRUE(vazio.isEmpty());
}

TEST(ImportacaoReescrita, AThirdInsertThatFailsRollsTheStepBackWhileTheHintCountsToN) {
    AmbienteImportacao amb;
    CriarTabelaTeste(amb);
    {
        auto c = amb.Conexao();
        c->Executar(QStringLiteral("INSERT INTO TESTE VALUES ('antiga', 1)"));
    }
    GravarLista(amb.ArquivoEntrada(QStringLiteral("Teste.dat")), 4);
    TComunicacaoBancoBistrel g(kImportacao);
    ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao));
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    TClientDataSet ds;
    const bool ok = w.SalvarPasso(g, QStringLiteral("Salvando teste no banco de dados..."),
                                  {[&] { return w.CarregarArquivo(QStringLiteral("Teste.dat"), ds); },
                                   [&] { return w.ReescreverTabela(g, ReescritaTeste(ds)); }});
    EXPECT_FALSE(ok);
    EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    const QStringList esperado{
        QStringLiteral("Importando teste (1 de 4 -> 25,00%)..."), QStringLiteral("Importando teste (1 de 4 -> 25,00%)..."),
        QStringLiteral("Importando teste (2 de 4 -> 50,00%)..."), QStringLiteral("Importando teste (3 de 4 -> 75,00%)..."),
        QStringLiteral("Importando teste (4 de 4 -> 100,00%)..."), QStringLiteral("Salvando teste no banco de dados...")};
    EXPECT_EQ(hint.Historico(), esperado);
    g.Desconectar();
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT NOME, NUMERO FROM TESTE")), QStringList{QStringLiteral("antiga|1")});
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);  // the failing INSERT alone, audited by the gateway
    EXPECT_EQ(r[0].Descricao, QStringLiteral("Erro na execução de query."));
}

TEST(ImportacaoReescrita, SuccessCommitsAndListsTheFileAGuardedEmptyFileLeavesTheTable) {
    AmbienteImportacao amb;
    CriarTabelaTeste(amb);
    {
        auto c = amb.Conexao();
        c->Executar(QStringLiteral("INSERT INTO TESTE VALUES ('antiga', 0)"));
    }
    TComunicacaoBancoBistrel g(kImportacao);
    ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao));
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    TClientDataSet vazio;
    GravarLista(amb.ArquivoEntrada(QStringLiteral("Teste.dat")), 0);
    ASSERT_TRUE(w.CarregarArquivo(QStringLiteral("Teste.dat"), vazio));
    EXPECT_TRUE(w.ReescreverTabela(g, ReescritaTeste(vazio)));
    EXPECT_TRUE(w.ArquivosImportados().isEmpty());
    EXPECT_TRUE(hint.Historico().isEmpty());

    TClientDataSet ds;
    GravarLista(amb.ArquivoEntrada(QStringLiteral("Teste.dat")), 2);
    EXPECT_TRUE(w.SalvarPasso(g, QStringLiteral("Salvando..."),
                              {[&] { return w.CarregarArquivo(QStringLiteral("Teste.dat"), ds); },
                               [&] { return w.ReescreverTabela(g, ReescritaTeste(ds)); }}));
    EXPECT_EQ(w.ArquivosImportados(), QStringLiteral("* Teste.dat;\r\n"));
    EXPECT_EQ(w.MontarResumoImportacao(), QStringLiteral("Arquivos importados:\r\n\r\n* Teste.dat;"));
    g.Desconectar();
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT NOME, NUMERO FROM TESTE ORDER BY NUMERO")),
              (QStringList{QStringLiteral("linha 1|1"), QStringLiteral("linha 2|2")}));
}

TEST(ImportacaoReescrita, WithoutGuardAnEmptyFileEmptiesTheTableAndShowsAZeroTotal) {
    AmbienteImportacao amb;
    CriarTabelaTeste(amb);
    {
        auto c = amb.Conexao();
        c->Executar(QStringLiteral("INSERT INTO TESTE VALUES ('antiga', 0)"));
    }
    TComunicacaoBancoBistrel g(kImportacao);
    ASSERT_TRUE(g.Conectar(amb.PrimeiraConexao));
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    TClientDataSet ds;
    GravarLista(amb.ArquivoEntrada(QStringLiteral("Teste.dat")), 0);
    ASSERT_TRUE(w.CarregarArquivo(QStringLiteral("Teste.dat"), ds));
    TReescritaTabela r = ReescritaTeste(ds);
    r.ComGuarda = false;
    r.ProgressoAntesDoDelete = true;
    EXPECT_TRUE(w.ReescreverTabela(g, r));
    EXPECT_EQ(hint.Historico(), QStringList{QStringLiteral("Importando teste (1 de 0 -> 100,00%)...")});
    EXPECT_EQ(w.ArquivosImportados(), QStringLiteral("* Teste.dat;\r\n"));
    g.Desconectar();
    EXPECT_EQ(amb.Contar(QStringLiteral("TESTE")), 0);
}

TEST(ImportacaoPasso, ATransactionThatCannotStartFailsWithoutRollback) {
    AmbienteImportacao amb;
    TComunicacaoBancoBistrel g(kImportacao);  // never connected
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    bool rodou = false;
    EXPECT_FALSE(w.SalvarPasso(g, QStringLiteral("Salvando..."), {[&] { return rodou = true; }}));
    EXPECT_FALSE(rodou);
    EXPECT_EQ(hint.Hint(), QStringLiteral("Salvando..."));
    EXPECT_EQ(AmbienteImportacao::Descricoes(),
              QStringList{QStringLiteral("Não foi possível iniciar a transação no banco.")});
}

TEST(ImportacaoResumo, DataUltimaAtualizacaoFailureIsRecordedAndDoesNotRaise) {
    AmbienteImportacao amb;
    TComunicacaoBancoBistrel g(kImportacao);  // not connected: the write raises
    THintMemoria hint;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    EXPECT_NO_THROW(w.RegistrarDataUltimaAtualizacao(g));
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0].Tipo, taErro);
    EXPECT_TRUE(r[0].Detalhes.contains(QStringLiteral("DataUltimaAtualizacao")));
}
