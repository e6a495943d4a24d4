#!/usr/bin/env bash
# Builds with tests and runs every test through CTest.
# --sanitize builds them with clang under AddressSanitizer + UBSan instead (with the
# fuzz targets, so scripts/fuzz.sh can run in the same build folder) and runs them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh" --test
dir=build/test
type=Debug
args=(-DVELOTAPPER_TESTS=ON -DVELOTAPPER_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/asan
  type=RelWithDebInfo
  args+=(-DVELOTAPPER_SANITIZE=ON -DVELOTAPPER_FUZZ=ON)
  export CC=clang CXX=clang++
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
"$top/scripts/build.sh" "$dir" "$type" "${args[@]}"
cd "$top/$dir"
ctest --output-on-failure --timeout 300 -j "$(nproc)"
