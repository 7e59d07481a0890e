#!/usr/bin/env bash
# The main job: installs what is missing, builds the Windows programs and the native
# tools, packs a demo product (the launcher, its libraries, the web helper, res.data and
# some data files) into a demo installer with kestro-pack, signs it with a test
# certificate (osslsigncode; the key is made here and stays in build/demo), starts the local
# stats-server, and runs the installer in a Wine prefix of its own:
#  - on your display when there is one: you click through the installer yourself;
#  - otherwise under Xvfb, clicked through by tests/gui/setup_window/drive_setup_window.py
#    (uninstaller pages, a failing package and its retry page, the update look, then the
#    real install), with a screenshot of every page.
# Either way the installed launcher is started at the end. Everything lands in build/demo.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=${KESTRO_JOBS:-$(nproc)}
native=${KESTRO_NATIVE_BUILD:-$here/build/native}
win=${KESTRO_WIN_BUILD:-$here/build/win32}
demo=$here/build/demo
wine_root=$demo/wine
shots=$demo/screenshots

if [ "$(id -u)" = 0 ]; then
  bash scripts/setup-machine.sh
else
  sudo bash scripts/setup-machine.sh
fi

# The same configuration as scripts/test.sh, so the two commands share their builds. The
# local-statistics option lets the demo's reports go to the local stats-server.
echo "== win32 build"
mkdir -p "$win" "$native"
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_LOCAL_STATS=ON -DKESTRO_WERROR=ON >"$win/configure.log" 2>&1 \
  || { tail -n 40 "$win/configure.log"; exit 1; }
cmake --build "$win" -j "$jobs" >"$win/build.log" 2>&1 || { grep -E 'error|Error' "$win/build.log" | head -n 40; exit 1; }
echo "== native tools"
cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRO_LOCAL_STATS=ON -DKESTRO_WERROR=ON \
  >"$native/configure.log" 2>&1 || { tail -n 40 "$native/configure.log"; exit 1; }
cmake --build "$native" -j "$jobs" --target kestro-pack stats-server >"$native/build-tools.log" 2>&1 \
  || { grep -E 'error|Error' "$native/build-tools.log" | head -n 40; exit 1; }
pack=$native/bin/kestro-pack
stats_server=$native/bin/stats-server

echo "== demo product in $demo/product"
rm -rf "$demo"
mkdir -p "$demo/product/data/存档" "$demo/product/res/images" "$shots"
# Programs as shipped (bin/ship: without debug information), data as built.
ship() { if [ -f "$win/bin/ship/$1" ]; then echo "$win/bin/ship/$1"; else echo "$win/bin/$1"; fi; }
for f in KestroGC.exe Tarnlib.dll Paneforge.dll Basekit.dll Hubshell.dll res.data; do
  cp "$(ship "$f")" "$demo/product/"
done
# The web helper and its runtime, and the crash reporter, when this build has them.
for f in KestroWeb.exe libcef.dll crashpost.exe; do
  if [ -f "$win/bin/$f" ]; then cp "$(ship "$f")" "$demo/product/"; fi
done
printf '[game]\nname=Kestro\n' > "$demo/product/data/config.ini"
printf 'level=3\n' > "$demo/product/data/存档/进度.dat"
printf 'Kestro 模拟器演示产品\n' > "$demo/product/说明.txt"
head -c 65536 /dev/zero | tr '\0' 'K' > "$demo/product/res/images/logo.bin"
cat > "$demo/record.json" <<'JSON'
{"channel":30001,"lastrun":"KestroGC.exe","mode":1,"shortcut":{"desktop":[{"file":"KestroGC.exe","name":"Kestro 模拟器"}],"taskbar":[{"file":"KestroGC.exe","name":"Kestro 模拟器"}]},"theme":"default"}
JSON

echo "== kestro-pack"
"$pack" build --program "$(ship KestroSetup.exe)" --config "$demo/record.json" --product "$demo/product" \
  -o "$demo/KestroSetup-unsigned.exe"
