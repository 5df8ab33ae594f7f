// A stand-in for the companion executable, copied by the tests under the
// companion's name. Started without arguments, as the guardian starts it, it
// appends its process id to "inicios.txt" in its working directory and then
// waits for a signal. With "ignorar-term" in that directory it ignores SIGTERM.
#include <signal.h>
#include <unistd.h>

#include <cstdio>

int main() {
    if (access("ignorar-term", F_OK) == 0) signal(SIGTERM, SIG_IGN);
    if (FILE* f = std::fopen("inicios.txt", "a")) {
        std::fprintf(f, "%ld\n", static_cast<long>(getpid()));
        std::fclose(f);
    }
    for (;;) pause();
}
