#!/bin/bash
# Runs the real program the way a user does and watches its window while it downloads: a program
# folder with settings and one site-scanning task, Brackenfly.exe started in Wine's virtual
# desktop, the task selected in the tree with a click, the list view shown (then the thumbnail view
# for the thumbnail runs) and Start given through the frame's command. A driver program samples
# the window every 50 ms (bench/real_program_driver.cpp).
#
# Sites (nginx on loopback, bench/mirror_site.sh): the 2,000 pictures of about 33 KB on 200 pages of
# bench/engine_mirror_bench.sh, and 200 pictures of 1 to 3 MB on 20 pages.
# Runs, in this order per round: the program at 5 workers in the list view and in the thumbnail
# view, the same at 20 workers, with the engine bench at the same worker count before and after
# each; then the same on the large site at $LARGE_WORKERS workers with "show last downloaded
# picture" on and the thumbnail view open.
#
# Prints one row per program run: pictures/s beside the mean of the engine bench's pictures/s just
# before and just after it, and their ratio; the main window's WM_NULL answer time (p50/p99/max ms), how often per
# second the monitor title's text changed and how often the screen's pixels changed in the
# monitor's title strip, its tab area (the connections list) and the pictures pane, how often the
# statistics panel's picture count changed, the speed graph's samples against the run's two-second
# intervals, whether every picture arrived once and byte-identical, and how many the list view
# holds at the end. A picture of the screen taken when half the pictures were in is kept in
# $BUILD_DIR/bench-shots/.
# Each report also gives the CPU time the program's threads, the Wine server, the X server and the
# driver spent between Start and the last picture.
# Usage: bench/real_program_bench.sh     (RUNS=1 rounds by default; RUN_TIMEOUT seconds per run,
#        default 240; WORKERS="5 20", VIEWS="list thumbnails", LARGE_WORKERS=5 (0: no large run);
#        BUILD_DIR as for the tests)
set -euo pipefail
# The program needs a display: give it a virtual one when there is none.
if [ -z "${DISPLAY:-}" ] && [ -z "${BKF_BENCH_IN_XVFB:-}" ]; then
  BKF_BENCH_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
runs=${RUNS:-1}
run_timeout=${RUN_TIMEOUT:-240}
large_workers=${LARGE_WORKERS:-5}
worker_counts=${WORKERS:-5 20}
views=${VIEWS:-list thumbnails}
SKIP_I686=1 SKIP_X86_64=1 BUILD_TARGET="Brackenfly bench_engine_mirror bench_real_program_setup bench_real_program_driver" \
  "$here/scripts/configure.sh" >/dev/null
. "$here/scripts/wine-env.sh"
# A prefix of its own, so the virtual desktop never meets a running test.
if [ ! -f "$BUILD_DIR/wineprefix-bench/system.reg" ]; then
  cp -a "$WINEPREFIX" "$BUILD_DIR/wineprefix-bench"
fi
export WINEPREFIX="$BUILD_DIR/wineprefix-bench"
bin=$BUILD_DIR/bench
. "$here/bench/mirror_site.sh"
bench_need wget wget
bench_need nginx nginx-light || bench_need nginx nginx || { echo "nginx cannot be installed" >&2; exit 1; }

work=$(mktemp -d)
servers=""
trap 'for s in $servers; do kill "$s" 2>/dev/null; done; wait 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
shots=$BUILD_DIR/bench-shots
mkdir -p "$shots"
bench_make_site "$work/small" 200 10 small
bench_make_site "$work/large" 20 10 large
bench_serve_site "$work/small" small || exit 1
servers="$servers $bench_server"
small_url=$bench_url
bench_serve_site "$work/large" large || exit 1
servers="$servers $bench_server"
large_url=$bench_url
for s in small large; do
  n=$(find "$work/$s/img" -name '*.jpg' | wc -l)
  echo "$s site: $n pictures, $(( $(du -sb "$work/$s/img" | cut -f1) / n / 1000 )) KB each on average; nginx at $([ $s = small ] && echo "$small_url" || echo "$large_url")"
done

winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
wine_services() {  # Wine's services start detached, before anything is timed
  wineserver -p 2>/dev/null || true
  wine wineboot </dev/null >/dev/null 2>&1 || true
}
wine_services

# "arrived-once-and-identical/expected missing duplicated differing extra" for a site and the
# folder the program saved into.
check_pictures() {
  python3 - "$1/img" "$2" <<'PY'
import os, sys
site, saved = sys.argv[1], sys.argv[2]
want = set(os.listdir(site))
found = {}
for root, _, files in os.walk(saved):
    for name in files:
        found.setdefault(name, []).append(os.path.join(root, name))
ok = missing = duplicated = differing = 0
for name in want:
    paths = found.get(name, [])
    if not paths:
        missing += 1
    elif len(paths) > 1:
        duplicated += 1
    else:
        with open(paths[0], "rb") as a, open(os.path.join(site, name), "rb") as b:
            if a.read() == b.read():
                ok += 1
            else:
                differing += 1
extra = sum(len(p) for n, p in found.items() if n not in want)
print(f"{ok}/{len(want)} {missing} {duplicated} {differing} {extra}")
PY
}