# A copy whose archive is cut short, for the installer's retry page (cut from the unsigned
# installer: the signature after the archive would take the cut instead).
head -c $(( $(stat -c %s "$demo/KestroSetup-unsigned.exe") - 1000 )) "$demo/KestroSetup-unsigned.exe" \
  > "$demo/KestroSetup-damaged.exe"

echo "== signing with a test certificate (made here, for the demo only)"
mkdir -p "$demo/signing"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$demo/signing/key.pem" -out "$demo/signing/cert.pem" -days 30 \
  -subj "/CN=Kestro demo signing (test only)" -addext extendedKeyUsage=codeSigning 2>/dev/null
osslsigncode sign -certs "$demo/signing/cert.pem" -key "$demo/signing/key.pem" -h sha256 -n "Kestro 模拟器" \
  -in "$demo/KestroSetup-unsigned.exe" -out "$demo/KestroSetup.exe" >/dev/null
osslsigncode verify -in "$demo/KestroSetup.exe" -CAfile "$demo/signing/cert.pem" | grep "Signature verification"
"$pack" inspect "$demo/KestroSetup.exe"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

echo "== local stats-server"
"$stats_server" --port 0 --port-file "$demo/stats-port" --log "$demo/stats-server.log" >/dev/null 2>&1 </dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$demo/stats-port" ] && break; sleep 0.05; done
export KESTRO_STATS_SERVER="127.0.0.1:$(cat "$demo/stats-port")"
echo "reports go to $KESTRO_STATS_SERVER"

own_display=0
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then own_display=1; fi

echo "== Wine prefix $wine_root/prefix"
KESTRO_OWN_DISPLAY=$own_display bash scripts/wine-fixture.sh start "$wine_root"
stop_wine() { bash "$here/scripts/wine-fixture.sh" stop "$wine_root"; }
. scripts/wine-env.sh "$wine_root"
export KESTRO_STATS_SERVER

installed=
if [ $own_display = 1 ]; then
  echo "== the installer is on your display: click through it"
  wine "$demo/KestroSetup.exe" || true
else
  echo "== no display: the installer is clicked through under Xvfb ($DISPLAY)"
  xcompmgr >/dev/null 2>&1 </dev/null &
  pids+=($!)
  python3 tests/gui/setup_window/drive_setup_window.py --bin "$win/bin" --work "$demo" --artifacts "$shots" \
    --stats-log "$demo/stats-server.log" --demo "$demo/KestroSetup.exe" "$demo/KestroSetup-damaged.exe" \
    || { stop_wine; echo "the click-through failed; screenshots so far: $shots"; exit 1; }
fi

uninstall_string=$(wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KestroGC' \
  /v UninstallString /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
if [ -n "$uninstall_string" ]; then
  installed=$(dirname "$(winepath -u "$uninstall_string" 2>/dev/null)")
fi
if [ -n "$installed" ] && [ -f "$installed/KestroGC.exe" ]; then
  echo "== installed in $installed; its uninstaller carries no signature of its own:"
  osslsigncode verify -in "$installed/unins000.exe" 2>&1 | grep -E "No signature found|Corrupt|signature not at" || true
  echo "== starting the game centre"
  # A game centre already started by the finish page takes this start over and ends it.
  wine "$installed/KestroGC.exe" >/dev/null 2>&1 </dev/null &
  sleep 5
  if [ $own_display = 0 ]; then
    import -window root "$shots/16-game-centre-running.png" 2>/dev/null || true
  fi
else
  echo "the product was not installed"
fi

echo
echo "screenshots:       $shots"
echo "stats-server log:  $demo/stats-server.log ($(wc -l < "$demo/stats-server.log") requests)"
echo "Wine prefix:       $WINEPREFIX"
if [ $own_display = 1 ]; then
  echo "the game centre runs on your display; end it with: WINEPREFIX=$WINEPREFIX wineserver -k"
else
  stop_wine
fi
