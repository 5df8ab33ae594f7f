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
echo "== Base de dados do PDV (embutida):"
"$PROG" --home "$HOME_DEMO" criar-base "$HOME_DEMO/base"
ls -l "$HOME_DEMO/base/VESKO.GDB" | sed 's/^/   /'
echo "== Primeira conexão (cópia de segurança, estrutura, versão):"
"$PROG" --home "$HOME_DEMO" conectar
ls "$HOME_DEMO/Backups" 2>/dev/null | sed 's/^/   backup: /'
echo "== Serviço (5 segundos):"
status=0
timeout --preserve-status -s TERM 5 "$PROG" --home "$HOME_DEMO" servico || status=$?
echo "== Serviço encerrado com status $status"
echo "== Auditorias de hoje:"
"$PROG" --home "$HOME_DEMO" auditoria --dias 0 --detalhes
exit "$status"
