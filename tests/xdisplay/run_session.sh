#!/usr/bin/env bash
# Runs a learner's session on a private X server. The program kills itself at the end
# of the session; the history it leaves must hold every run it counted.
# Usage: run_session.sh TEST_PROGRAM
set -u
prog=$1
tools=sqlite3
source "$(dirname "$0")/xvfb.sh"
export SESSION_DIR="$tmp/session"
mkdir "$SESSION_DIR"

"$prog" -platform xcb 2>&1 | tee "$tmp/out"
status=${PIPESTATUS[0]}
failed=0
if [ "$status" -ne 137 ]; then
  echo "FAIL: the session ended with status $status instead of its kill"; failed=1
fi
if grep -q '^FAIL!' "$tmp/out"; then failed=1; fi
counted=$(cat "$SESSION_DIR/runs-counted" 2>/dev/null || echo '?')
kept=$(sqlite3 "$SESSION_DIR/Velotap.db" 'select count(*) from runs' 2>&1)
if [ "$kept" != "$counted" ]; then
  echo "FAIL: the record counted $counted runs, the history kept $kept after the kill" \
       "(runs lost that were written after the folder dialog and the outside reader)"
  failed=1
fi
exit "$failed"
