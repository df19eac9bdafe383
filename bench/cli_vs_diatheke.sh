#!/usr/bin/env bash
# Times bible-tool against diatheke on the same KJV module, whole process against whole process:
# the word search ("bible-tool search" against "diatheke -s multiword") and a chapter ("bible-tool
# chapter" against "diatheke -f plain"). Prints each pair's medians and their ratio.
#   bench/cli_vs_diatheke.sh [BIBLE_TOOL] [DATA_ROOT]
# DATA_ROOT defaults to a staged folder under /tmp, filled by scripts/stage-data.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-}
if [ -z "$tool" ]; then
  for t in "$root/build/tools/bible-tool" "$root"/build*/tools/bible-tool; do
    if [ -x "$t" ]; then tool=$t; break; fi
  done
fi
[ -n "$tool" ] && [ -x "$tool" ] || { echo "cli_vs_diatheke: bible-tool not built" >&2; exit 1; }
data=${2:-/tmp/bible-bench-data}
command -v hyperfine >/dev/null || { echo "cli_vs_diatheke: hyperfine is not installed" >&2; exit 1; }
command -v diatheke >/dev/null || { echo "cli_vs_diatheke: diatheke is not installed" >&2; exit 1; }
bash "$root/scripts/stage-data.sh" "$data" "$tool" >/dev/null 2>&1
module=engKJV2006eb
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# name | bible-tool arguments | diatheke arguments
cases=(
  "search love|search $data 4 love|-b $module -s multiword -k love"
  "search love world|search $data 4 'love world'|-b $module -s multiword -k love world"
  "search shepherd|search $data 4 shepherd|-b $module -s multiword -k shepherd"
  "search God and|search $data 4 'God and'|-b $module -s multiword -k God and"
  "chapter John 3|chapter $data 4 'John 3'|-b $module -f plain -k John 3"
  "chapter Psalm 119|chapter $data 4 'Ps 119'|-b $module -f plain -k Ps 119"
)

printf '%-22s %14s %14s %10s\n' case "bible-tool ms" "diatheke ms" ratio
for c in "${cases[@]}"; do
  IFS='|' read -r name ours theirs <<<"$c"
  json="$out/$(echo "$name" | tr ' ' _).json"
  hyperfine -N --warmup 3 --runs 20 --export-json "$json" \
    "$tool $ours" "diatheke $theirs" >/dev/null 2>&1
  python3 - "$json" "$name" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
a, b = r[0]["median"] * 1000, r[1]["median"] * 1000
print(f"{sys.argv[2]:<22} {a:14.2f} {b:14.2f} {a / b:10.3f}")
PY
done
