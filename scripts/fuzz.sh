#!/usr/bin/env bash
# fuzz.sh SECONDS
# Builds every libFuzzer target (fuzz/*_fuzz.cpp) with clang, AddressSanitizer and
# UBSan in build/fuzz (or FUZZ_BUILD_DIR: the sanitizer test build has them too), then runs each one for SECONDS on its seed corpus
# fuzz/corpus/<name without _fuzz>/. Fails when any target finds a crash.
set -euo pipefail
secs=${1:?usage: fuzz.sh SECONDS}
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${FUZZ_BUILD_DIR:-$top/build/fuzz}
case $dir in /*) ;; *) dir=$top/$dir ;; esac

targets=()
for src in "$top"/fuzz/*_fuzz.cpp; do
  targets+=("$(basename "$src" .cpp)")
done
[ ${#targets[@]} -gt 0 ] || { echo "fuzz.sh: no fuzz targets" >&2; exit 1; }

CC=clang CXX=clang++ cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELOTAPPER_FUZZ=ON -DVELOTAPPER_SANITIZE=ON >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"

failed=()
for name in "${targets[@]}"; do
  seeds=$top/fuzz/corpus/${name%_fuzz}
  work=$dir/corpus/${name%_fuzz}    # new inputs go here, the seeds stay untouched
  artifacts=$dir/artifacts/$name/
  mkdir -p "$seeds" "$work" "$artifacts"
  echo "== $name: ${secs}s on $seeds"
  if ! "$dir/fuzz/$name" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts" -print_final_stats=1 "$work" "$seeds"; then
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: findings in: ${failed[*]} (inputs under $dir/artifacts/)" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} target(s), no findings"
