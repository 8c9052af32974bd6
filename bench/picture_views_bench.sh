#!/bin/sh
# The picture views with a finished task of 2,000 and 10,000 pictures on the virtual display: the
# window's longest answer for each whole-list command (bench/picture_views_bench.cpp). Figures
# only; nothing is judged.
# Usage: BUILD_DIR=<build folder> bench/picture_views_bench.sh [counts...]   (default 2000 10000)
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$here/build}
exe=$BUILD_DIR/bench/bench_picture_views.exe
[ -f "$exe" ] || { echo "build bench_picture_views first (BUILD_TARGET=bench_picture_views)" >&2; exit 1; }
. "$here/scripts/wine-env.sh"
cd "$BUILD_DIR/bench"
if [ -n "${DISPLAY:-}" ]; then
  wine "$exe" "$@" 2>/dev/null | tr -d '\r'
else
  xvfb-run -a -s "-screen 0 1280x1024x24" wine "$exe" "$@" 2>/dev/null | tr -d '\r'
fi
