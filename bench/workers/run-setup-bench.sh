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
cmake --build "$build" --target KestroSetup miniunz launcher_bench_peer kestro_host_tools >/dev/null
cmake --build "$native" --target kestro-pack >/dev/null
[ -f "$build/wine/prefix/.kestro-ready" ] || { echo "run the tests once first (they create $build/wine/prefix)"; exit 1; }

stats=$(mktemp -d /tmp/kestro-setup-bench.XXXXXX)
cleanup() {
  "$here/scripts/stats-fixture.sh" stop "$stats" >/dev/null 2>&1 || true
  "$here/scripts/wine-fixture.sh" stop "$build/wine" >/dev/null 2>&1 || true
  rm -rf "$stats"
}
trap cleanup EXIT
"$here/scripts/wine-fixture.sh" start "$build/wine" >/dev/null
# Reports go to the build's local stats-server; without it to a closed port, where they fail at once.
export KESTRO_STATS_SERVER=127.0.0.1:9
if "$here/scripts/stats-fixture.sh" start "$build/host/bin/stats-server" "$stats" >/dev/null 2>&1; then
  export KESTRO_STATS_SERVER="127.0.0.1:$(cat "$stats/port")"
fi
python3 "$here/bench/workers/setup_bench.py" --build "$build" --pack "$native/bin/kestro-pack" \
  --rounds "${KESTRO_BENCH_RUNS:-12}" "$@"
[ -s "$stats/requests.log" ] && echo "stats-server received $(wc -l <"$stats/requests.log") reports"
exit 0
