#!/usr/bin/env bash
# The staged program's exchange with real outside programs, under Xvfb inside a D-Bus session:
# xclip copies references (every Bible window follows, not with "CheckClipboard" off, and not
# after the program's own "Копирай"); gdbus pokes and requests the items and introspects the
# server; the staged viewer (beacon) is linked through "Прозорец отгоре" and its log shows the
# messages it received.
#   exchange_test.sh BIBLE BEACON E2E_DATA BEG1_WAV HELP_DIR
set -uo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
for tool in xclip gdbus dbus-send; do
  command -v "$tool" >/dev/null || e2e_skip "$tool missing"
done
bible=$1 beacon=$2 data=$3 wav=$4 help=$5
e2e_stage "$bible" "$wav" "$help"
cp "$beacon" "$E2E_STAGE/beacon"
"$data" "$E2E_STAGE/"
e2e_start_display
cd "$E2E_STAGE"

failed() {
  echo "FAIL: $*"
  E2E_FAILS=$((E2E_FAILS + 1))
}

settings() {  # settings CHECKCLIPBOARD VERSION0 VERSION1 BOOK CHAPTER VERSE
  printf '%s\r\n' '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
    "CheckClipboard=$1" 'MDIChildCount=2' \
    '[Bible0]' "BibleHndl=$2" "Book=$4" "Chapter=$5" "Verse=$6" \
    '[Bible1]' "BibleHndl=$3" "Book=$4" "Chapter=$5" "Verse=$6" > bible.ini
}
value() { e2e_ini "$@"; }
expect_place() {  # expect_place WHAT BOOK CHAPTER VERSE: both windows saved there
  for k in 0 1; do
    local got
    got="$(value Bible$k Book) $(value Bible$k Chapter) $(value Bible$k Verse)"
    [ "$got" = "$2 $3 $4" ] || failed "$1: window $k at '$got', expected '$2 $3 $4'"
  done
}

start_program() {
  e2e_start_program
  win=$E2E_MAIN
  pid=$E2E_PROGRAM_PID
}
click() {  # click X Y [BUTTON]: in the main window's client area
  xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}"
  sleep 0.3
}
stop_program() {
  e2e_quit_program || failed "the program did not close"
}
copy() {
  printf '%s' "$1" | xclip -selection clipboard
  sleep 1
}
conv() {  # conv METHOD ARGS...: a call to the program's exchange server
  local method=$1
  shift
  gdbus call --session --dest dde.bible --object-path /DdeServerConv1 --method "dde.Conversation.$method" "$@"
}

# ---- Clipboard: English, then the program's own copy ----
settings 1 4 0 1 1 1
start_program
copy "John 3:16"
e2e_shot clipboard
# The program's own "Копирай": a click selects the short book name "Jn" that begins a verse of the
# active (right) window, the popup's first item copies it; the windows stay at 3:16 rather than
# going to John 1:1.
click 611 112
click 611 112 3
sleep 0.3
xdotool key Down Return
sleep 1
own=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$own" = "Jn" ] || failed "the program's own copy put '$own' on the clipboard"
e2e_shot own-copy
stop_program
expect_place "xclip John 3:16, then Копирай" 54 3 16

# ---- Clipboard watching off ----
settings 0 4 0 1 1 1
start_program
copy "John 3:16"
stop_program
expect_place "CheckClipboard off" 1 1 1

# ---- Clipboard: a Bulgarian reference with the Bulgarian window active ----
settings 1 0 4 1 1 1
start_program
copy "Йоан 3:16"
stop_program
expect_place "xclip Йоан 3:16" 54 3 16

# ---- References in the other language; a text that begins with a word naming no book ----
settings 1 4 0 22 2 5
start_program
copy "Йоан 3:16"
copy "Table 1:2"
conv Poke SetBook "Table 1:3" >/dev/null || failed "poke SetBook Table"
verse=$(conv Request SetVerse || true)
grep -q "^('16 For God so loved" <<<"$verse" || failed "after Йоан 3:16 and two texts naming no book SetVerse is $verse"
conv Poke SetBook "Йн 3:5" >/dev/null || failed "poke SetBook Йн"
verse=$(conv Request SetVerse || true)
grep -q "^('5 " <<<"$verse" || failed "SetBook Йн 3:5 gave SetVerse $verse"
stop_program
expect_place "xclip Йоан 3:16, Table 1:2; gdbus Table 1:3, Йн 3:5" 54 3 5

