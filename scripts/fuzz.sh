#!/usr/bin/env bash
# fuzz.sh [--merge] SECONDS [TARGET...]
# Builds the libFuzzer targets (fuzz/*_fuzz.cpp, or the TARGETs named, e.g. history_fuzz)
# with clang, AddressSanitizer and UBSan in build/fuzz (or FUZZ_BUILD_DIR: the sanitizer
# test build has them too), then runs each one for SECONDS starting from its committed
# corpus fuzz/corpus/<name without _fuzz>/, which every run replays first. Fails when any
# target finds a crash. With --merge, the inputs a run found that reach code the committed
# corpus does not are added to it (libFuzzer's -merge=1), so later short runs start where
# this one ended.
set -euo pipefail
merge=0
if [ "${1:-}" = --merge ]; then
  merge=1
  shift
fi
secs=${1:?usage: fuzz.sh [--merge] SECONDS [TARGET...]}
shift
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${FUZZ_BUILD_DIR:-$top/build/fuzz}
case $dir in /*) ;; *) dir=$top/$dir ;; esac

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$top"/fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$src" .cpp)")
  done
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz.sh: no fuzz targets" >&2; exit 1; }

mkdir -p "$dir"
( # two campaigns started together build one after the other
  flock 9
  CC=clang CXX=clang++ cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELOTAPPER_FUZZ=ON -DVELOTAPPER_SANITIZE=ON >/dev/null
  cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"
) 9>"$dir/.build-lock"

failed=()
for name in "${targets[@]}"; do
  seeds=$top/fuzz/corpus/${name%_fuzz}
  work=$dir/corpus/${name%_fuzz}    # new inputs go here, the committed corpus stays untouched
  artifacts=$dir/artifacts/$name/
  mkdir -p "$seeds" "$work" "$artifacts"
  echo "== $name: ${secs}s on $seeds"
  if ! "$dir/fuzz/$name" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts" -print_final_stats=1 "$work" "$seeds"; then
    failed+=("$name")
  elif [ $merge -eq 1 ]; then
    "$dir/fuzz/$name" -merge=1 -timeout=10 -rss_limit_mb=2048 "$seeds" "$work"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: findings in: ${failed[*]} (inputs under $dir/artifacts/)" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} target(s), no findings"
