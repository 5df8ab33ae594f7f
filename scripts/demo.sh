#!/usr/bin/env bash
# A demo store: installs what is missing, builds, prepares a program folder
# with its settings file, creates the POS database, generates a set of
# back-office files, runs one import headless and prints what happened; then
# stands in for the point of sale (a day of sales, customers, event-log rows
# and fiscal documents), runs one export headless and lists what it wrote.
# DEMO_HOME chooses the program folder (default: demo/ here).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

PROG_BIN="$PWD/build/src/app/Quorvel_IntegradorVesko"
# The stores run Brazilian regional settings (decimal comma in the progress texts).
PROG() { LANG=pt_BR.UTF-8 "$PROG_BIN" "$@"; }
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

echo "== Integrador Vesko $(PROG versao)"
echo "== Pasta do programa: $HOME_DEMO"
echo "== Configurações lidas:"
sed -n '/^\[CONFIGS\]/,/^\[/p' "$HOME_DEMO/Quorvel_IntegradorVesko.ini" | grep '=' | sed 's/^/   /'
echo "== Base de dados do PDV (embutida):"
PROG --home "$HOME_DEMO" criar-base "$HOME_DEMO/base"
ls -l "$HOME_DEMO/base/VESKO.GDB" | sed 's/^/   /'
echo "== Arquivos da retaguarda (gerados):"
"$PWD/build/vesko-retaguarda" "$HOME_DEMO/entrada" --produtos 120 --com-imagem 20 --clientes 40
ls -l "$HOME_DEMO/entrada" | tail -n +2 | awk '{printf "   %-28s %10s bytes\n", $9, $5}'
echo "== Importação (a primeira conexão faz a cópia de segurança e confere a estrutura):"
status=0
PROG --home "$HOME_DEMO" importar || status=$?
echo "== Importação encerrada com status $status"
ls "$HOME_DEMO/Backups" 2>/dev/null | sed 's/^/   backup: /'
echo "== O que a importação gravou no banco do PDV (linhas por tabela):"
consulta=""
for t in GRUPOSTPREC TPREC TPRECSITEF PRAZOS FOOD_CONFIG FUNCIONARIOS USUARIOS_ACESSOS USUARIOS_RESTRICOES \
         SENHAS_GARCONS CARACTERISTICAS PRODUTOCARACTERISTICAS GRUPOS PRODUTOS PRODUTO_COMPOSICAO \
         CODIGOSPRODUTOS ENTREGA_STATUS VALIDACOES ITENS_CARDAPIO DETALHE_VESKO DETALHE_VESKO_OPCOES \
         DETALHE_VESKO_OBSERVACOES CLIENTES; do
  consulta+="SELECT CAST('$t' AS VARCHAR(30)) AS TABELA, COUNT(*) AS LINHAS FROM $t UNION ALL "
done
printf '%s;\n' "${consulta% UNION ALL }" | isql-fb -q -user SYSDBA "$HOME_DEMO/base/VESKO.GDB" 2>&1 | sed '/^$/d; s/^/   /'
echo "== Auditorias da importação:"
PROG --home "$HOME_DEMO" auditoria --dias 0 --detalhes

echo "== O PDV registra o dia (vendas, clientes, log de eventos e documentos fiscais):"
"$PWD/build/vesko-pdv-demo" --home "$HOME_DEMO" | sed 's/^/   /'
echo "== Exportação:"
status_exp=0
PROG --home "$HOME_DEMO" exportar || status_exp=$?
echo "== Exportação encerrada com status $status_exp"
echo "== Arquivos gravados no diretório de exportação:"
ls -l "$HOME_DEMO/saida" | tail -n +2 | awk '{printf "   %-72s %8s bytes\n", $9, $5}'
echo "== Auditorias da exportação:"
# A record is one line (fields split by tabs, the run's kind second), its
# details follow indented by four spaces.
PROG --home "$HOME_DEMO" auditoria --dias 0 --detalhes |
  awk -F'\t' '!/^    / { mostrar = ($2 == "Exportação") } mostrar { print }'
[ "$status" -eq 0 ] || exit "$status"
exit "$status_exp"
