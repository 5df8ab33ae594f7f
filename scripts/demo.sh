#!/usr/bin/env bash
# A demo store: installs what is missing, builds, prepares a program folder
# with its settings file and runs the integrator headless for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

PROG="$PWD/build/src/app/Quorvel_IntegradorVesko"
HOME_DEMO="${DEMO_HOME:-$PWD/demo}"
rm -rf "$HOME_DEMO"
mkdir -p "$HOME_DEMO"/{entrada,saida,base}
cat > "$HOME_DEMO/Quorvel_IntegradorVesko.ini" <<INI
[CONFIGS]
DiretorioImportacao=$HOME_DEMO/entrada/
DiretorioExportacao=$HOME_DEMO/saida/
IntervaloImportacao=1
IntervaloExportacao=1
DiretorioBaseDeDados=$HOME_DEMO/base/
NumeroDiasBackupLogs=30

[BANCO]
Servidor=embutido
INI

echo "== Integrador Vesko $("$PROG" versao)"
echo "== Pasta do programa: $HOME_DEMO"
echo "== Configurações lidas:"
sed -n '/^\[CONFIGS\]/,/^\[/p' "$HOME_DEMO/Quorvel_IntegradorVesko.ini" | grep '=' | sed 's/^/   /'
echo "== Serviço (5 segundos):"
status=0
timeout --preserve-status -s TERM 5 "$PROG" --home "$HOME_DEMO" servico || status=$?
echo "== Serviço encerrado com status $status"
exit "$status"
