#!/usr/bin/env bash
# The staged program as a user with a real keyboard drives it: a word typed into the word box and
# Enter fill the found list, "Копирай списъка" from the list's menu puts the reference list on the
# clipboard (read back with xclip); a reference typed into the book box with Enter moves the
# window, and a book name's beginning with a space is completed. The toggle "всички форми" searches
# the word again with all its forms.
#   search_test.sh BIBLE E2E_DATA BEG1_WAV HELP_DIR
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 data=$2 wav=$3 help=$4
command -v xclip >/dev/null || e2e_skip "xclip missing"

e2e_stage "$bible" "$wav" "$help"
"$data" "$E2E_STAGE/"
# One English window at Genesis 1:1; the frame at the top left of the screen.
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=1' '[Bible0]' 'BibleHndl=4' 'Book=1' 'Chapter=1' 'Verse=1'
e2e_start_display
e2e_start_program

# The control panel on the left: the book box on top, the word box under the spin edits, the
# found list under the word list.
book_box=(60 34) word_box=(60 96) found_list=(78 300)

e2e_click "${word_box[@]}"
e2e_key ctrl+a
e2e_type "love"
e2e_key Return
e2e_shot found
# The list's own menu, first item "Копирай списъка".
e2e_click "${found_list[@]}" 3
e2e_key Down Return
sleep 0.5
copied=$(xclip -o -selection clipboard 2>/dev/null || true)
e2e_expect_match "copied reference list" "$copied" '^love \| [0-9]+: Genesis 1:3,[0-9,]+(, [0-9]+:[0-9,]+)*; Psalms [0-9]+:'
e2e_expect_match "copied reference list" "$copied" '; John [0-9]+:[0-9,]+'
# A screen reader reads the count and the current line from the found list, whose children are
# only the lines in view.
if e2e_has_atspi; then
  found=$(grep -o '^love | [0-9]*' <<<"$copied" | grep -o '[0-9]*$')
  e2e_expect "found list description" "$(e2e_atspi description "Намерени стихове")" \
    "$found стиха, текущ 1: Genesis 1:3"
  rows=$(e2e_atspi count "Намерени стихове")
  [ "$rows" -ge 1 ] && [ "$rows" -le "$found" ] && [ "$rows" -le 30 ] ||
    e2e_expect "found list children" "$rows" "the lines in view"
fi

# "всички форми" under the found list: the word is searched again with every form of it, the
# forms are named under the toggle and counted in the status text; the setting outlives the run.
exact=$(e2e_atspi count "Намерени стихове")
e2e_click_name "Търси всички форми на думата"
sleep 0.5
e2e_expect_match "status with all forms" "$(e2e_atspi text "Резултат от търсенето")" \
  '^love \([0-9]+ форми\) \| [0-9]+$'
e2e_expect_match "forms found" "$(e2e_atspi text "Намерени форми")" '^Форми: love, loved'
forms=$(e2e_atspi count "Намерени стихове")
[ "$forms" -gt "$exact" ] || e2e_expect "verses found with all forms" "$forms" "more than $exact"
e2e_shot forms

e2e_click "${book_box[@]}"
e2e_key ctrl+a
e2e_type "Joh"
e2e_key space
e2e_type "3:16"
e2e_key Return
e2e_shot john
e2e_click "${book_box[@]}"
e2e_key ctrl+a
e2e_type "2:5"
e2e_key Return
e2e_click "${book_box[@]}"
e2e_key ctrl+a
e2e_type "Psa"
e2e_key space
e2e_type "3:4"
e2e_key Return
e2e_shot psalms
e2e_quit_program

e2e_expect "[MainWindow] AllForms" "$(e2e_ini MainWindow AllForms)" 1
# The window's place is saved at exit; the places shown on the way are in the verse history.
e2e_expect "[Bible0] Book" "$(e2e_ini Bible0 Book)" 22
e2e_expect "[Bible0] Chapter" "$(e2e_ini Bible0 Chapter)" 3
e2e_expect "[Bible0] Verse" "$(e2e_ini Bible0 Verse)" 4
history=$(tr -d '\r' <"$E2E_STAGE/KJV/VerseHistory.txt" 2>/dev/null || true)
for place in "John 3:16" "John 2:5" "Psalms 3:4"; do
  grep -q "$place" <<<"$history" || e2e_expect "verse history entry" missing "$place"
done
e2e_finish
