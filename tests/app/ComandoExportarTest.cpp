// `exportar [--automatico]`: one export run from the command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "TestSupport.h"
#include "audit/LeituraAuditoria.h"
#include "platform/DiretorioPrograma.h"
#include "platform/InstanciaUnica.h"
#include "settings/IniFile.h"

using namespace vesko;

namespace {

// A program folder whose settings name an export directory `saida` (not
// created) and a database folder `base`.
class Loja {
public:
    explicit Loja(const QString& saida = QStringLiteral("saida")) {
        TIniFile ini(m_pasta.Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")));
        QDir().mkpath(m_pasta.Arquivo(QStringLiteral("base")));
        if (!saida.isEmpty())
            ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioExportacao"), m_pasta.Arquivo(saida));
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"),
                        m_pasta.Arquivo(QStringLiteral("base")));
        ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("embutido"));
    }
    QString Home() const { return m_pasta.Caminho(); }
    QString Arquivo(const QString& nome) const { return m_pasta.Arquivo(nome); }
    bool CriarBase() const {
        return teste::RodarPrograma(Home(), {QStringLiteral("criar-base"), Arquivo(QStringLiteral("base"))}).codigo == 0;
    }
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

const QString kSemDiretorio = QStringLiteral("Não foi configurado o diretório de exportação.");

}  // namespace

TEST(ComandoExportar, WithoutAnExportDirectoryThatCanBeMadeItSaysSoAndExitsTwo) {
    {
        Loja loja{QString()};  // not configured
        const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("exportar")});
        EXPECT_EQ(r.codigo, 2);
        EXPECT_TRUE(r.erros.contains(kSemDiretorio)) << r.erros.toStdString();
    }
    {
        Loja loja(QStringLiteral("arquivo/saida"));  // below a plain file: cannot be made
        teste::GravarArquivo(loja.Arquivo(QStringLiteral("arquivo")), "x");
        const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("exportar"), QStringLiteral("--automatico")});
        EXPECT_EQ(r.codigo, 2);
        EXPECT_TRUE(r.erros.contains(kSemDiretorio)) << r.erros.toStdString();
    }
    {
        Loja loja;
        const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("exportar"), QStringLiteral("--outro")});
        EXPECT_EQ(r.codigo, 2);
    }
}

TEST(ComandoExportar, ARunThatCannotConnectExitsOneAndTheDirectoryIsMade) {
    Loja loja;  // no database in `base`
    const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("exportar")});
    EXPECT_EQ(r.codigo, 1) << r.erros.toStdString();
    EXPECT_TRUE(QFileInfo(loja.Arquivo(QStringLiteral("saida"))).isDir());
    EXPECT_EQ(loja.Descricoes().size(), 1);  // the gateway's record, no summary
}

TEST(ComandoExportar, TakesTheSingleInstanceLock) {
    Loja loja;
    TInstanciaUnica outra;
    ASSERT_TRUE(outra.Adquirir());
    const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("exportar")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(r.erros.contains(QStringLiteral("em execução"))) << r.erros.toStdString();
    EXPECT_FALSE(QFileInfo::exists(loja.Arquivo(QStringLiteral("saida"))));  // nothing ran
}

TEST(ComandoExportar, ACompleteRunExitsZeroWithItsSummaryAndHints) {
    Loja loja;
    ASSERT_TRUE(loja.CriarBase());
    const teste::ResultadoPrograma r = teste::RodarPrograma(loja.Home(), {QStringLiteral("exportar")});
    EXPECT_TRUE(r.erros.contains(QStringLiteral("Recebendo logs do banco de dados...\n"))) << r.erros.toStdString();
    // With nothing to export a manual run is complete and says so; an
    // automatic one leaves no trace. Until every step of the run is in
    // place the run is not complete and exits 1 without a summary.
    if (r.codigo == 0) {
        EXPECT_EQ(loja.Descricoes().last(), QStringLiteral("Nenhum arquivo exportado para a retaguarda"));
        const int antes = static_cast<int>(loja.Descricoes().size());
        EXPECT_EQ(teste::RodarPrograma(loja.Home(), {QStringLiteral("exportar"), QStringLiteral("--automatico")}).codigo, 0);
        EXPECT_EQ(loja.Descricoes().size(), antes);
    } else {
        EXPECT_EQ(r.codigo, 1);
        EXPECT_FALSE(loja.Descricoes().contains(QStringLiteral("Nenhum arquivo exportado para a retaguarda")));
    }
}
