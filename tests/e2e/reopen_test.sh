#!/usr/bin/env bash
# The staged program restores the windows of the last run in order, with the right one active,
# follows the navigation keys, writes everything back at exit, and a second start restores it.
#   reopen_test.sh BIBLE E2E_DATA BEG1_WAV HELP_DIR
set -euo pipefail
# The program must show real windows on the X server, whatever the caller's platform setting.
unset QT_QPA_PLATFORM
bible=$1 data=$2 wav=$3 help=$4
for tool in xvfb-run xdotool dbus-run-session import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

stage=$(mktemp -d /tmp/bible-e2e-XXXXXX)
trap 'rm -rf "$stage"' EXIT
"$data" "$stage/"
cp "$bible" "$stage/bible"
[ -f "$wav" ] && cp "$wav" "$stage/Beg1.wav"
cp -r "$help" "$stage/help"
# Three windows: the Greek New Testament was active (Bible0), then the Bulgarian and the English.
printf '%s\r\n' '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=3' \
  '[Bible0]' 'BibleHndl=9' 'Book=54' 'Chapter=1' 'Verse=3' \
  '[Bible1]' 'BibleHndl=0' 'Book=54' 'Chapter=1' 'Verse=3' \
  '[Bible2]' 'BibleHndl=4' 'Book=54' 'Chapter=1' 'Verse=3' > "$stage/bible.ini"

# One session of the program: start, close the splash, run the given keys, exit from the menu.
cat > "$stage/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -u
cd "$1"
keys=$2
shot=$3
./bible >"$1/out.txt" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  xdotool search --name 'Библията' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1.5
xdotool key Return          # the splash
sleep 1.5
if [ -n "$keys" ]; then
  # Into the text of the active window (created last, so tiled rightmost), then the keys.
  xdotool mousemove 880 420 click 1
  sleep 0.3
  xdotool key $keys
  sleep 0.8
fi
import -window root "$shot"
xdotool mousemove 30 9 click 1   # "&Отвори"
sleep 0.5
xdotool key x                    # "E&xit"
for _ in $(seq 1 50); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
  kill $pid
  echo "the program did not close" >&2
  exit 1
fi
wait $pid
SESSION
chmod +x "$stage/session.sh"
run() {
  dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" "$stage/session.sh" "$stage" "$1" "$2"
}

value() {  # value SECTION KEY
  awk -v s="[$1]" -v k="$2" 'BEGIN{FS="="} {sub(/\r$/,"")} $0==s{f=1;next} /^\[/{f=0} f&&$1==k{print $2}' \
    "$stage/bible.ini"
}
fail=0
expect() {  # expect SECTION KEY VALUE
  local got
  got=$(value "$1" "$2")
  if [ "$got" != "$3" ]; then
    echo "FAIL: [$1] $2 is '$got', expected '$3'"
    fail=1
  fi
}

run "Down Down" "$stage/first.png"
expect MainWindow MDIChildCount 3
# The active window is saved first again; every version's window followed the two steps.
expect Bible0 BibleHndl 9
expect Bible1 BibleHndl 0
expect Bible2 BibleHndl 4
for k in 0 1 2; do
  expect Bible$k Book 54
  expect Bible$k Chapter 1
  expect Bible$k Verse 5
done
expect MainWindow Width 1000
expect MainWindow PlaySound 0
[ -f "$stage/GR/VerseHistory.txt" ] || { echo "FAIL: no verse history of the Greek version"; fail=1; }

cp "$stage/bible.ini" "$stage/after-first.ini"
run "" "$stage/second.png"
# A start without any move restores the same windows and saves the same places.
for k in 0 1 2; do
  for key in BibleHndl Book Chapter Verse; do
    expect Bible$k $key "$(awk -v s="[Bible$k]" -v k="$key" 'BEGIN{FS="="} {sub(/\r$/,"")} $0==s{f=1;next} /^\[/{f=0} f&&$1==k{print $2}' "$stage/after-first.ini")"
  done
done
if [ -n "${BIBLE_E2E_SHOTS:-}" ]; then cp "$stage"/*.png "$BIBLE_E2E_SHOTS/"; fi
[ "$fail" -eq 0 ] && echo "PASS"
exit $fail