# ---- The exchange server through gdbus ----
settings 1 4 0 1 1 1
start_program
intro=$(gdbus introspect --session --dest dde.bible --object-path /DdeServerConv1 2>&1 || true)
for want in "interface dde.Conversation" "Poke(in  s item," "Request(in  s item," "Execute(in  s command)" "Advise(s item,"; do
  grep -qF "$want" <<<"$intro" || failed "introspection lacks '$want': $intro"
done
conv Poke SetBook "John 1:5" >/dev/null || failed "poke SetBook"
verse=$(conv Request SetVerse || true)
grep -q "5 Jn 1:5" <<<"$verse" || failed "SetVerse after SetBook is $verse"
conv Poke SetChapter 999 >/dev/null || failed "poke SetChapter"
verse=$(conv Request SetVerse || true)
grep -q "5 Jn 1:5" <<<"$verse" || failed "SetChapter changed SetVerse to $verse"
# Bad input: errors, and nothing moves.
conv Poke NoSuchItem 1 >/dev/null 2>&1 && failed "an unknown item was taken"
conv Poke SetBook "$(head -c 200000 /dev/zero | tr '\0' 7)" >/dev/null 2>&1 && failed "a 200 000 character poke was taken"
dbus-send --session --print-reply --dest=dde.bible /DdeServerConv1 dde.Conversation.Poke \
  string:SetChapter string:-99999999999999999999 >/dev/null || failed "a negative chapter got an error"
conv Poke SetChapter 999 >/dev/null
timeout 0.05 gdbus call --session --dest dde.bible --object-path /DdeServerConv1 \
  --method dde.Conversation.Request SetVerse >/dev/null 2>&1 || true  # a client gone mid-call
senders=()
for k in $(seq 1 100); do
  dbus-send --session --type=method_call --dest=dde.bible /DdeServerConv1 dde.Conversation.Poke \
    string:SetVerse "string:$((k % 7))" &
  senders+=($!)
done
wait "${senders[@]}" 2>/dev/null || true
conv Poke SetVerse 5 >/dev/null
verse=$(conv Request SetVerse || true)
grep -q "5 Jn 3:5" <<<"$verse" || failed "after the burst SetVerse is $verse"
kill -0 "$pid" || failed "the program did not survive the bad pokes"
stop_program
expect_place "gdbus SetBook John 1:5, SetChapter 999" 54 3 5

# ---- The on-top viewer ----
settings 1 4 0 54 3 16
./beacon --log beacon.log >>out.txt 2>&1 &
beacon=$!
E2E_PIDS+=($beacon)
for _ in $(seq 1 50); do
  gdbus introspect --session --dest dde.Beacon --object-path /DdeServerConv1 >/dev/null 2>&1 && break
  sleep 0.1
done
start_program
click 30 9  # "&Отвори", then its items: the three versions, "Прозорец отгоре"
sleep 0.5
xdotool key Down Down Down Down Return
sleep 1
received() { cut -f2 beacon.log | paste -sd' '; }
text="SetCaption SetFont SetFontSize SetFontCharSet SetText"
[ "$(received)" = "$text GoToPos GoToPos" ] || failed "on linking the viewer received: $(received)"
: > beacon.log
conv Poke SetVerse 17 >/dev/null
sleep 1
[ "$(received)" = "GoToPos GoToPos" ] || failed "a changed verse sent: $(received)"
: > beacon.log
conv Poke SetChapter 2 >/dev/null
sleep 1
[ "$(received)" = "$text GoToPos GoToPos" ] || failed "a changed chapter sent: $(received)"
grep -q $'^Poke\tSetCaption\tKing James Version$' beacon.log || failed "caption: $(head -1 beacon.log)"
conv Poke SetChapter 3 >/dev/null
conv Poke SetVerse 16 >/dev/null
sleep 1
# The main window comes forward; the viewer stays above it.
xdotool windowactivate "$win" 2>/dev/null || true
sleep 1
e2e_shot viewer
kill "$beacon"
sleep 1
: > beacon.log
conv Poke SetVerse 3 >/dev/null
sleep 0.5
[ ! -s beacon.log ] || failed "messages went to a viewer that quit"
stop_program
e2e_finish
