#!/usr/bin/env bash
# One ordinary user's session with the installed program: a fresh home folder, /usr/bin/bible
# started under Xvfb, its first start showing the King James Version and the Greek New Testament
# at John 1:1, a step to the next verse in the King James window, the program closed. The
# settings must then be in the user's configuration folder and the histories in the user's data
# folder. Run by scripts/package-test.sh as that user.
#   installed_session.sh HOME_FOLDER
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
fresh_home=$1
# The user's own XDG defaults under the fresh home, not the test library's private folders.
unset XDG_CONFIG_HOME XDG_DATA_HOME
export HOME=$fresh_home
# The library starts ./bible in its stage folder: here a link to the installed executable, which
# the program resolves to /usr/bin/bible and so runs as installed.
E2E_STAGE=$E2E_TMP/run
mkdir -p "$E2E_STAGE"
ln -s /usr/bin/bible "$E2E_STAGE/bible"

e2e_start_display
e2e_start_program
if e2e_has_atspi; then
  e2e_atspi wait "King James Version" 10 >/dev/null || e2e_expect "the first window" missing open
  e2e_expect "book of the first windows" "$(e2e_atspi text 'Книга от Библията')" "John"
  e2e_click_name "King James Version"   # into the text of the English window
else
  # Where the window manager put the window is its own choice: clicks go relative to it.
  xdotool mousemove --window "$E2E_MAIN" --sync 700 250 click 1
fi
sleep 0.3
e2e_key Down
e2e_shot "installed-$(id -un)"
e2e_quit_program

config=$HOME/.config/bible
data=$HOME/.local/share/bible
[ -f "$config/bible.ini" ] || e2e_expect "settings file $config/bible.ini" missing present
e2e_expect "[Bible0] BibleHndl" "$(awk -F= '{sub(/\r$/,"")} $0=="[Bible0]"{f=1;next} /^\[/{f=0} f&&$1=="BibleHndl"{print $2}' "$config/bible.ini" 2>/dev/null)" 4
[ -f "$data/KJV/VerseHistory.txt" ] || e2e_expect "verse history in $data/KJV" missing present
[ -f "$data/KJV/Search_List.txt" ] || e2e_expect "word list history in $data/KJV" missing present
e2e_finish
