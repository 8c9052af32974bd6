#!/bin/bash
# Builds the program and starts it under Wine (on $DISPLAY, or a virtual display when none).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
SKIP_I686=1 SKIP_X86_64=1 BUILD_TARGET=Brackenfly "$here/scripts/configure.sh"
. "$here/scripts/wine-env.sh"
cd "$BUILD_DIR/bin"
if [ -n "${DISPLAY:-}" ]; then
  exec wine Brackenfly.exe "$@"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine Brackenfly.exe "$@"
fi
