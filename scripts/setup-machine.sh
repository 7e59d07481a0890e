#!/usr/bin/env bash
# Installs everything the builds, tests and the demo need on a fresh Debian 12
# machine, and unpacks the third-party sources the Windows build compiles.
# Idempotent: a second run only checks. Run as root.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache="$here/.deps"
# A new version of the stamp makes machines set up before the list last grew install again.
stamp="$cache/.packages-v5"

packages=(
  g++-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine32:i386 wine64
  cmake ninja-build g++ googletest
  libjsoncpp-dev libminizip-dev zlib1g-dev
  xvfb xauth xdotool x11-apps imagemagick xcompmgr fonts-wqy-microhei
  tinyproxy curl unzip clang libclang-rt-14-dev dpkg-dev python3 locales
  osslsigncode openssl binutils-mingw-w64-i686
)

need_root() { [ "$(id -u)" = 0 ] || { echo "setup-machine: run as root" >&2; exit 1; }; }

if [ ! -f "$stamp" ]; then
  need_root
  export DEBIAN_FRONTEND=noninteractive
  dpkg --add-architecture i386
  # Source packages are needed for the Windows build of jsoncpp, minizip, duktape and libdeflate.
  for f in /etc/apt/sources.list.d/debian.sources; do
    [ -f "$f" ] && sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >> /etc/apt/sources.list
  fi
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${packages[@]}" >/dev/null
  # tinyproxy is started by the tests on their own ports; the packaged service is not wanted.
  (systemctl disable --now tinyproxy >/dev/null 2>&1 || service tinyproxy stop >/dev/null 2>&1 || true)
  pkill -x tinyproxy 2>/dev/null || true
  mkdir -p "$cache"
  touch "$stamp"
fi

# Wine maps Windows file names to Unix ones through the C library's locale: without
# a zh_CN.UTF-8 locale (the tests' LC_ALL) every non-ASCII file name fails to open.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  need_root
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# Third-party sources, unpacked with Debian's patches applied.
fetch_source() {
  local pkg=$1 dir=$2 srcname=$3
  [ -d "$cache/src/$dir" ] && return 0
  mkdir -p "$cache/dl" "$cache/src"
  (cd "$cache/dl" && apt-get source --download-only -q "$pkg" >/dev/null) || return 1
  local dsc
  dsc=$(ls "$cache"/dl/${srcname}_*.dsc 2>/dev/null | head -n 1)
  [ -n "$dsc" ] || return 1
  rm -rf "$cache/src/$dir.tmp"
  dpkg-source --no-check -x "$dsc" "$cache/src/$dir.tmp" >/dev/null || return 1
  mv "$cache/src/$dir.tmp" "$cache/src/$dir"
}
# Pinned to the versions the build was written against; a plain name is the fallback
# when the mirror no longer carries the pin.
fetch_source "libjsoncpp-dev=1.9.5-4" jsoncpp libjsoncpp || fetch_source libjsoncpp-dev jsoncpp libjsoncpp
fetch_source "minizip=1.1-8+deb12u1" minizip minizip || fetch_source minizip minizip minizip
fetch_source "duktape=2.7.0-2" duktape duktape || fetch_source duktape duktape duktape
# The install's inflate of entry data; Debian has no MinGW build of it.
fetch_source "libdeflate=1.14-1" libdeflate libdeflate || fetch_source libdeflate libdeflate libdeflate
echo "setup-machine: ready"
