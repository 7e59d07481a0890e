#!/usr/bin/env bash
# Runs the launcher benchmark under Wine in the win32 build's prefix, with its
# own Xvfb and wineserver (started and stopped here). Usage: bash bench/launcher/run.sh [BUILD]
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win32}
root=$build/wine
[ -x "$build/bin/launcher_bench.exe" ] || { echo "build $build first (cmake --build $build)" >&2; exit 1; }
bash "$here/scripts/wine-fixture.sh" start "$root" >/dev/null || exit 1
. "$here/scripts/wine-env.sh" "$root"
wine "$build/bin/launcher_bench.exe"
status=$?
bash "$here/scripts/wine-fixture.sh" stop "$root"
exit $status
