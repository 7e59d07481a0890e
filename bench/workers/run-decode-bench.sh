#!/usr/bin/env bash
# run-decode-bench.sh [ROUNDS]: the entry data decoder alone (entry_decode_bench of the
# win32 build, as the installer is compiled, under Wine) on the archives of the install
# bench's two products as kestro-pack packs them. Needs built build/native (kestro-pack)
# and build/win32 and the win32 build's test prefix (the realistic product's program
# files come from it).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
native=${KESTRO_NATIVE_BUILD:-$here/build/native}
win=${KESTRO_WIN_BUILD:-$here/build/win32}
cmake --build "$native" --target kestro-pack >/dev/null
cmake --build "$win" --target KestroSetup entry_decode_bench >/dev/null
work=$(mktemp -d /tmp/kestro-decode-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 "$here/bench/workers/setup_bench.py" --build "$win" --pack "$native/bin/kestro-pack" --write-archives "$work"
. "$here/scripts/wine-env.sh" "$win/wine"
wine "$win/bin/entry_decode_bench.exe" "${1:-15}" "$(winepath -w "$work/bench.zip")" "$(winepath -w "$work/realistic.zip")" \
  2>/dev/null | tr -d '\r'

