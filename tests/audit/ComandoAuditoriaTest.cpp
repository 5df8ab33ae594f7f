// `auditoria` as a store's IT person runs it.
#include <gtest/gtest.h>

#include <QProcess>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Relogio.h"
#include "platform/DiretorioPrograma.h"

using namespace vesko;

namespace {

struct TSaida {
    int status = -1;
    QByteArray saida, erros;
};

TSaida Auditoria(const QString& home, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(teste::AmbienteBrasileiro());
    p.start(teste::ExecutavelConstruido("Quorvel_IntegradorVesko"), QStringList{"--home", home, "auditoria"} + args);
    p.waitForFinished(20000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

class ComandoAuditoria : public ::testing::Test {
protected:
    void SetUp() override {
        DefinirDiretorioPrograma(pasta.Caminho());
        const QDate hoje = QDate::currentDate();
        Relogio::Definir([hoje] { return QDateTime(hoje.addDays(-1), QTime(23, 59, 58)); });
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria("Erro ocorrido durante a importação.", "Importação",
                                                             "Ocorreu o seguinte erro", "EConvertError", taErro);
        Relogio::Definir([hoje] { return QDateTime(hoje, QTime(8, 0, 1)); });
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria("Arquivos não exportados para a retaguarda",
                                                             "Exportação", "", "", taAviso);
        Relogio::Definir({});
    }
    void TearDown() override { DefinirDiretorioPrograma(QString()); }
    teste::PastaTemporaria pasta;
};

TEST_F(ComandoAuditoria, JsonWithDetailsOldestFirst) {
    const TSaida s = Auditoria(pasta.Caminho(), {"--json", "--detalhes", "--dias", "1"});
    ASSERT_EQ(s.status, 0) << s.erros.constData();
    const auto j = nlohmann::ordered_json::parse(s.saida.toStdString());
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["TipoExcecao"], "EConvertError");
    EXPECT_EQ(j[0]["TipoAuditoria"], 0);
    EXPECT_EQ(j[0]["HoraOcorrencia"], "23:59:58");
    EXPECT_EQ(j[0]["DataOcorrencia"], QDate::currentDate().addDays(-1).toString(Qt::ISODate).toStdString());
    EXPECT_EQ(j[0]["DetalhesLog"], "Ocorreu o seguinte erro\r\n");
    EXPECT_EQ(j[1]["DescricaoCurta"], "Arquivos não exportados para a retaguarda");
    std::vector<std::string> chaves;
    for (auto it = j[1].begin(); it != j[1].end(); ++it) chaves.push_back(it.key());
    EXPECT_EQ(chaves, (std::vector<std::string>{"IdAuditoria", "TipoIntegracao", "TipoExcecao", "DescricaoCurta",
                                                "DataOcorrencia", "HoraOcorrencia", "TipoAuditoria", "DetalhesLog"}));

    const TSaida soHoje = Auditoria(pasta.Caminho(), {"--json", "--dias", "0"});
    const auto h = nlohmann::ordered_json::parse(soHoje.saida.toStdString());
    ASSERT_EQ(h.size(), 1u);
    EXPECT_FALSE(h[0].contains("DetalhesLog"));
}

TEST_F(ComandoAuditoria, TextLinesBadArgumentsAndAnUnreadableDay) {
    TSaida s = Auditoria(pasta.Caminho(), {"--detalhes"});
    ASSERT_EQ(s.status, 0);
    const QStringList linhas = QString::fromUtf8(s.saida).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(linhas.size(), 2);
    EXPECT_EQ(linhas[0], "Erro\tImportação\t" + QDate::currentDate().addDays(-1).toString("dd/MM/yyyy") +
                             "\t23:59:58\tErro ocorrido durante a importação.");
    EXPECT_EQ(linhas[1], "    Ocorreu o seguinte erro");

    EXPECT_EQ(Auditoria(pasta.Caminho(), {"--dias", "abc"}).status, 2);
    EXPECT_EQ(Auditoria(pasta.Caminho(), {"--qualquer"}).status, 2);

    teste::GravarArquivo(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria(QDate::currentDate().addDays(-1)), "x");
    s = Auditoria(pasta.Caminho(), {"--json"});
    EXPECT_EQ(s.status, 0);
    EXPECT_TRUE(QString::fromUtf8(s.erros).contains(
        "Não foi possível ler as auditorias do dia " + QDate::currentDate().addDays(-1).toString("dd/MM/yyyy") + "."));
    EXPECT_EQ(nlohmann::ordered_json::parse(s.saida.toStdString()).size(), 1u);

    teste::PastaTemporaria vazia;
    EXPECT_EQ(Auditoria(vazia.Caminho(), {"--json"}).saida.trimmed(), "[]");
}

TEST_F(ComandoAuditoria, RecordsTheTrailCouldNotTakeArePointedOutWhileTheirFileHoldsAny) {
    TSaida s = Auditoria(pasta.Caminho(), {});
    EXPECT_FALSE(QString::fromUtf8(s.erros).contains("AuditoriaNaoGravada.txt")) << s.erros.constData();

    const QString arquivo = pasta.Arquivo("AuditoriaNaoGravada.txt");
    teste::GravarArquivo(arquivo, "");
    EXPECT_FALSE(QString::fromUtf8(Auditoria(pasta.Caminho(), {}).erros).contains("AuditoriaNaoGravada.txt"));

    teste::GravarArquivo(arquivo, "07/12/2026 10:15:30 | Exportação | Erro | um\r\n07/12/2026 10:16:30 | Exportação | Erro | dois\r\n");
    s = Auditoria(pasta.Caminho(), {"--dias", "1"});
    EXPECT_EQ(s.status, 0);
    EXPECT_TRUE(QString::fromUtf8(s.erros).contains("Atenção: 2 registros de auditoria não puderam ser gravados e estão "
                                                    "no arquivo " + arquivo + " (pode ser apagado depois de lido)."))
        << s.erros.constData();
    EXPECT_EQ(QString::fromUtf8(s.saida).split('\n', Qt::SkipEmptyParts).size(), 2);  // the records as before

    s = Auditoria(pasta.Caminho(), {"--json", "--dias", "1"});
    EXPECT_TRUE(QString::fromUtf8(s.erros).contains(arquivo));
    EXPECT_EQ(nlohmann::ordered_json::parse(s.saida.toStdString()).size(), 2u);  // standard output stays JSON
}

}  // namespace
