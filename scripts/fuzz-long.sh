#!/usr/bin/env bash
# fuzz-long.sh BUILD TARGET [SECONDS]: one long libFuzzer run of a target on a copy of
# its seeds, niced and single-job (the machine is shared), then one table row for the
# FUZZING section of bench/README.md. A lock keeps long runs from overlapping.
set -eu
build=$1 target=$2 seconds=${3:-600}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$build/fuzz-long/$target
exec 9>"$build/fuzz-long.lock"
flock 9
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp -r "$here/fuzz/corpus/$target"/. "$work/corpus/" 2>/dev/null || true
seeds=$(ls "$work/corpus" | wc -l)
started=$(date -u +%H:%M)
cd "$work"
status=0
nice -n 19 "$build/bin/$target" -jobs=1 -workers=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/run.txt" 2>&1 || status=$?
log=$work/fuzz-0.log
execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n 1)
last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
cov=$(echo "$last" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*')
ft=$(echo "$last" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*')
corp=$(ls "$work/corpus" | wc -l)
findings=$(ls "$work/artifacts" | wc -l)
echo "| $target | $(date -u +%F) $started | ${seconds} s | ${execs:-?} | ${cov:-?} | ${ft:-?} | $seeds → $corp | $findings |" | tee "$work/row.md"
[ "$findings" = 0 ] && [ "$status" = 0 ]
