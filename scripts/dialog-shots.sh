#!/bin/bash
# Photographs the dialogs that the test programs' Showcase tests open, in a Wine virtual desktop
# at the system font: PNG files in $BUILD_DIR/shots (or the folder given). SHOTS_PROGRAMS names the
# test folders whose showcases run (default: options webbrowser taskdialogs). Build first (scripts/test.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
export SHOTS_DIR=${1:-$BUILD_DIR/shots}
. "$here/scripts/wine-env.sh"
mkdir -p "$SHOTS_DIR"
rm -f "$SHOTS_DIR"/*.ready "$SHOTS_DIR"/*.done
export BKF_SHOTS="Z:$(echo "$SHOTS_DIR" | tr / '\\')"
export SHOTS_PROGRAMS=${SHOTS_PROGRAMS:-options webbrowser taskdialogs}
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  for program in $SHOTS_PROGRAMS; do
    wine explorer /desktop=Brackenfly,1280x1024 "$BUILD_DIR/tests/test_$program.exe" \
      --gtest_also_run_disabled_tests --gtest_filter="*Showcase*" </dev/null >"$SHOTS_DIR/run-$program.log" 2>&1 &
    runner=$!
    deadline=$((SECONDS + 180))
    while kill -0 $runner 2>/dev/null && [ $SECONDS -lt $deadline ]; do
      for ready in "$SHOTS_DIR"/*.ready; do
        [ -e "$ready" ] || continue
        name=$(basename "$ready" .ready)
        import -window root "$SHOTS_DIR/$name.png"
        rm -f "$ready"
        touch "$SHOTS_DIR/$name.done"
        echo "$SHOTS_DIR/$name.png"
      done
      sleep 0.2
    done
  done
  wineserver -k || true'
