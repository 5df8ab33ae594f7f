#!/usr/bin/env bash
# The load test, run by hand (not part of the test suite): a throwaway
# Firebird server on 127.0.0.1, a POS database created through it, a
# back-office set and a program folder whose [BANCO] points at the server;
# then vesko-carga stands in for the point of sale for the given minutes
# while imports and exports run back to back, and checks the result.
#
#   tools/carga/carga.sh [--minutos N] [--semente N] [--produtos N]
#
# CARGA_DIR chooses the state folder (default: ${TMPDIR:-/tmp}/vesko-carga);
# BUILD_DIR the build folder (default: build). The folder is kept after the
# run (program folder in CARGA_DIR/programa, the runs' output in
# CARGA_DIR/programa/carga-execucoes.log); the server is always stopped.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$raiz/build}"
estado="${CARGA_DIR:-${TMPDIR:-/tmp}/vesko-carga}"
programa="$build/src/app/Quorvel_IntegradorVesko"
for exe in "$programa" "$build/vesko-retaguarda" "$build/vesko-carga"; do
  [ -x "$exe" ] || { echo "carga: $exe não existe; compile antes (cmake --build $build)" >&2; exit 2; }
done

rm -rf "$estado"
mkdir -p "$estado"
servidor="$estado/servidor"
trap 'bash "$raiz/scripts/firebird-server.sh" stop "$servidor" >/dev/null 2>&1 || true' EXIT
porta="$(bash "$raiz/scripts/firebird-server.sh" start "$servidor")"
echo "== servidor Firebird em 127.0.0.1/$porta"

home="$estado/programa"
mkdir -p "$home"/{entrada,saida,base}
cat > "$home/Quorvel_IntegradorVesko.ini" <<INI
[CONFIGS]
DiretorioImportacao=$home/entrada/
DiretorioExportacao=$home/saida/
IntervaloImportacao=1
IntervaloExportacao=1
DiretorioBaseDeDados=$home/base/
NumeroDiasBackupLogs=30

[BANCO]
Servidor=127.0.0.1/$porta
Usuario=SYSDBA
Senha=quillfern
INI
export LANG=pt_BR.UTF-8
"$programa" --home "$home" criar-base "$home/base"
inicio=$(date +%s)
status=0
"$build/vesko-carga" --home "$home" --programa "$programa" --retaguarda "$build/vesko-retaguarda" "$@" || status=$?
echo "== duração: $(( $(date +%s) - inicio )) s; status $status"
exit "$status"
