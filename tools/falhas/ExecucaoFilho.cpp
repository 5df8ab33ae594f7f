#include "ExecucaoFilho.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

namespace vesko::falhas {

TResultadoFilho ExecutarFilho(const QString& programa, const QStringList& argumentos, const QString& arquivoSaida,
                              int matarAposMs) {
    TResultadoFilho r;
    QProcess p;
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
    // A lock name of this test's own: another copy of the program on the
    // machine (a tray, another test) must not turn a run away.
    if (!amb.contains(QStringLiteral("VESKO_TESTE_INSTANCIA")))
        amb.insert(QStringLiteral("VESKO_TESTE_INSTANCIA"),
                   QStringLiteral("vesko-falhas-") + QString::number(QCoreApplication::applicationPid()));
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
    if (matarAposMs < 0) p.waitForFinished(-1);
    r.Duracao = t.elapsed();
    if (p.exitStatus() == QProcess::CrashExit) r.Erro = QStringLiteral("terminou com sinal: ") + programa;
    r.Status = p.exitCode();
    return r;
}

}  // namespace vesko::falhas
