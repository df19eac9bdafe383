# Shared helpers of the end-to-end tests; source it from a test script:
#
#   source "$(dirname "$0")/e2elib.sh"
#   e2e_init "$@"                        # re-runs the script inside its own D-Bus session
#   e2e_stage "$bible" "$wav" "$help"    # a fresh program folder in $E2E_STAGE
#   "$data" "$E2E_STAGE/"                # the test's versions
#   e2e_start_display                    # Xvfb, a window manager and the accessibility bus
#   e2e_start_program                    # the program, its main window up and the splash closed
#   e2e_key ctrl+F4; e2e_type "John 3:16"; e2e_atspi text "Книга от Библията"
#   e2e_quit_program
#
# Every test gets its own X server (the server picks a free display itself), its own D-Bus session
# with its own accessibility bus, and its own runtime, configuration and data folders, so tests can
# run side by side and never touch the user's files. A missing outside program skips the test
# (exit status 77, registered as SKIP_RETURN_CODE).

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_WIDTH=${E2E_WIDTH:-1280}
E2E_HEIGHT=${E2E_HEIGHT:-800}
E2E_PIDS=()
E2E_STAGE=""
E2E_TMP=""
E2E_PROGRAM_PID=""
E2E_FAILS=0

# The distribution's interpreter, which has the accessibility bindings (a user-installed python3
# first on PATH may not).
E2E_PYTHON=/usr/bin/python3
[ -x "$E2E_PYTHON" ] || E2E_PYTHON=python3

e2e_log() { echo "e2e: $*" >&2; }

e2e_skip() {
  echo "SKIP: $*"
  exit 77
}

# e2e_init "$@": checks the outside programs and runs the calling script again inside a private
# D-Bus session (the accessibility bus is started from it). Call it first.
e2e_init() {
  # The program must show real windows on the X server, whatever the caller's platform setting.
  unset QT_QPA_PLATFORM
  local tool
  for tool in Xvfb xdotool dbus-run-session import openbox; do
    command -v "$tool" >/dev/null || e2e_skip "$tool missing"
  done
  if [ -z "${E2E_IN_SESSION:-}" ]; then
    export E2E_IN_SESSION=1
    exec dbus-run-session -- bash "$0" "$@"
  fi
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/bible-e2e-XXXXXX")
  trap e2e_cleanup EXIT
  mkdir -m 700 "$E2E_TMP/runtime" "$E2E_TMP/config" "$E2E_TMP/data" "$E2E_TMP/cache"
  export XDG_RUNTIME_DIR="$E2E_TMP/runtime" XDG_CONFIG_HOME="$E2E_TMP/config"
  export XDG_DATA_HOME="$E2E_TMP/data" XDG_CACHE_HOME="$E2E_TMP/cache"
  export HOME="$E2E_TMP"
}

