#!/bin/bash
# Cross-build static zlib, libjpeg-turbo, libpng, giflib, libtiff for i686-w64-mingw32 from Debian source packages.
# HOST=native builds them for this machine instead (the image library's sanitizer lane).
# Needs: g++-mingw-w64-i686 cmake ninja-build nasm dpkg-dev (see setup.sh)
set -euo pipefail
ROOT=${ROOT:-$PWD/build/deps}
PREFIX=${PREFIX:-$ROOT/prefix}
HOST=${HOST:-i686-w64-mingw32}
JOBS=${JOBS:-8}
ZLIB_FROM=${ZLIB_FROM:-source}     # source | package (libz-mingw-w64-dev)
rm -rf "$ROOT/src" "$ROOT/build"
mkdir -p "$ROOT"/{src,build} "$PREFIX"
T=$ROOT/toolchain-$HOST.cmake
if [ "$HOST" = native ]; then
  # The build machine's own compiler, for the image library's sanitizer lane.
  CC_FOR_HOST=gcc AR_FOR_HOST=ar CHOST_FOR_ZLIB= PIC_FLAG=-fPIC
  cat > "$T" <<TC
set(CMAKE_C_COMPILER   gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_FIND_ROOT_PATH $PREFIX)
TC
else
  CC_FOR_HOST=$HOST-gcc AR_FOR_HOST=$HOST-ar CHOST_FOR_ZLIB=$HOST PIC_FLAG=
  cat > "$T" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${HOST%%-*})
set(CMAKE_C_COMPILER   $HOST-gcc)
set(CMAKE_CXX_COMPILER $HOST-g++)
set(CMAKE_RC_COMPILER  $HOST-windres)
set(CMAKE_FIND_ROOT_PATH $PREFIX /usr/$HOST)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
TC
fi
t0=$EPOCHREALTIME; tick() { local t=$EPOCHREALTIME; awk -v a="$t0" -v b="$t" -v n="$1" 'BEGIN{printf "TIME %-14s %6.1fs\n", n, b-a}'; t0=$t; }

# --- 1. sources via a private apt configuration (nothing under /etc touched), from the archive the
# machine's own apt configuration names ---
. "$(dirname "$0")/apt-archive.sh"
private_apt "$ROOT/apt" \
  "deb-src [signed-by=$DEBIAN_KEYRING] ARCHIVE $DEBIAN_RELEASE main" \
  "deb-src [signed-by=$DEBIAN_KEYRING] ARCHIVE $DEBIAN_RELEASE-updates main"
APT=("${PRIVATE_APT[@]}")
apt-get "${APT[@]}" -qq update
cd "$ROOT/src"
PKGS="libjpeg-turbo libpng1.6 tiff giflib"; [ "$ZLIB_FROM" = source ] && PKGS="zlib $PKGS"
apt-get "${APT[@]}" -qq source --download-only $PKGS
for d in *.dsc; do dpkg-source -q -x --no-check "$d"; done   # applies debian/patches (CVE fixes)
tick download+unpack

CM=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$T" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX")

# --- zlib ---
if [ "$ZLIB_FROM" = source ]; then
  mkdir -p "$ROOT/build/zlib" && cd "$ROOT/build/zlib"
  CHOST=$CHOST_FOR_ZLIB CFLAGS="-O2 $PIC_FLAG" "$ROOT"/src/zlib-*/configure --static --prefix="$PREFIX" >/dev/null
  make -s -j$JOBS libz.a && make -s install >/dev/null
  ZOPT=()
else
  ZOPT=(-DZLIB_LIBRARY=/usr/$HOST/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$HOST/include)  # else FindZLIB picks libz.dll.a
fi
tick zlib

# --- libjpeg-turbo 2.1.5 (jpeg62 API, SIMD via nasm) ---
cmake "${CM[@]}" -S "$ROOT"/src/libjpeg-turbo-* -B "$ROOT/build/jpeg" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON >/dev/null
cmake --build "$ROOT/build/jpeg" -j$JOBS >/dev/null && cmake --install "$ROOT/build/jpeg" >/dev/null
tick libjpeg-turbo

# --- libpng 1.6 ---
cmake "${CM[@]}" -S "$ROOT"/src/libpng1.6-* -B "$ROOT/build/png" "${ZOPT[@]}" \
      -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF >/dev/null
cmake --build "$ROOT/build/png" -j$JOBS >/dev/null && cmake --install "$ROOT/build/png" >/dev/null
tick libpng

# --- giflib 5.2.1 (plain Makefile, no cmake/autotools): only the static lib ---
cp -a "$ROOT"/src/giflib-5.2.1 "$ROOT/build/gif" && cd "$ROOT/build/gif"
make -s -j$JOBS CC=$CC_FOR_HOST AR=$AR_FOR_HOST OFLAGS="-O2 $PIC_FLAG" libgif.a
install -Dm644 gif_lib.h "$PREFIX/include/gif_lib.h" && install -Dm644 libgif.a "$PREFIX/lib/libgif.a"
tick giflib

# --- libtiff 4.5 (zlib + jpeg only) ---
cmake "${CM[@]}" -S "$ROOT"/src/tiff-4.5.0 -B "$ROOT/build/tiff" "${ZOPT[@]}" -DBUILD_SHARED_LIBS=OFF \
      -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF \
      -Dzlib=ON -Djpeg=ON -Dold-jpeg=ON -Djpeg12=OFF -Dpixarlog=ON \
      -Dlibdeflate=OFF -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dwebp=OFF -Dzstd=OFF >/dev/null
cmake --build "$ROOT/build/tiff" -j$JOBS >/dev/null && cmake --install "$ROOT/build/tiff" >/dev/null
tick libtiff
ls -l "$PREFIX"/lib/*.a
