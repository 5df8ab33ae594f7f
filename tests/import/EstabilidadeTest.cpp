// A set the back office is still copying is not imported: the two looks at
// the ".dat" files, the pause, and whole runs that meet a file growing,
// appearing or vanishing while they look (one warning, nothing connected,
// the database as it was) or a set that holds still (imported as before).
#include <gtest/gtest.h>

#include <QFile>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "ApoioImportacao.h"
#include "TestSupport.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "import/EstabilidadeArquivos.h"

using namespace vesko;
using namespace std::chrono_literals;
using teste::AmbienteImportacao;
using teste::PausaVerificacaoReal;

namespace {

const QString kVerificando = QStringLiteral("Verificando arquivos de importação...");
const QString kAdiada = QStringLiteral("Importação adiada. Arquivos em alteração.");

std::filesystem::path Caminho(const QString& arquivo) { return QFileInfo(arquivo).filesystemAbsoluteFilePath(); }

void Anexar(const QString& arquivo, const QByteArray& dados) {
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Append));
    f.write(dados);
}

// A small generated set, quick to import.
retaguarda::TOpcoesGerador Pequeno(int variante = 0) {
    retaguarda::TOpcoesGerador o;
    o.Variante = variante;
    o.Produtos = 20;
    o.ProdutosComImagem = 2;
    o.Clientes = 5;
    return o;
}

// What an import writes, enough to tell set A from set B or from nothing.
QStringList Estado(AmbienteImportacao& amb) {
    QStringList r = amb.Linhas(QStringLiteral("SELECT IDPRODUTO, DSPRODUTO, VLVENDA FROM PRODUTOS ORDER BY 1"));
    r << amb.Linhas(QStringLiteral("SELECT IDCLIENTE, NMCLIENTE FROM CLIENTES ORDER BY 1"));
    r << amb.Linhas(QStringLiteral("SELECT IDENT, DATA_VALUE FROM FOOD_CONFIG WHERE SECTION = 'BISTREL' ORDER BY 1"));
    return r;
}

// The back office still copying: a byte appended every 200 ms until the
// object goes; it returns once the first byte is written.
class EscritorLento {
public:
    explicit EscritorLento(const QString& arquivo) : m_arquivo(arquivo) {
        m_thread = std::thread([this] {
            while (!m_parar) {
                QFile f(m_arquivo);
                if (f.open(QIODevice::WriteOnly | QIODevice::Append)) f.write("x");
                f.close();
                ++m_escritas;
                std::this_thread::sleep_for(200ms);
            }
        });
        while (m_escritas == 0) std::this_thread::sleep_for(5ms);
    }
    ~EscritorLento() {
        m_parar = true;
        m_thread.join();
    }
    EscritorLento(const EscritorLento&) = delete;
    EscritorLento& operator=(const EscritorLento&) = delete;

private:
    QString m_arquivo;
    std::atomic<bool> m_parar{false};
    std::atomic<int> m_escritas{0};
    std::thread m_thread;
};

// Runs `acao` once, when the run shows that it is looking at its files (the
// moment between the two looks).
class HintComAcao : public THintMemoria {
public:
    explicit HintComAcao(std::function<void()> acao) : m_acao(std::move(acao)) {}
    void DefinirHint(const QString& texto) override {
        THintMemoria::DefinirHint(texto);
        if (texto == kVerificando && m_acao) std::exchange(m_acao, nullptr)();
    }

private:
    std::function<void()> m_acao;
};

qsizetype LinhasDeArquivo(const QString& detalhes) { return detalhes.count(QStringLiteral("\r\n* ")); }

}  // namespace

