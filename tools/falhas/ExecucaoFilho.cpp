#include "ExecucaoFilho.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QThread>

namespace vesko::falhas {

namespace {
QString g_travasFilhos;
}

void DefinirTravasFilhos(const QString& diretorio) { g_travasFilhos = diretorio; }

TResultadoFilho ExecutarFilho(const QString& programa, const QStringList& argumentos, const QString& arquivoSaida,
                              int matarAposMs, int limiteMs) {
    TResultadoFilho r;
    QProcess p;
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
    // A lock name of this test's own: another copy of the program on the
    // machine (a tray, another test) must not turn a run away.
    if (!amb.contains(QStringLiteral("VESKO_TESTE_INSTANCIA")))
        amb.insert(QStringLiteral("VESKO_TESTE_INSTANCIA"),
                   QStringLiteral("vesko-falhas-") + QString::number(QCoreApplication::applicationPid()));
    if (!g_travasFilhos.isEmpty()) amb.insert(QStringLiteral("FIREBIRD_LOCK"), g_travasFilhos);
    p.setProcessEnvironment(amb);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardOutputFile(arquivoSaida, QIODevice::Append);
    QElapsedTimer t;
    t.start();
    p.start(programa, argumentos);
    if (!p.waitForStarted(30000)) {
        r.Erro = QStringLiteral("não iniciou: ") + programa;
        return r;
    }
    if (matarAposMs >= 0 && !p.waitForFinished(matarAposMs)) {
        p.kill();  // SIGKILL
        p.waitForFinished(-1);
        r.Morto = true;
        r.Duracao = t.elapsed();
        return r;
    }
    if (matarAposMs < 0 && !p.waitForFinished(limiteMs)) {
        p.kill();
        p.waitForFinished(-1);
        r.Travado = true;
        r.Duracao = t.elapsed();
        r.Erro = QStringLiteral("não terminou em %1 s: ").arg(limiteMs / 1000) + programa;
        return r;
    }
    r.Duracao = t.elapsed();
    if (p.exitStatus() == QProcess::CrashExit) r.Erro = QStringLiteral("terminou com sinal: ") + programa;
    r.Status = p.exitCode();
    return r;
}

bool EsperarBancoLivre(const QString& banco, int limiteMs) {
    QElapsedTimer t;
    t.start();
    for (;;) {
        const int fd = ::open(QFile::encodeName(banco).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return true;
        const bool livre = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);  // also lets our own probe lock go
        if (livre) return true;
        if (t.elapsed() >= limiteMs) return false;
        QThread::msleep(20);
    }
}

}  // namespace vesko::falhas
