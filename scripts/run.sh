#!/usr/bin/env bash
# Builds a release and starts the program in the user's working folder, where
# the record file lives and the shipped lessons are placed when absent.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
"$top/scripts/build.sh" build/release Release
work="${XDG_DATA_HOME:-$HOME/.local/share}/velotapper"
mkdir -p "$work"
for f in "$top"/lessons/*.txt; do
  [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
cd "$work"
exec "$top/build/release/src/app/velotapper"
