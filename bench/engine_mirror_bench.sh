#!/bin/bash
# Mirrors one generated site (200 pages with 10 pictures of about 30 KB each) from nginx on a
# free loopback port: with the program's download engine under Wine at 5 and 20 workers, with
# `wget -r` and, where installed, with `wget2`. Prints pictures/s of each (median of RUNS runs)
# and the engine's ratios to wget, then the engine's time per phase on the UI thread and the
# Wine server's CPU time.
# Usage: bench/engine_mirror_bench.sh            (RUNS=3 by default; BUILD_DIR as for the tests)
set -euo pipefail
# The engine makes windows: give it a virtual display when there is none.
if [ -z "${DISPLAY:-}" ] && [ -z "${BKF_BENCH_IN_XVFB:-}" ]; then
  BKF_BENCH_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
runs=${RUNS:-3}
SKIP_I686=1 BUILD_TARGET=bench_engine_mirror "$here/scripts/configure.sh" >/dev/null
. "$here/scripts/wine-env.sh"
# BENCH_EXE: another build of the engine bench, to compare with.
exe=${BENCH_EXE:-$BUILD_DIR/bench/bench_engine_mirror.exe}

need() {  # command package
  command -v "$1" >/dev/null 2>&1 && return 0
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$2" >/dev/null 2>&1 || true
  command -v "$1" >/dev/null 2>&1
}
need wget wget
need nginx nginx-light || need nginx nginx || { echo "nginx cannot be installed" >&2; exit 1; }
need wget2 wget2 || echo "(wget2 not installed: left out)"

work=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; wait 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
site=$work/site
mkdir -p "$site/img"
IM=convert
command -v convert-im6.q16 >/dev/null 2>&1 && IM=convert-im6.q16
for v in 0 1 2 3 4 5 6 7; do
  $IM -size 280x210 -seed $v plasma:fractal "$site/v$v.jpg" 2>/dev/null ||
    $IM -size 280x210 xc:"rgb($((v * 30)),80,120)" "$site/v$v.jpg"
done
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
chmod -R a+rX "$site"
bytes=$(du -sb "$site/img" | cut -f1)
pictures=$(find "$site/img" -name '*.jpg' | wc -l)

# nginx of our own: its own config and temp folders, loopback only, in the foreground.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/nginx/logs" "$work/nginx/tmp"
cat > "$work/nginx/nginx.conf" <<EOF
worker_processes 2;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log warn;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    keepalive_requests 100000;
    types { text/html html; image/jpeg jpg; }
    client_body_temp_path $work/nginx/tmp/body;
    proxy_temp_path $work/nginx/tmp/proxy;
    fastcgi_temp_path $work/nginx/tmp/fastcgi;
    uwsgi_temp_path $work/nginx/tmp/uwsgi;
    scgi_temp_path $work/nginx/tmp/scgi;
    server {
        listen 127.0.0.1:$port;
        root $site;
    }
}
EOF
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -g 'daemon off;' &
server=$!
url="http://127.0.0.1:$port/index.html"
for _ in $(seq 50); do wget -q -O /dev/null "$url" && break; sleep 0.1; done
wget -q -O /dev/null "$url" || { echo "nginx did not start:" >&2; cat "$work/nginx/logs/error.log" >&2; exit 1; }
echo "site: $pictures pictures, $(echo "scale=1; $bytes / $pictures / 1000" | bc) KB each on average, 201 pages; nginx on 127.0.0.1:$port"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
rate() {  # count seconds
  echo "scale=1; $1 / $2" | bc -l
}

# Runs "$@" $runs times into a fresh folder $out; prints the median pictures/s.
time_tool() {
  local rates="" i t0 t1 count
  for i in $(seq "$runs"); do
    rm -rf "$work/out"
    mkdir -p "$work/out"
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    t1=$(date +%s.%N)
    count=$(find "$work/out" -name '*.jpg' | wc -l)
    [ "$count" -eq "$pictures" ] || echo "  (run $i fetched $count of $pictures pictures)" >&2
    rates="$rates $(rate "$count" "$(echo "$t1 - $t0" | bc -l)")"
  done
  echo $rates | tr ' ' '\n' | median
}

# CPU time (ms) the Wine server has used so far: every system object, socket operation and
# posted message of the engine is a request it serves one at a time.
server_cpu_ms() {
  local pid
  pid=$(pgrep -f wineserver | head -1)
  [ -n "$pid" ] && awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$pid/stat" || echo 0
}

engine_run() {  # threads; prints the median pictures/s and keeps the last run's report
  local rates="" i count report=$work/engine$1.txt before
  for i in $(seq "$runs"); do
    rm -rf "$work/out"
    before=$(server_cpu_ms)
    # Into a file, not a pipe: Wine's services would inherit the pipe and hold it open.
    wine "$exe" "$url" "Z:$(echo "$work/out" | tr / '\\')" "$1" </dev/null >"$report" 2>&1 || true
    tr -d '\r' <"$report" >"$report.txt" && mv "$report.txt" "$report"
    echo "Wine server CPU during the run (process start and end included): $(( $(server_cpu_ms) - before )) ms" >>"$report"
    rates="$rates $(sed -n 's/^pictures\/s: //p' "$report")"
    count=$(sed -n 's/^pictures: //p' "$report")
    [ "$count" = "$pictures" ] || echo "  (engine run $i saved ${count:-no} pictures of $pictures)" >&2
  done
  echo $rates | tr ' ' '\n' | median
}

wget_rate=$(time_tool wget -q -r -l inf -np -P "$work/out" "$url")
wget2_rate=""
if command -v wget2 >/dev/null 2>&1; then
  wget2_rate=$(time_tool wget2 -q -r -l inf -np --max-threads 5 -P "$work/out" "$url")
fi
# Wine's services start once, detached, before anything is timed.
wineserver -p 2>/dev/null || true
wine wineboot </dev/null >/dev/null 2>&1 || true
e5=$(engine_run 5)
e20=$(engine_run 20)

ratio() { [ -n "$2" ] && echo "scale=2; $1 / $2" | bc -l || echo "-"; }
echo
printf '%-28s %12s %14s %14s\n' "tool (median of $runs)" "pictures/s" "/ wget -r" "/ wget2"
printf '%-28s %12s %14s %14s\n' "wget -r (one connection)" "$wget_rate" "1.00" "$(ratio "$wget_rate" "$wget2_rate")"
[ -n "$wget2_rate" ] &&
  printf '%-28s %12s %14s %14s\n' "wget2 --max-threads 5" "$wget2_rate" "$(ratio "$wget2_rate" "$wget_rate")" "1.00"
printf '%-28s %12s %14s %14s\n' "engine, 5 workers" "$e5" "$(ratio "$e5" "$wget_rate")" "$(ratio "$e5" "$wget2_rate")"
printf '%-28s %12s %14s %14s\n' "engine, 20 workers" "$e20" "$(ratio "$e20" "$wget_rate")" "$(ratio "$e20" "$wget2_rate")"
for t in 5 20; do
  echo
  echo "engine, $t workers (last run):"
  sed 's/^/  /' "$work/engine$t.txt"
done
