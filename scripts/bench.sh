#!/usr/bin/env bash
# bench.sh: builds a Release with the benchmarks into build/bench, runs every benchmark
# program there and prints their "name: value unit" lines as one Markdown table.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" build/bench Release -DVELOTAPPER_BENCH=ON >&2

cpu=$(sed -n 's/^model name[[:space:]]*:[[:space:]]*//p' /proc/cpuinfo | head -n 1)
echo "# Benchmarks"
echo
echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "- Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(uname -m), commit $(git -C "$top" rev-parse --short HEAD 2>/dev/null || echo unknown)"
echo
echo "| benchmark | figure | value | unit |"
echo "|---|---|---|---|"

status=0
shopt -s nullglob
for dir in "$top"/build/bench/bench/*/; do
    name=$(basename "$dir")
    for prog in "$dir"*; do
        [[ -f $prog && -x $prog ]] || continue
        # A benchmark that fails or prints nothing leaves its rows out, not the table.
        out=$(cd "$dir" && QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$prog") || {
            echo "bench.sh: $name/$(basename "$prog") failed" >&2
            status=1
        }
        while IFS= read -r line; do
            [[ $line =~ ^[[:space:]]*([^:[:space:]][^:]*):[[:space:]]*([^[:space:]]+)[[:space:]]*(.*)$ ]] || continue
            printf '| %s | %s | %s | %s |\n' "$name" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" \
                "${BASH_REMATCH[3]%"${BASH_REMATCH[3]##*[![:space:]]}"}"
        done <<<"$out"
    done
done
exit $status
