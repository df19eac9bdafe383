#!/usr/bin/env bash
# "Добави превод" as a user works it, read back through AT-SPI: the dialog opened from the menu
# "Отвори", a repository served on 127.0.0.1 added as a source (the internet question answered
# and remembered), its module installed into version 7 with the progress bar moving, the new
# version opened from "Отвори" under its own name and John 3:16 read back; a second install
# cancelled halfway leaves version 7 as it was; a package given on the command line is imported.
#   add_version_test.sh BIBLE BIBLE_TOOL_IMPORT E2E_DATA BEG1_WAV HELP_DIR
set -euo pipefail
source "$(dirname "$0")/e2elib.sh"
source "$(dirname "$0")/../support/sword_repository.sh"
e2e_init "$@"
bible=$1 importer=$2 data=$3 wav=$4 help=$5
e2e_has_atspi || e2e_skip "python3-pyatspi missing"
repo_available || e2e_skip "sword-text-kjv is not installed"

e2e_stage "$bible" "$wav" "$help"
cp "$importer" "$E2E_STAGE/"
"$data" "$E2E_STAGE/"
name="Тестова Библия KJV"
sed "s/^Description=.*/Description=$name/" "$REPO_SYSTEM/mods.d/$REPO_MODULE.conf" >"$E2E_TMP/kjv.conf"
repo_make "$E2E_TMP/repo" "$E2E_TMP/kjv.conf"
repo_serve "$E2E_TMP/repo"
E2E_PIDS+=("$REPO_PID")
e2e_settings '[MainWindow]' 'Left=0' 'Top=0' 'Width=1000' 'Height=700' 'PlaySound=0' \
  'MDIChildCount=1' '[Bible0]' 'BibleHndl=4' 'Book=54' 'Chapter=3' 'Verse=16'
e2e_start_display
e2e_start_program
# The version's files but the histories the program keeps beside them, and what lies around it.
fingerprint() {
  (cd "$E2E_STAGE" && find RSV -type f ! -name '*_List.txt' ! -name '*History.txt' -exec md5sum {} + |
    sort; ls -a)
}
status() { e2e_atspi --window "Добави превод" text "Състояние" 2>/dev/null || true; }
# wait_status REGEX SECONDS: waits until the dialog's status line matches.
wait_status() {
  local end=$((SECONDS + $2))
  while [ $SECONDS -lt $end ]; do
    [[ "$(status)" =~ $1 ]] && return 0
    sleep 0.2
  done
  echo "FAIL: status '$(status)', expected /$1/"
  E2E_FAILS=$((E2E_FAILS + 1))
  return 1
}

e2e_click_name "Отвори"
e2e_click_name "Добави превод…"
dialog=$(e2e_wait_title '^Добави превод$' 10)
e2e_click_name "Добави източник…" --window "Добави превод"
e2e_wait_title '^Добави източник$' 10 >/dev/null
e2e_type "$REPO_URL"
e2e_key Return
# The repository is on the network: the program asks first.
sleep 0.5
e2e_key Return
wait_status "^Модули: 1$" 20 || true
e2e_expect "the answer in the settings" "$(e2e_ini MainWindow InternetAccess)" 1
e2e_click_name "$REPO_MODULE" --window "Добави превод"
e2e_expect "the proposed version" "$(e2e_atspi --window "Добави превод" selected "Версия")" \
  "7. Revised Standard Version (празна)"
e2e_shot chosen
# Over a slow line, so that the bar is seen moving file by file.
touch "$E2E_TMP/repo/.slow"
e2e_click_name "&Добави" --window "Добави превод" 2>/dev/null || e2e_click_name "Добави" --window "Добави превод"
# The bar moves while the module downloads and its books are imported.
values=()
end=$((SECONDS + 60))
while [ $SECONDS -lt $end ]; do
  values+=("$(e2e_atspi --window "Добави превод" text "Напредък" 2>/dev/null || true)")
  [[ "$(status)" =~ добавен ]] && break
  sleep 0.1
done
distinct=$(printf '%s\n' "${values[@]}" | grep -v '^$' | sort -u | wc -l)
[ "$distinct" -ge 3 ] || e2e_expect "the progress bar's values" "$(echo ${values[*]})" "three or more"
wait_status "^Преводът е добавен във версия 7" 60 || true
e2e_shot imported
[ "$(tr -d '\r' <"$E2E_STAGE/RSV/Name.txt")" = "$name" ] || e2e_expect "Name.txt" missing "$name"

# The new version under its own name in "Отвори", opened at the place shown: John 3:16.
xdotool windowactivate --sync "$E2E_MAIN"
e2e_click_name "Отвори"
e2e_click_name "$name"
e2e_atspi wait "$name" 10 >/dev/null || true
e2e_expect_match "John 3:16 of the new version" "$(e2e_atspi line "$name")" \
  "16 .*For God so loved the world"
e2e_shot opened
before=$(fingerprint)

# Again, into the same version, cancelled while it downloads: the version stays.
xdotool windowactivate --sync "$dialog"
e2e_click_name "$REPO_MODULE" --window "Добави превод"
e2e_click_name "&Добави" --window "Добави превод" 2>/dev/null || e2e_click_name "Добави" --window "Добави превод"
sleep 0.5
e2e_key Return  # "replace?" answered yes
wait_status "^Изтегляне" 30 || true
e2e_click_name "&Прекъсни" --window "Добави превод" 2>/dev/null || e2e_click_name "Прекъсни" --window "Добави превод"
wait_status "^Внасянето е прекъснато" 10 || true
e2e_shot cancelled
e2e_expect "version 7 after the cancel" "$(fingerprint)" "$before"
e2e_quit_program

# A package given on the command line opens the dialog with it chosen; it goes to an empty version.
python3 - "$E2E_TMP/repo" "$E2E_TMP/kjv.zip" <<'PY'
import os, sys, zipfile
root, path = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(path, "w") as z:
    for d, _, files in os.walk(root):
        for f in files:
            if f != "mods.d.tar.gz":
                z.write(os.path.join(d, f), os.path.relpath(os.path.join(d, f), root))
PY
e2e_start_program "$E2E_TMP/kjv.zip"
e2e_wait_title '^Добави превод$' 10 >/dev/null
e2e_expect "the file chosen" "$(e2e_atspi --window "Добави превод" text "Файл или папка")" "$E2E_TMP/kjv.zip"
e2e_expect "the version proposed for it" "$(e2e_atspi --window "Добави превод" selected "Версия")" \
  "6. American Standard Version (празна)"
e2e_click_name "&Добави" --window "Добави превод" 2>/dev/null || e2e_click_name "Добави" --window "Добави превод"
wait_status "^Преводът е добавен във версия 6" 60 || true
e2e_shot file
[ -f "$E2E_STAGE/ASV/BibleTitles.txt" ] || e2e_expect "version 6" missing imported
e2e_quit_program
e2e_finish
