#!/usr/bin/env bash
# Runs the sound test on a private X server; the test starts its own sound server.
# Usage: run_audio.sh TEST_PROGRAM [TEST_FUNCTION...]
set -euo pipefail
prog=$1
shift
tools=
source "$(dirname "$0")/../xdisplay/xvfb.sh"
"$prog" -platform xcb "$@"
