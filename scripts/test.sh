#!/usr/bin/env bash
# The test command: installs what is missing, builds both builds, runs every test
# (native with sanitizers, then Windows under Wine and Xvfb) and ends with
# "N passed, N failed". Exit status 0 only when nothing failed.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=${KESTRO_JOBS:-$(nproc)}
native=${KESTRO_NATIVE_BUILD:-$here/build/native}
win=${KESTRO_WIN_BUILD:-$here/build/win32}
fuzz=${KESTRO_FUZZ_BUILD:-$here/build/fuzz}

# A machine that is already set up needs no root: the script then only checks.
if [ "$(id -u)" = 0 ]; then
  bash scripts/setup-machine.sh || exit 1
elif ! bash scripts/setup-machine.sh 2>/dev/null; then
  sudo bash scripts/setup-machine.sh || { echo "test.sh: the machine is not set up; run scripts/setup-machine.sh as root"; exit 1; }
fi

status=0
build() {
  local dir=$1; shift
  mkdir -p "$dir"
  rm -rf "$dir/test-results" "$dir/ctest-junit.xml"
  cmake -S . -B "$dir" -G Ninja "$@" >"$dir/configure.log" 2>&1 || { tail -n 40 "$dir/configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1 || { grep -E 'error|Error' "$dir/build.log" | head -n 40; return 1; }
}
run_tests() {
  local dir=$1 parallel=${2:-${KESTRO_CTEST_JOBS:-1}}
  (cd "$dir" && ctest --output-on-failure --output-junit ctest-junit.xml -j "$parallel" ${KESTRO_CTEST_ARGS:-}) | tail -n 400
}

# Every build treats a warning in our own code as an error (third-party sources keep theirs).
echo "== native build (sanitizers)"
# Test builds let KESTRO_STATS_SERVER point reports at the local stats-server (services/config).
if build "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_LOCAL_STATS=ON -DKESTRO_WERROR=ON; then run_tests "$native"; else echo "native build failed"; status=1; fi
echo "== fuzz build (clang, libFuzzer smoke of every target)"
if build "$fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRO_FUZZ=ON -DKESTRO_TESTS=OFF \
     -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_WERROR=ON; then
  # Each smoke fuzzes for a fixed time on one core: two at a time halve the wait.
  run_tests "$fuzz" "${KESTRO_FUZZ_JOBS:-2}"
else
  echo "fuzz build failed"; status=1
fi
echo "== win32 build (MinGW, tests under Wine)"
if build "$win" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw32.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_LOCAL_STATS=ON \
     -DKESTRO_WERROR=ON; then
  run_tests "$win"
else
  echo "win32 build failed"; status=1
fi

python3 scripts/summarize-tests.py "$native" "$fuzz" "$win" || status=1
exit $status
