#!/usr/bin/env bash
# run-getfile-bench.sh [BUILD_DIR]: GetFile of a 64 MiB body from a loopback server
# (Python's http.server, native) under Wine, against curl fetching the same URL in the
# same run; default receive size and 2,097,152 bytes. Needs a built build/win32.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win32}
bench=$build/bin/http_getfile_bench.exe
[ -f "$bench" ] || { echo "build $bench first (cmake --build $build --target http_getfile_bench)"; exit 1; }

work=$(mktemp -d /tmp/kestro-getfile-bench.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www"
head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/www/body.bin"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()')
(cd "$work/www" && exec python3 -m http.server "$port" --bind 127.0.0.1 >/dev/null 2>&1) &
server_pid=$!
for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done

. "$here/scripts/wine-env.sh" "$build/wine"
# A private prefix is not needed for one program; the test prefix is reused when it exists.
[ -d "$WINEPREFIX" ] || { echo "run the tests once first (they create $WINEPREFIX)"; exit 1; }

now() { date +%s.%N; }
runs=${KESTRO_BENCH_RUNS:-3}
for i in $(seq "$runs"); do
  t0=$(now)
  curl -s -o "$work/curl.bin" "http://127.0.0.1:$port/body.bin"
  t1=$(now)
  curl_s=$(echo "$t1 - $t0" | bc -l)
  for size in 4096 2097152; do
    line=$(wine "$bench" "$port" /body.bin "Z:${work//\//\\}\\agent.bin" "$size" 2>/dev/null | tr -d '\r')
    agent_s=$(echo "$line" | sed -n 's/.*seconds=\([0-9.]*\).*/\1/p')
    cmp -s "$work/agent.bin" "$work/www/body.bin" || line="$line (FILE DIFFERS)"
    printf 'run %d receive %7d: curl %.3f s, agent %s, ratio agent/curl %.2f\n' \
      "$i" "$size" "$curl_s" "$line" "$(echo "$agent_s / $curl_s" | bc -l)"
  done
done
