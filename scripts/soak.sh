#!/usr/bin/env bash
# The staged program under load for MINUTES: under Xvfb with a window manager and a session bus,
# random user actions by outside programs (references poked over D-Bus and copied with xclip,
# words typed into the word box and searched in every mode, dictionary look-ups, Bible windows
# opened and closed, the options dialog opened and cancelled, help opened), the resident memory
# recorded every few seconds and drawn as memory.png beside soak.log and memory.csv.
# Passes when the program never ends on its own, answers every request within 2 s, still answers
# "SetVerse" correctly at the end, writes a settings file and histories that it reads back on the
# next start, and its memory after the first minute grows by less than 5 MiB per hour (see the
# growth rule below for short runs).
#   scripts/soak.sh MINUTES [BIBLE] [STAGE_DIR] [OUT_DIR]
# BIBLE defaults to build/app/bible, STAGE_DIR (the staged data set of scripts/stage-data.sh) to
# build/stage, OUT_DIR to build/soak.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:?usage: soak.sh MINUTES [BIBLE] [STAGE_DIR] [OUT_DIR]}
bible=$(realpath "${2:-$root/build/app/bible}")
staged=$(realpath "${3:-$root/build/stage}")
out=$(realpath -m "${4:-$root/build/soak}")
# The run's own folders under OUT_DIR, out of reach of whatever clears /tmp during a long run.
mkdir -p "$out/tmp"
export TMPDIR="$out/tmp"
source "$root/tests/e2e/e2elib.sh"
e2e_init "$@"
for tool in xclip gdbus convert; do
  command -v "$tool" >/dev/null || e2e_skip "$tool missing"
done
e2e_has_atspi || e2e_skip "no accessibility client"
for v in KJV KJVSN GR Dictionaries; do
  [ -e "$staged/$v" ] || e2e_skip "no staged $v in $staged (scripts/stage-data.sh)"
done
log=$out/soak.log csv=$out/memory.csv
: >"$log"
say() { echo "$(date +%T) $*" | tee -a "$log" >&2; }
fail() {
  say "FAIL: $*"
  E2E_FAILS=$((E2E_FAILS + 1))
}

e2e_stage "$bible" "" "$root/help"
cp -r "$staged/KJV" "$staged/KJVSN" "$staged/GR" "$staged/Dictionaries" "$E2E_STAGE/"
[ -d "$staged/Pictures" ] && cp -r "$staged/Pictures" "$E2E_STAGE/"
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=3' \
  '[Bible0]' 'BibleHndl=4' 'Book=54' 'Chapter=3' 'Verse=1' \
  '[Bible1]' 'BibleHndl=5' 'Book=54' 'Chapter=3' 'Verse=1' \
  '[Bible2]' 'BibleHndl=9' 'Book=54' 'Chapter=3' 'Verse=1'
e2e_start_display
e2e_start_program
pid=$E2E_PROGRAM_PID
say "program $pid started"

alive() { kill -0 "$pid" 2>/dev/null; }
# conv METHOD ARGS...: a call to the exchange server; an answer later than 2 s is a hang.
conv() {
  local method=$1 started=$SECONDS status
  shift
  timeout 2 gdbus call --session --dest dde.bible --object-path /DdeServerConv1 \
    --method "dde.Conversation.$method" "$@"
  status=$?
  [ $status -eq 124 ] && fail "no answer to $method $* within 2 s"
  return $status
}

# Memory: VmRSS in KiB every 5 s, and a request every 5 s that must be answered in time.
watch_memory() {
  local start=$SECONDS rss
  echo "seconds,rss_kib" >"$csv"
  while kill -0 "$pid" 2>/dev/null; do
    rss=$(awk '/^VmRSS:/{print $2}' "/proc/$pid/status" 2>/dev/null) || break
    [ -n "$rss" ] && echo "$((SECONDS - start)),$rss" >>"$csv"
    if ! timeout 2 gdbus call --session --dest dde.bible --object-path /DdeServerConv1 \
      --method dde.Conversation.Request SetVerse >/dev/null 2>&1; then
      kill -0 "$pid" 2>/dev/null && echo "$(date +%T) FAIL: SetVerse unanswered for 2 s" >>"$log"
    fi
    sleep 5
  done
}
watch_memory &
watcher=$!
E2E_PIDS+=($watcher)

