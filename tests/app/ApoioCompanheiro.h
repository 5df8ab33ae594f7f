#pragma once
// Companion stand-ins for the guardian's tests: the built test companion
// copied under a given name, or a shell script; both append their process id
// to "inicios.txt" in the directory they were started in.
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>
#include <functional>

#include "app/TratamentoExecutaveis.h"
#include "platform/Processos.h"

namespace vesko::teste {

inline void TornarExecutavel(const QString& caminho) {
    QFile::setPermissions(caminho, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The test companion binary, copied to `diretorio/nome`.
inline QString CopiarCompanheiro(const QString& diretorio, const QString& nome) {
    QDir().mkpath(diretorio);
    const QString caminho = diretorio + QLatin1Char('/') + nome;
    QFile::remove(caminho);
    QFile::copy(QStringLiteral(VESKO_COMPANHEIRO_TESTE), caminho);
    TornarExecutavel(caminho);
    return caminho;
}

// A shell script companion (it never `exec`s another program).
inline QString EscreverScriptCompanheiro(const QString& diretorio, const QString& nome, bool ignorarTerm = false) {
    QDir().mkpath(diretorio);
    const QString caminho = diretorio + QLatin1Char('/') + nome;
    QFile f(caminho);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write("#!/bin/sh\n");
    if (ignorarTerm) f.write("trap '' TERM\n");
    f.write("echo $$ >> inicios.txt\nwhile :; do sleep 1; done\n");
    f.close();
    TornarExecutavel(caminho);
    return caminho;
}

// Lines of "inicios.txt" in `diretorio`: one per start of a companion there.
inline QStringList Inicios(const QString& diretorio) {
    QFile f(diretorio + QStringLiteral("/inicios.txt"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Waits for a condition that a child process brings about (no time is measured).
inline bool Esperar(const std::function<bool()>& condicao) {
    for (int i = 0; i < 500 && !condicao(); ++i) QTest::qWait(10);
    return condicao();
}

// Parent process id of `pid` (Linux), 0 when unknown.
inline long long ProcessoPai(long long pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray s = f.readAll();
    const QList<QByteArray> campos = s.mid(s.lastIndexOf(')') + 2).split(' ');  // state, ppid, ...
    return campos.size() > 1 ? campos[1].toLongLong() : 0;
}

// Running instances of the companion `nome`. A script's shell forks before
// each command it runs, and the fork looks like the script until it becomes
// that command: a match whose parent is a match is the same instance.
inline int ContarCompanheiros(const QString& nome) {
    QSet<long long> ids;
    for (const TProcessoSistema& p : ListarProcessos())
        if (TTratamentoExecutaveis::Corresponde(p, nome, false)) ids.insert(p.Id);
    int n = 0;
    for (long long id : ids)
        if (!ids.contains(ProcessoPai(id))) ++n;
    return n;
}

}  // namespace vesko::teste
