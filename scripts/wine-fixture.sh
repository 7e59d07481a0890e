#!/usr/bin/env bash
# start ROOT: makes the build's Wine prefix (once), starts an Xvfb (unless
# KESTRO_OWN_DISPLAY=1) and one persistent wineserver; stop ROOT: stops both, which also saves the registry.
set -u
cmd=$1 root=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$root/home"
. "$here/wine-env.sh" "$root"

start_display() {
  if [ -f "$root/xvfb.pid" ] && kill -0 "$(cat "$root/xvfb.pid")" 2>/dev/null; then
    return 0
  fi
  local n
  for n in $(seq 91 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    local pid=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      echo "$pid" > "$root/xvfb.pid"
      echo ":$n" > "$root/display"
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "wine-fixture: no free X display" >&2
  return 1
}

make_prefix() {
  [ -f "$WINEPREFIX/.kestro-ready" ] && return 0
  rm -rf "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 </dev/null
  wineserver -w
  # Real folders instead of links into $HOME, so shortcuts land inside the prefix.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
  [ -d "$WINEPREFIX/drive_c/windows" ] || { echo "wine-fixture: wineboot failed" >&2; return 1; }
  touch "$WINEPREFIX/.kestro-ready"
}

case "$cmd" in
  start)
    mkdir -p "$(dirname "$WINEPREFIX")"
    # KESTRO_OWN_DISPLAY=1: the programs go to the caller's $DISPLAY (the demo on a desktop).
    if [ "${KESTRO_OWN_DISPLAY:-0}" != 1 ]; then start_display || exit 1; fi
    make_prefix || exit 1
    # Detached output: Wine's helpers would otherwise hold ctest's pipe open.
    wineserver -p >/dev/null 2>&1 </dev/null
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    echo "wine-fixture: prefix $WINEPREFIX, display $DISPLAY"
    ;;
  stop)
    wineserver -k >/dev/null 2>&1 </dev/null
    wineserver -w >/dev/null 2>&1 </dev/null
    if [ -f "$root/xvfb.pid" ]; then
      kill "$(cat "$root/xvfb.pid")" 2>/dev/null
      rm -f "$root/xvfb.pid" "$root/display"
    fi
    ;;
  *) echo "usage: wine-fixture.sh start|stop ROOT" >&2; exit 2 ;;
esac