references=("John 3:16" "Genesis 1:1" "Psalms 23:1" "Romans 8:28" "Matthew 5:3" "Revelation 22:21"
  "Isaiah 53:5" "1 Corinthians 13:4" "Acts 2:38" "Exodus 20:3" "Luke 2:14" "Hebrews 11:1")
words=(love faith God light world grace peace spirit water king lord heaven)
dictionary_words=(dove G2316 H430 love lamb theos house light)
versions=("King James Version" "Гръцки Нов завет")
modes=(само и или без)
read -r wx wy ww wh <<<"$(e2e_atspi extents "Списък на думите")"
word_box=($((wx + 30)) $((wy + wh / 2)))
read -r mx my mw mh <<<"$(e2e_atspi extents "${modes[0]}" 2>/dev/null || echo "0 0 0 0")"
mode_button=($((mx + mw / 2)) $((my + mh / 2)))
opened=0

focus_main() {
  xdotool windowactivate --sync "$E2E_MAIN" 2>/dev/null || true
}

act_poke() {
  local ref=${references[RANDOM % ${#references[@]}]}
  conv Poke SetBook "$ref" >/dev/null || return
  conv Request SetVerse >/dev/null
}
act_copy() {
  printf '%s' "${references[RANDOM % ${#references[@]}]}" | xclip -selection clipboard
  sleep 0.5
}
act_search() {
  focus_main
  if [ "${mode_button[0]}" -gt 0 ]; then
    e2e_click "${mode_button[@]}"
    local k
    for ((k = 0; k <= RANDOM % 4; k++)); do xdotool key Down; done
    e2e_key Return
  fi
  e2e_click "${word_box[@]}"
  e2e_key ctrl+a
  e2e_type "${words[RANDOM % ${#words[@]}]}"
  e2e_key Return
}
act_dictionary() {
  focus_main
  e2e_click_name "Отвори" || return
  e2e_click_name "Речник" || { e2e_key Escape; return; }
  e2e_wait_title '^Речник|^English|^Strong|^Abbott|^Brown|^Nave' 10 >/dev/null || return
  local box
  box=($(e2e_atspi --window "Речник" extents "Списък на думите" 2>/dev/null)) || return
  [ ${#box[@]} -eq 4 ] || return
  e2e_click $((box[0] + 30)) $((box[1] + 14))
  e2e_key ctrl+a
  e2e_type "${dictionary_words[RANDOM % ${#dictionary_words[@]}]}"
  e2e_key Return
  sleep 0.5
}
# Whether a Bible window is active: only then does a poked reference change the SetVerse item,
# so two verses poked in turn must both come back (every version has John 1).
bible_window_open() {
  local verse
  for verse in 2 3; do
    conv Poke SetBook "John 1:$verse" >/dev/null 2>&1 || return 1
    [[ "$(conv Request SetVerse 2>/dev/null)" == "('$verse "* ]] || return 1
  done
}
open_version() {
  e2e_click_name "Отвори" || return 1
  e2e_click_name "$1" || { e2e_key Escape; return 1; }
}
act_window() {
  focus_main
  # A click that missed the menu may have hit a window's title of the same name and opened
  # nothing, so the count of the windows this run opened is only a guess: with none left open
  # it starts again from nought.
  bible_window_open || opened=0
  if [ $opened -gt 0 ] && [ $((RANDOM % 2)) -eq 0 ]; then
    e2e_key ctrl+F4
    opened=$((opened - 1))
  elif [ $opened -lt 3 ]; then
    open_version "${versions[RANDOM % ${#versions[@]}]}" || return
    opened=$((opened + 1))
  fi
}
act_options() {
  focus_main
  e2e_click_name "Настройка" || return
  local dialog
  dialog=$(e2e_wait_title '^Настройка' 10) || return
  sleep 0.3
  e2e_key Escape
  e2e_wait_gone "$dialog" 5 || fail "the options dialog stayed open after Escape"
}
act_help() {
  focus_main
  e2e_click "${word_box[@]}"
  e2e_key F1
  local page
  page=$(e2e_wait_title 'помощ$' 10) || return
  sleep 0.3
  xdotool windowactivate --sync "$page" 2>/dev/null || true
  e2e_key alt+F4
  e2e_wait_gone "$page" 5 || true
}

actions=(act_poke act_copy act_search act_dictionary act_window act_options act_help)
# Every action once first, so that the first minute, which the growth rule leaves out, has loaded
# what each of them loads.
for a in "${actions[@]}"; do
  alive || break
  "$a"
done
end=$((SECONDS + minutes * 60))
count=0
while [ $SECONDS -lt $end ] && alive; do
  a=${actions[RANDOM % ${#actions[@]}]}
  "$a"
  count=$((count + 1))
  [ $((count % 50)) -eq 0 ] && say "$count actions"
done
say "$count random actions in $minutes min"
alive || fail "the program ended on its own"

# A known place, its answer, and the files read back on the next start.
answer=""
if alive && ! bible_window_open; then
  # Closing every window is a user's right, not a fault; the end checks need one to read.
  say "no Bible window open after the random actions: one is opened for the end checks"
  focus_main
  open_version "${versions[0]}" || fail "no Bible window could be opened"
  sleep 1
fi
if alive; then
  conv Poke SetBook "John 3:16" >/dev/null
  sleep 0.5
  answer=$(conv Request SetVerse)
  e2e_expect_match "the answer to SetVerse at John 3:16" "$answer" "^\\('16 "
fi
e2e_shot soak-end
cp "$E2E_TMP/soak-end.png" "$out/" 2>/dev/null || true
kill "$watcher" 2>/dev/null
wait "$watcher" 2>/dev/null
alive && { e2e_quit_program 20 || fail "the program did not close"; }
grep -q "FAIL" "$log" && E2E_FAILS=$((E2E_FAILS + 1))

histories=$(cd "$E2E_STAGE" && find . -name VerseHistory.txt -o -name Search_List.txt | sort)
[ -n "$histories" ] || fail "no history file written"
check_history() {  # the layout a history list is saved in: sort order, edit text, stamp and place
  awk 'NR==1 && !/^[0-2]\r$/ {bad=1} NR>2 && NR%2==1 && !/^ ?-?[0-9.]+E[-+][0-9]+ -?[0-9]+\r$/ {bad=1}
       END {exit bad || NR < 2 || NR % 2}' "$1"
}
entries() { awk 'NR>2 && NR%2==0' "$1" | sort -u; }  # the texts of a history list
windows() {
  local k
  for ((k = 0; k < $(e2e_ini MainWindow MDIChildCount); k++)); do
    echo "$(e2e_ini Bible$k BibleHndl) $(e2e_ini Bible$k Book) $(e2e_ini Bible$k Chapter) $(e2e_ini Bible$k Verse)"
  done
}
mkdir -p "$E2E_TMP/before"
for f in $histories; do
  check_history "$E2E_STAGE/$f" || fail "history $f is damaged"
  entries "$E2E_STAGE/$f" >"$E2E_TMP/before/${f//\//_}"
done
saved=$(windows)
[ -n "$saved" ] || fail "no Bible window saved in the settings file"
# The next start reads them: it opens the saved windows at their places, and what it writes back
# at its close keeps every entry the histories held.
e2e_start_program
pid=$E2E_PROGRAM_PID
# The exchange items answer pokes: verse 16 of the chapter the active window reopened at.
again=""
for _ in $(seq 1 10); do
  conv Poke SetVerse 16 >/dev/null 2>&1
  again=$(conv Request SetVerse)
  [ -n "$again" ] && [ "$again" != "('',)" ] && break
  sleep 0.5
done
[ -n "$answer" ] && e2e_expect "SetVerse after the restart" "$again" "$answer"
e2e_quit_program 20 || fail "the restarted program did not close"
e2e_expect "the windows saved after a start and a close" "$(windows)" "$saved"
for f in $histories; do
  lost=$(comm -23 "$E2E_TMP/before/${f//\//_}" <(entries "$E2E_STAGE/$f"))
  [ -z "$lost" ] || fail "history $f lost entries after a start and a close: $lost"
done

# Growth after the first minute: the least-squares slope of the samples, in MiB per hour. RSS moves
# in steps of the allocator's arenas, so a short run takes a slope as growth only once the fitted
# line has risen by a whole MiB: from 13 minutes on the 5 MiB/hour rule applies as it stands, and
# the 2-minute run in the test suite catches a leak of a MiB a minute.
read -r growth rise <<<"$(awk -F, 'NR>1 && $1>=60 {n++; x+=$1; y+=$2; xx+=$1*$1; xy+=$1*$2; t=$1}
  END {d=n*xx-x*x; if (n < 3 || d == 0) {print "none 0"; exit}
       b=(n*xy-x*y)/d; printf "%.2f %.2f\n", b*3600/1024, b*(t-60)/1024}' "$csv")"
read -r first last peak <<<"$(awk -F, 'NR==2{f=$2} NR>1{l=$2; if ($2>p) p=$2} END{print f, l, p}' "$csv")"
say "memory: first ${first} KiB, last ${last} KiB, peak ${peak} KiB, growth after the first minute ${growth} MiB/hour (${rise} MiB)"
# A sanitizer build keeps freed memory in quarantine (up to 256 MiB) and grows with it by design;
# its leak check at exit stands in for the growth rule there.
# (ldd's whole output first: grep -q stopping early would fail the pipe under pipefail.)
if [[ "$(ldd "$bible" 2>/dev/null)" == *libasan* ]]; then
  say "an AddressSanitizer build: its growth is not judged"
elif [ "$growth" != "none" ] && awk -v g="$growth" -v r="$rise" 'BEGIN{exit !(g >= 5 && r >= 1)}'; then
  fail "memory grows by $growth MiB/hour after the first minute"
fi

# The picture: RSS in MiB over minutes.
awk -F, -v W=800 -v H=400 -v title="RSS over $minutes min, growth after 1 min: $growth MiB/h" '
  BEGIN {n=0}
  NR>1 {t[n]=$1; r[n]=$2/1024; if (r[n]>top) top=r[n]; if (min=="" || r[n]<min) min=r[n]; n++}
  END {
    if (n == 0) exit
    last=t[n-1]; if (last == 0) last=1
    lo=int(min*0.9); hi=int(top*1.05)+1
    printf "-stroke gray -draw \"line 60,%d %d,%d\" ", H-40, W-20, H-40
    printf "-draw \"line 60,20 60,%d\" ", H-40
    printf "-stroke none -fill black -draw \"text 60,15 \x27%s\x27\" ", title
    printf "-draw \"text 5,%d \x27%d MiB\x27\" -draw \"text 5,28 \x27%d MiB\x27\" ", H-40, lo, hi
    printf "-draw \"text 60,%d \x270\x27\" -draw \"text %d,%d \x27%.1f min\x27\" ", H-22, W-80, H-22, last/60
    printf "-stroke blue -fill none -draw \"polyline"
    for (i=0; i<n; i++)
      printf " %d,%d", 60+(W-80)*t[i]/last, (H-40)-(H-60)*(r[i]-lo)/(hi-lo)
    printf "\""
  }' "$csv" >"$out/draw.txt"
if [ -s "$out/draw.txt" ]; then
  eval convert -size 800x400 xc:white "$(cat "$out/draw.txt")" "\"$out/memory.png\"" ||
    say "no picture drawn"
  rm -f "$out/draw.txt"
fi
say "log, memory.csv and memory.png in $out"
e2e_finish
