#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang (AddressSanitizer, UndefinedBehavior-
# Sanitizer, libFuzzer) in a folder of their own and runs each for a short,
# bounded time from its seeds. FUZZ_SECONDS sets how long (default 10 each);
# fuzz/README.md says how to run one for hours.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FUZZ_BUILD_DIR:-build/fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DTALLOWBROOK_FUZZ=ON -DTALLOWBROOK_FUZZ_SECONDS="${FUZZ_SECONDS:-10}" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" -L fuzz --output-on-failure -j "$(nproc)"
