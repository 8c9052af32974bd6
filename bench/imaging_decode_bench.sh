#!/bin/sh
# Decode time per megapixel of our JPEG and PNG decoders (under Wine) beside the same
# libraries' own command-line decoders (djpeg, pngtopnm). Figures only; nothing is judged.
# Usage: BUILD_DIR=<build folder> bench/imaging_decode_bench.sh [runs]
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$here/build}
runs=${1:-10}
exe=$BUILD_DIR/bench/bench_imaging_decode.exe
[ -f "$exe" ] || exe=$(find "$BUILD_DIR" -name bench_imaging_decode.exe | head -1)
[ -n "$exe" ] || { echo "build bench_imaging_decode first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
IM=convert
command -v convert-im6.q16 >/dev/null 2>&1 && IM=convert-im6.q16
$IM -size 3000x2000 -seed 3 plasma:green-orange -depth 8 "$work/photo.ppm"
cjpeg -quality 90 "$work/photo.ppm" > "$work/photo.jpg"
cjpeg -quality 90 -progressive "$work/photo.ppm" > "$work/photo_prog.jpg"
pnmtopng "$work/photo.ppm" > "$work/photo.png" 2>/dev/null
mpix=6.0

best_ms() {  # command... ; best wall time of $runs runs in ms
  best=""
  i=0
  while [ $i -lt "$runs" ]; do
    s=$(date +%s%N)
    "$@" > /dev/null 2>&1
    e=$(date +%s%N)
    t=$(( (e - s) / 1000 ))
    if [ -z "$best" ] || [ $t -lt $best ]; then best=$t; fi
    i=$((i + 1))
  done
  echo "$best"
}

echo "Reference command-line decoders (native Linux), 3000x2000:"
for f in photo.jpg photo_prog.jpg; do
  us=$(best_ms djpeg -dct float -nosmooth -outfile /dev/null "$work/$f")
  awk -v us="$us" -v f="$f" -v m=$mpix 'BEGIN { printf "  djpeg    %-16s %8.2f ms  %7.2f ms/Mpixel\n", f, us/1000, us/1000/m }'
done
us=$(best_ms pngtopnm "$work/photo.png")
awk -v us="$us" -v m=$mpix 'BEGIN { printf "  pngtopnm %-16s %8.2f ms  %7.2f ms/Mpixel\n", "photo.png", us/1000, us/1000/m }'

echo "Our decoders (CAnyPicDecoder to 32 bits, in memory, under Wine):"
. "$here/scripts/wine-env.sh"
w() { printf 'Z:%s' "$1" | tr / '\\'; }
wine "$exe" -n "$runs" "$(w "$work/photo.jpg")" "$(w "$work/photo_prog.jpg")" "$(w "$work/photo.png")" 2>/dev/null
