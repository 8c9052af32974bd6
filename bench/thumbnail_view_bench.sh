#!/bin/sh
# Thumbnail control on the virtual display: 5,000 pictures of 12 megapixels (hard links of four
# JPEGs) in a real control, fetched through the cache with reduced JPEG decoding, beside the same
# control whose cache decodes every picture at full size onto a DIB section. Figures only;
# nothing is judged.
# Usage: BUILD_DIR=<build folder> bench/thumbnail_view_bench.sh [items] [reduced limit] [full limit]
#   items: pictures in the control (5000); limits: thumbnails to fetch before stopping
#   (1500 reduced, 80 full-size: full-size decodes of 12 megapixels are slow).
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$here/build}
items=${1:-5000}
reduced_limit=${2:-1500}
full_limit=${3:-80}
exe=$BUILD_DIR/bench/bench_thumbnail_view.exe
[ -f "$exe" ] || { echo "build bench_thumbnail_view first (BUILD_TARGET=bench_thumbnail_view)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/pictures"
echo "Making four 4000 x 3000 JPEGs and $items hard links..."
sh "$here/bench/make_photo_jpegs.sh" "$work/src" 4
n=0
while [ $n -lt "$items" ]; do
  ln "$work/src/photo$((n % 4 + 1)).jpg" "$work/pictures/$(printf 'pic%05d.jpg' $n)"
  n=$((n + 1))
done

. "$here/scripts/wine-env.sh"
winpath=$(printf 'Z:%s' "$work/pictures" | tr / '\\')
run() {  # extra arguments -> output file
  out=$1; shift
  if [ -n "${DISPLAY:-}" ]; then
    wine "$exe" "$@" "$winpath" 2>/dev/null | tr -d '\r' > "$out"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24" wine "$exe" "$@" "$winpath" 2>/dev/null | tr -d '\r' > "$out"
  fi
}
echo "Reduced decoding (up to $reduced_limit thumbnails)..."
run "$work/reduced.txt" -limit "$reduced_limit"
echo "Full-size decoding (up to $full_limit thumbnails)..."
run "$work/full.txt" -full -limit "$full_limit"

# What the JPEG library alone takes natively for one 1/8 decode of these files, for scale.
s=$(date +%s%N)
for f in "$work"/src/photo*.jpg; do djpeg -scale 1/8 "$f" > /dev/null; done
e=$(date +%s%N)
awk -v ns=$((e - s)) 'BEGIN { printf "Native djpeg -scale 1/8 of the same files: %.1f ms per picture\n\n", ns / 4e6 }'

awk '
  FNR == NR { a[$1] = $2; order[++n] = $1; next }
  { b[$1] = $2 }
  END {
    label["ITEMS"] = "pictures in the control"
    label["THUMBNAILS"] = "thumbnails fetched"
    label["FAILURES"] = "failed pictures"
    label["FIRST_SCREEN_MS"] = "first full screen (ms)"
    label["TICKS"] = "load-timer ticks"
    label["TICK_MEDIAN_MS"] = "tick median (ms)"
    label["TICK_P95_MS"] = "tick 95th percentile (ms)"
    label["TICK_MAX_MS"] = "tick max (ms)"
    label["THUMBNAILS_PER_S"] = "thumbnails per second"
    label["PAGE_DOWNS"] = "Page Downs while loading"
    label["PAGE_KEY_MEDIAN_MS"] = "Page Down key handling, median (ms)"
    label["PAGE_PAINT_MEDIAN_MS"] = "paint per Page Down, median (ms)"
    label["PAGE_PAINT_MAX_MS"] = "paint per Page Down, max (ms)"
    label["PEAK_WORKING_SET_MB"] = "peak working set (MB)"
    label["PEAK_COMMIT_MB"] = "peak committed memory (MB)"
    label["CACHE_MB"] = "cache pages at the end (MB)"
    label["CACHE_CAP_MB"] = "cache cap (MB)"
    printf "%-36s %16s %16s\n", "", "reduced", "full-size"
    for (i = 1; i <= n; i++) {
      k = order[i]
      if (k == "MODE") continue
      printf "%-36s %16s %16s\n", (k in label ? label[k] : k), a[k], b[k]
    }
  }' "$work/reduced.txt" "$work/full.txt"
