#!/usr/bin/env bash
# Debian's source packages without changing the system: apt reads a private list of deb-src
# entries made from the system's own Debian entries (the same URIs, suites, components and
# keys), with its own index folder, so no deb-src line need be configured and nothing under
# /etc/apt or /var/lib/apt is written. Needs no root.
#
#   tools/debian-source.sh version NAME      the archive's version of the source package NAME
#   tools/debian-source.sh uris NAME...      the files of the source packages (no download)
#   tools/debian-source.sh fetch NAME DIR    downloads NAME's .dsc and upstream tarball into
#                                            DIR, checks the tarball against the .dsc's
#                                            SHA-256, unpacks it there and prints its folder
#
# The private state is kept in $SORVANE_CACHE_DIR/apt (default ~/.cache/sorvane/apt); the
# index is fetched when it is missing or older than a day, or when a package is not found.
# SORVANE_APT_ETC names another folder to read the system's entries from (the tests use it).
set -euo pipefail

cache=${SORVANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/sorvane}
state=$cache/apt
etc=${SORVANE_APT_ETC:-/etc/apt}

say() { echo "debian-source: $*" >&2; }
die() {
  echo "debian-source: $*" >&2
  exit 1
}

# The deb822 stanzas of the system's enabled Debian entries, with Types: deb-src.
# Other entries (a vendor's repository) are left out: most have no sources to give.
debian_stanzas() {
  local f
  for f in "$etc"/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (n > 0 && types ~ /(^| )deb( |$)/ && enabled != "no" && uris ~ /debian/) {
          print "Types: deb-src"
          for (i = 1; i <= n; i++) print lines[i]
          print ""
        }
        n = 0; types = ""; uris = ""; enabled = ""; cont = 0
      }
      /^[[:space:]]*#/ { next }
      /^[[:space:]]*$/ { flush(); next }
      /^[ \t]/ { if (cont) lines[++n] = $0; next }
      {
        key = tolower($1); sub(/:$/, "", key)
        value = $0; sub(/^[^:]*:[[:space:]]*/, "", value)
        cont = 0
        if (key == "types") { types = value; next }
        if (key == "enabled") { enabled = tolower(value); next }
        if (key == "architectures") next
        if (key == "uris") uris = value
        lines[++n] = $0; cont = 1
      }
      END { flush() }' "$f"
  done
}

# The one-line entries ("deb [options] URI SUITE COMPONENT...") as deb-src lines.
debian_lines() {
  local f
  for f in "$etc"/sources.list "$etc"/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]\+\(.*debian.*\)$/deb-src \1/p' "$f" |
      sed 's/arch=[^] ]*//'
  done
}

write_sources() {
  mkdir -p "$state/sources.list.d" "$state/lists/partial" "$state/cache/archives/partial"
  local stanzas lines
  stanzas=$(debian_stanzas)
  lines=$(debian_lines)
  if [ -z "$stanzas$lines" ]; then
    # No Debian entry to copy: Debian's own archive for this release.
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$codename" ] || die "no Debian entry in $etc and no VERSION_CODENAME in /etc/os-release"
    stanzas="Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
  fi
  printf '%s\n' "$stanzas" >"$state/sources.list.d/debian-src.sources.new"
  printf '%s\n' "$lines" >"$state/sources.list.d/debian-src.list.new"
  mv "$state/sources.list.d/debian-src.sources.new" "$state/sources.list.d/debian-src.sources"
  mv "$state/sources.list.d/debian-src.list.new" "$state/sources.list.d/debian-src.list"
}

apt_options=()
set_options() {
  apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$state/sources.list.d"
    -o "Dir::State::Lists=$state/lists" -o "Dir::Cache=$state/cache"
    -o Dir::State::status=/var/lib/dpkg/status -o Acquire::Languages=none)
  # As root apt downloads as the user _apt, who cannot write into a private folder of root's.
  [ "$(id -u)" -eq 0 ] && apt_options+=(-o APT::Sandbox::User=root)
  return 0
}

