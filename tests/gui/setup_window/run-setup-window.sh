#!/usr/bin/env bash
# run-setup-window.sh ROOT BIN ARTIFACTS: drives KestroSetup.exe's window under the run's
# Xvfb with real mouse and keyboard input (xdotool), with a compositor so the layered
# shadows blend as on a desktop. The reports go to the "setup_window" stats-server of
# the CTest fixtures when this build has one (KESTRO_STATS_DIR), else to a closed port.
root=$1 bin=$2 artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
. "$repo/scripts/wine-env.sh" "$root"
work=$(mktemp -d /tmp/kestro-setup-window.XXXXXX)
compositor=
cleanup() {
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null && wait "$compositor" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export KESTRO_STATS_SERVER=127.0.0.1:9
stats_log=
server="${KESTRO_STATS_DIR:-}/setup_window"
if [ -n "${KESTRO_STATS_DIR:-}" ] && [ -s "$server/port" ]; then
  export KESTRO_STATS_SERVER="127.0.0.1:$(cat "$server/port")"
  stats_log="$server/requests.log"
fi
if command -v xcompmgr >/dev/null; then
  xcompmgr >/dev/null 2>&1 </dev/null &
  compositor=$!
fi
python3 "$here/drive_setup_window.py" --bin "$bin" --work "$work" --artifacts "$artifacts" --stats-log "$stats_log"
