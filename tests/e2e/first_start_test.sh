#!/usr/bin/env bash
# A new user's first start, with no settings file: the program itself opens the King James
# Version and the Greek New Testament side by side at John 1:1, staged and installed alike
# ("cmake --install" into a prefix of the test's own, a fresh home); with no version at all it
# shows "Добави превод". An empty settings file is a user's own choice: no window.
#   first_start_test.sh BIBLE E2E_DATA BEG1_WAV HELP_DIR BIBLE_TOOL_IMPORT BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 data=$2 wav=$3 help=$4 importer=$5 build=$6
e2e_has_atspi || e2e_skip "python3-pyatspi missing"

# expect_first_windows WHERE: the two windows at John 1:1.
expect_first_windows() {
  e2e_atspi wait "King James Version" 10 >/dev/null || e2e_expect "$1: the English window" missing open
  e2e_atspi wait "Гръцки Нов завет" 5 >/dev/null || e2e_expect "$1: the Greek window" missing open
  e2e_expect "$1: the book box" "$(e2e_atspi text "Книга от Библията")" "John"
  e2e_expect_match "$1: the English verse" "$(e2e_atspi line "King James Version")" \
    "^1 (Jn 1:1 |In the beginning was the Word)"
  e2e_expect_match "$1: the Greek verse" "$(e2e_atspi line "Гръцки Нов завет")" "^1 εν αρχη ην ο λογος"
}
expect_dialog() {
  e2e_wait_title '^Добави превод$' 10 >/dev/null || e2e_expect "$1: the dialog" missing shown
}

e2e_stage "$bible" "$wav" "$help"
cp "$importer" "$E2E_STAGE/"
"$data" "$E2E_STAGE/"
# The versions of the default data set that the generated data has: no Bulgarian one.
rm -rf "$E2E_STAGE/2000"
e2e_start_display

e2e_start_program
expect_first_windows staged
e2e_shot first
e2e_quit_program
[ -f "$E2E_STAGE/bible.ini" ] || e2e_expect "the settings file after the first start" missing written

# An empty settings file: no window.
: >"$E2E_STAGE/bible.ini"
e2e_start_program
if e2e_atspi wait "King James Version" 2 >/dev/null 2>&1; then
  e2e_expect "a window with an empty settings file" open none
fi
e2e_quit_program

# No version at all: the way to get one.
rm -rf "$E2E_STAGE/KJV" "$E2E_STAGE/GR" "$E2E_STAGE/bible.ini"
e2e_start_program
expect_dialog "staged without versions"
e2e_shot empty
e2e_quit_program

# Installed as the package lays it out, with the default data set staged in the build folder.
if [ -f "$build/stage/KJV/BibleTitles.txt" ] && [ -f "$build/stage/GR/BibleTitles.txt" ]; then
  prefix=$E2E_TMP/prefix
  cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 ||
    { cat "$E2E_TMP/install.log"; exit 1; }
  [ -x "$prefix/libexec/bible-tool/bible-tool-import" ] || e2e_expect "the installed importer" missing present
  [ -e "$prefix/share/bible/sword" ] && e2e_expect "the staged module library" installed left-out
  E2E_STAGE=$E2E_TMP/installed
  mkdir -p "$E2E_STAGE"
  ln -s "$prefix/bin/bible" "$E2E_STAGE/bible"
  e2e_start_program
  expect_first_windows installed
  e2e_shot installed
  e2e_quit_program
  [ -f "$XDG_CONFIG_HOME/bible/bible.ini" ] || e2e_expect "the installed program's settings" missing written
  rm -rf "$prefix/share/bible"/{KJV,KJVSN,ASV,GR} "$XDG_CONFIG_HOME/bible"
  e2e_start_program
  expect_dialog "installed without versions"
  e2e_quit_program
else
  e2e_log "the default data set is not staged in $build/stage; the installed first start is not tried"
fi
e2e_finish
