#!/usr/bin/env bash
# The staged program restores the windows of the last run in order, with the right one active,
# follows the navigation keys, writes everything back at exit, and a second start restores it.
#   reopen_test.sh BIBLE E2E_DATA BEG1_WAV HELP_DIR
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 data=$2 wav=$3 help=$4

e2e_stage "$bible" "$wav" "$help"
"$data" "$E2E_STAGE/"
# Three windows: the Greek New Testament was active (Bible0), then the Bulgarian and the English.
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=3' \
  '[Bible0]' 'BibleHndl=9' 'Book=54' 'Chapter=1' 'Verse=3' \
  '[Bible1]' 'BibleHndl=0' 'Book=54' 'Chapter=1' 'Verse=3' \
  '[Bible2]' 'BibleHndl=4' 'Book=54' 'Chapter=1' 'Verse=3'
e2e_start_display

# One session of the program: start, close the splash, run the given keys, exit.
session() {  # session KEYS SHOT
  e2e_start_program
  if [ -n "$1" ]; then
    # Into the text of the active window (created last, so tiled rightmost), then the keys.
    e2e_click 880 420
    # shellcheck disable=SC2086
    e2e_key $1
    sleep 0.5
  fi
  e2e_shot "$2"
  e2e_quit_program
}

session "Down Down" first
e2e_expect "[MainWindow] MDIChildCount" "$(e2e_ini MainWindow MDIChildCount)" 3
# The active window is saved first again; every version's window followed the two steps.
e2e_expect "[Bible0] BibleHndl" "$(e2e_ini Bible0 BibleHndl)" 9
e2e_expect "[Bible1] BibleHndl" "$(e2e_ini Bible1 BibleHndl)" 0
e2e_expect "[Bible2] BibleHndl" "$(e2e_ini Bible2 BibleHndl)" 4
for k in 0 1 2; do
  e2e_expect "[Bible$k] Book" "$(e2e_ini Bible$k Book)" 54
  e2e_expect "[Bible$k] Chapter" "$(e2e_ini Bible$k Chapter)" 1
  e2e_expect "[Bible$k] Verse" "$(e2e_ini Bible$k Verse)" 5
done
e2e_expect "[MainWindow] Width" "$(e2e_ini MainWindow Width)" 1000
e2e_expect "[MainWindow] PlaySound" "$(e2e_ini MainWindow PlaySound)" 0
[ -f "$E2E_STAGE/GR/VerseHistory.txt" ] || e2e_expect "verse history of the Greek version" missing present

cp "$E2E_STAGE/bible.ini" "$E2E_TMP/after-first.ini"
session "" second
# A start without any move restores the same windows and saves the same places.
for k in 0 1 2; do
  for key in BibleHndl Book Chapter Verse; do
    before=$(awk -v s="[Bible$k]" -v k="$key" 'BEGIN{FS="="} {sub(/\r$/,"")} $0==s{f=1;next} /^\[/{f=0} f&&$1==k{print $2}' \
      "$E2E_TMP/after-first.ini")
    e2e_expect "[Bible$k] $key after the second run" "$(e2e_ini Bible$k $key)" "$before"
  done
done
e2e_finish
