// The scheduler's own export: a timer tick or the menu entry runs a real
// export, not nothing.
#include <gtest/gtest.h>

#include <QDir>

#include "TestSupport.h"
#include "app/Servico.h"
#include "audit/LeituraAuditoria.h"
#include "platform/DiretorioPrograma.h"
#include "settings/IniFile.h"

using namespace vesko;

TEST(AgendadorExportacao, TheDefaultExportRunsTheExportAndItsRecordsNameIt) {
    teste::PastaTemporaria pasta;
    DefinirDiretorioPrograma(pasta.Caminho());
    {
        TIniFile ini(pasta.Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")));
        QDir().mkpath(pasta.Arquivo(QStringLiteral("base")));  // no database in it
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioExportacao"),
                        pasta.Arquivo(QStringLiteral("saida")));
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"),
                        pasta.Arquivo(QStringLiteral("base")));
        ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("embutido"));
    }
    for (const bool automatico : {true, false}) {
        TServico servico;
        servico.Agendador().IniciarExportacao(automatico);
        EXPECT_FALSE(servico.Agendador().Ocupado());
    }
    const auto registros = LerAuditoriasDoDia(QDate::currentDate()).Registros;
    ASSERT_EQ(registros.size(), 2);  // the connection failed twice; no summary
    for (const auto& r : registros) EXPECT_EQ(r.TipoIntegracao, QStringLiteral("Exportação"));
    EXPECT_TRUE(QFileInfo(pasta.Arquivo(QStringLiteral("saida"))).isDir());
    DefinirDiretorioPrograma(QString());
}
