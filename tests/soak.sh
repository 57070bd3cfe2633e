#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The soak: two tills on one PostgreSQL database and two on one file store
# days and wages and remove wages at random for SECONDS (240 unless given),
# while the tills' connections to the server are ended now and then
# (pg_terminate_backend), the server is restarted once, and a till is
# killed (kill -9) now and then and started again. Then the books must agree
# with themselves (the kept month totals, each day's Personnel rate against
# its wages) and hold every Save and Delete a till reported done. Prints the
# work done, the faults made and what was lost; exits 1 when anything was
# lost or disagrees. Stops by itself; the server is a cluster of its own.
#
# Usage: tests/soak.sh [BUILD_DIR [SECONDS]]   (BUILD_DIR: build/test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
seconds=${2:-240}
till=$build/tests/ledger/soak_till
tool=$build/tools/tallowbrook-db
work=$(mktemp -d)
cluster=$(mktemp -d) # the server's own, which it may own
supervisors=()
finish() {
  local status=$?
  for p in "${supervisors[@]}"; do kill "$p" 2>/dev/null || true; done
  for f in "$work"/*.pid; do [ -f "$f" ] && kill -9 "$(cat "$f")" 2>/dev/null || true; done
  bash scripts/test-postgres.sh --stop-cluster "$cluster" || true
  rm -rf "$work" "$cluster"
  exit "$status"
}
trap finish EXIT

if ! port=$(bash scripts/test-postgres.sh --cluster "$cluster"); then
  echo "soak: no server of its own: $port" >&2
  exit 1
fi
server="postgresql://postgres@/postgres?host=$cluster&port=$port"
file=$work/breakfast.mdb
"$tool" create "$server" >/dev/null
"$tool" create "$file" >/dev/null
on_server() { psql -X -q -At -d "$server" -c "$1"; }
on_file() { sqlite3 "$file" "$1"; }

# Each till runs until the end, started again whenever it is killed.
end=$(($(date +%s) + seconds))
run_till() { # BOOKS NAME
  while [ "$(date +%s)" -lt "$end" ]; do
    "$till" "$1" "$2" "$work/$2.log" $((end - $(date +%s))) >>"$work/$2.out" 2>&1 &
    echo $! >"$work/$2.pid"
    wait $! || true
    rm -f "$work/$2.pid"
  done
}
for n in 1 2; do
  # (Quiet: a shell says each kill.)
  run_till "$server" "server$n" 2>/dev/null &
  supervisors+=($!)
  run_till "$file" "file$n" 2>/dev/null &
  supervisors+=($!)
done

terminated=0 killed=0 restarted=0
while [ "$(date +%s)" -lt $((end - 5)) ]; do
  sleep $((2 + RANDOM % 4))
  if [ "$restarted" -eq 0 ] && [ "$(date +%s)" -ge $((end - seconds / 2)) ]; then
    bash scripts/test-postgres.sh --restart-cluster "$cluster" && restarted=1
  elif ((RANDOM % 2)); then
    # (Quiet: a till may have ended between the list and its end.)
    ended=$(PGOPTIONS='-c client_min_messages=error' on_server "SELECT
              count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE
              application_name = 'tallowbrook'" || echo 0)
    terminated=$((terminated + ended))
  else
    victim=$(printf '%s\n' server1 server2 file1 file2 | shuf -n 1)
    if [ -f "$work/$victim.pid" ] && kill -9 "$(cat "$work/$victim.pid")" 2>/dev/null; then
      killed=$((killed + 1))
    fi
  fi
done
wait "${supervisors[@]}"
supervisors=()

# What the tills reported done, as rows the books must (or must no longer)
# hold: SQL VALUES lists, led by "(0, NULL, NULL)", a row of no ID (IDs
# start at 1), which gives the server each column's type when there are none.
reported() { # KIND BOOKS: day, wage (stored, no removal tried) or unwage
  awk -v kind="$1" -v q="'" '
    FNR == 1 { name = FILENAME; sub(/.*\//, "", name); sub(/\.log$/, "", name) }
    $1 == "day" && kind == "day" { rows[++n] = $2 ", " q $3 q ", NULL" }
    $1 == "wage" { date[name, $2] = $3 }
    $1 == "removing" { delete date[name, $2] }
    $1 == "unwage" && kind == "unwage" { rows[++n] = $2 ", NULL, " q name q }
    END {
      if (kind == "wage") for (k in date) {
        split(k, part, SUBSEP)
        rows[++n] = part[2] ", " q date[k] q ", " q part[1] q
      }
      out = "(0, NULL, NULL)"
      for (i = 1; i <= n; ++i) out = out ", (" rows[i] ")"
      print out
    }' "$work/$2"?.log
}

status=0
for books in server file; do
  q=on_$books
  days=$(reported day "$books") wages=$(reported wage "$books") unwages=$(reported unwage "$books")
  lost=$($q "WITH e(id, d, x) AS (VALUES $days) SELECT count(*) FROM e WHERE id > 0 AND
             NOT EXISTS (SELECT 1 FROM \"daily settlement of accounts\" WHERE \"Date\" = e.d AND
             \"Rent\" = e.id)")
  lost=$((lost + $($q "WITH e(id, d, n) AS (VALUES $wages) SELECT count(*) FROM e WHERE id > 0
             AND NOT EXISTS (SELECT 1 FROM \"The staff calculate wages\" w WHERE
             w.\"Date\" = e.d AND w.\"Name\" = e.n AND w.\"Salary hour\" = e.id)")))
  back=$($q "WITH e(id, d, n) AS (VALUES $unwages) SELECT count(*) FROM e JOIN
             \"The staff calculate wages\" w ON w.\"Name\" = e.n AND w.\"Salary hour\" = e.id")
  differ=$($q "SELECT count(*) FROM \"daily settlement of accounts\" d WHERE
               COALESCE(d.\"Personnel rate\", 0) <> (SELECT COALESCE(sum(w.\"Salary hour\" *
               w.\"Main hour\"), 0) FROM \"The staff calculate wages\" w WHERE w.\"Date\" = d.\"Date\")")
  kept=$("$tool" check "${!books}" 2>&1) || differ=$((differ + 1))
  if grep -q "counted again" <<<"$kept"; then differ=$((differ + 1)); fi
  done_count=$(cat "$work/$books"?.log | grep -c -E '^(day|wage|unwage) ' || true)
  failed=$(awk '{ n += $4 } END { print n + 0 }' "$work/$books"?.out)
  echo "soak on the $books: $done_count Saves and Deletes reported done ($failed failed and" \
    "said), $lost lost, $back removed wages back, $differ disagreements"
  # (Tills that did nothing would lose nothing.)
  [ "$done_count" -gt 0 ] && [ "$lost" -eq 0 ] && [ "$back" -eq 0 ] && [ "$differ" -eq 0 ] ||
    status=1
done
echo "soak faults: $terminated connections ended, $killed tills killed, server restarted" \
  "$restarted time(s)"
exit "$status"
