#!/bin/bash
# Runs 32-bit Wine on a kernel that cannot execute 32-bit processes, through qemu-user emulation,
# without changing the machine: the emulator is registered for i386 programs only inside a private
# user and mount namespace, and the 32-bit Wine loader is mounted over /usr/lib/wine only there, so
# the machine's `wine` stays the 64-bit one for everything else.
#
#   i686-emulation.sh prepare DIR      fetch the emulator and the Wine loader into DIR (idempotent)
#   i686-emulation.sh run DIR CMD...   run CMD with 32-bit programs emulated
#
# Needs libwine:i386 installed (setup.sh does that). qemu-user 8 or newer is required: 7.2 treats
# Wine's fixed memory reservations as hints and Wine stops with "failed to map the shared user
# data"; bookworm has 7.2, so it comes from bookworm-backports, through a private apt configuration.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:-}; dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 prepare|run DIR [CMD...]" >&2; exit 2; }
shift 2
dir=$(realpath -m "$dir")

qemu=$dir/qemu/usr/bin/qemu-i386
binfmt_conf=$dir/qemu/usr/share/qemu/binfmt.d/qemu-i386.conf
loader_dir=$dir/wine32/usr/lib/wine

fetch_emulator() {
  local version
  # Any emulator from 8 on will do: once there, it is kept (no network needed to run again).
  [ -x "$qemu" ] && [ -f "$binfmt_conf" ] && return 0
  . "$here/apt-archive.sh"
  private_apt "$dir/apt" \
    "deb [arch=$(dpkg --print-architecture) signed-by=$DEBIAN_KEYRING] ARCHIVE $DEBIAN_RELEASE-backports main"
  apt-get "${PRIVATE_APT[@]}" -qq update
  version=$(apt-cache "${PRIVATE_APT[@]}" policy qemu-user | sed -n 's/^ *Candidate: //p')
  case "$version" in
    ''|'(none)') echo "i686-emulation: qemu-user is not in $DEBIAN_RELEASE-backports" >&2; return 1 ;;
  esac
  echo "i686-emulation: fetching qemu-user $version"
  rm -rf "$dir/qemu" "$dir/download" && mkdir -p "$dir/qemu" "$dir/download"
  (cd "$dir/download" && apt-get "${PRIVATE_APT[@]}" -qq download "qemu-user=$version")
  # Only the i386 emulator (a static program) and its binfmt pattern are needed.
  dpkg-deb --fsys-tarfile "$dir"/download/qemu-user_*.deb |
    tar -x -C "$dir/qemu" ./usr/bin/qemu-i386 ./usr/share/qemu/binfmt.d/qemu-i386.conf
  rm -rf "$dir/download"
  echo "$version" > "$dir/qemu/.version"
}

fetch_loader() {
  . "$here/wine-loader.sh"
  unpack_wine_loader i686-emulation libwine:i386 wine32:i386 "$dir/wine32" "$loader_dir/wine"
}

prepare() {
  mkdir -p "$dir"
  (
    flock 9
    fetch_emulator
    fetch_loader
  ) 9>"$dir/.lock"
}

# Inside the namespace: a private binfmt_misc with the emulator for i386 programs (F: the
# emulator is opened now, so it need not be visible where the programs run), and the machine's
# /usr/lib/wine with the 32-bit loader added (made by `run`), mounted over the real one.
inside() {
  local magic mask
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  IFS=: read -r _ _ _ _ magic mask _ < "$binfmt_conf"
  echo ":bkf-i386:M::$magic:$mask:$qemu:F" > /proc/sys/fs/binfmt_misc/register
  mount --bind "$dir/usr-lib-wine" /usr/lib/wine
  exec "$@"
}

case "$cmd" in
prepare)
  prepare
  ;;
run)
  [ $# -gt 0 ] || { echo "usage: $0 run DIR CMD..." >&2; exit 2; }
  prepare   # quick when done: the loader is fetched again only when the installed Wine changed
  if ! unshare --user --map-root-user --mount true 2>/dev/null; then
    echo "i686-emulation: this machine does not allow private user namespaces (unshare --user)" >&2
    exit 1
  fi
  if ! unshare --user --map-root-user --mount sh -c \
       'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc' 2>/dev/null; then
    echo "i686-emulation: this kernel has no binfmt_misc of its own per namespace (Linux 6.7 or newer needed)" >&2
    exit 1
  fi
  # What the namespace sees as /usr/lib/wine: the machine's, with the 32-bit loader added.
  rm -rf "$dir/usr-lib-wine" && mkdir -p "$dir/usr-lib-wine"
  cp -a /usr/lib/wine/. "$loader_dir/." "$dir/usr-lib-wine/"
  exec unshare --user --map-root-user --mount --fork "$0" inside "$dir" "$@"
  ;;
inside)
  inside "$@"
  ;;
*)
  echo "usage: $0 prepare|run DIR [CMD...]" >&2; exit 2
  ;;
esac
