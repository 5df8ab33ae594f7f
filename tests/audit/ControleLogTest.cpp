#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "DiaDeAuditoria.h"
#include "TestSupport.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "audit/LeituraAuditoria.h"
#include "base/Excecoes.h"
#include "base/Relogio.h"
#include "datapacket/ClientDataSet.h"
#include "platform/DiretorioPrograma.h"

using namespace vesko;

namespace {

class ControleLog : public teste::DiaDeAuditoria {
protected:
    static void Registrar(const QString& descricao, const QString& detalhes = "detalhes", TTipoAuditoria tipo = taInformacao) {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(descricao, "Importação", detalhes, "", tipo);
    }
    static TClientDataSet Carregar(const QString& arquivo) {
        TClientDataSet ds;
        ds.LoadFromFile(arquivo);
        return ds;
    }
};

TEST_F(ControleLog, PathsFollowTheDayTreeWithTheMonthsRegionalName) {
    const QString raiz = pasta.Caminho() + "/LogsIntegradorVesko/";
    EXPECT_EQ(TControleLogIntegradorPDVBistrel::GetDiretorioAplicacao(), pasta.Caminho() + "/");
    EXPECT_EQ(TControleLogIntegradorPDVBistrel::GetDiretorioLogs(), raiz);
    EXPECT_EQ(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria(),
              raiz + "2026/dezembro/Dia_07/AuditoriaIntegradorVesko_07122026.dat");
    EXPECT_EQ(TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria(QDate(2027, 3, 1)),
              raiz + "2027/março/Dia_01/DetalhesAuditoriaIntegradorVesko_01032027.dat");
}

TEST_F(ControleLog, FirstRecordOfADayCreatesTheTreeAndBothFilesWithTheirFields) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria("Erro na execução de query.", "Exportação", "linha 1\r\nlinha 2",
                                                         "EDatabaseError", taErro);
    TClientDataSet main = Carregar(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria());
    QStringList campos;
    for (int i = 0; i < main.FieldCount(); ++i)
        campos << main.Fields(i).FieldName() + ":" + NomeTipoCampo(main.Fields(i).DataType()) + ":" +
                      QString::number(main.Fields(i).Size());
    EXPECT_EQ(campos, QStringList({"IdAuditoria:ftAutoInc:0", "TipoIntegracao:ftString:10", "TipoExcecao:ftString:40",
                                   "DescricaoCurta:ftString:50", "DataOcorrencia:ftDate:0", "HoraOcorrencia:ftTime:0",
                                   "TipoAuditoria:ftSmallint:0"}));
    ASSERT_EQ(main.RecordCount(), 1);
    main.First();
    EXPECT_EQ(main.FieldByName("IdAuditoria").AsInteger(), 1);
    EXPECT_EQ(main.FieldByName("TipoIntegracao").AsString(), "Exportação");
    EXPECT_EQ(main.FieldByName("TipoExcecao").AsString(), "EDatabaseError");
    EXPECT_EQ(main.FieldByName("DescricaoCurta").AsString(), "Erro na execução de query.");
    EXPECT_EQ(main.FieldByName("DataOcorrencia").AsDate(), QDate(2026, 12, 7));
    EXPECT_EQ(main.FieldByName("HoraOcorrencia").AsTime(), QTime(10, 15, 30));
    EXPECT_EQ(main.FieldByName("TipoAuditoria").AsInteger(), 0);

    TClientDataSet det = Carregar(TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria());
    ASSERT_EQ(det.RecordCount(), 1);
    det.First();
    EXPECT_EQ(det.FieldByName("IdAuditoria").AsInteger(), 1);
    EXPECT_EQ(det.FieldByName("DetalhesLog").AsString(), "linha 1\r\nlinha 2\r\n");
    EXPECT_FALSE(QFile::exists(pasta.Caminho() + "/DetalhesLog.log"));
}

TEST_F(ControleLog, IdsCountPerDayAndTextsAreCutToTheirWidths) {
    for (int i = 1; i <= 9; ++i) Registrar(QString("evento %1").arg(i));
    Registrar(QString(60, 'x'), "");
    TClientDataSet main = Carregar(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria());
    TClientDataSet det = Carregar(TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria());
    ASSERT_EQ(main.RecordCount(), 10);
    main.Last();
    det.Last();
    EXPECT_EQ(main.FieldByName("IdAuditoria").AsInteger(), 10);
    EXPECT_EQ(det.FieldByName("IdAuditoria").AsInteger(), 10);
    EXPECT_EQ(main.FieldByName("DescricaoCurta").AsString(), QString(50, 'x'));
    EXPECT_EQ(det.FieldByName("DetalhesLog").AsString(), "\r\n");  // empty details: a lone line break

    // The next day starts again at 1, in its own folder.
    agora = agora.addDays(1);
    Registrar("amanhã");
    const TDiaAuditoria dia = LerAuditoriasDoDia(QDate(2026, 12, 8));
    ASSERT_EQ(dia.Registros.size(), 1);
    EXPECT_EQ(dia.Registros[0].IdAuditoria, 1);
    EXPECT_EQ(LerAuditoriasDoDia(QDate(2026, 12, 7)).Registros.size(), 10);
}

