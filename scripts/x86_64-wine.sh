#!/bin/bash
# Runs 64-bit Wine on a machine whose Wine is the 32-bit one (wine32 installed, which the machine's
# `wine` prefers), without changing the machine: inside a private user and mount namespace the
# machine's /usr/lib/wine is replaced by a copy without the 32-bit loader and server, with the
# 64-bit ones added. There Wine behaves as on a machine without 32-bit support, so the x86_64 lane
# runs the same way on both kinds of machine.
#
#   x86_64-wine.sh prepare DIR      fetch the 64-bit loader and server into DIR (idempotent)
#   x86_64-wine.sh run DIR CMD...   run CMD with the 64-bit Wine
#
# Needs libwine (amd64) installed; setup.sh does that.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:-}; dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 prepare|run DIR [CMD...]" >&2; exit 2; }
shift 2
dir=$(realpath -m "$dir")
loader_dir=$dir/wine64/usr/lib/wine

prepare() {
  mkdir -p "$dir"
  (
    flock 9
    . "$here/wine-loader.sh"
    unpack_wine_loader x86_64-wine "libwine:$(dpkg --print-architecture)" wine64 "$dir/wine64" "$loader_dir/wine64"
  ) 9>"$dir/.lock"
}

case "$cmd" in
prepare)
  prepare
  ;;
run)
  [ $# -gt 0 ] || { echo "usage: $0 run DIR CMD..." >&2; exit 2; }
  prepare
  if ! unshare --user --map-root-user --mount true 2>/dev/null; then
    echo "x86_64-wine: this machine does not allow private user namespaces (unshare --user)" >&2
    exit 1
  fi
  # What the namespace sees as /usr/lib/wine: the machine's, 64-bit loader and server in place of
  # the 32-bit ones (the wrapper scripts in /usr/bin then choose the 64-bit ones).
  rm -rf "$dir/usr-lib-wine" && mkdir -p "$dir/usr-lib-wine"
  cp -a /usr/lib/wine/. "$loader_dir/." "$dir/usr-lib-wine/"
  rm -f "$dir/usr-lib-wine/wine" "$dir/usr-lib-wine/wineserver32"
  exec unshare --user --map-root-user --mount --fork \
    sh -c 'mount --bind "$0" /usr/lib/wine && exec "$@"' "$dir/usr-lib-wine" "$@"
  ;;
*)
  echo "usage: $0 prepare|run DIR [CMD...]" >&2; exit 2
  ;;
esac
