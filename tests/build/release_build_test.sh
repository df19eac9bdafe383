#!/usr/bin/env bash
# A user's plain build: warnings are not errors unless asked for (the ci preset asks), and the
# Release build of the Qt-free libraries, at -O3, compiles without a single warning.
#   release_build_test.sh SOURCE_DIR
set -euo pipefail
src=$1
tmp=$(mktemp -d /tmp/bible-release-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail=0

# A fresh configuration without options, as a user types it.
cmake -S "$src" -B "$tmp/b" -DCMAKE_BUILD_TYPE=Release -DBIBLE_CORE_ONLY=ON \
  -DBIBLE_SANITIZER_TESTS=OFF >"$tmp/cfg.log" 2>&1 || { cat "$tmp/cfg.log"; exit 1; }
if ! grep -qx 'BIBLE_WERROR:BOOL=OFF' "$tmp/b/CMakeCache.txt"; then
  echo "FAIL: a plain configuration treats warnings as errors"
  fail=1
fi
grep -q '"BIBLE_WERROR": "ON"' "$src/CMakePresets.json" ||
  { echo "FAIL: the ci preset does not treat warnings as errors"; fail=1; }

if ! cmake --build "$tmp/b" --target core settings -j 2 >"$tmp/build.log" 2>&1; then
  echo "FAIL: the Release build of core and settings failed"
  tail -n 40 "$tmp/build.log"
  fail=1
elif grep -q 'warning:' "$tmp/build.log"; then
  echo "FAIL: the Release build warns:"
  grep -A4 'warning:' "$tmp/build.log" | head -n 40
  fail=1
fi
[ "$fail" -eq 0 ] && echo PASS
exit $fail
