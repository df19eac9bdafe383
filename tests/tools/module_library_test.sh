#!/usr/bin/env bash
# The module library through the real InstallMgr over curl, against a repository this test serves
# on 127.0.0.1: the sources, the module list, an install into a library of the test's own and its
# import, equal to "import-sword" of the same module; then downloads that break off, a truncated
# package, a .conf that lies and a read-only data folder, each failing with its kind and a message
# and leaving the version imported before exactly as it was.
#   module_library_test.sh BIBLE_TOOL
set -uo pipefail
tool=$1
source "$(dirname "$0")/../support/sword_repository.sh"
repo_available || { echo "SKIP: sword-text-kjv is not installed"; exit 77; }

tmp=$(mktemp -d /tmp/bible-library-XXXXXX)
chmod 755 "$tmp"
trap 'repo_stop; chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
# Nothing of the user's or the system's SWORD set-up may be read or written.
export HOME=$tmp/home XDG_DATA_HOME=$tmp/home/data XDG_CONFIG_HOME=$tmp/home/config
export SWORD_PATH=$tmp/no-sword
mkdir -p "$HOME"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_match() {  # what text pattern
  grep -qE -- "$3" <<<"$2" || fail "$1: /$3/ not in: $2"
}
fingerprint() { (cd "$1" && find . -type f -exec md5sum {} + | sort; ls -a ..); }

repo_make "$tmp/repo"
repo_serve "$tmp/repo"
lib=$tmp/lib data=$tmp/data

out=$("$tool" library-sources "$lib")
expect_match "default source" "$out" $'^CrossWire\tHTTPS\thttps://www.crosswire.org/'
"$tool" library-add "$lib" Local "$REPO_URL" || fail "library-add"
"$tool" library-add "$lib" Folder "$tmp/repo" || fail "library-add of a folder"
out=$("$tool" library-sources "$lib")
expect_match "added source" "$out" $'Local\tHTTP\thttp://127.0.0.1:[0-9]+'
expect_match "added folder" "$out" $'Folder\tDIR\t'"$tmp/repo"
"$tool" library-add "$lib" Bad gopher://x 2>/dev/null && fail "a gopher address accepted"

for source in Local Folder; do
  out=$("$tool" library-modules "$lib" $source)
  expect_match "modules of $source" "$out" \
    $'^engKJV2006eb\ten\t3132622\tPublic Domain\tKing James Version$'
done

# Install and import in one run, as the program's dialog starts it.
out=$("$tool" --progress-lines library-install "$lib" Local $REPO_MODULE 7 "$data")
status=$?
[ $status -eq 0 ] || fail "library-install: status $status"
expect_match "download lines" "$out" '^download [0-9]+ [0-9]+ '
expect_match "book lines" "$out" '^progress 1 66 '
expect_match "last book" "$out" '^progress 66 66 '
[ -f "$lib/mods.d/${REPO_MODULE,,}.conf" ] || [ -f "$lib/mods.d/$REPO_MODULE.conf" ] ||
  fail "module not in the library"
[ "$(cat "$data/RSV/Name.txt")" = $'King James Version\r' ] || fail "Name.txt: $(cat "$data/RSV/Name.txt")"
"$tool" import-sword "$tmp/repo" 7 "$tmp/reference" $REPO_MODULE 2>/dev/null
diff -r -x Name.txt "$data/RSV" "$tmp/reference/RSV" >/dev/null || fail "differs from import-sword"
expect_match "read back" "$("$tool" verse "$data" 7 "John 3:16")" "For God so loved the world"
# Imported again from the folder source: the user's history of the version stays.
printf '1\r\n\r\n' >"$data/RSV/VerseHistory.txt"
"$tool" library-install "$lib" Folder $REPO_MODULE 7 "$data" 2>/dev/null || fail "install again"
[ "$(cat "$data/RSV/VerseHistory.txt")" = $'1\r\n\r' ] || fail "the history lost by an import"
before=$(fingerprint "$data/RSV")

check_failed() {  # what kind output status
  [ "$3" -ne 0 ] || fail "$1: status 0"
  expect_match "$1" "$2" "^failed $4\$"
  [ "$(fingerprint "$data/RSV")" = "$before" ] || fail "$1: version 7 changed"
}

# The server goes away in the middle of the module's largest files.
repo_stop
repo_serve "$tmp/repo" --break-after 200000
"$tool" library-add "$lib" Local "$REPO_URL"
out=$("$tool" --progress-lines library-install "$lib" Local $REPO_MODULE 7 "$data" 2>"$tmp/err")
check_failed "broken download" "$out" $? download
expect_match "its message" "$(cat "$tmp/err")" "cannot download module $REPO_MODULE"
[ -z "$(ls "$lib/mods.d")" ] || fail "a broken download left a module: $(ls "$lib/mods.d")"
repo_stop

# A .conf that names another driver than the files are for.
sed 's/^ModDrv=.*/ModDrv=RawText/' "$REPO_SYSTEM/mods.d/$REPO_MODULE.conf" >"$tmp/lying.conf"
repo_make "$tmp/lying" "$tmp/lying.conf"
"$tool" library-add "$lib" Lying "$tmp/lying"
out=$("$tool" --progress-lines library-install "$lib" Lying $REPO_MODULE 7 "$data" 2>"$tmp/err")
check_failed "lying .conf" "$out" $? damaged
[ -z "$(ls "$lib/mods.d")" ] || fail "a damaged module kept in the library"

# A package cut short.
python3 - "$tmp/repo" "$tmp/cut.zip" <<'PY'
import os, sys, zipfile
root, path = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(path, "w") as z:
    for d, _, files in os.walk(root):
        for f in files:
            if f != "mods.d.tar.gz":
                z.write(os.path.join(d, f), os.path.relpath(os.path.join(d, f), root))
os.truncate(path, os.path.getsize(path) // 2)
PY
out=$("$tool" --progress-lines import-sword "$tmp/cut.zip" 7 "$data" 2>"$tmp/err")
check_failed "truncated package" "$out" $? damaged

# A data folder the user may not write.
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$lib"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
  chmod -R a-w "$data"
  as_user=()
fi
out=$("${as_user[@]}" "$tool" --progress-lines library-install "$lib" Folder $REPO_MODULE 7 "$data" \
      2>"$tmp/err")
check_failed "read-only data folder" "$out" $? write
expect_match "its message" "$(cat "$tmp/err")" "Permission denied"

[ $failures -eq 0 ] && echo PASS || exit 1
