#!/bin/sh
# Thumbnail making: our JPEG decoder plus the two-pass resize to fit 160 x 160 (under Wine),
# beside djpeg -scale 1/8 piped through pamscale (native Linux) on the same files, and the
# ratio of the two totals. Figures only; nothing is judged.
# Usage: BUILD_DIR=<build folder> bench/thumbnail_bench.sh [folder of JPEGs] [runs]
# Without a folder, four 12-megapixel (4000 x 3000) JPEGs are made first.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$here/build}
runs=${2:-3}
exe=$BUILD_DIR/bench/bench_thumbnail.exe
[ -f "$exe" ] || { echo "build bench_thumbnail first (BUILD_TARGET=bench_thumbnail)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=${1:-}
if [ -z "$folder" ]; then
  folder=$work/jpegs
  sh "$here/bench/make_photo_jpegs.sh" "$folder" 4
fi

ref_best=""
r=0
while [ $r -lt "$runs" ]; do
  s=$(date +%s%N)
  for f in "$folder"/*.jpg "$folder"/*.jpeg; do
    [ -f "$f" ] || continue
    djpeg -scale 1/8 "$f" | pamscale -xyfit 160 160 > /dev/null
  done
  e=$(date +%s%N)
  t=$(( (e - s) / 1000 ))
  if [ -z "$ref_best" ] || [ $t -lt $ref_best ]; then ref_best=$t; fi
  r=$((r + 1))
done
echo "Reference: djpeg -scale 1/8 | pamscale -xyfit 160 160 (native Linux), best of $runs:"
awk -v us="$ref_best" 'BEGIN { printf "  total %.1f ms\n", us / 1000 }'

echo "Ours: CAnyPicDecoder to 32 bits + CFilterResizeBilinear to fit 160 x 160 (under Wine):"
. "$here/scripts/wine-env.sh"
winpath=$(printf 'Z:%s' "$folder" | tr / '\\')
out=$(wine "$exe" -n "$runs" "$winpath" 2>/dev/null | tr -d '\r')
printf "%s\n" "$out" | grep -v "^TOTAL_MS"
ours=$(printf "%s\n" "$out" | awk '/^TOTAL_MS/ { print $2 }')
awk -v ours="$ours" -v us="$ref_best" 'BEGIN {
  ref = us / 1000
  if (ref > 0 && ours != "") printf "Ratio ours / reference: %.2f\n", ours / ref
}'
