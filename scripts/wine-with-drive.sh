#!/usr/bin/env bash
# wine-with-drive.sh ROOT NAME LETTER VARIABLE MOUNT-OPTIONS RESULT.xml PROGRAM [ARGS...]:
# runs a Wine test program (through wine-run.sh) with a small tmpfs mapped as drive
# LETTER: and VARIABLE='LETTER:\' telling the tests where it is. Every run mounts a
# folder of its own under ROOT/drives, so two uses (or two runs) never share a disk.
# Where this machine does not let us mount one (not root, or a container without the
# right), VARIABLE stays unset and the tests that need the drive skip.
root=$1 name=$2 letter=$3 variable=$4 options=$5
shift 5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$root" 2>/dev/null
link="$WINEPREFIX/dosdevices/$letter:"
mkdir -p "$root/drives"
disk=$(mktemp -d "$root/drives/$name.XXXXXX") || exit 1
mounted=0
cleanup() {
  if [ $mounted = 1 ]; then
    rm -f "$link"
    # A file Wine still holds there keeps the disk busy: detach it anyway.
    umount "$disk" 2>/dev/null || umount -l "$disk" 2>/dev/null
  fi
  rmdir "$disk" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 143' TERM INT
if mount -t tmpfs -o "$options" tmpfs "$disk" 2>/dev/null; then
  mounted=1
  ln -sfn "$disk" "$link"
  export "$variable=$letter:\\"
else
  echo "wine-with-drive: this machine does not let $(id -un) mount a tmpfs; the tests that need drive $letter: skip" >&2
fi
"$here/wine-run.sh" "$root" "$@"
