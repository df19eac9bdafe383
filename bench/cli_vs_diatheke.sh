#!/usr/bin/env bash
# Times bible-tool against diatheke on the same KJV module, whole process against whole process,
# with /bin/true as the floor a process start costs: the word search ("bible-tool search" against
# "diatheke -s lucene" over a Lucene index, and "-s multiword") and a chapter ("bible-tool
# chapter" against "diatheke -f plain"). Prints each case's medians and bible-tool's ratio to
# diatheke.
#   bench/cli_vs_diatheke.sh [BIBLE_TOOL] [DATA_ROOT]
# DATA_ROOT defaults to a staged folder under /tmp, filled by scripts/stage-data.sh. The Lucene
# index is built once in a SWORD library of its own under /tmp, which diatheke and mkfastmod find
# as the library of their working folder (the system library is not touched).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-}
if [ -z "$tool" ]; then
  for t in "$root/build/tools/bible-tool" "$root"/build*/tools/bible-tool; do
    if [ -x "$t" ]; then tool=$t; break; fi
  done
fi
[ -n "$tool" ] && [ -x "$tool" ] || { echo "cli_vs_diatheke: bible-tool not built" >&2; exit 1; }
tool=$(realpath "$tool")
data=$(realpath -m "${2:-/tmp/bible-bench-data}")
command -v hyperfine >/dev/null || { echo "cli_vs_diatheke: hyperfine is not installed" >&2; exit 1; }
command -v diatheke >/dev/null || { echo "cli_vs_diatheke: diatheke is not installed" >&2; exit 1; }
bash "$root/scripts/stage-data.sh" "$data" "$tool" >/dev/null 2>&1
module=engKJV2006eb

# A private SWORD library holding the KJV and its Lucene index.
library=/tmp/bible-bench-sword
if [ ! -d "$library/modules/texts/ztext/$module/lucene" ]; then
  rm -rf "$library"
  mkdir -p "$library/mods.d" "$library/modules/texts/ztext"
  cp /usr/share/sword/mods.d/engkjv2006eb.conf "$library/mods.d/" 2>/dev/null ||
    cp /usr/share/sword/mods.d/$module.conf "$library/mods.d/"
  cp -r "/usr/share/sword/modules/texts/ztext/$module" "$library/modules/texts/ztext/"
  (cd "$library" && HOME=$library mkfastmod "$module" >/dev/null 2>&1) || true
fi
# SWORD finds the library of the current folder (./mods.d) before every other one.
cd "$library"
export HOME=$library
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# name | bible-tool arguments | diatheke arguments
cases=(
  "search love|search $data 4 love|-b $module -s lucene -k love"
  "search love (multiword)|search $data 4 love|-b $module -s multiword -k love"
  "search love world|search $data 4 'love world'|-b $module -s lucene -k love world"
  "search shepherd|search $data 4 shepherd|-b $module -s lucene -k shepherd"
  "chapter John 3|chapter $data 4 'John 3'|-b $module -f plain -k John 3"
  "chapter Psalm 119|chapter $data 4 'Ps 119'|-b $module -f plain -k Ps 119"
)

printf '%-24s %10s %14s %14s %10s\n' case "true ms" "bible-tool ms" "diatheke ms" ratio
for c in "${cases[@]}"; do
  IFS='|' read -r name ours theirs <<<"$c"
  json="$out/$(echo "$name" | tr ' ()' ___).json"
  hyperfine -N --warmup 5 --runs 50 --export-json "$json" \
    "/bin/true" "$tool $ours" "diatheke $theirs" >/dev/null 2>&1
  python3 - "$json" "$name" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
t, a, b = (x["median"] * 1000 for x in r)
print(f"{sys.argv[2]:<24} {t:10.2f} {a:14.2f} {b:14.2f} {a / b:10.3f}")
PY
done