e2e_cleanup() {
  local status=$?
  local i
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${E2E_PIDS[$i]}" 2>/dev/null || true
  done
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    wait "${E2E_PIDS[$i]}" 2>/dev/null || true
  done
  if [ -n "${BIBLE_E2E_SHOTS:-}" ] && [ -n "$E2E_TMP" ]; then
    mkdir -p "$BIBLE_E2E_SHOTS"
    cp "$E2E_TMP"/*.png "$BIBLE_E2E_SHOTS/" 2>/dev/null || true
  fi
  if [ $status -ne 0 ] && [ -n "$E2E_STAGE" ] && [ -f "$E2E_STAGE/out.txt" ]; then
    echo "--- program output" >&2
    tail -n 40 "$E2E_STAGE/out.txt" >&2
  fi
  [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
  exit $status
}

# e2e_stage BIBLE [BEG1_WAV] [HELP_DIR]: a program folder in $E2E_STAGE with the executable, the
# splash sound and the help pages; the test adds versions and a settings file.
e2e_stage() {
  E2E_STAGE="$E2E_TMP/stage"
  mkdir -p "$E2E_STAGE"
  cp "$1" "$E2E_STAGE/bible"
  if [ -n "${2:-}" ] && [ -f "$2" ]; then cp "$2" "$E2E_STAGE/Beg1.wav"; fi
  if [ -n "${3:-}" ] && [ -d "$3" ]; then cp -r "$3" "$E2E_STAGE/help"; fi
}

# e2e_settings LINE...: writes the staged settings file (lines joined with CR LF).
e2e_settings() {
  printf '%s\r\n' "$@" >"$E2E_STAGE/bible.ini"
}

# e2e_ini SECTION KEY: a value of the staged settings file.
e2e_ini() {
  awk -v s="[$1]" -v k="$2" 'BEGIN{FS="="} {sub(/\r$/,"")} $0==s{f=1;next} /^\[/{f=0} f&&$1==k{print $2}' \
    "$E2E_STAGE/bible.ini"
}

# e2e_start_display: an X server of E2E_WIDTH x E2E_HEIGHT, a window manager and the
# accessibility bus of this session.
e2e_start_display() {
  local fifo="$E2E_TMP/displayfd" display=""
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${E2E_WIDTH}x${E2E_HEIGHT}x24" -nolisten tcp -noreset \
    3>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  read -r -t 20 display <"$fifo" || true
  [ -n "$display" ] || { e2e_log "the X server did not start"; cat "$E2E_TMP/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$display"
  openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=($!)
  # The window manager owns the screen's selection once it runs.
  local _
  for _ in $(seq 1 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  # Qt speaks to screen readers only when asked to; the tests are the screen reader.
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  if [ -x /usr/libexec/at-spi-bus-launcher ]; then
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/atspi.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 1 50); do
      xprop -root AT_SPI_BUS 2>/dev/null | grep -q unix && break
      sleep 0.1
    done
  fi
}

# e2e_windows: the visible top-level windows of the program, one id per line.
e2e_windows() {
  xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" 2>/dev/null || true
}

# e2e_wait_title REGEX [SECONDS]: waits until a visible window with that title exists; prints its id.
e2e_wait_title() {
  local regex=$1 seconds=${2:-20} id _
  for _ in $(seq 1 $((seconds * 10))); do
    id=$(xdotool search --onlyvisible --name "$regex" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  e2e_log "no window titled '$regex'"
  return 1
}

# e2e_wait_gone WINDOW [SECONDS]: waits until the window is no longer visible.
e2e_wait_gone() {
  local _
  for _ in $(seq 1 $((${2:-10} * 10))); do
    xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  return 1
}

# e2e_start_program [ARGS...]: starts the staged program, waits for its main window, closes the
# splash with Enter as a user does, and waits until the splash is gone. The main window's id is in
# $E2E_MAIN.
e2e_start_program() {
  (cd "$E2E_STAGE" && exec ./bible "$@" >>"$E2E_STAGE/out.txt" 2>&1) &
  E2E_PROGRAM_PID=$!
  E2E_PIDS+=($E2E_PROGRAM_PID)
  E2E_MAIN=$(e2e_wait_title '^Библията' 30) || { e2e_log "the main window did not appear"; exit 1; }
  # The splash is the frameless 293 x 406 window in front of the frame.
  local splash="" id _
  for _ in $(seq 1 100); do
    for id in $(e2e_windows); do
      [ "$id" = "$E2E_MAIN" ] && continue
      if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 293x406'; then
        splash=$id
        break
      fi
    done
    [ -n "$splash" ] && break
    sleep 0.1
  done
  if [ -n "$splash" ]; then
    sleep 0.3
    xdotool windowactivate --sync "$splash" 2>/dev/null || true
    xdotool key Return
    e2e_wait_gone "$splash" 10 || { e2e_log "the splash did not close"; exit 1; }
  fi
  # The windows of the last run are reopened after the splash.
  sleep 1
}

# e2e_quit_program [SECONDS]: closes the main window as the window manager does (Alt+F4 to the
# focused frame) and waits for the program to end; fails when it does not.
e2e_quit_program() {
  [ -n "$E2E_PROGRAM_PID" ] || return 0
  xdotool windowactivate --sync "$E2E_MAIN" 2>/dev/null || true
  xdotool key alt+F4
  local _
  for _ in $(seq 1 $((${1:-10} * 10))); do
    kill -0 "$E2E_PROGRAM_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; then
    e2e_log "the program did not close"
    kill "$E2E_PROGRAM_PID" 2>/dev/null || true
    wait "$E2E_PROGRAM_PID" 2>/dev/null || true
    E2E_PROGRAM_PID=""
    return 1
  fi
  wait "$E2E_PROGRAM_PID" 2>/dev/null || true
  E2E_PROGRAM_PID=""
}

# e2e_key KEY...: keys (xdotool names) to the focused window, as the keyboard delivers them.
e2e_key() {
  xdotool key --delay 60 "$@"
  sleep 0.3
}

# e2e_type TEXT: types the text into the focused window.
e2e_type() {
  xdotool type --delay 60 -- "$1"
  sleep 0.3
}

# e2e_click X Y [BUTTON]: a click at screen coordinates.
e2e_click() {
  xdotool mousemove "$1" "$2"
  sleep 0.1
  xdotool click "${3:-1}"
  sleep 0.3
}

# e2e_click_name NAME [ATSPI_OPTIONS...]: a click in the middle of the control (or menu item)
# that the accessibility client finds by that name, as a user clicks what a screen reader names.
e2e_click_name() {
  local box
  box=$(e2e_atspi "${@:2}" extents "$1") || { e2e_log "no control named '$1'"; return 1; }
  set -- $box
  e2e_click $(($1 + $3 / 2)) $(($2 + $4 / 2))
}

# e2e_shot NAME: a screenshot of the whole screen as $E2E_TMP/NAME.png (copied to
# $BIBLE_E2E_SHOTS, when set, at the end of the test).
e2e_shot() {
  import -window root "$E2E_TMP/$1.png"
}

# e2e_atspi COMMAND ARGS...: the accessibility client on the program's controls (see atspi.py).
e2e_atspi() {
  "$E2E_PYTHON" "$E2E_DIR/atspi.py" --pid "$E2E_PROGRAM_PID" "$@"
}

# e2e_has_atspi: true when the accessibility client can run here.
e2e_has_atspi() {
  "$E2E_PYTHON" -c 'import pyatspi' 2>/dev/null
}

# e2e_expect WHAT GOT EXPECTED: records a failure when they differ.
e2e_expect() {
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1 is '$2', expected '$3'"
    E2E_FAILS=$((E2E_FAILS + 1))
  fi
}

# e2e_expect_match WHAT GOT REGEX
e2e_expect_match() {
  if ! [[ "$2" =~ $3 ]]; then
    echo "FAIL: $1 is '$2', expected to match '$3'"
    E2E_FAILS=$((E2E_FAILS + 1))
  fi
}

# e2e_finish: the test's result.
e2e_finish() {
  if [ "$E2E_FAILS" -eq 0 ]; then
    echo "PASS"
    exit 0
  fi
  exit 1
}
