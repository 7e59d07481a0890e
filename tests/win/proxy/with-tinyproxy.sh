#!/usr/bin/env bash
# with-tinyproxy.sh COMMAND...: runs the command with two real tinyproxy instances on
# free loopback ports, one of them demanding Basic authentication (user "kestro",
# password "s3cret"), and stops them afterwards. The ports and the Windows paths of
# their logs reach the test program as KESTRO_TINYPROXY_PORT, KESTRO_TINYPROXY_AUTH_PORT,
# KESTRO_TINYPROXY_LOG and KESTRO_TINYPROXY_AUTH_LOG.
set -u
work=$(mktemp -d /tmp/kestro-tinyproxy.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

# start NAME PORT [EXTRA CONFIG LINE]
start() {
  local name=$1 port=$2 extra=${3:-}
  cat >"$work/$name.conf" <<CONF
Port $port
Listen 127.0.0.1
Timeout 10
MaxClients 20
Allow 127.0.0.1
LogFile "$work/$name.log"
LogLevel Connect
DisableViaHeader Yes
$extra
CONF
  tinyproxy -d -c "$work/$name.conf" >"$work/$name.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "tinyproxy $name did not start"; cat "$work/$name.out"; return 1
}

plain_port=$(free_port)
start plain "$plain_port" || exit 1
auth_port=$(free_port)
start auth "$auth_port" "BasicAuth kestro s3cret" || exit 1

export KESTRO_TINYPROXY_PORT=$plain_port
export KESTRO_TINYPROXY_AUTH_PORT=$auth_port
export KESTRO_TINYPROXY_LOG="Z:${work//\//\\}\\plain.log"
export KESTRO_TINYPROXY_AUTH_LOG="Z:${work//\//\\}\\auth.log"
"$@"
