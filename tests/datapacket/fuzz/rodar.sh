#!/usr/bin/env bash
# Runs the packet fuzzer briefly on a fresh copy of the seed corpus (our
# fixture packets in tests/datapacket/dados/fixtures and the kept regression
# inputs). A crash leaves its input in TRABALHO/artefatos; copy it into
# tests/datapacket/dados/regressao so the regression test keeps it.
#   rodar.sh FUZZER FIXTURES REGRESSAO TRABALHO SEGUNDOS
set -euo pipefail
fuzzer=$1 fixtures=$2 regressao=$3 trabalho=$4 segundos=$5
[ -x "$fuzzer" ] || { echo "fuzzer ausente: $fuzzer" >&2; exit 77; }
rm -rf "$trabalho/corpus"
mkdir -p "$trabalho/corpus" "$trabalho/artefatos"
for f in "$fixtures"/*; do
  case "$f" in *.md) continue;; esac
  [ "$(stat -c %s "$f")" -le 65536 ] && cp "$f" "$trabalho/corpus/"
done
cp "$regressao"/* "$trabalho/corpus/" 2>/dev/null || true
# -error_exitcode: libFuzzer ends with 77 on a crash by default, which CTest
# would read as "skipped".
exec "$fuzzer" -max_total_time="$segundos" -max_len=65536 -timeout=10 -rss_limit_mb=2048 -error_exitcode=1 -timeout_exitcode=1 \
  -dict="$(dirname "$0")/pacote.dict" -artifact_prefix="$trabalho/artefatos/" -print_final_stats=1 \
  "$trabalho/corpus"
