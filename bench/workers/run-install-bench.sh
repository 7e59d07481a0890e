#!/usr/bin/env bash
# run-install-bench.sh [BUILD_DIR]: the install bench under Wine in the build's test
# prefix (run the tests once first), with the statistics reports going to the local
# stats-server of the build, then the same install stage by stage, then native `unzip`
# on the same archive as the floor (its time and peak resident memory). Needs a built
# build/win32.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win32}
cmake --build "$build" --target install_bench install_phases >/dev/null
. "$here/scripts/wine-env.sh" "$build/wine" 2>/dev/null
[ -d "$WINEPREFIX" ] || { echo "run the tests once first (they create $WINEPREFIX)"; exit 1; }

work=$(mktemp -d /tmp/kestro-install-bench.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# A closed port unless the stats-server is there: a report then fails at once.
export KESTRO_STATS_SERVER=127.0.0.1:9
if [ -x "$build/host/bin/stats-server" ]; then
  "$build/host/bin/stats-server" --port 0 --port-file "$work/port" --log "$work/requests.log" >/dev/null 2>&1 </dev/null &
  server_pid=$!
  for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
  [ -s "$work/port" ] && export KESTRO_STATS_SERVER="127.0.0.1:$(cat "$work/port")"
fi
KESTRO_BENCH_KEEP=1 wine "$build/bin/install_bench.exe" "${KESTRO_BENCH_RUNS:-5}" 2>/dev/null | tr -d '\r'
[ -s "$work/requests.log" ] && echo "stats-server received $(wc -l <"$work/requests.log") reports"
bench="$WINEPREFIX/drive_c/kestro-bench"
cp "$bench/product.zip" "$work/product.zip"
echo "the same install stage by stage:"
wine "$build/bin/install_phases.exe" "${KESTRO_BENCH_RUNS:-5}" 2>/dev/null | tr -d '\r'
for run in $(seq "${KESTRO_BENCH_RUNS:-5}"); do
  rm -rf "$work/unzip"
  /usr/bin/time -f "native unzip run $run: %e s, peak resident %M KB" unzip -q -o "$work/product.zip" -d "$work/unzip" 2>&1
done
exit 0
