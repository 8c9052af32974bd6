#!/bin/bash
# Installs what a fresh Debian 12 machine needs to build and test Brackenfly, then builds the
# third-party libraries into the build tree. Safe to run again: every step is skipped when done.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
install_missing() {
  local missing=() p
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}"
  # A mirror caught mid-sync fails one index; the lists it did fetch may still hold every
  # package, so the install itself decides.
  if [ -z "${apt_updated:-}" ]; then
    $SUDO apt-get update -q || echo "setup: apt-get update reported errors; installing from the lists it has"
    apt_updated=1
  fi
  # When a mirror serves one architecture's security updates and not the other's, the two
  # architectures' candidates differ and multiarch packages cannot be installed side by side:
  # then take the release's own versions, which both architectures have.
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}" ||
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q -t bookworm "${missing[@]}"
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  apt_updated=
fi
install_missing libc6:i386
. "$here/scripts/arch.sh"

PKGS=(g++ g++-mingw-w64-i686 mingw-w64-tools libwine-dev cmake ninja-build nasm dpkg-dev wine xvfb xauth fonts-wine
      googletest imagemagick netpbm libjpeg-turbo-progs libtiff-tools giflib-tools tinyproxy python3
      debian-archive-keyring)
if [ "$TEST_ARCH" = i686 ]; then
  PKGS+=(wine32:i386)
  # The x86_64 tests run 64-bit Wine: its libraries come installed, its loader is only unpacked
  # (scripts/x86_64-wine.sh), since installed wine32 would still be the machine's `wine`.
  if [ -n "$SECOND_ARCH" ]; then PKGS+=(g++-mingw-w64-x86-64 "libwine:$(dpkg --print-architecture)"); fi
else
  PKGS+=(wine64 g++-mingw-w64-x86-64)
  # The i686 tests run 32-bit Wine under emulation: its libraries come installed, its loader is
  # only unpacked (scripts/i686-emulation.sh), since installed it would shadow wine64.
  if [ -n "$SECOND_ARCH" ]; then PKGS+=(libwine:i386); fi
fi
install_missing "${PKGS[@]}"
if [ "$TEST_ARCH" != i686 ] && installed wine32:i386; then
  # The wine32 loader cannot start on this machine and would shadow wine64 in /usr/bin/wine.
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y -q wine32:i386
fi

mkdir -p "$DEPS_ROOT"
# native: the same libraries for this machine, for the image library's sanitizer lane.
archs=(i686 native)
{ [ "$TEST_ARCH" = x86_64 ] || [ "$SECOND_ARCH" = x86_64 ]; } && archs+=(x86_64)
for arch in "${archs[@]}"; do
  prefix=$(deps_prefix "$arch")
  (
    flock 9
    if [ ! -f "$prefix/.complete" ]; then
      host=$arch-w64-mingw32; [ "$arch" = native ] && host=native
      ROOT=$(dirname "$prefix") PREFIX="$prefix" HOST=$host "$here/scripts/build-deps.sh"
      touch "$prefix/.complete"
    fi
  ) 9>"$DEPS_ROOT/.lock"
done
