#!/usr/bin/env bash
# run-worker-tests.sh ROOT STATS_SERVER RESULT.xml PROGRAM [ARGS...]: runs the worker
# tests under Wine with
#  - the local stats-server (STATS_SERVER, when built) on a free loopback port, its
#    request log handed to the tests in KESTRO_STATS_LOG; without it the reports are
#    pointed at a closed port so they fail at once;
#  - a small full drive K: (a 2 MB tmpfs, when this machine lets us mount one) for the
#    full-disk case; the tests skip that case without it.
root=$1 server=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
. "$repo/scripts/wine-env.sh" "$root" 2>/dev/null
work=$(mktemp -d /tmp/kestro-worker-tests.XXXXXX)
server_pid=
disk="$root/full-disk"
link="$WINEPREFIX/dosdevices/k:"
mounted=0
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  if [ $mounted = 1 ]; then
    rm -f "$link"
    umount "$disk" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

export KESTRO_STATS_SERVER=127.0.0.1:9
if [ -n "$server" ] && [ -x "$server" ]; then
  "$server" --port 0 --port-file "$work/port" --log "$work/requests.log" >/dev/null 2>&1 </dev/null &
  server_pid=$!
  for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
  if [ -s "$work/port" ]; then
    export KESTRO_STATS_SERVER="127.0.0.1:$(cat "$work/port")"
    export KESTRO_STATS_LOG="Z:${work//\//\\}\\requests.log"
  fi
fi

mkdir -p "$disk"
if mountpoint -q "$disk" || mount -t tmpfs -o size=2m tmpfs "$disk" 2>/dev/null; then
  mounted=1
  rm -rf "${disk:?}"/*
  ln -sfn "$disk" "$link"
  export KESTRO_FULL_DISK='K:\'
fi
"$repo/scripts/wine-run.sh" "$root" "$@"
