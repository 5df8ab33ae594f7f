// Saving a dataset to disk: the file is replaced whole or left as it was, the
// save's own temporary never outlives it, and nothing else beside the file is
// touched.
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>

#include "Comum.h"
#include "base/Excecoes.h"
#include "platform/GravacaoAtomica.h"

using namespace vesko;
using namespace vesko::teste;

namespace {

class GravacaoArquivo : public ::testing::Test {
protected:
    // A dataset of `linhas` rows of about 1 KB each.
    static void Preencher(TClientDataSet& ds, int linhas) {
        ds.FieldDefs().Add("Id", ftInteger);
        ds.FieldDefs().Add("Texto", ftMemo);
        ds.CreateDataSet();
        for (int i = 0; i < linhas; ++i) {
            ds.Append();
            ds.FieldByName("Id").SetAsInteger(i);
            ds.FieldByName("Texto").SetAsString(QString(1000, QChar(u'a' + i % 26)));
            ds.Post();
        }
    }
    QStringList Nomes() const {
        return QDir(pasta.Caminho()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    PastaTemporaria pasta;
    QString arquivo = pasta.Arquivo("Dados.dat");
};

// The limit on the size of files this process writes stops root as well:
// writing past it fails as a full disk does.
class LimiteTamanhoArquivo {
public:
    explicit LimiteTamanhoArquivo(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_antes);
        m_sinal = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
        rlimit l = m_antes;
        l.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~LimiteTamanhoArquivo() {
        setrlimit(RLIMIT_FSIZE, &m_antes);
        std::signal(SIGXFSZ, m_sinal);
    }

private:
    rlimit m_antes{};
    void (*m_sinal)(int) = SIG_DFL;
};

TEST_F(GravacaoArquivo, SiblingsOfTheFileSurviveASaveAndNoTemporaryRemains) {
    TClientDataSet ds;
    Preencher(ds, 3);
    ds.SaveToFile(arquivo);
    GravarArquivo(arquivo + ".backup", "cópia do usuário");
    GravarArquivo(arquivo + ".abc123", "outro arquivo do usuário");
    GravarArquivo(arquivo + ".~vesko-ABC12", "nome parecido, curto");

    ds.Append();
    ds.FieldByName("Id").SetAsInteger(99);
    ds.Post();
    ds.SaveToFile(arquivo);

    EXPECT_EQ(Nomes(), QStringList({"Dados.dat", "Dados.dat.abc123", "Dados.dat.backup", "Dados.dat.~vesko-ABC12"}));
    EXPECT_EQ(LerArquivo(arquivo + ".backup"), QByteArray("cópia do usuário"));
    EXPECT_EQ(LerArquivo(arquivo + ".abc123"), QByteArray("outro arquivo do usuário"));
    TClientDataSet lido;
    lido.LoadFromFile(arquivo);
    EXPECT_EQ(lido.RecordCount(), 4);
}

TEST_F(GravacaoArquivo, ASaveThroughALinkReplacesItsTargetAndKeepsTheLink) {
    TClientDataSet ds;
    Preencher(ds, 1);
    ds.SaveToFile(arquivo);
    const QString link = pasta.Arquivo("Atalho.dat");
    ASSERT_TRUE(QFile::link(arquivo, link));
    TClientDataSet maior;
    Preencher(maior, 5);
    maior.SaveToFile(link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    TClientDataSet lido;
    lido.LoadFromFile(arquivo);
    EXPECT_EQ(lido.RecordCount(), 5);
    EXPECT_EQ(Nomes(), QStringList({"Atalho.dat", "Dados.dat"}));
}

TEST_F(GravacaoArquivo, OnlyTheSavesOwnStaleTemporariesAreCleared) {
    for (const char* n : {"Dados.dat.~vesko-ABC123", "Dados.dat.~vesko-zz9900", "Dados.dat.~vesko-ABC1234",
                          "Dados.dat.~vesko-ABC12", "Dados.dat.backup", "Dados.dat.abc123", "Outro.dat.~vesko-ABC123",
                          "Dados.dat"})
        GravarArquivo(pasta.Arquivo(n), "x");
    EXPECT_EQ(RemoverTemporariosGravacao(arquivo), 2);
    EXPECT_EQ(Nomes(), QStringList({"Dados.dat", "Dados.dat.abc123", "Dados.dat.backup", "Dados.dat.~vesko-ABC12",
                                    "Dados.dat.~vesko-ABC1234", "Outro.dat.~vesko-ABC123"}));
    EXPECT_TRUE(EhTemporarioGravacao("Dados.dat.~vesko-ABC123", "Dados.dat"));
    EXPECT_FALSE(EhTemporarioGravacao("Dados.dat.abc123", "Dados.dat"));
    EXPECT_FALSE(EhTemporarioGravacao("XDados.dat.~vesko-ABC123", "Dados.dat"));
}

TEST_F(GravacaoArquivo, AWriteThatFailsMidwayLeavesTheOldFileByteForByteAndNoTemporary) {
    TClientDataSet pequeno;
    Preencher(pequeno, 2);
    pequeno.SaveToFile(arquivo);
    const QByteArray antes = LerArquivo(arquivo);
    ASSERT_LT(antes.size(), 8192);

    TClientDataSet grande;
    Preencher(grande, 200);  // about 200 KB, far past the limit below
    try {
        LimiteTamanhoArquivo limite(8192);
        grande.SaveToFile(arquivo);
        ADD_FAILURE() << "a gravação deveria ter falhado";
    } catch (const EWriteError& e) {
        EXPECT_TRUE(e.Mensagem().startsWith("não foi possível gravar o arquivo \"" + arquivo + "\"")) << e.what();
    }
    EXPECT_EQ(LerArquivo(arquivo), antes);
    EXPECT_EQ(Nomes(), QStringList({"Dados.dat"}));

    // Without the limit the same save goes through.
    grande.SaveToFile(arquivo);
    TClientDataSet lido;
    lido.LoadFromFile(arquivo);
    EXPECT_EQ(lido.RecordCount(), 200);
}

TEST_F(GravacaoArquivo, ARenameThatFailsOrAMissingFolderLeavesNothingBehind) {
    TClientDataSet ds;
    Preencher(ds, 1);
    // A folder (not empty) in the file's place: the temporary is written, the rename fails.
    QDir().mkpath(arquivo);
    GravarArquivo(arquivo + "/dentro.txt", "x");
    EXPECT_THROW(ds.SaveToFile(arquivo), EWriteError);
    EXPECT_EQ(Nomes(), QStringList({"Dados.dat"}));
    EXPECT_EQ(LerArquivo(arquivo + "/dentro.txt"), QByteArray("x"));

    // No folder to hold the temporary.
    const QString semPasta = pasta.Arquivo("nao-existe/Dados.dat");
    try {
        ds.SaveToFile(semPasta);
        ADD_FAILURE() << "a gravação deveria ter falhado";
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(e.Mensagem().startsWith("não foi possível criar o arquivo \"" + semPasta + "\"")) << e.what();
    }
}

TEST_F(GravacaoArquivo, AReplacedFileKeepsItsPermissions) {
    TClientDataSet ds;
    Preencher(ds, 1);
    ds.SaveToFile(arquivo);
    ASSERT_TRUE(QFile::setPermissions(arquivo, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    ds.SaveToFile(arquivo);  // the replaced file keeps them
    constexpr int kDonoGrupoOutros = 0x7077;  // the user's bits depend on who runs the test
    EXPECT_EQ(int(QFileInfo(arquivo).permissions()) & kDonoGrupoOutros,
              int(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
}

TEST_F(GravacaoArquivo, AReadOnlyFolderStopsTheSaveOfAnOrdinaryUser) {
    if (geteuid() == 0) GTEST_SKIP() << "como root, uma pasta somente leitura não impede a gravação";
    TClientDataSet ds;
    Preencher(ds, 1);
    ds.SaveToFile(arquivo);
    const QByteArray antes = LerArquivo(arquivo);
    const QFileDevice::Permissions p = QFileInfo(pasta.Caminho()).permissions();
    ASSERT_TRUE(QFile::setPermissions(pasta.Caminho(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ds.Append();
    ds.FieldByName("Id").SetAsInteger(2);
    ds.Post();
    EXPECT_THROW(ds.SaveToFile(arquivo), EFCreateError);
    QFile::setPermissions(pasta.Caminho(), p);
    EXPECT_EQ(LerArquivo(arquivo), antes);
    EXPECT_EQ(Nomes(), QStringList({"Dados.dat"}));
}

}  // namespace
