// `importar`: one run as the tray's import starts it, from the command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "GeradorRetaguarda.h"
#include "PacoteRetaguarda.h"
#include "TestSupport.h"
#include "audit/LeituraAuditoria.h"
#include "platform/DiretorioPrograma.h"
#include "settings/IniFile.h"

using namespace vesko;

namespace {

// A program folder with settings, an embedded POS database and the
// generated back-office files.
class Loja {
public:
    Loja() {
        TIniFile ini(m_pasta.Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")));
        for (const char* d : {"entrada", "saida", "base"}) QDir().mkpath(m_pasta.Arquivo(QString::fromLatin1(d)));
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioImportacao"), Entrada());
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioExportacao"), m_pasta.Arquivo(QStringLiteral("saida")));
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), m_pasta.Arquivo(QStringLiteral("base")));
        ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("embutido"));
    }
    QString Home() const { return m_pasta.Caminho(); }
    QString Entrada() const { return m_pasta.Arquivo(QStringLiteral("entrada")); }
    bool CriarBase() const { return teste::RodarPrograma(Home(), {QStringLiteral("criar-base"), m_pasta.Arquivo(QStringLiteral("base"))}).codigo == 0; }
    QStringList Descricoes() const {
        DefinirDiretorioPrograma(Home());
        QStringList r;
        for (const auto& a : LerAuditoriasDoDia(QDate::currentDate()).Registros) r << a.DescricaoCurta;
        DefinirDiretorioPrograma(QString());
        return r;
    }

private:
    teste::PastaTemporaria m_pasta;
};

}  // namespace

TEST(ComandoImportar, WithoutAnImportDirectoryItSaysSoAndExitsTwo) {
    teste::PastaTemporaria home;
    const teste::ResultadoPrograma r = teste::RodarPrograma(home.Caminho(), {QStringLiteral("importar")});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_TRUE(r.erros.contains(QStringLiteral("Não foi configurado o diretório de importação."))) << r.erros.toStdString();
}

TEST(ComandoImportar, AGeneratedStoreImportsAndTheProgressIsPrintedThinned) {
    Loja loja;
    ASSERT_TRUE(loja.CriarBase());
    retaguarda::TOpcoesGerador o;
    o.Produtos = 3000;  // enough records for the progress to be thinned
    o.ProdutosComImagem = 5;
    retaguarda::GerarRetaguarda(loja.Entrada(), o);
    const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("importar")});
    EXPECT_EQ(r.codigo, 0) << r.erros.toStdString();
    EXPECT_EQ(loja.Descricoes().last(), QStringLiteral("Importação realizada com sucesso!"));
    EXPECT_TRUE(r.erros.contains(QStringLiteral("Salvando recebimentos no banco de dados...\n")));
    EXPECT_TRUE(r.erros.contains(QStringLiteral("Carregando arquivo de imagens de produtos...\n")));
    EXPECT_TRUE(r.erros.contains(QStringLiteral("Importando arquivo de produtos (3000 de 3000 -> 100,00%)...\n")));
    EXPECT_LT(r.erros.count(QStringLiteral("Importando arquivo de produtos (")), 1000);  // not one line per product
}

TEST(ComandoImportar, AnExceptionInARunIsTheTraysErrorRecordAndExitOne) {
    Loja loja;
    ASSERT_TRUE(loja.CriarBase());
    retaguarda::GerarRetaguarda(loja.Entrada(), {});
    // Products without the description field: the run raises in step 8.
    retaguarda::TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdProduto"), ftString, 10).Campo(QStringLiteral("IdDetalhe"), ftString, 10);
    p.Linha({QStringLiteral("1"), QStringLiteral("1")});
    p.Gravar(loja.Entrada() + QStringLiteral("/Produtos.dat"));
    const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("importar")});
    EXPECT_EQ(r.codigo, 1) << r.erros.toStdString();
    EXPECT_EQ(loja.Descricoes().last(), QStringLiteral("Erro ocorrido durante a importação."));
}
