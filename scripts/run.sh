#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, puts a demo breakfast.mdb beside the
# program when there is none, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLOWBROOK_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

program="$build/src/app/tallowbrook"
database="$(dirname "$program")/breakfast.mdb"
if [ ! -e "$database" ]; then
  "$build/tools/tallowbrook-db" demo "$database"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
No display is available, so the program's windows cannot be shown.
Run it on a desktop, or under a virtual display:
  xvfb-run -a bash scripts/run.sh
MSG
  exit 1
fi
exec "$program" "$@"
