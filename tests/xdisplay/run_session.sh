#!/usr/bin/env bash
# Runs a learner's session on a private X server. The program kills itself at the end
# of the session; the history it leaves must hold every run it counted but the two made
# while an outside sqlite3 held it, which wait beside it. A second start in the folder
# must take those in with its first run.
# Usage: run_session.sh TEST_PROGRAM
set -u
prog=$1
tools=sqlite3
source "$(dirname "$0")/xvfb.sh"
export SESSION_DIR="$tmp/session"
mkdir "$SESSION_DIR"
waiting="$SESSION_DIR/Velotap.db-waiting"

"$prog" -platform xcb 2>&1 | tee "$tmp/out"
status=${PIPESTATUS[0]}
failed=0
if [ "$status" -ne 137 ]; then
  echo "FAIL: the session ended with status $status instead of its kill"; failed=1
fi
if grep -q '^FAIL!' "$tmp/out"; then failed=1; fi
counted=$(cat "$SESSION_DIR/runs-counted" 2>/dev/null || echo '?')
kept=$(sqlite3 "$SESSION_DIR/Velotap.db" 'select count(*) from runs' 2>&1)
waits=$(grep -c '"run":' "$waiting" 2>/dev/null || echo 0)
if [ "$waits" != 2 ] || [ "$((kept + waits))" != "$counted" ]; then
  echo "FAIL: the record counted $counted runs, the history kept $kept after the kill" \
       "and $waits wait beside it (runs lost that were written after the folder dialog" \
       "and the outside reader, or made while it held the history)"
  failed=1
fi

"$prog" -platform xcb laterStart 2>&1 | tee "$tmp/out2"
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ] || grep -q '^FAIL!' "$tmp/out2"; then
  echo "FAIL: the second start ended with status $status"; failed=1
fi
counted=$(cat "$SESSION_DIR/runs-counted" 2>/dev/null || echo '?')
kept=$(sqlite3 "$SESSION_DIR/Velotap.db" 'select count(*) from runs' 2>&1)
if [ "$kept" != "$counted" ] || [ -e "$waiting" ]; then
  echo "FAIL: after the second start the record counted $counted runs, the history kept $kept"
  failed=1
fi
exit "$failed"
