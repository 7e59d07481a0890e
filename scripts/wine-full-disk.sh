#!/usr/bin/env bash
# wine-full-disk.sh ROOT RESULT.xml PROGRAM [ARGS...]: runs a Wine test with a tiny
# full-able disk: a 64 KiB tmpfs mounted under the build's Wine root and mapped to
# drive Y:, named to the test in KESTRO_FULL_DISK. Needs root (mount).
set -u
root=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$root"
disk="$root/full-disk"
link="$WINEPREFIX/dosdevices/y:"
mkdir -p "$disk"
mountpoint -q "$disk" && umount "$disk"
if ! mount -t tmpfs -o size=64k tmpfs "$disk"; then
  echo "wine-full-disk: cannot mount a small tmpfs (run as root)" >&2
  exit 1
fi
cleanup() {
  rm -f "$link"
  umount "$disk" 2>/dev/null
}
trap cleanup EXIT
ln -sfn "$disk" "$link"
export KESTRO_FULL_DISK='Y:\'
"$here/wine-run.sh" "$@"
