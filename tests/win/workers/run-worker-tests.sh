#!/usr/bin/env bash
# run-worker-tests.sh ROOT RESULT.xml PROGRAM [ARGS...]: runs the worker tests under
# Wine with a small full drive K: (a 2 MB tmpfs, when this machine lets us mount one)
# for the full-disk case; the tests skip that case without it.
root=$1
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
. "$repo/scripts/wine-env.sh" "$root" 2>/dev/null
disk="$root/full-disk"
link="$WINEPREFIX/dosdevices/k:"
mounted=0
cleanup() {
  if [ $mounted = 1 ]; then
    rm -f "$link"
    umount "$disk" 2>/dev/null
  fi
}
trap cleanup EXIT
mkdir -p "$disk"
if mountpoint -q "$disk" || mount -t tmpfs -o size=2m tmpfs "$disk" 2>/dev/null; then
  mounted=1
  rm -rf "${disk:?}"/*
  ln -sfn "$disk" "$link"
  export KESTRO_FULL_DISK='K:\'
fi
"$repo/scripts/wine-run.sh" "$@"
