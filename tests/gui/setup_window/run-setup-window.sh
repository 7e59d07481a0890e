#!/usr/bin/env bash
# run-setup-window.sh ROOT BIN STATS_SERVER ARTIFACTS: drives KestroSetup.exe's window
# under the run's Xvfb with real mouse and keyboard input (xdotool), with the local
# stats-server started here and a compositor so the layered shadows blend as on a desktop.
root=$1 bin=$2 server=$3 artifacts=$4
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
. "$repo/scripts/wine-env.sh" "$root"
work=$(mktemp -d /tmp/kestro-setup-window.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

export KESTRO_STATS_SERVER=127.0.0.1:9
stats_log=
if [ -n "$server" ] && [ -x "$server" ]; then
  "$server" --port 0 --port-file "$work/port" --log "$work/requests.log" >/dev/null 2>&1 </dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
  if [ -s "$work/port" ]; then
    export KESTRO_STATS_SERVER="127.0.0.1:$(cat "$work/port")"
    stats_log="$work/requests.log"
  fi
fi
if command -v xcompmgr >/dev/null; then
  xcompmgr >/dev/null 2>&1 </dev/null &
  pids+=($!)
fi
python3 "$here/drive_setup_window.py" --bin "$bin" --work "$work" --artifacts "$artifacts" --stats-log "$stats_log"
