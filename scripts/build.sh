#!/usr/bin/env bash
# build.sh BUILD_DIR BUILD_TYPE [extra cmake arguments]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$1 type=$2
shift 2
cmake -S "$top" -B "$top/$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
cmake --build "$top/$dir" --parallel "$(nproc)"
