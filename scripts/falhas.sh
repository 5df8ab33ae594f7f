#!/usr/bin/env bash
# The fault test: imports and exports of a generated store killed with
# SIGKILL at random moments, each kill followed by the checks that nothing
# was lost (build/vesko-falhas). Short form by default (30 kills);
# `bash scripts/falhas.sh --mortes 500` is the long form.
# FALHAS_PASTA chooses the work folder (default: a temporary one, removed
# when the test passes). Needs a built tree (cmake --build build).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${BUILD_DIR:-$PWD/build}"
PASTA="${FALHAS_PASTA:-$(mktemp -d /tmp/vesko-falhas.XXXXXX)}"
status=0
"$BUILD/vesko-falhas" "$PASTA" "$@" || status=$?
if [ "$status" -eq 0 ] && [ -z "${FALHAS_PASTA:-}" ]; then
  rm -rf "$PASTA"
else
  echo "pasta do teste: $PASTA" >&2
fi
exit "$status"
