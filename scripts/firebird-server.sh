#!/usr/bin/env bash
# A throwaway Firebird server for the tests that go through a real server:
# SuperServer from Debian's firebird3.0-server, listening on 127.0.0.1 on a
# free port, with its own security database (SYSDBA / "quillfern"), lock and
# temp folders, all inside one state folder. No system service is touched.
#
#   scripts/firebird-server.sh start [DIR]   prints the port (also in DIR/porta)
#   scripts/firebird-server.sh start-usuario [DIR]
#                                            the same, but the server runs as the
#                                            packaged server's own system user
#                                            (firebird), as an installed one does
#   scripts/firebird-server.sh stop  [DIR]   stops it and removes DIR
#   scripts/firebird-server.sh port  [DIR]   prints the port of a running one
#
# start-usuario needs root (to change user) and the packaged server and its
# user; where it cannot run it writes why in DIR/indisponivel, prints that
# line and exits 0, so that the tests depending on it can skip. The server
# then owns the state folder; databases it must write go in DIR/dados.
#
# DIR defaults to $VESKO_FB_DIR or ${TMPDIR:-/tmp}/vesko-firebird-teste.
# Both commands can be repeated: start reuses a server that is running,
# stop on a stopped server does nothing.
set -euo pipefail

cmd="${1:-}"
dir="${2:-${VESKO_FB_DIR:-${TMPDIR:-/tmp}/vesko-firebird-teste}}"
senha="quillfern"

fb_root="${FB_ROOT:-}"
if [ -z "$fb_root" ]; then
  for d in /usr/lib/*/firebird/3.0 /usr/lib/firebird/3.0; do
    [ -f "$d/firebird.msg" ] && { fb_root="$d"; break; }
  done
fi
servidor="${FB_SERVIDOR:-/usr/sbin/firebird}"
usuario=""  # the server's own user (start-usuario); empty: the caller's
isql="$(command -v isql-fb || command -v isql || true)"

rodando() {
  [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null
}

porta_ocupada() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

parar() {
  if rodando; then
    local pid; pid="$(cat "$dir/pid")"
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}

iniciar() {
  if rodando && [ -s "$dir/porta" ]; then
    cat "$dir/porta"
    return 0
  fi
  [ -n "$fb_root" ] || { echo "firebird-server: Firebird 3.0 não encontrado (instale firebird3.0-server)" >&2; exit 1; }
  [ -x "$servidor" ] || { echo "firebird-server: $servidor não encontrado" >&2; exit 1; }
  [ -n "$isql" ] || { echo "firebird-server: isql não encontrado (instale firebird3.0-utils)" >&2; exit 1; }
  parar
  mkdir -p "$dir/raiz" "$dir/lock" "$dir/tmp" "$dir/dados"
  [ -z "$usuario" ] || verificar_usuario
  for f in plugins UDF firebird.msg; do
    [ -e "$fb_root/$f" ] && ln -s "$fb_root/$f" "$dir/raiz/$f"
  done
  # The character sets' module is found through the root folder and must
  # not be a link (the engine compares its real path), so it is copied.
  mkdir -p "$dir/raiz/intl"
  cp "$fb_root/intl/libfbintl.so" "$dir/raiz/intl/"
  [ -f "$fb_root/plugins.conf" ] && cp "$fb_root/plugins.conf" "$dir/raiz/"

  export FIREBIRD="$dir/raiz" FIREBIRD_LOCK="$dir/lock" FIREBIRD_TMP="$dir/tmp"
  escrever_conf() {
    cat > "$dir/raiz/firebird.conf" <<EOF
RemoteServicePort = $1
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $dir/security3.fdb
ServerMode = Super
AuthServer = Srp
UserManager = Srp
EOF
    echo "security.db = $dir/security3.fdb" > "$dir/raiz/databases.conf"
  }
  escrever_conf 3050

  # The security database, through the embedded engine of this folder.
  echo "CREATE DATABASE '$dir/security3.fdb' USER SYSDBA;" | "$isql" -q >"$dir/isql.log" 2>&1
  echo "CREATE USER SYSDBA PASSWORD '$senha' USING PLUGIN Srp; COMMIT;" |
    "$isql" -q -user SYSDBA "$dir/security3.fdb" >>"$dir/isql.log" 2>&1

  local como=()
  if [ -n "$usuario" ]; then
    # From here on the state folder is the server's, as /var/lib/firebird is
    # for an installed one.
    chown -R "$usuario:$usuario" "$dir"
    como=(setpriv --reuid="$usuario" --regid="$usuario" --init-groups --)
  fi

  for _ in $(seq 20); do
    local porta=$(( 20000 + RANDOM % 20000 ))
    porta_ocupada "$porta" && continue
    escrever_conf "$porta"
    [ -z "$usuario" ] || chown "$usuario:$usuario" "$dir/raiz/firebird.conf"
    setsid "${como[@]}" "$servidor" -p "$porta" </dev/null >"$dir/servidor.log" 2>&1 &
    echo $! > "$dir/pid"
    for _ in $(seq 100); do
      if porta_ocupada "$porta"; then
        echo "$porta" > "$dir/porta"
        echo "$porta"
        return 0
      fi
      rodando || break
      sleep 0.1
    done
    kill "$(cat "$dir/pid")" 2>/dev/null || true
    rm -f "$dir/pid"
  done
  echo "firebird-server: o servidor não iniciou; veja $dir/servidor.log e $dir/raiz/firebird.log" >&2
  exit 1
}

# start-usuario where it cannot run: the reason, in DIR/indisponivel.
indisponivel() {
  echo "firebird-server: servidor como usuário $usuario indisponível: $1" | tee "$dir/indisponivel" >&2
  exit 0
}

verificar_usuario() {
  [ "$(id -u)" = 0 ] || indisponivel "é preciso ser root para iniciar o servidor como $usuario"
  id -u "$usuario" >/dev/null 2>&1 || indisponivel "o usuário $usuario não existe (instale firebird3.0-server)"
  command -v setpriv >/dev/null || indisponivel "setpriv não encontrado (instale util-linux)"
  # The server must reach its state folder through every folder above it.
  setpriv --reuid="$usuario" --regid="$usuario" --init-groups -- test -x "$dir" ||
    indisponivel "o usuário $usuario não alcança a pasta $dir"
}

case "$cmd" in
  start) iniciar ;;
  start-usuario)
    usuario="${FB_USUARIO:-firebird}"
    if ! rodando; then
      parar
      mkdir -p "$dir"
      if [ -z "$fb_root" ] || [ ! -x "$servidor" ] || [ -z "$isql" ]; then
        indisponivel "Firebird 3.0 não encontrado (instale firebird3.0-server e firebird3.0-utils)"
      fi
    fi
    iniciar ;;
  stop) parar ;;
  port) rodando && cat "$dir/porta" || { echo "firebird-server: não está em execução" >&2; exit 1; } ;;
  *) echo "uso: $0 start|start-usuario|stop|port [DIR]" >&2; exit 2 ;;
esac
