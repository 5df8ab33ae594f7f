#pragma once
// What the benchmarks share: the clocks they read and the program run as a
// child process with its standard error sent to a file.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace vesko::bench {

inline double CpuThread() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

inline double Parede() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

struct TFilho {
    int Codigo = -1;  // -1: not started, -2: ended by a signal
    double Segundos = 0;
    long PicoKiB = 0;
};

// Runs `executavel args` on the offscreen platform, standard error into
// `arquivoErros`, and waits for it.
inline TFilho RodarPrograma(const char* executavel, const QStringList& args, const QString& arquivoErros) {
    std::vector<QByteArray> textos{QByteArray(executavel)};
    for (const QString& a : args) textos.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& t : textos) argv.push_back(t.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    const QByteArray erros = arquivoErros.toLocal8Bit();
    posix_spawn_file_actions_addopen(&acoes, 2, erros.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TFilho r;
    const double inicio = Parede();
    pid_t pid = 0;
    const int falha = posix_spawn(&pid, argv[0], &acoes, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acoes);
    if (falha != 0) return r;
    int status = 0;
    rusage uso{};
    while (wait4(pid, &status, 0, &uso) < 0 && errno == EINTR) {
    }
    r.Segundos = Parede() - inicio;
    r.PicoKiB = uso.ru_maxrss;
    r.Codigo = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    return r;
}

}  // namespace vesko::bench
