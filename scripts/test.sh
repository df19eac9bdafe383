#!/usr/bin/env bash
# Installs what the build needs, builds everything (with the sanitizer build of core and settings)
# and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
preset=default
[ "${CI:-}" = "true" ] && preset=ci
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" --timeout 900
