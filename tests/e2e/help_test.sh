#!/usr/bin/env bash
# Help as a user meets it: F1 in the book box shows the book box's page in front of the program,
# and the help button of the options dialog shows the dialog's page in front of the dialog, usable
# while the dialog stays open and usable too.
#   help_test.sh BIBLE E2E_DATA BEG1_WAV HELP_DIR
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 data=$2 wav=$3 help=$4
e2e_has_atspi || e2e_skip "python3-pyatspi missing"

e2e_stage "$bible" "$wav" "$help"
"$data" "$E2E_STAGE/"
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=1' '[Bible0]' 'BibleHndl=4' 'Book=54' 'Chapter=1' 'Verse=3'
e2e_start_display
e2e_start_program

# The window on top of the stacking order and the window with the keyboard, by title.
top_title() {
  local top
  top=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr ',' '\n' | tail -n 1 | tr -d ' ')
  xdotool getwindowname "$((top))"
}
active_title() { xdotool getactivewindow getwindowname 2>/dev/null || true; }

# F1 in the book box.
e2e_atspi wait "Книга от Библията" 10 || true
e2e_click_name "Книга от Библията"
e2e_key F1
page=$(e2e_wait_title '^Книга от Библията — помощ$' 10 || true)
if [ -n "$page" ]; then
  sleep 0.5
  e2e_expect "the window in front after F1" "$(top_title)" "Книга от Библията — помощ"
  e2e_expect "the window with the keyboard after F1" "$(active_title)" "Книга от Библията — помощ"
  e2e_expect_match "the help text" "$(e2e_atspi --window 'Книга от Библията — помощ' text 'Помощ')" \
    "Напишете началото на името на книгата"
  e2e_shot f1-book
  e2e_key alt+F4
  e2e_wait_gone "$page" 5 || e2e_expect "the help window after Alt+F4" open closed
else
  e2e_expect "the book box's help page" missing shown
fi

# The help button of the options dialog.
e2e_click_name "Настройка"
dialog=$(e2e_wait_title '^Настройка$' 10 || true)
if [ -n "$dialog" ]; then
  e2e_click_name "Помощ" --window "Настройка"
  page=$(e2e_wait_title '^Настройка — Външен вид$' 10 || true)
  if [ -n "$page" ]; then
    sleep 0.5
    e2e_expect "the window in front of the dialog" "$(top_title)" "Настройка — Външен вид"
    e2e_expect "the window with the keyboard" "$(active_title)" "Настройка — Външен вид"
    e2e_shot options-help
    # The help window takes keys while the dialog is open: a link followed with the keyboard.
    e2e_click_name "Помощ" --window "Настройка — Външен вид"
    e2e_key ctrl+End
    e2e_expect_match "the focused control in the help window" \
      "$(e2e_atspi --window 'Настройка — Външен вид' focused || true)" "Помощ"
    # The dialog takes input as well: its second page, then its own help button again.
    xdotool windowactivate --sync "$dialog" 2>/dev/null || true
    e2e_click_name "Други настройки" --window "Настройка"
    e2e_click_name "Помощ" --window "Настройка"
    e2e_wait_title '^Настройка — Други настройки$' 10 >/dev/null ||
      e2e_expect "the second page's help" missing shown
    sleep 0.5
    e2e_expect "the window in front after the second page's help" "$(top_title)" \
      "Настройка — Други настройки"
    e2e_shot options2-help
  else
    e2e_expect "the options dialog's help page" missing shown
  fi
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  e2e_click_name "Отказ" --window "Настройка"
  e2e_wait_gone "$dialog" 5 || e2e_expect "the options dialog after Отказ" open closed
else
  e2e_expect "the options dialog" missing open
fi
e2e_quit_program
e2e_finish
