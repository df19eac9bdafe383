#!/usr/bin/env bash
# The staged program with the staged dictionaries and illustrations, as a user drives it: the
# dictionary opened from the menu, a word typed into its word box (the dictionary that holds it
# is chosen by itself), the word's illustrations cycled with the tool bar button, a click on a
# KJV word and "Речник" from the Bible window's menu.
#   dictionary_test.sh BIBLE BEG1_WAV HELP_DIR STAGE_DIR
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 wav=$2 help=$3 staged=$4
[ -f "$staged/Dictionaries/EngBul.ind" ] && [ -f "$staged/Pictures/DicPictures.txt" ] &&
  [ -f "$staged/KJV/BibleTitles.txt" ] || e2e_skip "no staged dictionaries and pictures in $staged"
e2e_has_atspi || e2e_skip "no accessibility client"

e2e_stage "$bible" "$wav" "$help"
cp -r "$staged/KJV" "$staged/Dictionaries" "$staged/Pictures" "$E2E_STAGE/"
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=900' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=1' '[Bible0]' 'BibleHndl=4' 'Book=1' 'Chapter=1' 'Verse=1' \
  '[DicForm]' 'Left=420' 'Top=120' 'Width=560' 'Height=360' 'PanelWidth=150'
e2e_start_display
e2e_start_program

e2e_click_name "Отвори"
e2e_click_name "Речник"
e2e_wait_title '^Речник$' 15 >/dev/null || e2e_expect "dictionary window" missing shown
# The word box is the top of the dictionary's word list (the main window has one of that name too).
box=($(e2e_atspi --window "Речник" extents "Списък на думите"))
word_box=($((box[0] + 30)) $((box[1] + 14)))
e2e_click "${word_box[@]}"
e2e_key ctrl+a
e2e_type "dove"
e2e_key Return
e2e_wait_title '^English-Bulgarian' 10 >/dev/null ||
  e2e_expect "dictionary of the word dove" "$(xdotool getactivewindow getwindowname)" English-Bulgarian
article=$(e2e_atspi text "Обяснение" | tr -d '\r' || true)
e2e_expect_match "article of dove" "$article" '^dove гълъб'
e2e_click_name "Илюстрация"
e2e_wait_title '^dove$' 10 >/dev/null || e2e_expect "picture window" missing shown
e2e_shot dove

# A Strong's number typed switches to the Strong's dictionary; a Greek transliteration to
# Abbott-Smith; a Nave's topic the first dictionary lacks to Nave's.
for pair in "G2316:^Strong's Greek" "H430:^Strongs? .*Hebrew" "theos:^Abbott-Smith" "elohim:." ; do
  word=${pair%%:*} title=${pair#*:}
  e2e_click "${word_box[@]}"
  e2e_key ctrl+a
  e2e_type "$word"
  sleep 0.5
  e2e_wait_title "$title" 10 >/dev/null || e2e_expect "dictionary of $word" "$(xdotool getactivewindow getwindowname)" "$title"
done
e2e_shot switched
e2e_quit_program
e2e_expect "[MainWindow] IsDicVizible" "$(e2e_ini MainWindow IsDicVizible)" 1
e2e_finish
