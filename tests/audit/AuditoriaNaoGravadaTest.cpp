// Records the audit trail cannot take end up, one line each, in the fallback
// file of the program directory, which is then pointed out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DiaDeAuditoria.h"
#include "TestSupport.h"
#include "audit/AuditoriaNaoGravada.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "audit/LeituraAuditoria.h"
#include "base/Relogio.h"
#include "platform/DiretorioPrograma.h"

using namespace vesko;

namespace {

class AuditoriaNaoGravada : public teste::DiaDeAuditoria {
protected:
    // The day's folder cannot be made: a plain file holds its path.
    void BloquearDia() {
        const QString dia = QFileInfo(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria()).absolutePath();
        QDir().mkpath(QFileInfo(dia).absolutePath());
        teste::GravarArquivo(dia, "no lugar da pasta do dia");
    }
    QStringList Linhas() const {
        return QString::fromUtf8(teste::LerArquivo(ArquivoAuditoriaNaoGravada())).split("\r\n", Qt::SkipEmptyParts);
    }
    const TAuditoriaNaoGravada registro{"Erro na execução de query.", "Exportação",
                                        "Ocorreu o erro \"x\" ao executar a seguinte query:\r\n\r\nSELECT 1\r\n  FROM\tT",
                                        "EDatabaseError", taErro};
};

TEST_F(AuditoriaNaoGravada, AWrittenRecordLeavesNoFallbackFile) {
    EXPECT_FALSE(RegistrarAuditoriaOuGuardar(registro).has_value());
    EXPECT_EQ(LerAuditoriasDoDia(agora.date()).Registros.size(), 1);
    EXPECT_FALSE(QFile::exists(ArquivoAuditoriaNaoGravada()));
    EXPECT_EQ(ContarAuditoriasNaoGravadas(), 0);
    EXPECT_EQ(AvisoAuditoriaNaoGravada(), "");
}

TEST_F(AuditoriaNaoGravada, EachRecordTheTrailRefusesIsAppendedAsOneLineWithWhy) {
    BloquearDia();
    const auto motivo = RegistrarAuditoriaOuGuardar(registro);
    ASSERT_TRUE(motivo.has_value());
    EXPECT_TRUE(motivo->contains("Não foi possível criar o diretório")) << motivo->toStdString();
    EXPECT_EQ(ArquivoAuditoriaNaoGravada(), pasta.Caminho() + "/AuditoriaNaoGravada.txt");
    ASSERT_EQ(Linhas().size(), 1);
    EXPECT_EQ(Linhas()[0], "07/12/2026 10:15:30 | Exportação | Erro | Erro na execução de query. | Ocorreu o erro \"x\" "
                           "ao executar a seguinte query: / SELECT 1 / FROM T | Exceção: EDatabaseError | "
                           "Motivo da falha na gravação: " + *motivo);
    EXPECT_EQ(AvisoAuditoriaNaoGravada(), "Atenção: 1 registro de auditoria não pôde ser gravado e está no arquivo " +
                                              ArquivoAuditoriaNaoGravada() + " (pode ser apagado depois de lido).");

    agora = agora.addSecs(60);
    ASSERT_TRUE(RegistrarAuditoriaOuGuardar({"Importação realizada com sucesso!", "Importação", "", "", taInformacao}));
    const QStringList linhas = Linhas();
    ASSERT_EQ(linhas.size(), 2);
    EXPECT_TRUE(linhas[0].startsWith("07/12/2026 10:15:30 | "));
    EXPECT_TRUE(linhas[1].startsWith("07/12/2026 10:16:30 | Importação | Informação | Importação realizada com sucesso! | "))
        << linhas[1].toStdString();
    EXPECT_EQ(ContarAuditoriasNaoGravadas(), 2);
    EXPECT_TRUE(AvisoAuditoriaNaoGravada().startsWith("Atenção: 2 registros de auditoria não puderam ser gravados e estão"));

    // Once the owner has read and deleted it, nothing is pointed out.
    QFile::remove(ArquivoAuditoriaNaoGravada());
    EXPECT_EQ(AvisoAuditoriaNaoGravada(), "");
}

TEST_F(AuditoriaNaoGravada, AnEmptyOrUnterminatedFileIsCountedByItsLines) {
    teste::GravarArquivo(ArquivoAuditoriaNaoGravada(), "");
    EXPECT_EQ(ContarAuditoriasNaoGravadas(), 0);
    EXPECT_EQ(AvisoAuditoriaNaoGravada(), "");
    teste::GravarArquivo(ArquivoAuditoriaNaoGravada(), "uma\r\nduas\nsem quebra no fim");
    EXPECT_EQ(ContarAuditoriasNaoGravadas(), 3);
}

TEST_F(AuditoriaNaoGravada, AFallbackFileThatCannotBeWrittenIsLeftAtTheErrorLine) {
    BloquearDia();
    QDir().mkpath(ArquivoAuditoriaNaoGravada() + "/pasta");  // a folder where the file would go
    EXPECT_TRUE(RegistrarAuditoriaOuGuardar(registro).has_value());
    EXPECT_TRUE(QFileInfo(ArquivoAuditoriaNaoGravada()).isDir());
    EXPECT_EQ(ContarAuditoriasNaoGravadas(), 0);
}

}  // namespace
