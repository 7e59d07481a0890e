#!/usr/bin/env bash
# run-setup-bench.sh [BUILD_DIR] [-- setup_bench.py options]: the shipped KestroSetup.exe's
# quiet install timed from outside against miniunz under Wine and native unzip and bsdtar
# (setup_bench.py says how), in the build's test prefix (run the tests once first) with its
# own X display and wineserver, the reports going to the build's local stats-server.
# Needs built build/win32 and build/native (for kestro-pack); run as root (the tmpfs drive
# is a folder of /dev/shm mapped into the prefix).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win32}
[ $# -gt 0 ] && shift
[ "${1:-}" = "--" ] && shift
native=${KESTRO_NATIVE_BUILD:-$here/build/native}
cmake --build "$build" --target KestroSetup miniunz launcher_bench_peer stats_server_host >/dev/null
cmake --build "$native" --target kestro-pack >/dev/null
[ -f "$build/wine/prefix/.kestro-ready" ] || { echo "run the tests once first (they create $build/wine/prefix)"; exit 1; }

work=$(mktemp -d /tmp/kestro-setup-bench.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  "$here/scripts/wine-fixture.sh" stop "$build/wine" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
"$here/scripts/wine-fixture.sh" start "$build/wine" >/dev/null
# A closed port unless the stats-server is there: a report then fails at once.
export KESTRO_STATS_SERVER=127.0.0.1:9
if [ -x "$build/host/stats-server" ]; then
  "$build/host/stats-server" --port 0 --port-file "$work/port" --log "$work/requests.log" >/dev/null 2>&1 </dev/null &
  server_pid=$!
  for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
  [ -s "$work/port" ] && export KESTRO_STATS_SERVER="127.0.0.1:$(cat "$work/port")"
fi
python3 "$here/bench/workers/setup_bench.py" --build "$build" --pack "$native/bin/kestro-pack" \
  --rounds "${KESTRO_BENCH_RUNS:-12}" "$@"
[ -s "$work/requests.log" ] && echo "stats-server received $(wc -l <"$work/requests.log") reports"
exit 0
