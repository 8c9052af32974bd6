#!/bin/bash
# Installs what is missing, then configures and builds. $BUILD_DIR (default: build/) is this
# machine's first build (scripts/arch.sh): the 32-bit program where 32-bit processes run, else the
# x86_64 one; the other is built beside it, in $BUILD_DIR/x86_64 or $BUILD_DIR/i686 (SKIP_X86_64=1
# or SKIP_I686=1 skips it). BUILD_TARGET builds one target.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
"$here/scripts/setup.sh"
. "$here/scripts/arch.sh"

configure_and_build() {  # arch dir
  local arch=$1 dir=$2
  if [ -f "$dir/CMakeCache.txt" ] && [ "$(cat "$dir/.bkf-arch" 2>/dev/null)" != "$arch" ]; then
    echo "configure: $dir was configured for another architecture; starting it afresh"
    find "$dir" -mindepth 1 -maxdepth 1 ! -name wineprefix ! -name i686 ! -name x86_64 -exec rm -rf {} +
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
          -DDEPS_PREFIX="$(deps_prefix "$arch")"
    echo "$arch" > "$dir/.bkf-arch"
  fi
  cmake --build "$dir" -j"${BUILD_JOBS:-$(nproc)}" ${BUILD_TARGET:+--target $BUILD_TARGET}
}

configure_and_build "$TEST_ARCH" "$BUILD_DIR"
if [ -n "$SECOND_ARCH" ]; then
  configure_and_build "$SECOND_ARCH" "$BUILD_DIR/$SECOND_ARCH"
fi
