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
SKIP_I686=1 SKIP_X86_64=1 BUILD_TARGET=bench_engine_mirror "$here/scripts/configure.sh" >/dev/null
. "$here/scripts/wine-env.sh"
# BENCH_EXE: another build of the engine bench, to compare with.
exe=${BENCH_EXE:-$BUILD_DIR/bench/bench_engine_mirror.exe}

. "$here/bench/mirror_site.sh"
bench_need wget wget
bench_need nginx nginx-light || bench_need nginx nginx || { echo "nginx cannot be installed" >&2; exit 1; }
bench_need wget2 wget2 || echo "(wget2 not installed: left out)"

work=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; wait 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
site=$work/site
bench_make_site "$site" 200 10 small
bytes=$(du -sb "$site/img" | cut -f1)
pictures=$(find "$site/img" -name '*.jpg' | wc -l)

bench_serve_site "$site" site || exit 1
server=$bench_server
url=$bench_url
echo "site: $pictures pictures, $(echo "scale=1; $bytes / $pictures / 1000" | bc) KB each on average, 201 pages; nginx at $url"

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
  echo $rates | tr ' ' '\n' | bench_median
}

wget_rate=$(time_tool wget -q -r -l inf -np -P "$work/out" "$url")
wget2_rate=""
if command -v wget2 >/dev/null 2>&1; then
  wget2_rate=$(time_tool wget2 -q -r -l inf -np --max-threads 5 -P "$work/out" "$url")
fi
# Wine's services start once, detached, before anything is timed.
wineserver -p 2>/dev/null || true
wine wineboot </dev/null >/dev/null 2>&1 || true
e5=$(bench_engine_run "$exe" "$url" 5 "$pictures" "$runs")
e20=$(bench_engine_run "$exe" "$url" 20 "$pictures" "$runs")

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
