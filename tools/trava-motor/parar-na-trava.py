# gdb script: stops the program the first time it takes a mutex that lives in
# the Firebird lock directory's trace area (the shared-memory file fb12_trace),
# so the caller can kill it while it holds that mutex.
import gdb


class ParadaNaTrava(gdb.Breakpoint):
    def stop(self):
        pid = gdb.selected_inferior().pid
        mutex = int(gdb.parse_and_eval("$rdi"))
        with open(f"/proc/{pid}/maps") as mapas:
            for linha in mapas:
                if "fb12_trace" not in linha:
                    continue
                inicio, fim = (int(x, 16) for x in linha.split()[0].split("-"))
                if inicio <= mutex < fim:
                    return True
        return False


ParadaNaTrava("pthread_mutex_lock")
