#!/bin/bash
# Starts the real program in Wine's virtual desktop on a virtual display, waits, and saves a PNG
# of the whole screen, so the windows can be looked at without a desktop.
#   scripts/screenshot.sh [out.png] [seconds to wait] [program arguments...]
# The program runs from a fresh folder (no settings, tasks or language files) unless
# SHOT_FOLDER names a prepared one. Its own Wine prefix keeps it apart from running tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$here/build/screenshot.png}")
delay=${2:-8}
shift $(( $# > 2 ? 2 : $# ))
export BUILD_DIR=${BUILD_DIR:-$here/build}
SKIP_I686=1 SKIP_X86_64=1 BUILD_TARGET=Brackenfly "$here/scripts/configure.sh" >/dev/null
. "$here/scripts/wine-env.sh"
if [ ! -f "$BUILD_DIR/wineprefix-shot/system.reg" ]; then
  cp -a "$WINEPREFIX" "$BUILD_DIR/wineprefix-shot"
fi
export WINEPREFIX="$BUILD_DIR/wineprefix-shot"
bkf_wine_fonts  # a copy made before the fonts were given lacks them

folder=${SHOT_FOLDER:-}
cleanup=
if [ -z "$folder" ]; then
  folder=$(mktemp -d)
  cleanup=$folder
fi
cp "$BUILD_DIR/bin/Brackenfly.exe" "$folder/"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  folder=$1 out=$2 delay=$3
  shift 3
  cd "$folder"
  wine explorer /desktop=Brackenfly,1280x1024 Brackenfly.exe "$@" >/dev/null 2>&1 &
  sleep "$delay"
  import -window root "$out"
  wineserver -k || true' bkf-shot "$folder" "$out" "$delay" "$@"
[ -n "$cleanup" ] && rm -rf "$cleanup"
echo "$out"
