#!/bin/bash
# Mirrors one generated site (200 pages, 2000 pictures) from a local web server twice: with the
# program's download engine under Wine and with `wget -r`, and prints pictures/s and MB/s of both.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
SKIP_I686=1 BUILD_TARGET=bench_engine_mirror "$here/scripts/configure.sh" >/dev/null
. "$here/scripts/wine-env.sh"
command -v wget >/dev/null || apt-get install -y -q wget >/dev/null

work=$(mktemp -d)
trap 'kill $server 2>/dev/null || true; rm -rf "$work"' EXIT
site=$work/site
mkdir -p "$site/img"
for v in 0 1 2 3 4 5 6 7; do convert -size 320x240 "plasma:fractal" -seed $v "$site/v$v.jpg" 2>/dev/null ||
  convert -size 320x240 xc:"rgb($((v*30)),80,120)" "$site/v$v.jpg"; done
python3 - "$site" <<'PY'
import shutil, sys, os
site = sys.argv[1]
links = []
for p in range(200):
    imgs = []
    for i in range(10):
        n = p * 10 + i
        shutil.copyfile(f"{site}/v{n % 8}.jpg", f"{site}/img/p{n}.jpg")
        imgs.append(f'<img src="img/p{n}.jpg">')
    with open(f"{site}/page{p}.html", "w") as f:
        f.write("<html><body>" + "".join(imgs) + '<a href="index.html">home</a></body></html>')
    links.append(f'<a href="page{p}.html">{p}</a>')
with open(f"{site}/index.html", "w") as f:
    f.write("<html><body>" + " ".join(links) + "</body></html>")
for v in range(8):
    os.remove(f"{site}/v{v}.jpg")
PY
port=$((20000 + RANDOM % 20000))
(cd "$site" && exec python3 -m http.server "$port" --bind 127.0.0.1 >/dev/null 2>&1) &
server=$!
for _ in $(seq 50); do wget -q -O /dev/null "http://127.0.0.1:$port/index.html" && break; sleep 0.2; done
bytes=$(du -sb "$site/img" | cut -f1)

t0=$(date +%s.%N)
wget -q -r -l inf -np -P "$work/wget" "http://127.0.0.1:$port/index.html" || true
t1=$(date +%s.%N)
count=$(find "$work/wget" -name '*.jpg' | wc -l)
wget_s=$(echo "$t1 - $t0" | bc -l)
printf 'wget:   %d pictures, %.1f MB in %.2f s: %.1f pictures/s, %.2f MB/s\n' "$count" \
  "$(echo "$bytes/1000000" | bc -l)" "$wget_s" "$(echo "$count/$wget_s" | bc -l)" "$(echo "$bytes/1000000/$wget_s" | bc -l)"

winfolder="Z:$(echo "$work/engine" | tr / '\\')"
t0=$(date +%s.%N)
xvfb-run -a wine "$BUILD_DIR/bench/bench_engine_mirror.exe" "http://127.0.0.1:$port/index.html" "$winfolder" 8
t1=$(date +%s.%N)
engine_s=$(echo "$t1 - $t0" | bc -l)
printf 'ratio (engine time / wget time, whole process): %.2f\n' "$(echo "$engine_s/$wget_s" | bc -l)"
