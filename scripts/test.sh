#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${BUILD_DIR:-build/test}
# The server half of the tests: a local PostgreSQL cluster and a throw-away
# database of this checkout's own (two checkouts testing at once never share
# one), named by TALLOWBROOK_TEST_POSTGRES when all went well.
TALLOWBROOK_TEST_DB_NAME=tallowbrook_test_$(printf '%s' "$PWD/$build" | md5sum | cut -c1-10)
source scripts/test-postgres.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLOWBROOK_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
# Widget tests draw offscreen; they never need a display.
status=0
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=$?
# What reads outside input, fuzzed for a short bounded time (fuzz/README.md).
bash scripts/fuzz.sh || status=$?
if [ -z "${TALLOWBROOK_TEST_POSTGRES:-}" ]; then
  echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!" >&2
  echo "!!! The PostgreSQL half of the tests was SKIPPED: no server could be started. !!!" >&2
  echo "!!! Only the SQLite half ran. See the line starting with !!!!! above.         !!!" >&2
  echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!" >&2
fi
exit "$status"
