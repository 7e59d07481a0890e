#!/usr/bin/env bash
# fuzz-smoke.sh TARGET SEEDS WORK SECONDS: runs a libFuzzer target for a few seconds
# on a scratch copy of its seed corpus, so targets keep building and running.
set -eu
target=$1 seeds=$2 work=$3 seconds=$4
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
[ -d "$seeds" ] && cp -r "$seeds"/. "$work/corpus/" 2>/dev/null || true
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" 2>"$work/log.txt" || { tail -n 40 "$work/log.txt"; exit 1; }
