#!/usr/bin/env bash
# wine-run.sh ROOT RESULT.xml PROGRAM [ARGS...]: runs one test program under Wine in
# the build's prefix; GoogleTest programs write their results to RESULT.xml.
root=$1 result=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$root"
mkdir -p "$(dirname "$result")"
rm -f "$result"
export GTEST_OUTPUT="xml:Z:${result//\//\\}"
exec wine "$@"
