#!/usr/bin/env bash
# A new user's first start of the staged program shows the King James Version and the Greek New
# Testament side by side at John 1:1; an existing settings file is never replaced, and the
# program itself opens no window with an empty one.
#   first_start_test.sh BIBLE E2E_DATA BEG1_WAV HELP_DIR FIRST_SETTINGS_SCRIPT
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 data=$2 wav=$3 help=$4 first=$5
e2e_has_atspi || e2e_skip "python3-pyatspi missing"

e2e_stage "$bible" "$wav" "$help"
"$data" "$E2E_STAGE/"
bash "$first" "$E2E_STAGE"
[ -f "$E2E_STAGE/bible.ini" ] || { echo "FAIL: no first settings file"; exit 1; }
printf '%s\r\n' '[MainWindow]' 'PlaySound=0' >>"$E2E_STAGE/bible.ini"
e2e_expect "the dictionary at the first start" "$(e2e_ini MainWindow IsDicVizible)" 0
e2e_start_display

e2e_start_program
e2e_atspi wait "King James Version" 10 || e2e_expect "the English window" missing open
e2e_atspi wait "Гръцки Нов завет" 5 || e2e_expect "the Greek window" missing open
e2e_expect "the book box" "$(e2e_atspi text "Книга от Библията")" "John"
e2e_expect_match "the English verse" "$(e2e_atspi line "King James Version")" "^1 Jn 1:1 "
e2e_expect_match "the Greek verse" "$(e2e_atspi line "Гръцки Нов завет")" "^1 εν αρχη ην ο λογος"
e2e_shot first
e2e_quit_program

# The program wrote its settings; staging again keeps them.
cp "$E2E_STAGE/bible.ini" "$E2E_TMP/saved.ini"
bash "$first" "$E2E_STAGE"
cmp -s "$E2E_STAGE/bible.ini" "$E2E_TMP/saved.ini" || e2e_expect "the settings after staging again" replaced kept

# An empty settings file is the program's own first start: an empty frame, no window.
: >"$E2E_STAGE/bible.ini"
bash "$first" "$E2E_STAGE"
[ -s "$E2E_STAGE/bible.ini" ] && e2e_expect "an empty settings file after staging" filled empty
e2e_start_program
if e2e_atspi wait "King James Version" 2 >/dev/null 2>&1; then
  e2e_expect "a window with an empty settings file" open none
fi
e2e_shot empty
e2e_quit_program
e2e_finish
