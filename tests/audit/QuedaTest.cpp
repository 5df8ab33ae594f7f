// A writer killed at any moment never costs the day its records.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "TestSupport.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "datapacket/ClientDataSet.h"
#include "platform/DiretorioPrograma.h"

using namespace vesko;

namespace {
qint64 Registros(const QString& arquivo) {
    TClientDataSet ds;
    ds.LoadFromFile(arquivo);  // raises when the file is not a complete packet
    return ds.RecordCount();
}
}  // namespace

TEST(Queda, AWriterKilledAtRandomAlwaysLeavesCompleteDayFiles) {
    teste::PastaTemporaria pasta;
    DefinirDiretorioPrograma(pasta.Caminho());
    qint64 anterior = 0;
    auto* sorte = QRandomGenerator::global();
    for (int rodada = 0; rodada < 25; ++rodada) {
        QProcess escritor;
        escritor.setProcessEnvironment(teste::AmbienteBrasileiro());
        escritor.start(QStringLiteral(ESCRITOR_AUDITORIA), {pasta.Caminho()});
        ASSERT_TRUE(escritor.waitForReadyRead(10000));
        QThread::usleep(sorte->bounded(1000, 40000));
        escritor.kill();
        escritor.waitForFinished();

        const QString principal = TControleLogIntegradorPDVBistrel::GetArquivoAuditoria();
        const QString detalhes = TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria();
        qint64 n = 0, d = 0;
        ASSERT_NO_THROW(n = Registros(principal)) << "rodada " << rodada;
        ASSERT_NO_THROW(d = Registros(detalhes)) << "rodada " << rodada;
        EXPECT_GE(n, anterior + 1) << "records of the day were lost";
        EXPECT_LE(d, n);  // a kill between the two saves costs at most that event's text
        anterior = n;
    }
    // Temporaries a kill left behind go with the next save.
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria("depois", "Importação", "", "", taInformacao);
    const QDir dia = QFileInfo(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria()).absoluteDir();
    EXPECT_EQ(dia.entryList(QDir::Files | QDir::Hidden).size(), 2) << dia.entryList().join(" ").toStdString();
    DefinirDiretorioPrograma(QString());
}
