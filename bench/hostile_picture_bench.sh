#!/bin/sh
# Time and peak memory of one picture through the thumbnail loader and the viewer's decode
# (under Wine, a fresh process each): small files claiming huge pictures (a 61-megapixel GIF,
# JPEGs of 64250 x 64250 and, progressive, 9000 x 9000) and large but legal JPEGs
# (12000 x 9000, over the per-picture bound, and 8000 x 6000 within it). Figures only.
# Usage: BUILD_DIR=<build folder> bench/hostile_picture_bench.sh
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$here/build}
exe=$BUILD_DIR/bench/bench_hostile_picture.exe
[ -f "$exe" ] || { echo "build bench_hostile_picture first (BUILD_TARGET=bench_hostile_picture)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 "$here/tests/support/hostile_pictures.py"
# Large legal JPEGs, streamed row by row into cjpeg (no full-size picture in memory here).
large() {  # width height name
  python3 -c '
import sys
w, h = int(sys.argv[1]), int(sys.argv[2])
out = sys.stdout.buffer
out.write(b"P6\n%d %d\n255\n" % (w, h))
rows = [bytes((x * 7 + y * 13) & 255 for x in range(w * 3)) for y in range(16)]
for y in range(h):
    out.write(rows[y % 16])
' "$1" "$2" | cjpeg -quality 85 > "$3"
}
large 12000 9000 large_12000x9000.jpg
large 8000 6000 legal_8000x6000.jpg

. "$here/scripts/wine-env.sh"
for f in bomb.gif bomb.jpg bomb_progressive.jpg large_12000x9000.jpg legal_8000x6000.jpg; do
  for path in thumbnail viewer; do
    winpath=$(printf 'Z:%s/%s' "$work" "$f" | tr / '\\')
    printf '%-22s %-9s (%s bytes): ' "$f" "$path" "$(stat -c %s "$f")"
    # The Wine process's own peak as Linux counts it, beside what the program reads itself.
    /usr/bin/time -f 'MAX_RSS_MB %M' -o "$work/rss" wine "$exe" "$path" "$winpath" 2>/dev/null | tr -d '\r' | tr '\n' ' '
    awk '/MAX_RSS_MB/ { printf "MAX_RSS_MB %.1f\n", $2 / 1024 }' "$work/rss"
  done
done
