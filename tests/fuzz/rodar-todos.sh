#!/usr/bin/env bash
# Runs every fuzz target of a build for the time given (seconds each), one
# after the other, and copies any crashing input into the target's
# regression folder in the repository, where its regression test replays it.
#   tests/fuzz/rodar-todos.sh SEGUNDOS [BUILD_DIR]
# Prints one line per target and ends non-zero when any of them failed.
set -uo pipefail
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
segundos=${1:?uso: rodar-todos.sh SEGUNDOS [BUILD_DIR]}
build="$(cd "${2:-$raiz/build}" && pwd)"
t="$raiz/tests"
# name | fuzzer | runner arguments after the fuzzer and work folder | regression folder
alvos=(
  "pacote|$build/tests/datapacket/fuzz/build/fuzz_leitor_pacote|$t/datapacket/dados/regressao"
  "ini|$build/tests/settings/fuzz/build/fuzz_ini|$t/settings/dados/regressao"
  "header|$build/tests/records/fuzz/build/fuzz_header|$t/records/dados/regressao"
)
falhas=0
resumo=()
for alvo in "${alvos[@]}"; do
  IFS='|' read -r nome fuzzer regressao <<<"$alvo"
  trabalho="$build/fuzz-todos/$nome"
  rm -rf "$trabalho/artefatos"
  case "$nome" in
    pacote) bash "$t/datapacket/fuzz/rodar.sh" "$fuzzer" "$t/datapacket/dados/fixtures" "$regressao" "$trabalho" "$segundos" ;;
    ini) bash "$t/fuzz/rodar.sh" "$fuzzer" "$trabalho" "$segundos" 4096 "$t/settings/fuzz/ini.dict" \
           "$t/settings/dados/sementes-ini" "$regressao" ;;
    header) bash "$t/fuzz/rodar.sh" "$fuzzer" "$trabalho" "$segundos" 16384 - \
              "$t/records/dados/sementes-header" "$regressao" ;;
  esac
  status=$?
  novos=0
  for f in "$trabalho"/artefatos/*; do
    [ -f "$f" ] || continue
    cp "$f" "$regressao/" && novos=$((novos + 1))
  done
  [ "$status" -ne 0 ] && [ "$status" -ne 77 ] && falhas=$((falhas + 1))
  resumo+=("$nome: saída $status, entradas novas em $regressao: $novos")
done
printf '%s\n' "${resumo[@]}"
[ "$falhas" -eq 0 ]
