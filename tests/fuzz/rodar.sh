#!/usr/bin/env bash
# Runs one libFuzzer target for a while on a fresh corpus copied from the seed
# folders given (our own sample files and the kept regression inputs).
# A crash leaves its input in TRABALHO/artefatos and ends with a non-zero
# status; copy that input into the target's regression folder so the
# regression test keeps replaying it.
#   rodar.sh FUZZER TRABALHO SEGUNDOS MAX_LEN DICIONARIO|- SEMENTES...
# Exit 77 (skipped) when the fuzzer was not built (no clang/libFuzzer).
set -euo pipefail
fuzzer=$1 trabalho=$2 segundos=$3 maxlen=$4 dicionario=$5
shift 5
[ -x "$fuzzer" ] || { echo "fuzzer ausente: $fuzzer" >&2; exit 77; }
rm -rf "$trabalho/corpus"
mkdir -p "$trabalho/corpus" "$trabalho/artefatos"
for pasta in "$@"; do
  [ -d "$pasta" ] || continue
  for f in "$pasta"/*; do
    [ -f "$f" ] || continue
    case "$f" in *.md) continue;; esac
    [ "$(stat -c %s "$f")" -le "$maxlen" ] && cp "$f" "$trabalho/corpus/"
  done
done
# libFuzzer ends with 77 on a crash by default, the status CTest reads as
# "skipped": a finding must fail the test.
opcoes=(-max_total_time="$segundos" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 -error_exitcode=1 -timeout_exitcode=1
        -artifact_prefix="$trabalho/artefatos/" -print_final_stats=1)
[ "$dicionario" != - ] && opcoes+=(-dict="$dicionario")
exec "$fuzzer" "${opcoes[@]}" "$trabalho/corpus"
