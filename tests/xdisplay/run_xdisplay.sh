#!/usr/bin/env bash
# Runs the real-display key test on a private X server, once with a jp and once
# with a us system layout: the keys must land on the same panels either way.
# Usage: run_xdisplay.sh TEST_PROGRAM
set -euo pipefail
prog=$1
tools=xkbcomp
source "$(dirname "$0")/xvfb.sh"

for layout in jp us; do
  setxkbmap -model jp106 -layout "$layout"
  echo "== layout $layout on $DISPLAY"
  "$prog" -platform xcb
done
