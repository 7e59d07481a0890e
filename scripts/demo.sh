#!/usr/bin/env bash
# The main job: installs what is missing, builds the Windows programs and the
# native tools, makes a demo product folder, packs it into an installer with
# kestro-pack and inspects the result. Everything lands in build/demo.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=${KESTRO_JOBS:-$(nproc)}
native=${KESTRO_NATIVE_BUILD:-$here/build/native}
win=${KESTRO_WIN_BUILD:-$here/build/win32}
demo=$here/build/demo

if [ "$(id -u)" = 0 ]; then
  bash scripts/setup-machine.sh
else
  sudo bash scripts/setup-machine.sh
fi

echo "== win32 build"
mkdir -p "$win" "$native"
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$win/configure.log" 2>&1 || { tail -n 40 "$win/configure.log"; exit 1; }
cmake --build "$win" -j "$jobs" >"$win/build.log" 2>&1 || { grep -E 'error|Error' "$win/build.log" | head -n 40; exit 1; }
echo "== native tools"
cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$native/configure.log" 2>&1 \
  || { tail -n 40 "$native/configure.log"; exit 1; }
cmake --build "$native" -j "$jobs" --target kestro-pack >"$native/build-tools.log" 2>&1 \
  || { grep -E 'error|Error' "$native/build-tools.log" | head -n 40; exit 1; }

pack=$native/bin/kestro-pack
# Until the installer program exists, the fixture stub stands in as the program
# image and as the product's main program.
image=$win/bin/kestro_stub_program.exe

echo "== demo product in $demo/product"
rm -rf "$demo"
mkdir -p "$demo/product/data/存档" "$demo/product/res/images" "$demo/product/plugins/empty"
cp "$image" "$demo/product/KestroGC.exe"
printf '[game]\nname=Kestro\n' > "$demo/product/data/config.ini"
printf 'level=3\n' > "$demo/product/data/存档/进度.dat"
printf 'Kestro 模拟器演示产品\n' > "$demo/product/说明.txt"
head -c 65536 /dev/zero | tr '\0' 'K' > "$demo/product/res/images/logo.bin"
cat > "$demo/record.json" <<'JSON'
{"channel":30001,"lastrun":"KestroGC.exe","mode":1,"shortcut":{"desktop":[{"file":"KestroGC.exe","name":"Kestro 模拟器"}],"taskbar":[{"file":"KestroGC.exe","name":"Kestro 模拟器"}]},"theme":"default"}
JSON

echo "== kestro-pack build"
"$pack" build --program "$image" --config "$demo/record.json" --product "$demo/product" -o "$demo/KestroSetup.exe"
echo "== kestro-pack inspect"
"$pack" inspect "$demo/KestroSetup.exe"
"$pack" inspect --json "$demo/KestroSetup.exe" > "$demo/KestroSetup.json"
echo "demo installer: $demo/KestroSetup.exe (listing as JSON: $demo/KestroSetup.json)"