update_index() {
  write_sources
  say "reading the Debian archive's index of source packages (into $state)"
  apt-get "${apt_options[@]}" -qq update >"$state/update.log" 2>&1 ||
    die "apt-get update of the source index failed: $(tail -n 3 "$state/update.log")"
  touch "$state/updated"
}

index_is_fresh() {
  [ -f "$state/updated" ] && [ -n "$(find "$state/updated" -mmin -1440 2>/dev/null)" ] &&
    ls "$state"/lists/*Sources* >/dev/null 2>&1
}

# The archive's version of source package $1 (the newest), or nothing.
source_version() {
  apt-cache "${apt_options[@]}" showsrc "$1" 2>/dev/null |
    awk -v name="$1" '/^Package:/{p=($2==name)} p && /^Version:/{print $2}' |
    sort -V | tail -n1
}

# Makes sure the index knows $1; prints its version. A day-old index is read again; when the
# archive cannot be reached then, the old index still answers (with a warning).
known_version() {
  local v=""
  if index_is_fresh; then
    v=$(source_version "$1")
  elif ls "$state"/lists/*Sources* >/dev/null 2>&1; then
    if (update_index); then
      v=$(source_version "$1")
    else
      v=$(source_version "$1")
      [ -z "$v" ] || say "warning: the archive's index could not be read again; using the old one"
    fi
  fi
  if [ -z "$v" ]; then
    update_index
    v=$(source_version "$1")
  fi
  [ -n "$v" ] || die "the Debian archive named in $etc has no source package $1"
  echo "$v"
}

fetch() {
  local name=$1 dir=$2 version
  version=$(known_version "$name")
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  local upstream=${version#*:}
  local dsc=$dir/${name}_${upstream}.dsc
  upstream=${upstream%-*}
  if [ ! -f "$dsc" ] || ! ls "$dir/${name}_${upstream}".orig.tar.* >/dev/null 2>&1; then
    say "fetching the source package $name $version"
    # Only the .dsc and the upstream tarball are used: a missing Debian part (the archive's
    # mirror here has answered 404 for one) does not stop the build.
    (cd "$dir" && apt-get "${apt_options[@]}" -qq source --download-only "$name=$version") \
      >"$state/source-$name.log" 2>&1 || true
  fi
  [ -f "$dsc" ] || die "apt-get source $name gave no $dsc: $(tail -n 3 "$state/source-$name.log")"
  local tarball
  tarball=$(ls "$dir/${name}_${upstream}".orig.tar.* 2>/dev/null | head -n1)
  [ -n "$tarball" ] || die "apt-get source $name gave no upstream tarball: $(tail -n 3 "$state/source-$name.log")"
  local want
  want=$(awk '/^Checksums-Sha256:/{f=1;next} /^[^ ]/{f=0} f && $3 ~ /orig\.tar/ {print $1}' "$dsc")
  [ -n "$want" ] || die "$dsc names no SHA-256 for the upstream tarball"
  [ "$(sha256sum "$tarball" | cut -d' ' -f1)" = "$want" ] ||
    die "$tarball does not match the SHA-256 in $dsc"
  local top
  top=$(tar tf "$tarball" | sed -n 1p | cut -d/ -f1) # sed reads on: no SIGPIPE for tar
  [ -n "$top" ] || die "$tarball is empty"
  [ -d "$dir/$top" ] || tar xf "$tarball" -C "$dir"
  echo "$dir/$top"
}

set_options
mkdir -p "$state"
# One run at a time changes the private index.
exec 9>"$state/lock"
flock 9

case ${1:-} in
version)
  [ $# -eq 2 ] || die "usage: $0 version NAME"
  known_version "$2"
  ;;
uris)
  [ $# -ge 2 ] || die "usage: $0 uris NAME..."
  shift
  for name in "$@"; do known_version "$name" >/dev/null; done
  apt-get "${apt_options[@]}" -qq source --print-uris "$@" | grep "^'"
  ;;
fetch)
  [ $# -eq 3 ] || die "usage: $0 fetch NAME DIR"
  fetch "$2" "$3"
  ;;
*) die "usage: $0 version NAME | uris NAME... | fetch NAME DIR" ;;
esac
