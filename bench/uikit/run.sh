#!/usr/bin/env bash
# Runs the skin benchmark under Wine in build/win32's prefix (made by its test run).
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/win32}
. "$here/scripts/wine-env.sh" "$build/wine"
skin=$(printf 'Z:%s' "$build/skin/default.uir" | tr / '\\')
wine "$build/bin/skin_bench.exe" "$skin" "${2:-31}"
