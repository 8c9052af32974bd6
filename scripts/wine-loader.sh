# Sourced by the lane scripts that run the other word size's Wine (i686-emulation.sh,
# x86_64-wine.sh): its loader is unpacked, never installed, and must match the installed Wine
# libraries exactly.
#   unpack_wine_loader LANE LIBRARY PACKAGE DEST LOADER
# unpacks PACKAGE (as apt names it, e.g. wine32:i386) at the installed version of LIBRARY into
# DEST, unless DEST already holds that version and its LOADER; LANE names the caller in messages.
unpack_wine_loader() {
  local lane=$1 library=$2 package=$3 dest=$4 loader=$5 version
  version=$(dpkg-query -W -f='${Version}' "$library" 2>/dev/null || true)
  [ -n "$version" ] || { echo "$lane: $library is not installed (run scripts/setup.sh)" >&2; return 1; }
  [ "$(cat "$dest/.version" 2>/dev/null)" = "$version" ] && [ -x "$loader" ] && return 0
  echo "$lane: fetching the Wine loader $package $version"
  rm -rf "$dest" "$dest.download" && mkdir -p "$dest" "$dest.download"
  (cd "$dest.download" && apt-get -qq -o APT::Sandbox::User=root download "$package=$version")
  dpkg-deb -x "$dest.download"/*.deb "$dest"
  rm -rf "$dest.download"
  echo "$version" > "$dest/.version"
}
