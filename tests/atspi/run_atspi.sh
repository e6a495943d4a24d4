#!/usr/bin/env bash
# Runs the program on a private X server with a D-Bus session of the test's own, where
# the accessibility bus starts on demand, and walks it with atspi_walk.py.
# Usage: run_atspi.sh PROGRAM LESSON_FOLDER
set -euo pipefail
prog=$(realpath "$1")
lessons=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v dbus-run-session >/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ] ||
   ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: at-spi2-core, dbus or python3-pyatspi is missing (scripts/deps.sh --test installs them)"
  exit 77
fi
tools=
source "$here/../xdisplay/xvfb.sh"
mkdir "$tmp/work"
cp "$lessons/Lesson1.txt" "$tmp/work/"
cd "$tmp/work"
# Qt offers its tree on the bus only when asked, or always with this set.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- /usr/bin/python3 "$here/atspi_walk.py" "$prog"
