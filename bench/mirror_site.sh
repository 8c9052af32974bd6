# Sourced by the mirror benchmarks: generated picture sites served by an nginx of our own on a free
# loopback port, and the download engine's own mirror run to compare with.
# The caller sets `work` (a scratch folder it removes) and `runs`, and sources scripts/wine-env.sh
# before calling bench_engine_run.

bench_need() {  # command package
  command -v "$1" >/dev/null 2>&1 && return 0
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$2" >/dev/null 2>&1 || true
  command -v "$1" >/dev/null 2>&1
}

bench_im() {
  if command -v convert-im6.q16 >/dev/null 2>&1; then convert-im6.q16 "$@"; else convert "$@"; fi
}

# bench_make_site folder pages per-page kind: `pages` pages of `per-page` pictures each, linked
# from index.html, pictures as img/p<n>.jpg. Kind "small": 280 x 210 pictures of about 30 KB;
# "large": camera-like pictures of 1 to 3 MB. Eight different pictures are used in turn.
bench_make_site() {
  local site=$1 pages=$2 per_page=$3 kind=$4 v width
  mkdir -p "$site/img"
  for v in 0 1 2 3 4 5 6 7; do
    if [ "$kind" = large ]; then
      width=$((2000 + v * 200))
      bench_im -size 500x375 -seed $((v + 1)) plasma:green-orange -resize "${width}x$((width * 3 / 4))!" \
        -attenuate 0.3 +noise Gaussian -quality 90 "$site/v$v.jpg"
    else
      bench_im -size 280x210 -seed $v plasma:fractal "$site/v$v.jpg" 2>/dev/null ||
        bench_im -size 280x210 xc:"rgb($((v * 30)),80,120)" "$site/v$v.jpg"
    fi
  done
  python3 - "$site" "$pages" "$per_page" <<'PY'
import shutil, sys, os
site, pages, per_page = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
links = []
for p in range(pages):
    imgs = []
    for i in range(per_page):
        n = p * per_page + i
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
}

# bench_serve_site site name: starts nginx (in the foreground, loopback only, its own config and
# temp folders under $work/nginx-name) on the site; sets bench_server (its pid) and bench_url (the
# index page). Returns non-zero when it did not answer.
bench_serve_site() {
  local site=$1 name=$2 port dir
  dir=$work/nginx-$name
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  mkdir -p "$dir/logs" "$dir/tmp"
  cat > "$dir/nginx.conf" <<EOF
worker_processes 2;
pid $dir/nginx.pid;
error_log $dir/logs/error.log warn;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    keepalive_requests 100000;
    types { text/html html; image/jpeg jpg; }
    client_body_temp_path $dir/tmp/body;
    proxy_temp_path $dir/tmp/proxy;
    fastcgi_temp_path $dir/tmp/fastcgi;
    uwsgi_temp_path $dir/tmp/uwsgi;
    scgi_temp_path $dir/tmp/scgi;
    server {
        listen 127.0.0.1:$port;
        root $site;
    }
}
EOF
  nginx -p "$dir" -c "$dir/nginx.conf" -g 'daemon off;' &
  bench_server=$!
  bench_url="http://127.0.0.1:$port/index.html"
  for _ in $(seq 50); do wget -q -O /dev/null "$bench_url" && break; sleep 0.1; done
  wget -q -O /dev/null "$bench_url" || { echo "nginx did not start:" >&2; cat "$dir/logs/error.log" >&2; return 1; }
}

bench_median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# CPU time (ms) the Wine server has used so far: every system object, socket operation and
# posted message of the engine is a request it serves one at a time.
# The Wine server of $WINEPREFIX (tests may run others): it works in a folder named after the
# prefix's device and inode.
bench_server_pid() {
  local dir pid
  dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  for pid in $(pgrep wineserver); do
    [ "$(basename "$(readlink "/proc/$pid/cwd" 2>/dev/null)")" = "$dir" ] && echo "$pid" && return
  done
}

bench_server_cpu_ms() {
  local pid
  pid=$(bench_server_pid)
  [ -n "$pid" ] && awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$pid/stat" || echo 0
}

# bench_engine_run exe url threads pictures rounds: mirrors url with the engine bench `rounds`
# times into $work/out; prints the median pictures/s and keeps the last run's report in
# $work/engine<threads>.txt.
bench_engine_run() {
  local exe=$1 url=$2 threads=$3 pictures=$4 rounds=$5
  local rates="" i count report=$work/engine$threads.txt before
  for i in $(seq "$rounds"); do
    rm -rf "$work/out"
    before=$(bench_server_cpu_ms)
    # Into a file, not a pipe: Wine's services would inherit the pipe and hold it open.
    wine "$exe" "$url" "Z:$(echo "$work/out" | tr / '\\')" "$threads" </dev/null >"$report" 2>&1 || true
    tr -d '\r' <"$report" >"$report.txt" && mv "$report.txt" "$report"
    echo "Wine server CPU during the run (process start and end included): $(( $(bench_server_cpu_ms) - before )) ms" >>"$report"
    rates="$rates $(sed -n 's/^pictures\/s: //p' "$report")"
    count=$(sed -n 's/^pictures: //p' "$report")
    [ "$count" = "$pictures" ] || echo "  (engine run $i saved ${count:-no} pictures of $pictures)" >&2
  done
  echo $rates | tr ' ' '\n' | bench_median
}
