#!/usr/bin/env bash
# run-install-bench.sh [BUILD_DIR]: the install bench under Wine in the build's test
# prefix (run the tests once first). Needs a built build/win32.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win32}
cmake --build "$build" --target install_bench >/dev/null
. "$here/scripts/wine-env.sh" "$build/wine"
[ -d "$WINEPREFIX" ] || { echo "run the tests once first (they create $WINEPREFIX)"; exit 1; }
wine "$build/bin/install_bench.exe" "${KESTRO_BENCH_RUNS:-5}" 2>/dev/null | tr -d '\r'
