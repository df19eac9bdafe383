#!/usr/bin/env bash
# A user's plain build: warnings are not errors unless asked for (the ci preset asks), and the
# Release optimisation level raises no warning in the sources GCC 12 warned about at -O3.
#   release_build_test.sh SOURCE_DIR CXX_COMPILER
set -euo pipefail
src=$1 cxx=$2
tmp=$(mktemp -d /tmp/bible-release-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail=0

# A fresh configuration without options (the Qt-free part is enough to read the default).
cmake -S "$src" -B "$tmp/plain" -DBIBLE_CORE_ONLY=ON -DBIBLE_SANITIZER_TESTS=OFF >"$tmp/cfg.log" 2>&1 ||
  { cat "$tmp/cfg.log"; exit 1; }
if ! grep -qx 'BIBLE_WERROR:BOOL=OFF' "$tmp/plain/CMakeCache.txt"; then
  echo "FAIL: a plain configuration treats warnings as errors"
  fail=1
fi
grep -q '"BIBLE_WERROR": "ON"' "$src/CMakePresets.json" ||
  { echo "FAIL: the ci preset does not treat warnings as errors"; fail=1; }

# The project's warning flags at the Release level, warnings as errors.
for file in core/versionwriter.cpp; do
  if ! "$cxx" -std=c++20 -O3 -DNDEBUG -D_FORTIFY_SOURCE=2 -D_GLIBCXX_ASSERTIONS -Wall -Wextra \
      -Werror -I"$src" -c "$src/$file" -o "$tmp/out.o" 2>"$tmp/warn.log"; then
    echo "FAIL: $file warns at -O3:"
    head -n 30 "$tmp/warn.log"
    fail=1
  fi
done
[ "$fail" -eq 0 ] && echo PASS
exit $fail
