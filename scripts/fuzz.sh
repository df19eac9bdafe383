#!/usr/bin/env bash
# Runs the libFuzzer targets of fuzz/ for a chosen time each, outside CI (CI runs the short smoke
# run through CTest instead).
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 600 seconds, every target
# Environment: FUZZ_BUILD  build folder (default build-fuzz), FUZZ_JOBS  targets at once (default:
# the number of processors). The corpus grows in $FUZZ_BUILD/corpus/<target> from run to run;
# findings land in $FUZZ_BUILD/findings, logs in $FUZZ_BUILD/logs. Exit status 1 on any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD:-$root/build-fuzz}
jobs=${FUZZ_JOBS:-$(nproc)}

cmake -S "$root/fuzz/project" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  read -r -a targets <<<"$(sed -n 's/^set(BIBLE_FUZZ_TARGETS \(.*\))$/\1/p' "$root/fuzz/targets.cmake")"
fi
"$build/fuzz-seedgen" "$build/seeds"
mkdir -p "$build/logs" "$build/findings"

run_one() {
  local t=$1
  mkdir -p "$build/corpus/$t"
  local rc=0
  "$build/fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -dict="$root/fuzz/fuzz.dict" -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
    "$build/corpus/$t" "$build/seeds/$t" >"$build/logs/$t.log" 2>&1 || rc=$?
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$t.log" | tail -1)
  local units
  units=$(find "$build/corpus/$t" -type f | wc -l)
  if [ "$rc" -eq 0 ]; then
    echo "$t: ${execs:-?} executions in ${seconds}s, no finding (corpus $units inputs)"
  else
    echo "$t: FINDING after ${execs:-?} executions (exit $rc); see $build/logs/$t.log"
  fi
}
export -f run_one
export build seconds root

printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} |
  tee "$build/logs/summary.txt"
! grep -q FINDING "$build/logs/summary.txt"
