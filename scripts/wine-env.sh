# Sourced with the Wine root folder of a build as $1: the environment every Wine
# call of the tests uses. Never ~/.wine, never the user's home.
kestro_wine_root=$1
export WINEPREFIX="$kestro_wine_root/prefix"
export HOME="$kestro_wine_root/home"
export WINEDEBUG=${KESTRO_WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# Simplified Chinese ANSI code page (936), as on the product's users' machines.
export LC_ALL=zh_CN.UTF-8
unset WINEARCH
if [ -f "$kestro_wine_root/display" ]; then
  DISPLAY=$(cat "$kestro_wine_root/display")
  export DISPLAY
fi
