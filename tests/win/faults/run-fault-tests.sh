#!/usr/bin/env bash
# run-fault-tests.sh ROOT RESULT.xml PROGRAM [ARGS...]: runs the fault tests under Wine
# with a read-only drive R: (a read-only tmpfs, when this machine lets us mount one);
# the read-only case skips without it.
root=$1
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
. "$repo/scripts/wine-env.sh" "$root" 2>/dev/null
disk="$root/read-only-disk"
link="$WINEPREFIX/dosdevices/r:"
mounted=0
cleanup() {
  if [ $mounted = 1 ]; then
    rm -f "$link"
    umount "$disk" 2>/dev/null
  fi
}
trap cleanup EXIT
mkdir -p "$disk"
if mountpoint -q "$disk" || mount -t tmpfs -o ro,size=1m tmpfs "$disk" 2>/dev/null; then
  mounted=1
  ln -sfn "$disk" "$link"
  export KESTRO_READONLY_DRIVE='R:\'
fi
"$repo/scripts/wine-run.sh" "$@"
