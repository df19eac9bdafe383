#!/usr/bin/env bash
# The staged program's exchange with real outside programs, under Xvfb inside a D-Bus session:
# xclip copies references (every Bible window follows, not with "CheckClipboard" off, and not
# after the program's own "Копирай"); gdbus pokes and requests the items and introspects the
# server; the staged viewer (beacon) is linked through "Прозорец отгоре" and its log shows the
# messages it received.
#   exchange_test.sh BIBLE BEACON E2E_DATA BEG1_WAV HELP_DIR
set -euo pipefail
unset QT_QPA_PLATFORM
if [ "${1:-}" != "--inside" ]; then
  for tool in xvfb-run xdotool dbus-run-session xclip gdbus import; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
  done
  stage=$(mktemp -d /tmp/bible-exchange-XXXXXX)
  trap 'rm -rf "$stage"' EXIT
  "$3" "$stage/"
  cp "$1" "$stage/bible"
  cp "$2" "$stage/beacon"
  [ -f "$4" ] && cp "$4" "$stage/Beg1.wav"
  cp -r "$5" "$stage/help"
  set +e
  dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside "$stage"
  rc=$?
  if [ -n "${BIBLE_E2E_SHOTS:-}" ]; then cp "$stage"/*.png "$BIBLE_E2E_SHOTS/" 2>/dev/null; fi
  exit $rc
fi

stage=$2
cd "$stage"
fail=0
failed() { echo "FAIL: $*"; fail=1; }

settings() {  # settings CHECKCLIPBOARD VERSION0 VERSION1 BOOK CHAPTER VERSE
  printf '%s\r\n' '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
    "CheckClipboard=$1" 'MDIChildCount=2' \
    '[Bible0]' "BibleHndl=$2" "Book=$4" "Chapter=$5" "Verse=$6" \
    '[Bible1]' "BibleHndl=$3" "Book=$4" "Chapter=$5" "Verse=$6" > bible.ini
}
value() {  # value SECTION KEY
  awk -v s="[$1]" -v k="$2" 'BEGIN{FS="="} {sub(/\r$/,"")} $0==s{f=1;next} /^\[/{f=0} f&&$1==k{print $2}' bible.ini
}
expect_place() {  # expect_place WHAT BOOK CHAPTER VERSE: both windows saved there
  for k in 0 1; do
    local got
    got="$(value Bible$k Book) $(value Bible$k Chapter) $(value Bible$k Verse)"
    [ "$got" = "$2 $3 $4" ] || failed "$1: window $k at '$got', expected '$2 $3 $4'"
  done
}

pid=
win=
start_program() {
  ./bible >>out.txt 2>&1 &
  pid=$!
  win=
  for _ in $(seq 1 100); do
    win=$(xdotool search --name '^Библията$' 2>/dev/null | head -1) && [ -n "$win" ] && break
    sleep 0.1
  done
  sleep 1.5
  xdotool key Return  # the splash
  sleep 1.5
}
click() {  # click X Y [BUTTON]: in the main window's client area
  xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}"
}
stop_program() {
  click 30 9  # "&Отвори"
  sleep 0.5
  xdotool key x  # "E&xit"
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    failed "the program did not close"
  fi
  wait "$pid" || failed "the program ended with an error"
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
import -window root clipboard.png
# The program's own "Копирай": a click selects the word "John" of the active window's heading,
# the popup's first item copies it; the windows stay at 3:16 rather than going to John 1:1.
click "${HEADING_X:-615}" "${HEADING_Y:-62}"
sleep 0.3
click "${HEADING_X:-615}" "${HEADING_Y:-62}" 3
sleep 0.5
xdotool key Down Return
sleep 1
own=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$own" = "John" ] || failed "the program's own copy put '$own' on the clipboard"
import -window root own-copy.png
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
conv Poke SetChapter "-99999999999999999999" >/dev/null || failed "a negative chapter got an error"
conv Poke SetChapter 999 >/dev/null
timeout 0.05 gdbus call --session --dest dde.bible --object-path /DdeServerConv1 \
  --method dde.Conversation.Request SetVerse >/dev/null 2>&1 || true  # a client gone mid-call
for k in $(seq 1 100); do
  dbus-send --session --type=method_call --dest=dde.bible /DdeServerConv1 dde.Conversation.Poke \
    string:SetVerse "string:$((k % 7))" &
done
wait $(jobs -p | grep -v "^$pid$") 2>/dev/null || true
conv Poke SetVerse 5 >/dev/null
verse=$(conv Request SetVerse || true)
grep -q "5 Jn 3:5" <<<"$verse" || failed "after the burst SetVerse is $verse"
kill -0 "$pid" || failed "the program did not survive the bad pokes"
stop_program
expect_place "gdbus SetBook John 1:5, SetChapter 999" 54 3 5

# ---- The on-top viewer ----
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi
settings 1 4 0 54 3 16
./beacon --log beacon.log >>out.txt 2>&1 &
beacon=$!
for _ in $(seq 1 50); do
  gdbus introspect --session --dest dde.Beacon --object-path /DdeServerConv1 >/dev/null 2>&1 && break
  sleep 0.1
done
start_program
click 30 9  # "&Отвори", then its items: the two versions, "Прозорец отгоре"
sleep 0.5
xdotool key Down Down Down Return
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
import -window root viewer.png
kill "$beacon"
sleep 1
: > beacon.log
conv Poke SetVerse 3 >/dev/null
sleep 0.5
[ ! -s beacon.log ] || failed "messages went to a viewer that quit"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ -n "${wm:-}" ] && kill "$wm" 2>/dev/null

if [ "$fail" -ne 0 ]; then
  echo "--- program output"
  cat out.txt
fi
[ "$fail" -eq 0 ] && echo "PASS"
exit $fail
