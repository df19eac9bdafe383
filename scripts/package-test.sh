#!/usr/bin/env bash
# Builds the Debian package as a distribution would (only the programs, with the default data set
# imported from the Debian packages it build-depends on), checks it with lintian, installs it with
# apt-get and runs the installed program as two ordinary users with fresh home folders: each
# keeps the settings in ~/.config/bible and the histories in ~/.local/share/bible, the version
# one of them imports is theirs alone, and nothing is written under /usr. Needs root or sudo.
#   scripts/package-test.sh [--keep]        (--keep leaves the package installed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
keep=0
[ "${1:-}" = "--keep" ] && keep=1
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
bash "$root/scripts/install-deps.sh"

work=$(mktemp -d /tmp/bible-package-XXXXXX)
users=()
cleanup() {
  local status=$?
  for u in "${users[@]}"; do $SUDO userdel "$u" 2>/dev/null || true; done
  if [ $keep -eq 0 ] && dpkg-query -W -f='${Status}' bible 2>/dev/null | grep -q "install ok"; then
    $SUDO apt-get remove -y -qq bible >/dev/null 2>&1 || true
  fi
  # A failure leaves the build's log and the package for a look.
  if [ $status -eq 0 ]; then $SUDO rm -rf "$work"; else echo "package-test: see $work" >&2; fi
  exit $status
}
trap cleanup EXIT
chmod 755 "$work"
step() { echo "package-test: $1 ($SECONDS s so far)"; }

# A copy of the sources, so that the build's files and the package land outside the tree.
mkdir "$work/src"
tar -C "$root" -c --exclude=./.git --exclude='./build' --exclude='./build-*' --exclude='./obj-*' \
  --exclude=./debian/data-set . | tar -x -C "$work/src"
# The test command's staged data set, when there is one, saves the import: staging keeps what
# is current with its Debian sources and the importer, and re-imports the rest.
if [ -d "$root/build/stage" ]; then
  mkdir -p "$work/src/debian/data-set"
  for d in "$root"/build/stage/*/; do
    [ -f "$d/BibleTitles.txt" ] || [ "$(basename "$d")" = Dictionaries ] || continue
    cp -a "$d" "$work/src/debian/data-set/"
  done
fi

step "building the package"
# All cores (debhelper builds on one otherwise); no debug-symbol package, which the test has no use for.
export DEB_BUILD_OPTIONS="parallel=$(nproc) nocheck noddebs"
if ! (cd "$work/src" && dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
  tail -n 60 "$work/build.log"
  echo "package-test: the package did not build" >&2
  exit 1
fi
deb=$(ls "$work"/bible_*.deb)
step "checking $(basename "$deb") with lintian"
lint_status=0
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || lint_status=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ $lint_status -eq 0 ] || {
  echo "package-test: lintian reports errors" >&2
  exit 1
}

step "installing it"
touch "$work/before-install"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall --allow-downgrades \
  "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
fail=0
check() { if ! "$@"; then echo "FAIL: $*"; fail=1; fi; }
for f in /usr/bin/bible /usr/bin/bible-tool /usr/libexec/bible-tool/bible-tool-import \
  /usr/share/bible/KJV/BibleTitles.txt /usr/share/bible/GR/BibleTitles.txt \
  /usr/share/bible/Dictionaries/StrongsGreek.ind /usr/share/bible/Beg1.wav \
  /usr/share/bible/help/Bible/Main.html /usr/share/man/man1/bible-tool.1.gz \
  /usr/share/icons/hicolor/48x48/apps/bible.png; do
  check test -f "$f"
done
# Everything staged into the data set is installed (pictures and further versions as they come).
for d in "$work"/src/debian/data-set/*/; do
  check test -d "/usr/share/bible/$(basename "$d")"
done
[ -e "$work/src/obj-"*/tools/beacon ] && check test -x /usr/bin/beacon
# The menu entry and the software centre's metadata as the desktop reads them.
check desktop-file-validate /usr/share/applications/io.github.bible_reader.Bible.desktop
check appstreamcli validate --no-net /usr/share/metainfo/io.github.bible_reader.Bible.metainfo.xml
check grep -q '^Name\[bg\]=Библията$' /usr/share/applications/io.github.bible_reader.Bible.desktop

# Two ordinary users with fresh homes; the second imports a version of his own first.
mkdir "$work/e2e"
cp "$root/tests/e2e/e2elib.sh" "$root/tests/e2e/atspi.py" "$root/tests/package/installed_session.sh" \
  "$work/e2e/"
chmod -R a+rX "$work/e2e"
touch "$work/before-run"
sleep 1
for who in ann bob; do
  user=bible-test-$who
  home=$work/home-$who
  id "$user" >/dev/null 2>&1 || $SUDO useradd --no-create-home --home-dir "$home" \
    --shell /bin/bash "$user"
  users+=("$user")
  $SUDO mkdir -m 700 "$home"
  $SUDO chown "$user:" "$home"
  as_user=($SUDO runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8)
  if [ $who = bob ]; then
    step "$user imports the Greek New Testament without root rights"
    check "${as_user[@]}" bible-tool import-morphgnt /usr/share/bibledit/sources/morphgnt
    check $SUDO test -f "$home/.local/share/bible/GR/BibleTitles.txt"
    check "${as_user[@]}" bible-tool words "$home/.local/share/bible" GR λογ 3 >/dev/null
  fi
  step "$user runs /usr/bin/bible"
  check "${as_user[@]}" bash "$work/e2e/installed_session.sh" "$home"
  check $SUDO test -f "$home/.config/bible/bible.ini"
  check $SUDO test -f "$home/.local/share/bible/KJV/VerseHistory.txt"
done
# Each user's files are the user's own: bob's import is not ann's (her GR folder, when the first
# start's Greek window made one, holds only her histories).
check $SUDO test ! -e "$work/home-ann/.local/share/bible/GR/BibleTitles.txt"
check $SUDO test "$(stat -c %U "$work/home-ann/.config/bible/bible.ini")" = bible-test-ann
check $SUDO test "$(stat -c %U "$work/home-bob/.config/bible/bible.ini")" = bible-test-bob
written=$(find /usr -newer "$work/before-run" -not -type d 2>/dev/null | head -n 20)
if [ -n "$written" ]; then
  echo "FAIL: written under /usr while the users ran the program:"
  echo "$written"
  fail=1
fi
step "done"
[ $fail -eq 0 ] && echo "PASS"
exit $fail
