#!/usr/bin/env bash
# The settings a new user starts with in a staged folder: the King James Version and the Greek
# New Testament side by side at John 1:1, the dictionary closed, so that the first thing shown is
# text rather than an empty frame. Written only when the folder has no settings file at all; a
# version whose folder is missing is left out. (The program itself, given an empty settings
# file, opens no window.)
#   scripts/first-settings.sh STAGE_DIR
set -euo pipefail
stage=${1:?usage: first-settings.sh STAGE_DIR}
file="$stage/bible.ini"
[ -e "$file" ] && exit 0

# Version index and folder; the first is the active window, tiled on the right.
versions=()
[ -f "$stage/KJV/BibleTitles.txt" ] && versions+=(4)
[ -f "$stage/GR/BibleTitles.txt" ] && versions+=(9)
lines=('[MainWindow]' "MDIChildCount=${#versions[@]}" 'IsDicVizible=0')
for k in "${!versions[@]}"; do
  # John is book slot 54.
  lines+=("[Bible$k]" "BibleHndl=${versions[$k]}" 'Book=54' 'Chapter=1' 'Verse=1')
done
printf '%s\r\n' "${lines[@]}" >"$file.new"
mv "$file.new" "$file"
