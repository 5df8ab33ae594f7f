// The import and export runs of the load test.
#include "ExecucoesCarga.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

namespace vesko::carga {

namespace {

void Anotar(const QString& log, const QByteArray& texto) {
    QFile f(log);
    if (f.open(QIODevice::Append)) f.write(texto);
}

}  // namespace

void TExecucoesCarga::Executar(qint64 ateMs) {
    while (QDateTime::currentMSecsSinceEpoch() < ateMs) {
        if (!m_opcoes.Retaguarda.isEmpty() && !GerarRetaguarda()) return;
        m_execucoes.push_back(Rodar(QStringLiteral("importar")));
        ++m_importacoes;
        if (QDateTime::currentMSecsSinceEpoch() >= ateMs) break;
        m_execucoes.push_back(Rodar(QStringLiteral("exportar")));
    }
}

bool TExecucoesCarga::GerarRetaguarda() {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(m_opcoes.Retaguarda, {m_opcoes.Entrada, QStringLiteral("--variante"),
                                  m_importacoes % 2 == 0 ? QStringLiteral("A") : QStringLiteral("B"),
                                  QStringLiteral("--produtos"), QString::number(m_opcoes.Produtos)});
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok) {
        p.kill();
        p.waitForFinished(5000);
        m_erros << QStringLiteral("o gerador da retaguarda falhou: %1")
                       .arg(QString::fromUtf8(p.readAll()).trimmed().right(300) + p.errorString());
    }
    return ok;
}

TExecucao TExecucoesCarga::Rodar(const QString& tipo) {
    TExecucao e;
    e.Tipo = tipo;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardOutputFile(m_opcoes.Log, QIODevice::Append);
    Anotar(m_opcoes.Log, QStringLiteral("== %1 %2\n").arg(QDateTime::currentDateTime().toString(Qt::ISODate), tipo).toUtf8());
    QElapsedTimer t;
    t.start();
    p.start(m_opcoes.Programa, {QStringLiteral("--home"), m_opcoes.Home, tipo});
    if (!p.waitForStarted(30000)) {
        e.Status = -1;
        m_erros << QStringLiteral("%1 não iniciou: %2").arg(tipo, p.errorString());
        return e;
    }
    // A little beyond the limit, so that a run just over it is seen as such.
    if (!p.waitForFinished((m_opcoes.LimiteSegundos + 60) * 1000)) {
        e.Estourou = true;
        p.kill();
        p.waitForFinished(10000);
    }
    e.Segundos = t.nsecsElapsed() / 1e9;
    e.Status = p.exitStatus() == QProcess::NormalExit && !e.Estourou ? p.exitCode() : -1;
    if (e.Segundos > m_opcoes.LimiteSegundos) e.Estourou = true;
    Anotar(m_opcoes.Log, QStringLiteral("== %1 terminou com status %2 em %3 s\n")
                             .arg(tipo)
                             .arg(e.Status)
                             .arg(e.Segundos, 0, 'f', 1)
                             .toUtf8());
    return e;
}

}  // namespace vesko::carga
