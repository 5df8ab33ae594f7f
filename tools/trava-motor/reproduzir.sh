#!/usr/bin/env bash
# Shows, with Firebird's own isql, when an embedded engine killed at the wrong
# moment hangs the next one (run by hand; needs gdb and isql-fb; x86-64).
#
# Every embedded engine takes a mutex in the trace area of its lock directory
# (shared memory in the file fb12_trace) when it starts. The mutex is not
# released when its holder is killed. The first engine to map the area makes
# it afresh; a later one, while another live process still has the area
# mapped, waits forever on the dead holder's mutex.
#
# Two cases, each: a "holder" engine stays attached to one database; a
# "victim" engine is stopped (gdb) right after it takes the trace mutex and
# is killed there; then a "successor" engine starts on the victim's lock
# directory with 15 s to finish a query.
#   1. holder on the victim's lock directory   -> the successor hangs
#   2. holder on a lock directory of its own   -> the successor runs at once
# Exit status 0 when both cases come out so.
set -uo pipefail
aqui="$(cd "$(dirname "$0")" && pwd)"
for p in gdb isql-fb; do
  command -v "$p" >/dev/null || { echo "reproduzir.sh: $p não encontrado" >&2; exit 2; }
done
pasta="$(mktemp -d /tmp/vesko-trava-motor.XXXXXX)"
trap 'rm -rf "$pasta"' EXIT
echo 'select 1 from rdb$database;' > "$pasta/q.sql"

caso() {  # $1 holder's lock directory, $2 victim's and successor's
  rm -f "$pasta"/*.fdb
  FIREBIRD_LOCK="$2" isql-fb -q -user SYSDBA \
    <<< "create database '$pasta/a.fdb'; create database '$pasta/b.fdb';" >/dev/null 2>&1
  FIREBIRD_LOCK="$1" setsid bash -c "sleep 40 | isql-fb -q -user SYSDBA '$pasta/a.fdb'" >/dev/null 2>&1 &
  local detentor=$!
  sleep 2
  FIREBIRD_LOCK="$2" timeout -s KILL 60 gdb -q -batch -ex "set breakpoint pending on" \
    -ex "source $aqui/parar-na-trava.py" -ex run -ex finish -ex kill \
    --args isql-fb -q -user SYSDBA -i "$pasta/q.sql" "$pasta/b.fdb" > "$pasta/vitima.txt" 2>&1
  if ! grep -q "Value returned" "$pasta/vitima.txt"; then
    echo "a vítima não parou na trava (veja $pasta/vitima.txt)"; return 2
  fi
  local t0=$SECONDS st dur
  (FIREBIRD_LOCK="$2" exec timeout -s KILL 15 isql-fb -q -user SYSDBA -i "$pasta/q.sql" "$pasta/b.fdb") \
    >/dev/null 2>&1
  st=$?
  dur=$((SECONDS - t0))
  kill -9 -- "-$detentor" 2>/dev/null
  wait 2>/dev/null
  if [ "$st" -eq 0 ]; then echo "o sucessor terminou em $dur s"; return 0; fi
  echo "o sucessor travou (morto após $dur s)"; return 1
}

echo -n "1. detentor no mesmo diretório de travas: "
caso "$pasta/L1" "$pasta/L1" 2>/dev/null; um=$?
echo -n "2. detentor em diretório de travas próprio: "
caso "$pasta/L0" "$pasta/L2" 2>/dev/null; dois=$?
[ "$um" -eq 1 ] && [ "$dois" -eq 0 ]
