#!/usr/bin/env bash
# The program, the tools and every test built once more in Debug with AddressSanitizer and
# UndefinedBehaviorSanitizer (the "sanitized" preset, in build-sanitized/), and the whole suite run
# on that build: widget, end-to-end and soak tests included. Leaks are reported except those
# inside Qt's own libraries listed in tests/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
start=$SECONDS
cmake --preset sanitized >/dev/null
cmake --build --preset sanitized
echo "sanitized: the build took $((SECONDS - start)) s"
start=$SECONDS
ctest --preset sanitized --timeout 900
echo "sanitized: the suite took $((SECONDS - start)) s"
