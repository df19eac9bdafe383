#!/usr/bin/env bash
# Builds the program, stages its runnable folder with the default data set and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
stage=build/stage
mkdir -p "$stage"
if [ -f scripts/stage-data.sh ]; then
  bash scripts/stage-data.sh "$stage"
fi
if [ -x build/app/bible ]; then
  # The program, its splash sound and its help lie beside the data.
  cp -f build/app/bible "$stage/bible"
  if [ -f build/app/Beg1.wav ]; then cp -f build/app/Beg1.wav "$stage/Beg1.wav"; fi
  rm -rf "$stage/help"
  cp -r help "$stage/help"
  exec "$stage/bible"
fi
# Until the main window exists: the command-line reader shows a chapter of the staged data.
exec build/tools/bible-tool chapter "$stage" 4 "John 3"
