#!/usr/bin/env bash
# How long a screen reader waits for the program after a search with a large result: the staged
# program with the KJV, "the" searched (about 24 000 verses), then each of these AT-SPI queries
# timed as whole client processes, RUNS times each; prints the median of each in milliseconds.
#   names        every accessible name of the windows (a walk of the whole tree)
#   description  the found list's description (its count and current line)
#   count        the found list's children (the lines a reader is offered)
#   bench/atspi_found_list.sh BIBLE STAGE_DIR [RUNS]   (STAGE_DIR: build/stage, staged data)
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/e2elib.sh"
e2e_init "$@"
bible=$1 staged=$2 runs=${3:-5}
[ -f "$staged/KJV/BibleTitles.txt" ] || e2e_skip "no staged KJV in $staged"
e2e_has_atspi || e2e_skip "no accessibility client"

e2e_stage "$bible" "" ""
cp -r "$staged/KJV" "$E2E_STAGE/"
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=1' '[Bible0]' 'BibleHndl=4' 'Book=1' 'Chapter=1' 'Verse=1'
e2e_start_display
e2e_start_program
e2e_click 60 96
e2e_key ctrl+a
e2e_type "the"
e2e_key Return
sleep 3
echo "found: $(e2e_atspi description "Намерени стихове" 2>/dev/null | cut -d, -f1)"

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
for query in names description count; do
  for _ in $(seq 1 "$runs"); do
    start=$(date +%s%N)
    if [ "$query" = names ]; then
      e2e_atspi names >/dev/null 2>&1 || true
    else
      e2e_atspi "$query" "Намерени стихове" >/dev/null 2>&1 || true
    fi
    echo $((($(date +%s%N) - start) / 1000000))
  done | median | sed "s/^/$query: median ms /"
done
e2e_quit_program || true
e2e_finish
