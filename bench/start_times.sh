#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the real program (a Release build) under a virtual X display, as a
# user waits for it, interleaved with a minimal Qt window doing the same:
#   start -> the login window on the screen (with and without the start-up
#            backup to make, on ledgers of 3,000 and 100,000 days), beside a
#            minimal Qt window titled the same;
#   login -> the daily window on the screen (password typed, Enter).
# Prints one line per measure: the median of RUNS runs in milliseconds, and
# the peak memory (VmHWM) of the program once the daily window is up beside
# the minimal window's.
#
#   bash bench/start_times.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build folder, e.g. build/bench}
runs=${2:-7}
program=$build/src/app/tallowbrook
minimal=$build/bench/minimal_window
ledger=$build/bench/bench_ledger
for tool in "$program" "$minimal" "$ledger"; do [ -x "$tool" ] || { echo "missing $tool" >&2; exit 1; }; done
command -v xdotool >/dev/null && command -v Xvfb >/dev/null || { echo "needs xdotool and Xvfb" >&2; exit 1; }

work=$(mktemp -d)
# A display number the X server picks itself among the free ones (a fixed
# or random one may be taken, or locked by a server that was killed); no
# reset when the last program closes, which would turn the next one away.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "the virtual display did not start" >&2; exit 1; }
export DISPLAY=:$(head -1 "$work/display")
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# One program folder per ledger size: the program beside its books.
for days in 3000 100000; do
  mkdir -p "$work/$days"
  cp "$program" "$work/$days/tallowbrook"
  "$ledger" "$work/$days/breakfast.mdb" "$days" 5000 10000
done

now() { date +%s%N; }
ms() { echo $(( ($2 - $1) / 1000000 )); }

# Waits until a visible window is named $1; polls every 5 ms (xdotool's own
# --sync polls only every half second, coarser than what is measured).
wait_for_window() {
  local tries=0
  until xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
    sleep 0.005
    tries=$((tries + 1))
    if [ "$tries" -ge 2000 ]; then
      echo "no window '$1' after 10 s; visible windows:" >&2
      for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "  $(xdotool getwindowname "$w" 2>/dev/null)" >&2
      done
      [ -s "$work/program.log" ] && sed 's/^/  program: /' "$work/program.log" >&2
      return 1
    fi
  done
}

# Milliseconds from starting $2... until a visible window named $1 is there.
until_window() {
  local name=$1; shift
  local t0; t0=$(now)
  "$@" >/dev/null 2>"$work/program.log" &
  local pid=$!
  wait_for_window "$name"
  local t1; t1=$(now)
  echo "$(ms "$t0" "$t1") $pid"
}

end() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

# Puts the keyboard into the login window's password box (no window manager
# runs here to give the window the focus): a click on the box.
login_password() {
  local window
  window=$(xdotool search --sync --onlyvisible --name '^Form10$' | head -1)
  # The window takes clicks once it has been drawn; untimed.
  sleep 0.3
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool mousemove --window "$window" 188 176 click 1
}

declare -A times
record() { times[$1]="${times[$1]:-} $2"; }

for run in $(seq "$runs"); do
  read -r t pid < <(until_window Form10 "$minimal" Form10); end "$pid"; record minimal "$t"
  for days in 3000 100000; do
    folder=$work/$days
    # Books changed since the last backup: the backup is made at start.
    rm -rf "$folder/backups"
    read -r t pid < <(until_window Form10 "$folder/tallowbrook"); record "start-backup-$days" "$t"
    # Log in: the password, Enter.
    login_password
    t0=$(now)
    xdotool type --delay 0 breakfast
    xdotool key Return
    wait_for_window 'Daily settlement of  accounts'
    record "login-main-$days" "$(ms "$t0" "$(now)")"
    end "$pid"
    # No backup to make: the books did not change since the last one.
    sleep 0.2
    touch -d '1 minute ago' "$folder/breakfast.mdb"
    read -r t pid < <(until_window Form10 "$folder/tallowbrook"); end "$pid"; record "start-$days" "$t"
  done
done

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
for key in minimal start-3000 start-100000 start-backup-3000 start-backup-100000 login-main-3000 login-main-100000; do
  printf '%-22s %5s ms   (runs:%s)\n' "$key" "$(echo "${times[$key]}" | median)" "${times[$key]}"
done

# Peak memory once the daily window is up, and once the month sheet is too,
# beside the minimal window's: with the shop's password hash (whose check
# takes 64 MiB for a moment at login), and with one made at libsodium's
# smallest limits, which shows the books' own share.
mkdir -p "$work/light"
cp "$program" "$work/light/tallowbrook"
"$ledger" "$work/light/breakfast.mdb" 100000 5000 10000 --light-password
for folder in "$work/100000" "$work/light"; do
  read -r _ pid < <(until_window Form10 "$folder/tallowbrook")
  login_password
  t0=$(now)
  xdotool type --delay 0 breakfast; xdotool key Return
  wait_for_window 'Daily settlement of  accounts'
  login_ms=$(ms "$t0" "$(now)")
  daily=$(xdotool search --onlyvisible --name '^Daily settlement of  accounts$' | head -1)
  sleep 0.5
  after_login=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
  # "Settle account in the month" (Command7) opens the month sheet.
  xdotool mousemove --window "$daily" 200 528 click 1
  wait_for_window 'Settle account in the month'
  sleep 0.5
  after_month=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
  in_use=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
  hash="the shop's password hash"
  [ "$folder" = "$work/light" ] && hash="a light password hash"
  echo "100000 days, $hash: Enter -> daily window ${login_ms} ms; peak memory after login ${after_login} KiB, after the month sheet ${after_month} KiB (in use ${in_use} KiB)"
  end "$pid"
done
echo "minimal window: $("$minimal" Form10 --memory)"
