#!/usr/bin/env bash
# Builds with tests and runs every test through CTest.
# --sanitize builds and runs them under AddressSanitizer + UBSan instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh" --test
dir=build/test
args=(-DVELOTAPPER_TESTS=ON -DVELOTAPPER_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/asan
  args+=(-DVELOTAPPER_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
"$top/scripts/build.sh" "$dir" Debug "${args[@]}"
cd "$top/$dir"
ctest --output-on-failure --timeout 300 -j "$(nproc)"
