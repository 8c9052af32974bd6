# Sourced by the build scripts. Packages that do not come from the machine's own package lists
# (Debian source packages, backported tools) are fetched through a private apt configuration, so
# nothing under /etc changes. The project names no mirror: the Debian archive is reached through
# whatever address the machine's own apt configuration uses, which differs between machines.
DEBIAN_RELEASE=${DEBIAN_RELEASE:-bookworm}
DEBIAN_KEYRING=/usr/share/keyrings/debian-archive-keyring.gpg

# Prints the archive address: the first URIs: line of the machine's deb822 sources that serve
# $DEBIAN_RELEASE, else the first deb line of its one-line sources that does. Stanzas and lines
# for other suites (security, third-party repositories) are passed over: they are not the archive.
debian_archive_uri() {
  local list= parts= uri=
  eval "$(apt-config shell list Dir::Etc::SourceList/f parts Dir::Etc::SourceParts/d)"
  list=${list:-/etc/apt/sources.list}; parts=${parts:-/etc/apt/sources.list.d/}
  local sources=() one=()
  shopt -s nullglob; sources=("$parts"*.sources); one=("$list" "$parts"*.list); shopt -u nullglob
  if [ ${#sources[@]} -gt 0 ]; then
    uri=$(awk -v release="$DEBIAN_RELEASE" '
      function flush() {
        if (uri != "" && enabled && suites ~ ("(^| )" release "( |$)")) { print uri; found = 1; exit }
        uri = ""; suites = ""; enabled = 1
      }
      BEGIN { enabled = 1 }
      FNR == 1 { flush() }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      tolower($1) == "uris:" { uri = $2 }
      tolower($1) == "suites:" { $1 = ""; suites = $0; gsub(/^ +| +$/, "", suites) }
      tolower($1) == "enabled:" { enabled = tolower($2) != "no" }
      END { if (!found) flush() }' "${sources[@]}")
  fi
  if [ -z "$uri" ]; then
    local f
    for f in "${one[@]}"; do
      [ -r "$f" ] || continue
      # deb [options] URI SUITE COMPONENTS...
      uri=$(awk -v release="$DEBIAN_RELEASE" '
        $1 != "deb" { next }
        { i = 2; if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ } }
        $(i + 1) == release { print $i; exit }' "$f")
      [ -n "$uri" ] && break
    done
  fi
  if [ -z "$uri" ]; then
    echo "error: the machine's apt configuration names no Debian archive for $DEBIAN_RELEASE" \
         "(no URIs: line in ${parts}*.sources, no deb line in $list)." >&2
    echo "Add the archive this machine should use to its apt sources, then run again." >&2
    return 1
  fi
  echo "${uri%/}"
}

# private_apt DIR LINE...: writes a private apt configuration in DIR with the given source lines
# (the word ARCHIVE stands for the machine's archive address) and sets PRIVATE_APT to the apt-get
# options that use it. Its package lists and cache stay in DIR.
private_apt() {
  local dir=$1; shift
  local archive line
  archive=$(debian_archive_uri) || return 1
  mkdir -p "$dir"/{lists/partial,cache/archives/partial,sources.list.d}
  for line in "$@"; do echo "${line//ARCHIVE/$archive}"; done > "$dir/sources.list"
  PRIVATE_APT=(-o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts="$dir/sources.list.d"
               -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" -o APT::Sandbox::User=root)
}
