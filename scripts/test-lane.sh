#!/bin/bash
# Runs the tests of one build tree ($BUILD_DIR) under Wine, inside a virtual X display.
# Arguments go to ctest. scripts/test.sh calls this once per lane.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
: "${BUILD_DIR:?}"
if [ ! -f "$BUILD_DIR/CTestTestfile.cmake" ]; then
  echo "test-lane: $BUILD_DIR holds no configured build" >&2
  exit 1
fi
. "$here/scripts/wine-env.sh"
cd "$BUILD_DIR"
# The first Wine process starts services that would inherit ctest's pipes and keep it waiting
# at exit: start them up front, detached, and stop the server afterwards. They start inside the
# virtual display, so the desktop process they leave behind can show windows.
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  wine wineboot </dev/null >/dev/null 2>&1 || true
  status=0
  ctest --output-on-failure -j"${BUILD_JOBS:-$(nproc)}" "$@" </dev/null || status=$?
  wineserver -k || true
  exit $status' bkf-tests "$@" || status=$?
exit $status
