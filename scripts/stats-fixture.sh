#!/usr/bin/env bash
# start PROGRAM DIR [server options...]: starts a stats-server on a free loopback
# port for one test run; DIR receives "port", "requests.log", "server.err" and "pid".
# stop DIR: SIGTERM, then fails unless the server ended cleanly within 10 seconds.
set -u
cmd=$1
case "$cmd" in
  start)
    program=$2 dir=$3
    shift 3
    if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then
      kill -TERM "$(cat "$dir/pid")" 2>/dev/null
      sleep 0.5
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    # Detached from ctest's output pipe, like the wineserver.
    setsid "$program" --port 0 --port-file "$dir/port" --log "$dir/requests.log" "$@" \
      >/dev/null 2>"$dir/server.err" </dev/null &
    echo $! > "$dir/pid"
    for _ in $(seq 1 100); do
      [ -s "$dir/port" ] && { echo "stats-server on 127.0.0.1:$(cat "$dir/port") ($*)"; exit 0; }
      kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
      sleep 0.1
    done
    echo "stats-fixture: server did not start" >&2
    cat "$dir/server.err" >&2
    exit 1
    ;;
  stop)
    dir=$2
    [ -f "$dir/pid" ] || exit 0
    pid=$(cat "$dir/pid")
    kill -TERM "$pid" 2>/dev/null
    # Its last words mark a clean end; the process itself may linger as a zombie
    # until it is reaped, since its parent (this script's start) is long gone.
    for _ in $(seq 1 200); do
      grep -q "stats-server: stopped" "$dir/server.err" && { rm -f "$dir/pid"; exit 0; }
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    rm -f "$dir/pid"
    if kill -0 "$pid" 2>/dev/null; then
      kill -KILL "$pid"
      echo "stats-fixture: server ignored SIGTERM" >&2
      exit 1
    fi
    grep -q "stats-server: stopped" "$dir/server.err" || { echo "stats-fixture: server did not stop cleanly" >&2; cat "$dir/server.err" >&2; exit 1; }
    ;;
  *) echo "usage: stats-fixture.sh start PROGRAM DIR [options] | stop DIR" >&2; exit 2 ;;
esac