TEST_F(ControleLog, ACorruptMainFileIsRestartedWhileIntactDetailsKeepTheirRows) {
    Registrar("um");
    Registrar("dois");
    teste::GravarArquivo(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria(), "isto não é um pacote");
    EXPECT_FALSE(TControleLogIntegradorPDVBistrel::ArquivoValido(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria()));
    const TDiaAuditoria ilegivel = LerAuditoriasDoDia(QDate(2026, 12, 7));
    EXPECT_TRUE(ilegivel.Existe);
    EXPECT_FALSE(ilegivel.Legivel);
    EXPECT_EQ(AvisoDiaIlegivel(QDate(2026, 12, 7)), "Não foi possível ler as auditorias do dia 07/12/2026.");

    Registrar("três", "texto três");
    TClientDataSet main = Carregar(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria());
    ASSERT_EQ(main.RecordCount(), 1);
    main.First();
    EXPECT_EQ(main.FieldByName("IdAuditoria").AsInteger(), 1);
    TClientDataSet det = Carregar(TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria());
    EXPECT_EQ(det.RecordCount(), 3);
    // As the record pairs go by id, the new event's text is the last one of id 1.
    det.Last();
    EXPECT_EQ(det.FieldByName("DetalhesLog").AsString(), "texto três\r\n");

    // The damaged bytes were kept beside the new file, not overwritten.
    const QFileInfo principal(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria());
    const QStringList guardados = QDir(principal.absolutePath()).entryList({principal.fileName() + ".danificado-*"}, QDir::Files);
    ASSERT_EQ(guardados.size(), 1) << guardados.join(", ").toStdString();
    EXPECT_EQ(teste::LerArquivo(principal.absolutePath() + "/" + guardados[0]), QByteArray("isto não é um pacote"));

    // Damaged again within the same second: a second copy, the first one kept.
    teste::GravarArquivo(principal.absoluteFilePath(), "de novo");
    Registrar("quatro");
    EXPECT_EQ(QDir(principal.absolutePath()).entryList({principal.fileName() + ".danificado-*"}, QDir::Files).size(), 2);
}

TEST_F(ControleLog, AFailingSaveRaisesToTheCallerAndLeavesNoTemporaryFile) {
    // The day's folder cannot be created: a file stands in its place.
    const QString dia = QFileInfo(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria()).absolutePath();
    QDir().mkpath(QFileInfo(dia).absolutePath());
    teste::GravarArquivo(dia, "x");
    EXPECT_THROW(Registrar("falha"), Exception);
    QFile::remove(dia);

    // The main file's name is taken by a folder: the save itself fails.
    QDir().mkpath(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria());
    EXPECT_THROW(Registrar("falha"), Exception);
    QStringList restos = QDir(dia).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(restos.isEmpty()) << restos.join(", ").toStdString();
    EXPECT_FALSE(QFile::exists(pasta.Caminho() + "/DetalhesLog.log"));
}

TEST_F(ControleLog, ASaveRemovesOnlyItsOwnStaleTemporariesAndKeepsTheUsersCopies) {
    Registrar("um");
    const QString principal = TControleLogIntegradorPDVBistrel::GetArquivoAuditoria();
    const QString detalhes = TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria();
    const QDir dia = QFileInfo(principal).absoluteDir();
    const QByteArray copia = teste::LerArquivo(principal);
    QFile::copy(principal, principal + ".backup");
    teste::GravarArquivo(principal + ".abc123", "do usuário");
    teste::GravarArquivo(principal + ".~vesko-ABC123", "resto de uma gravação interrompida");
    teste::GravarArquivo(detalhes + ".~vesko-x1Y2z3", "resto de uma gravação interrompida");
    teste::GravarArquivo(principal + ".~vesko-ABC1234", "sete caracteres: não é nosso");

    Registrar("dois");
    EXPECT_EQ(dia.entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({"AuditoriaIntegradorVesko_07122026.dat", "AuditoriaIntegradorVesko_07122026.dat.abc123",
                           "AuditoriaIntegradorVesko_07122026.dat.backup",
                           "AuditoriaIntegradorVesko_07122026.dat.~vesko-ABC1234",
                           "DetalhesAuditoriaIntegradorVesko_07122026.dat"}));
    EXPECT_EQ(teste::LerArquivo(principal + ".backup"), copia);
    EXPECT_EQ(teste::LerArquivo(principal + ".abc123"), QByteArray("do usuário"));
    EXPECT_EQ(LerAuditoriasDoDia(QDate(2026, 12, 7)).Registros.size(), 2);
}

TEST_F(ControleLog, DetailsAreFoundByIdAndShownTrimmed) {
    Registrar("um", "  primeiro texto \r\n\r\n");
    Registrar("dois", "segundo");
    EXPECT_EQ(GetDetalhes(QDate(2026, 12, 7), "1"), "primeiro texto");
    EXPECT_EQ(LerDetalhesArmazenados(QDate(2026, 12, 7), 2), "segundo\r\n");
    EXPECT_EQ(GetDetalhes(QDate(2026, 12, 7), "3"), "");
    EXPECT_EQ(GetDetalhes(QDate(2026, 12, 6), "1"), "");
    teste::GravarArquivo(TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria(), "lixo");
    EXPECT_EQ(GetDetalhes(QDate(2026, 12, 7), "1"), "");
}

TEST_F(ControleLog, TypeTextsAsShown) {
    EXPECT_EQ(TipoAuditoriaStr(0), "Erro");
    EXPECT_EQ(TipoAuditoriaStr(1), "Aviso");
    EXPECT_EQ(TipoAuditoriaStr(2), "Informação");
    EXPECT_EQ(TipoAuditoriaStr(5), "Informação");
}

}  // namespace
