#!/usr/bin/env bash
# A clone must build and pass alone: no tracked file but this one and
# .ci/run (which may point optional test data there) names the folder
# beside the repository.
#   autocontido.sh SOURCE_DIR
set -uo pipefail
raiz="${1:?usage: autocontido.sh SOURCE_DIR}"
cd "$raiz" || exit 2
alvo='../shared'
proprio='tests/repositorio/autocontido.sh'

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' arquivos < <(git ls-files -z)
else
  mapfile -d '' arquivos < <(find . -path ./build -prune -o -path ./.git -prune -o -type f -printf '%P\0')
fi

achados=0
for f in "${arquivos[@]}"; do
  case "$f" in "$proprio"|.ci/run) continue ;; esac
  [ -f "$f" ] || continue
  if grep -IqF -- "$alvo" "$f"; then
    grep -nF -- "$alvo" "$f" | sed "s|^|$f:|"
    achados=$((achados + 1))
  fi
done
echo "${#arquivos[@]} files read, $achados naming $alvo"
[ "$achados" -eq 0 ]
