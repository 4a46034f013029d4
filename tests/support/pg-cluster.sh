#!/usr/bin/env bash
# A throwaway PostgreSQL server for the register's tests and benchmarks.
#
#   pg-cluster.sh start DIR   creates a cluster in DIR, starts it on a free TCP port of
#                             127.0.0.1 and a socket in DIR, and writes DIR/connection.env
#   pg-cluster.sh stop DIR    stops it and removes DIR
#   pg-cluster.sh halt DIR    stops it at once, as a crash or a pulled plug would, and keeps it
#   pg-cluster.sh resume DIR  starts a halted one again on its port and socket
#
# The server runs as the unprivileged user "postgres" (created by Debian's package),
# never as root. Its superuser is "luvir_admin" with the password in connection.env;
# password authentication (SCRAM) is required on every connection, so wrong passwords
# can be tested.
set -euo pipefail

action=${1:?usage: pg-cluster.sh start|stop|halt|resume DIR}
dir=${2:?usage: pg-cluster.sh start|stop|halt|resume DIR}

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "pg-cluster: PostgreSQL is not installed (scripts/setup.sh)" >&2; exit 1; }

run_as_postgres() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

# Starts the cluster in $dir on TCP port $1 of 127.0.0.1 and a socket in $dir.
start_server() {
  run_as_postgres "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
    -o "-c listen_addresses=127.0.0.1 -c port=$1 -c unix_socket_directories=$dir -c fsync=off -c max_connections=60" \
    >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
}

case "$action" in
start)
  if [ -f "$dir/connection.env" ]; then
    "$0" stop "$dir" || true
  fi
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
  chmod 700 "$dir"
  password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
  printf '%s\n' "$password" > "$dir/pwfile"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir/pwfile"
  run_as_postgres "$bin/initdb" -D "$dir/data" -U luvir_admin --pwfile="$dir/pwfile" \
    -A scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; exit 1; }
  rm -f "$dir/pwfile"
  # A free port: ask the kernel for one, then hand it to the server.
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  start_server "$port"
  cat > "$dir/connection.env" <<EOF
PGHOST=127.0.0.1
PGPORT=$port
PGUSER=luvir_admin
PGPASSWORD=$password
PGSOCKETDIR=$dir
EOF
  chmod 644 "$dir/connection.env"
  echo "pg-cluster: PostgreSQL on 127.0.0.1:$port ($dir)"
  ;;
stop)
  if [ -d "$dir/data" ]; then
    run_as_postgres "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
halt)
  run_as_postgres "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null
  ;;
resume)
  port=$(sed -n 's/^PGPORT=//p' "$dir/connection.env")
  start_server "$port"
  ;;
*)
  echo "usage: pg-cluster.sh start|stop|halt|resume DIR" >&2
  exit 2
  ;;
esac
