#!/usr/bin/env bash
# Builds the program, stages its runnable folder with the default data set and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
# Only what the staged folder needs; the test command builds the rest.
cmake --build --preset default --target bible bible-tool bible-tool-import beacon splashsound
stage=build/stage
mkdir -p "$stage"
if [ -f scripts/stage-data.sh ]; then
  bash scripts/stage-data.sh "$stage"
fi
# The program, its splash sound and its help lie beside the data.
cp -f build/app/bible "$stage/bible"
cp -f build/tools/beacon "$stage/beacon"
# The importer beside the program: "Добави превод" starts it.
cp -f build/tools/bible-tool-import "$stage/bible-tool-import"
cp -f build/app/Beg1.wav "$stage/Beg1.wav"
rm -rf "$stage/help"
cp -r help "$stage/help"
exec "$stage/bible"