TEST(EstabilidadeArquivos, TheLooksSeeEveryDatFileWithoutRegardToCaseAndNameEachChange) {
    teste::PastaTemporaria pasta;
    teste::GravarArquivo(pasta.Arquivo(QStringLiteral("Produtos.dat")), QByteArray(10, 'p'));
    teste::GravarArquivo(pasta.Arquivo(QStringLiteral("CODIGOS.DAT")), QByteArray(5, 'c'));
    teste::GravarArquivo(pasta.Arquivo(QStringLiteral("Config.Dat")), QByteArray(3, 'k'));
    teste::GravarArquivo(pasta.Arquivo(QStringLiteral("leia-me.txt")), "texto");
    QDir(pasta.Caminho()).mkdir(QStringLiteral("pasta.dat"));

    const TFotoArquivos antes = FotografarArquivosDat(pasta.Caminho());
    ASSERT_EQ(antes.size(), 3u);
    EXPECT_EQ(antes.at(QStringLiteral("Produtos.dat")).Tamanho, 10u);
    EXPECT_EQ(antes.at(QStringLiteral("CODIGOS.DAT")).Tamanho, 5u);
    EXPECT_TRUE(DiferencasArquivos(antes, FotografarArquivosDat(pasta.Caminho())).isEmpty());

    // Grown, touched a microsecond later (a millisecond clock would miss
    // it), removed, new; a file of another kind changes unseen.
    Anexar(pasta.Arquivo(QStringLiteral("Produtos.dat")), "p");
    const std::filesystem::path codigos = Caminho(pasta.Arquivo(QStringLiteral("CODIGOS.DAT")));
    std::filesystem::last_write_time(codigos, std::filesystem::last_write_time(codigos) + 1us);
    const bool subSegundo =
        std::filesystem::last_write_time(codigos) != antes.at(QStringLiteral("CODIGOS.DAT")).Modificacao;
    QFile::remove(pasta.Arquivo(QStringLiteral("Config.Dat")));
    teste::GravarArquivo(pasta.Arquivo(QStringLiteral("Novo.dat")), "n");
    Anexar(pasta.Arquivo(QStringLiteral("leia-me.txt")), " mais");

    QStringList esperadas{QStringLiteral("* CODIGOS.DAT: a data de modificação mudou"),
                          QStringLiteral("* Config.Dat: foi removido"), QStringLiteral("* Novo.dat: apareceu"),
                          QStringLiteral("* Produtos.dat: o tamanho passou de 10 para 11 bytes")};
    if (!subSegundo) esperadas.removeFirst();  // a file system without fractions of a second
    EXPECT_EQ(DiferencasArquivos(antes, FotografarArquivosDat(pasta.Caminho())), esperadas);
    EXPECT_TRUE(subSegundo) << "this file system keeps no fractions of a second";
}

TEST(EstabilidadeArquivos, ThePauseIsOneSecondUnlessATestSuiteShortensIt) {
    AmbienteImportacao amb;
    EXPECT_EQ(PausaVerificacaoPadrao(), 100ms);  // as this suite sets it
    {
        PausaVerificacaoReal real;
        EXPECT_EQ(PausaVerificacaoPadrao(), 1000ms);
        for (const char* invalido : {"", "x", "-5", "10001"}) {
            qputenv(teste::kVariavelPausa, invalido);
            EXPECT_EQ(PausaVerificacaoPadrao(), 1000ms) << invalido;
        }
    }
    EXPECT_EQ(PausaVerificacaoPadrao(), 100ms);
}

