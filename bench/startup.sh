#!/usr/bin/env bash
# Start-up as the user sees it, timed from outside under Xvfb with a window manager and a session
# bus: exec to the main window mapped, and exec to the text of three Bible windows drawn (a saved
# session of KJV, KJVSN and GR at John 3), each run a fresh process. BibleTime and Xiphos are
# timed the same way when they are installed (the caller's data, never in CI).
#   bench/startup.sh [RUNS] [BIBLE] [STAGE_DIR] [STARTPROBE]
# Prints every run and the medians in milliseconds; "text − splash" takes out the time the splash
# stood (the probe closes it at once, as a user pressing Enter would); the processor time the
# program had used by then varies less than the wall clock on a loaded machine.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-11}
bible=$(realpath "${2:-$root/build/app/bible}")
staged=$(realpath "${3:-$root/build/stage}")
probe=$(realpath "${4:-$root/build/bench/startprobe}")
source "$root/tests/e2e/e2elib.sh"
e2e_init "$@"
[ -x "$probe" ] || e2e_skip "no start-up probe at $probe"
for v in KJV KJVSN GR; do
  [ -e "$staged/$v" ] || e2e_skip "no staged $v in $staged (scripts/stage-data.sh)"
done
e2e_stage "$bible" "" ""
cp -r "$staged/KJV" "$staged/KJVSN" "$staged/GR" "$E2E_STAGE/"
session() {
  e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
    'MDIChildCount=3' \
    '[Bible0]' 'BibleHndl=4' 'Book=54' 'Chapter=3' 'Verse=1' \
    '[Bible1]' 'BibleHndl=5' 'Book=54' 'Chapter=3' 'Verse=1' \
    '[Bible2]' 'BibleHndl=9' 'Book=54' 'Chapter=3' 'Verse=1'
}
e2e_start_display
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_ACCESSIBILITY  # a user's session has no screen reader

median() { sort -n | awk '{v[NR]=$1} END {if (NR) print v[int((NR+1)/2)]; else print "-"}'; }
measure() {  # measure NAME TITLE SETTLE_MS SPLASH_W SPLASH_H COMMAND...: RUNS runs and medians
  local name=$1 title=$2 settle=$3 sw=$4 sh=$5 out i
  shift 5
  : >"$E2E_TMP/$name"
  for ((i = 0; i < runs; i++)); do
    session
    out=$(cd "$E2E_STAGE" && "$probe" "$title" "$settle" "$sw" "$sh" -- "$@" 2>/dev/null)
    echo "$name run $((i + 1)): $out"
    echo "$out" >>"$E2E_TMP/$name"
    sleep 0.3
  done
  local m t s cm ct
  field() { sed -n "s/.*\b$1=\([-0-9.]*\).*/\1/p" "$E2E_TMP/$name" | median; }
  m=$(field mapped_ms) t=$(field text_ms) cm=$(field cpu_mapped_ms) ct=$(field cpu_text_ms)
  s=$(awk '{for (i=1;i<=NF;i++) {split($i,kv,"="); v[kv[1]]=kv[2]}
            if (v["text_ms"] >= 0) print v["text_ms"] - (v["splash_ms"] > 0 ? v["splash_ms"] : 0)}' \
        "$E2E_TMP/$name" | median)
  echo "$name: median of $runs runs: mapped $m ms, text $t ms, text − splash $s ms;" \
    "processor time by then: mapped $cm ms, text $ct ms"
}

measure bible 'Библията' 2500 293 406 ./bible
if command -v bibletime >/dev/null && [ -z "${CI:-}" ]; then
  measure bibletime 'BibleTime' 8000 0 0 bibletime
fi
if command -v xiphos >/dev/null && [ -z "${CI:-}" ]; then
  measure xiphos 'Xiphos' 8000 0 0 xiphos
fi
