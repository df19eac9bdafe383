#!/usr/bin/env bash
# The main window as a user meets it, read back through the accessibility bus: a reference typed
# into the book box shows its verse; the controls are found by name; the current verse and the
# heading stay in view; a version lacking the shown book opens at its own nearest place and moves
# nothing else; Ctrl+F4 closes windows and a window opened after the last one is tiled; captions
# are the windows' own and dialogs cannot be maximised.
#   mainwindow_test.sh BIBLE E2E_DATA BEG1_WAV HELP_DIR
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 data=$2 wav=$3 help=$4
e2e_has_atspi || e2e_skip "python3-pyatspi missing"

e2e_stage "$bible" "$wav" "$help"
"$data" "$E2E_STAGE/"
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=1' '[Bible0]' 'BibleHndl=4' 'Book=1' 'Chapter=1' 'Verse=1'
e2e_start_display
e2e_start_program

KJV="King James Version"
GREEK="Гръцки Нов завет"
BOOK="Книга от Библията"

# A reference typed into the book box, as a keyboard delivers it, and Enter.
go() {
  e2e_click_name "$BOOK"
  e2e_key ctrl+a
  e2e_type "$1"
  e2e_key Return
  sleep 0.3
}

# Captions are the windows' own.
e2e_expect "the main window's caption" "$(xdotool getwindowname "$E2E_MAIN")" "Библията"

# Every control of the main window has a name; the panel's controls are found by theirs.
e2e_atspi wait "$BOOK" 10 || true
unnamed=$(e2e_atspi --window "Библията" unnamed || true)
e2e_expect "controls without a name" "$unnamed" ""
for name in "$BOOK" "Глава на книгата" "Номер на стиха" "Списък на думите" "Намерени стихове" \
  "Резултат от търсенето" "Отваряни стихове" "$KJV"; do
  e2e_atspi wait "$name" 2 >/dev/null 2>&1 || e2e_expect "a control named '$name'" missing present
done

# The end-to-end run: a typed reference, the verse read back from the window's text.
go "John 3:16"
e2e_expect "the book box" "$(e2e_atspi text "$BOOK")" "John"
e2e_expect "the verse box" "$(e2e_atspi text "Номер на стиха")" "16"
e2e_expect_match "the shown verse" "$(e2e_atspi line "$KJV")" "^16 For God so loved the world"
go "2:5"
e2e_expect_match "a chapter and verse without a book" "$(e2e_atspi line "$KJV")" "^5 Jn 2:5 "
e2e_shot typed

# The word box, the found verses and the status text.
e2e_click_name "Списък на думите"
e2e_type "love"
e2e_key Return
sleep 0.5
e2e_expect_match "the status text" "$(e2e_atspi text "Резултат от търсенето")" "love"
found=$(e2e_atspi count "Намерени стихове")
[ "$found" -gt 0 ] || e2e_expect "found verses" "$found" "more than 0"

# Verse 1 brings the chapter heading into view; the current verse stays in view after resizing.
go "John 1:51"
e2e_expect "verse 51 in view" "$(e2e_atspi inview "$KJV" caret)" "yes"
go "1:1"
e2e_expect "the heading in view at verse 1" "$(e2e_atspi inview "$KJV" line:0)" "yes"
go "1:40"
xdotool windowsize "$E2E_MAIN" 640 400
sleep 1
e2e_expect "verse 40 in view after the frame shrank" "$(e2e_atspi inview "$KJV" caret)" "yes"
e2e_shot small
xdotool windowsize "$E2E_MAIN" 1000 700
sleep 1
e2e_expect "verse 40 in view after the frame grew" "$(e2e_atspi inview "$KJV" caret)" "yes"

# The Greek New Testament has no Psalms: it opens at its first book after them, beside the
# English window, which keeps its place and the controls.
go "Psalms 2:3"
e2e_click_name "Отвори"
e2e_click_name "$GREEK"
sleep 0.5
e2e_expect "the book box after opening" "$(e2e_atspi text "$BOOK")" "Psalms"
e2e_expect "the chapter box after opening" "$(e2e_atspi text "Глава на книгата")" "2"
e2e_expect "the verse box after opening" "$(e2e_atspi text "Номер на стиха")" "3"
e2e_expect_match "the English window" "$(e2e_atspi line "$KJV")" "^3 Ps 2:3 "
e2e_expect_match "the Greek window's heading" "$(e2e_atspi text "$GREEK" | head -n 1)" "Матей"
e2e_shot greek

# Ctrl+F4 closes the active window, then the other; one opened then fills the windows' area.
e2e_key ctrl+F4
e2e_key ctrl+F4
sleep 0.5
if e2e_atspi wait "$KJV" 1 >/dev/null 2>&1 || e2e_atspi wait "$GREEK" 1 >/dev/null 2>&1; then
  e2e_expect "windows after two Ctrl+F4" open closed
fi
e2e_click_name "Отвори"
e2e_click_name "$KJV"
sleep 0.8
read -r fx fy fw fh <<<"$(e2e_atspi extents "Библията")"
read -r vx vy vw vh <<<"$(e2e_atspi extents "$KJV")"
if [ $((vx + vw)) -gt $((fx + fw)) ] || [ $((vy + vh)) -gt $((fy + fh)) ]; then
  e2e_expect "the reopened window's text ($vx $vy $vw $vh) inside the frame ($fx $fy $fw $fh)" \
    outside inside
fi
e2e_shot reopened

# The options dialog: its own caption and no maximise function for the window manager.
e2e_click_name "Настройка"
dialog=$(e2e_wait_title '^Настройка' 10 || true)
if [ -n "$dialog" ]; then
  e2e_expect "the options dialog's caption" "$(xdotool getwindowname "$dialog")" "Настройка"
  # What the window manager allows for it, after reading the window's hints.
  sleep 0.5
  allowed=$(xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS)
  maximise=0
  [[ "$allowed" == *MAXIMIZE* ]] && maximise=1
  e2e_expect "maximising the options dialog ($allowed)" "$maximise" 0
  e2e_expect "controls of the options dialog without a name" \
    "$(e2e_atspi --window "Настройка" unnamed || true)" ""
  e2e_shot options
  e2e_key Escape
else
  e2e_expect "the options dialog" missing open
fi

# The book box's drop-down, for a look at the names.
e2e_click_name "$BOOK"
e2e_key alt+Down
sleep 0.5
e2e_shot books
e2e_key Escape

e2e_quit_program
e2e_finish