# cpu_snapshot: "process thread ms" of every thread of the program, the driver, the Wine server and
# the X server (user + system CPU).
cpu_snapshot() {
  python3 - "$(bench_server_pid)" <<'PY'
import os, sys
hz = os.sysconf("SC_CLK_TCK")
want = ("Brackenfly.exe", "bench_real_prog", "Xvfb")
server = sys.argv[1]
for pid in filter(str.isdigit, os.listdir("/proc")):
    try:
        comm = "wineserver" if pid == server else open(f"/proc/{pid}/comm").read().strip()
    except OSError:
        continue
    if comm not in want and comm != "wineserver":
        continue
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        continue
    for tid in tids:
        try:
            f = open(f"/proc/{pid}/task/{tid}/stat").read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        print(comm, tid, (int(f[11]) + int(f[12])) * 1000 // hz)
PY
}

# cpu_profile report: waits for the driver's markers and prints the CPU each process and each of
# the program's threads spent between Start and the last picture (the UI thread is the first).
cpu_profile() {
  local report=$1 waited=0 before after
  while [ ! -f "$report.start" ] && [ $waited -lt $((run_timeout * 10)) ]; do sleep 0.1; waited=$((waited + 1)); done
  before=$(cpu_snapshot)
  while [ ! -f "$report.allin" ] && ! grep -q '^last title\|^error' "$report" 2>/dev/null &&
        [ $waited -lt $((run_timeout * 20)) ]; do sleep 0.1; waited=$((waited + 1)); done
  after=$(cpu_snapshot)
  python3 - "$before" "$after" <<'PY'
import sys
def parse(text):
    d = {}
    for line in text.splitlines():
        comm, tid, ms = line.split()
        d[(comm, int(tid))] = int(ms)
    return d
b, a = parse(sys.argv[1]), parse(sys.argv[2])
per = {}
threads = []
for key, ms in a.items():
    spent = ms - b.get(key, 0)
    per[key[0]] = per.get(key[0], 0) + spent
    if key[0] == "Brackenfly.exe" and spent > 0:
        threads.append((key[1], spent))
print("cpu ms: " + ", ".join(f"{k} {v}" for k, v in sorted(per.items())))
threads.sort()
print("program threads ms (by thread id): " + " ".join(str(ms) for _, ms in threads))
PY
}

field() { sed -n "s|^$1: ||p" "$2" | head -1; }

printf '%-22s %8s %8s %6s %15s %6s %6s %6s %6s %6s %7s %9s %6s\n' "run" "pict/s" "engine" "ratio" \
  "answer p50/99/max" "title" "strip" "monitr" "pictrs" "stats" "graph" "identical" "listed"
printf '%-22s %8s %8s %6s %15s %6s %6s %6s %6s %6s %7s %9s %6s\n' "" "" "pict/s" "" "ms" "text/s" \
  "px/s" "px/s" "px/s" "text/s" "samples" "" ""

# program_run name site url workers view show-last engine-before: one run of the real program, then
# one of the engine bench on the same site; prints the program's row against the mean of the
# engine runs just before and just after it (this machine's speed drifts within seconds), and
# leaves the engine's second figure in $engine_after for the next run.
program_run() {
  local name=$1 site=$2 url=$3 workers=$4 view=$5 show_last=$6 before=$7 engine
  local prog=$work/program report=$work/report-$1.txt pictures waited=0 rate answers check profiler
  pictures=$(find "$site/img" -name '*.jpg' | wc -l)
  rm -rf "$prog" "$report" "$report.start" "$report.allin" "$work/mid.bmp"
  mkdir -p "$prog"
  cp "$BUILD_DIR/bin/Brackenfly.exe" "$prog/"
  wine "$bin/bench_real_program_setup.exe" "$(winpath "$prog")" "$url" "$workers" "$show_last" \
    </dev/null >"$work/setup.log" 2>&1 || { echo "$name: program folder not made:" >&2; cat "$work/setup.log" >&2; return 0; }
  (cd "$prog" && wine explorer /desktop=BkfBench,1280x1024 Brackenfly.exe </dev/null >/dev/null 2>&1 &)
  # The driver runs in the same desktop, so it sees the program's windows and screen. Either
  # explorer may end up holding the desktop (and so stay until it closes): neither is waited for.
  wine explorer /desktop=BkfBench,1280x1024 "$bin/bench_real_program_driver.exe" "$(winpath "$report")" \
    "$(winpath "$prog/Images")" "$pictures" "$view" "$run_timeout" "$(winpath "$work/mid.bmp")" </dev/null >/dev/null 2>&1 &
  cpu_profile "$report" >"$work/cpu-$name.txt" 2>&1 &
  profiler=$!
  while ! grep -q '^last title\|^error' "$report" 2>/dev/null && [ $waited -lt $((run_timeout + 120)) ]; do
    sleep 1
    waited=$((waited + 1))
  done
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wine_services
  [ -f "$work/mid.bmp" ] && bench_im "$work/mid.bmp" "$shots/$name.png" 2>/dev/null || true
  if grep -q '^error' "$report" 2>/dev/null || [ ! -f "$report" ]; then
    echo "$name: $(cat "$report" 2>/dev/null || echo 'the driver wrote no report')"
    return 0
  fi
  tr -d '\r' <"$report" >"$report.txt" && mv "$report.txt" "$report"
  wait "$profiler" 2>/dev/null || true
  engine_after=$(bench_engine_run "$bin/bench_engine_mirror.exe" "$url" "$workers" "$pictures" 1)
  engine=$(echo "($before + $engine_after) / 2" | bc -l | xargs printf '%.1f')
  cat "$work/cpu-$name.txt" >>"$report" 2>/dev/null || true
  cp "$report" "$shots/$name.txt"
  rate=$(field 'pictures/s' "$report")
  answers=$(field 'answer ms p50/p99/max' "$report" | tr ' ' /)
  check=$(check_pictures "$site" "$prog/Images")
  echo "${name#r*-} $rate $engine" >>"$work/rates"
  printf '%-22s %8s %8s %6s %15s %6s %6s %6s %6s %6s %7s %9s %6s\n' "$name" "$rate" "$engine" \
    "$(printf '%.2f' "$(echo "$rate / $engine" | bc -l 2>/dev/null)" 2>/dev/null || echo -)" "$answers" \
    "$(field 'title text changes/s' "$report")" "$(field 'title strip redraws/s' "$report")" \
    "$(field 'monitor tab redraws/s' "$report")" "$(field 'pictures pane redraws/s' "$report")" \
    "$(field 'statistics figure changes/s' "$report")" \
    "$(field 'graph samples (speed read-out changes)' "$report" | awk '{ print $1 "/" $3 }')" \
    "${check%% *}" "$(field listed "$report" | cut -d' ' -f1)"
  set -- $check
  [ "$2$3$4$5" = 0000 ] || echo "  ($name: $2 missing, $3 saved more than once, $4 differing, $5 files not on the site)"
}

small_count=$(find "$work/small/img" -name '*.jpg' | wc -l)
large_count=$(find "$work/large/img" -name '*.jpg' | wc -l)
for round in $(seq "$runs"); do
  for workers in $worker_counts; do
    engine_after=$(bench_engine_run "$bin/bench_engine_mirror.exe" "$small_url" "$workers" "$small_count" 1)
    for view in $views; do
      program_run "r$round-${workers}w-$view" "$work/small" "$small_url" "$workers" "$view" 0 "$engine_after"
    done
  done
  [ "$large_workers" -gt 0 ] || continue
  engine_after=$(bench_engine_run "$bin/bench_engine_mirror.exe" "$large_url" "$large_workers" "$large_count" 1)
  program_run "r$round-large-${large_workers}w-last" "$work/large" "$large_url" "$large_workers" thumbnails 1 \
    "$engine_after"
done
if [ "$runs" -gt 1 ] && [ -f "$work/rates" ]; then
  echo
  echo "medians over $runs rounds (pictures/s, engine pictures/s, ratio of the two, median of the rounds' ratios):"
  python3 - "$work/rates" <<'PY'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    name, rate, engine = line.split()
    runs.setdefault(name, ([], []))
    runs[name][0].append(float(rate))
    runs[name][1].append(float(engine))
for name, (rates, engines) in runs.items():
    r, e = statistics.median(rates), statistics.median(engines)
    ratios = statistics.median(a / b for a, b in zip(rates, engines) if b)
    print(f"  {name:<20} {r:8.1f} {e:8.1f} {r / e if e else 0:6.2f} {ratios:6.2f}")
PY
fi
echo
echo "title text: the monitor title's text (as the window manager holds it) changed; strip, monitr, pictrs:"
echo "the screen's pixels changed in the monitor's title strip, its tab area (connections list) and the"
echo "pictures pane; stats: the statistics panel's picture count changed; graph samples: changes of the"
echo "panel's speed read-out (recomputed at each graph sample; the graph's tab is hidden during the run)"
echo "against the run's two-second intervals. Answer: the main window's WM_NULL answer time, sampled"
echo "every 50 ms. Reports and mid-run screen pictures: $shots/"
