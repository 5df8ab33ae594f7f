#!/usr/bin/env bash
# The fault test: imports and exports of a generated store killed with
# SIGKILL at random moments, each kill followed by the checks that nothing
# was lost (build/vesko-falhas). Short form by default (30 kills);
# `bash scripts/falhas.sh --mortes 500` is the long form.
# `--servidor` (first argument) runs it through a throwaway Firebird server on
# 127.0.0.1 (scripts/firebird-server.sh), the way a store reaches the POS's
# database; without it the database is opened through the embedded engine.
# FALHAS_PASTA chooses the work folder (default: a temporary one, removed
# when the test passes). Needs a built tree (cmake --build build).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${BUILD_DIR:-$PWD/build}"
PASTA="${FALHAS_PASTA:-$(mktemp -d /tmp/vesko-falhas.XXXXXX)}"
extra=()
if [ "${1:-}" = "--servidor" ]; then
  shift
  estado="$(mktemp -d /tmp/vesko-falhas-servidor.XXXXXX)"
  trap 'bash scripts/firebird-server.sh stop "$estado" >/dev/null 2>&1 || true' EXIT
  porta="$(bash scripts/firebird-server.sh start "$estado")"
  extra=(--servidor "127.0.0.1/$porta" --senha quillfern)
fi
status=0
"$BUILD/vesko-falhas" "$PASTA" "$@" "${extra[@]}" || status=$?
if [ "$status" -eq 0 ] && [ -z "${FALHAS_PASTA:-}" ]; then
  rm -rf "$PASTA"
else
  echo "pasta do teste: $PASTA" >&2
fi
exit "$status"
