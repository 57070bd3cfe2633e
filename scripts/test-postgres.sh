# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by scripts/test.sh: makes a local PostgreSQL server ready for the
# server half of the tests and exports TALLOWBROOK_TEST_POSTGRES, the URI of a
# throw-away database made afresh for this run. Starts the cluster when none
# runs (and makes one when there is none), gives the current user a role, and
# never waits without a limit. When anything fails it prints one loud line
# and leaves TALLOWBROOK_TEST_POSTGRES unset, so the server tests report
# themselves as skipped.
#
# Safe to run again and again: a running cluster, an existing role and a
# previous run's database are all fine.

tallowbrook_pg_skip() {
  echo "!!!!! PostgreSQL NOT AVAILABLE: $* -- the server half of the tests will be SKIPPED !!!!!" >&2
  unset TALLOWBROOK_TEST_POSTGRES
  return 0
}

# Runs a command as the cluster's owner (postgres): directly, as root, or
# through sudo when that needs no password.
tallowbrook_as_postgres() {
  if [ "$(id -un)" = postgres ]; then
    "$@"
  elif [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    sudo -n -u postgres -- "$@"
  fi
}

tallowbrook_pg_prepare() {
  local socket_dir=/var/run/postgresql
  local db_name=${TALLOWBROOK_TEST_DB_NAME:-tallowbrook_test}
  if ! command -v pg_lsclusters >/dev/null 2>&1; then
    tallowbrook_pg_skip "the postgresql package is not installed (pg_lsclusters missing)"
    return 0
  fi

  local cluster
  cluster=$(pg_lsclusters -h 2>/dev/null | head -n 1) || true
  if [ -z "$cluster" ]; then
    local version
    version=$(ls /usr/lib/postgresql 2>/dev/null | sort -n | tail -n 1) || true
    if [ -z "$version" ]; then
      tallowbrook_pg_skip "no PostgreSQL server version under /usr/lib/postgresql"
      return 0
    fi
    echo "Creating PostgreSQL cluster $version/main"
    if ! timeout 120 pg_createcluster "$version" main >/dev/null 2>&1; then
      tallowbrook_pg_skip "pg_createcluster $version main failed"
      return 0
    fi
    cluster=$(pg_lsclusters -h 2>/dev/null | head -n 1) || true
  fi
  local version name port status
  read -r version name port status _ <<<"$cluster" || true
  if [ "$status" != online ]; then
    echo "Starting PostgreSQL cluster $version/$name"
    if ! timeout 60 pg_ctlcluster "$version" "$name" start >/dev/null 2>&1; then
      # Another run may have started it at the same moment.
      read -r _ _ _ status _ <<<"$(pg_lsclusters -h 2>/dev/null | grep -E "^$version +$name ")" || true
      if [ "$status" != online ]; then
        tallowbrook_pg_skip "pg_ctlcluster $version $name start failed"
        return 0
      fi
    fi
  fi

  local waited=0
  until pg_isready -q -h "$socket_dir" -p "$port" -t 2; do
    waited=$((waited + 1))
    if [ "$waited" -ge 30 ]; then
      tallowbrook_pg_skip "the server on port $port did not accept connections within 30 seconds"
      return 0
    fi
    sleep 1
  done

  local me
  me=$(id -un)
  local psql=(timeout 60 psql -X -q -v ON_ERROR_STOP=1 -h "$socket_dir" -p "$port" -d postgres)
  # The role of the user running the tests, allowed to make databases; the
  # test database belongs to it so every test can make its own schema.
  if ! tallowbrook_as_postgres "${psql[@]}" -v me="$me" >/dev/null 2>&1 <<'SQL'; then
SELECT format('CREATE ROLE %I LOGIN CREATEDB', :'me')
WHERE NOT EXISTS (SELECT FROM pg_roles WHERE rolname = :'me') \gexec
SQL
    tallowbrook_pg_skip "could not make a database role for $me"
    return 0
  fi
  if ! tallowbrook_as_postgres "${psql[@]}" -v me="$me" -v db="$db_name" >/dev/null 2>&1 <<'SQL'; then
DROP DATABASE IF EXISTS :"db" WITH (FORCE);
CREATE DATABASE :"db" OWNER :"me" ENCODING 'UTF8' TEMPLATE template0;
SQL
    tallowbrook_pg_skip "could not make the throw-away database $db_name"
    return 0
  fi

  export TALLOWBROOK_TEST_POSTGRES="postgresql:///$db_name?host=$socket_dir&port=$port"
  if ! timeout 30 psql -X -q -d "$TALLOWBROOK_TEST_POSTGRES" -c 'SELECT 1' >/dev/null 2>&1; then
    tallowbrook_pg_skip "$me cannot connect to $TALLOWBROOK_TEST_POSTGRES"
    return 0
  fi
  echo "PostgreSQL tests use $TALLOWBROOK_TEST_POSTGRES"
}

# A throw-away cluster of its own in DIR (the TLS test's, the soak's),
# started with TLS on, listening on 127.0.0.1 and a socket in DIR, on a
# free port, which it prints:
# a certificate authority (DIR/ca.crt), the server's certificate from it for
# the host name localhost, and another authority the server's certificate
# is not from (DIR/other-ca.crt), all made with openssl. Exits 77 with the
# reason when openssl or the server's programs are missing.
tallowbrook_pg_cluster() {
  local dir=$1 bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if ! command -v openssl >/dev/null 2>&1; then
    echo "openssl is not installed"
    return 77
  elif [ ! -x "$bin/initdb" ]; then
    echo "no PostgreSQL server programs under /usr/lib/postgresql"
    return 77
  fi
  local ssl=(openssl req -x509 -newkey rsa:2048 -nodes -days 2)
  (cd "$dir" &&
    "${ssl[@]}" -subj "/CN=tallowbrook test authority" -keyout ca.key -out ca.crt &&
    "${ssl[@]}" -subj "/CN=another authority" -keyout other-ca.key -out other-ca.crt &&
    "${ssl[@]}" -subj "/CN=localhost" -addext "subjectAltName=DNS:localhost" \
      -CA ca.crt -CAkey ca.key -keyout server.key -out server.crt &&
    chmod 600 server.key) >/dev/null 2>&1 || { echo "openssl could not make the certificates"; return 1; }
  # The server refuses to run as root: then it runs as postgres.
  local owner=()
  if [ "$(id -u)" -eq 0 ]; then
    chown -R postgres "$dir"
    owner=(runuser -u postgres --)
  fi
  "${owner[@]}" "$bin/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --no-sync >/dev/null 2>&1 ||
    { echo "initdb failed"; return 1; }
  local port tries
  for tries in 1 2 3 4 5; do
    port=$((20000 + RANDOM % 30000))
    if "${owner[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 -o \
      "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories='$dir' -c ssl=on \
       -c ssl_cert_file='$dir/server.crt' -c ssl_key_file='$dir/server.key' -c fsync=off" \
      start >/dev/null 2>&1; then
      echo "$port"
      return 0
    fi
  done
  echo "the server did not start: $(tail -n 3 "$dir/server.log" 2>/dev/null)"
  return 1
}

# pg_ctl on the cluster in DIR (stop, restart), as its owner.
tallowbrook_pg_ctl() {
  local dir=$1 owner=()
  shift
  [ "$(id -u)" -eq 0 ] && owner=(runuser -u postgres --)
  "${owner[@]}" "$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)/pg_ctl" \
    -D "$dir/data" -l "$dir/server.log" -w -t 30 "$@" >/dev/null 2>&1
}

# Sourced: the test database. Run with --cluster DIR: a throw-away cluster
# (the TLS test's, the soak's); --restart-cluster DIR, --stop-cluster DIR.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-}" in
    --cluster) tallowbrook_pg_cluster "$2" ;;
    --restart-cluster) tallowbrook_pg_ctl "$2" -m fast restart ;;
    --stop-cluster) tallowbrook_pg_ctl "$2" -m immediate stop ;;
    *) echo "usage: source $0, or $0 --cluster|--restart-cluster|--stop-cluster DIR" >&2; exit 2 ;;
  esac
  exit $?
fi
tallowbrook_pg_prepare