TEST(ImportacaoAdiada, AProdutosStillGrowingEndsTheRunBeforeConnectingWithOneWarning) {
    AmbienteImportacao amb;
    amb.GerarRetaguarda(Pequeno());
    ASSERT_TRUE(amb.Importar());
    const QStringList antes = Estado(amb);
    const qsizetype registros = AmbienteImportacao::Auditorias().size();

    amb.GerarRetaguarda(Pequeno(1));
    PausaVerificacaoReal real;  // the second the program waits
    bool primeiraConexao = true;
    {
        EscritorLento escritor(amb.ArquivoEntrada(QStringLiteral("Produtos.dat")));
        EXPECT_FALSE(TImportacaoPDVBistrel::Importar(amb.Hint, amb.Entrada(), primeiraConexao));
    }
    EXPECT_TRUE(primeiraConexao);  // never connected

    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), registros + 1);
    EXPECT_EQ(r.last().Descricao, kAdiada);
    EXPECT_EQ(r.last().Tipo, taAviso);
    EXPECT_TRUE(r.last().TipoExcecao.isEmpty());
    const QString& d = r.last().Detalhes;
    EXPECT_TRUE(d.startsWith(QStringLiteral("A importação da base de dados do Vesko foi adiada, pois os arquivos "
                                            "abaixo mudaram enquanto eram verificados"))) << d.toStdString();
    EXPECT_TRUE(d.contains(QStringLiteral("\r\n\r\n* Produtos.dat: o tamanho passou de "))) << d.toStdString();
    EXPECT_EQ(LinhasDeArquivo(d), 1) << d.toStdString();
    EXPECT_TRUE(d.endsWith(
        QStringLiteral("\r\n\r\nA importação será tentada novamente no próximo ciclo de importação.")));
    EXPECT_EQ(Estado(amb), antes);
}

TEST(ImportacaoAdiada, AFileThatAppearsOrVanishesDuringTheWaitEndsTheRunTheSameWay) {
    AmbienteImportacao amb;
    amb.GerarRetaguarda(Pequeno());
    const QString guardado = amb.Arquivo(QStringLiteral("Codigos.dat"));
    ASSERT_TRUE(QFile::rename(amb.ArquivoEntrada(QStringLiteral("Codigos.dat")), guardado));
    const QStringList antes = Estado(amb);
    bool primeiraConexao = true;

    HintComAcao aparece([&] { QFile::rename(guardado, amb.ArquivoEntrada(QStringLiteral("Codigos.dat"))); });
    EXPECT_FALSE(TImportacaoPDVBistrel::Importar(aparece, amb.Entrada(), primeiraConexao));
    HintComAcao some([&] { QFile::remove(amb.ArquivoEntrada(QStringLiteral("Clientes.dat"))); });
    EXPECT_FALSE(TImportacaoPDVBistrel::Importar(some, amb.Entrada(), primeiraConexao));

    EXPECT_TRUE(primeiraConexao);
    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_EQ(r.size(), 2);
    for (const auto& a : r) {
        EXPECT_EQ(a.Descricao, kAdiada);
        EXPECT_EQ(a.Tipo, taAviso);
        EXPECT_EQ(LinhasDeArquivo(a.Detalhes), 1) << a.Detalhes.toStdString();
    }
    EXPECT_TRUE(r[0].Detalhes.contains(QStringLiteral("\r\n* Codigos.dat: apareceu\r\n")))
        << r[0].Detalhes.toStdString();
    EXPECT_TRUE(r[1].Detalhes.contains(QStringLiteral("\r\n* Clientes.dat: foi removido\r\n")))
        << r[1].Detalhes.toStdString();
    EXPECT_EQ(Estado(amb), antes);

    // Held still, the same set imports at the next tick.
    EXPECT_TRUE(amb.Importar());
    EXPECT_EQ(AmbienteImportacao::Descricoes().last(), QStringLiteral("Importação realizada com sucesso!"));
}

TEST(ImportacaoAdiada, ASetWrittenJustBeforeTheRunImportsWhateverTheFilesAges) {
    AmbienteImportacao amb;
    PausaVerificacaoReal real;
    amb.GerarRetaguarda(Pequeno());
    // A shared folder's clock may be ahead or far behind ours.
    const auto agora = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(Caminho(amb.ArquivoEntrada(QStringLiteral("Produtos.dat"))), agora + 24h);
    std::filesystem::last_write_time(Caminho(amb.ArquivoEntrada(QStringLiteral("Codigos.dat"))), agora - 24h * 3650);

    EXPECT_TRUE(amb.Importar());
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Importação realizada com sucesso!")});
    ASSERT_FALSE(amb.Hint.Historico().isEmpty());
    EXPECT_EQ(amb.Hint.Historico().first(), kVerificando);
    EXPECT_GT(amb.Contar(QStringLiteral("PRODUTOS")), 0);
}
