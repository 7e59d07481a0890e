#!/usr/bin/env bash
# wine-with-drive.sh ROOT NAME LETTER VARIABLE MOUNT-OPTIONS RESULT.xml PROGRAM [ARGS...]:
# runs a Wine test program (through wine-run.sh) with a small tmpfs mounted at ROOT/NAME
# and mapped as drive LETTER:, and VARIABLE='LETTER:\' telling the tests where it is.
# Where this machine does not let us mount one, VARIABLE stays unset and the tests that
# need the drive skip.
root=$1 name=$2 letter=$3 variable=$4 options=$5
shift 5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$root" 2>/dev/null
disk="$root/$name"
link="$WINEPREFIX/dosdevices/$letter:"
mounted=0
cleanup() {
  if [ $mounted = 1 ]; then
    rm -f "$link"
    umount "$disk" 2>/dev/null
  fi
}
trap cleanup EXIT
mkdir -p "$disk"
if mountpoint -q "$disk" || mount -t tmpfs -o "$options" tmpfs "$disk" 2>/dev/null; then
  mounted=1
  # A drive left over from an interrupted run starts empty again.
  rm -rf "${disk:?}"/* 2>/dev/null
  ln -sfn "$disk" "$link"
  export "$variable=$letter:\\"
fi
"$here/wine-run.sh" "$root" "$@"
