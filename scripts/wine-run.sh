#!/usr/bin/env bash
# wine-run.sh ROOT RESULT.xml PROGRAM [ARGS...]: runs one test program under Wine in
# the build's prefix; GoogleTest programs write their results to RESULT.xml. With
# KESTRO_NO_DISPLAY=1 the program and every program it starts run without an X display,
# as in a headless CI job or container (Wine then creates no windows at all).
root=$1 result=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$root"
if [ "${KESTRO_NO_DISPLAY:-0}" = 1 ]; then unset DISPLAY; fi
mkdir -p "$(dirname "$result")"
rm -f "$result"
export GTEST_OUTPUT="xml:Z:${result//\//\\}"
exec wine "$@"
