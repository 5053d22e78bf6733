#!/usr/bin/env bash
# The web build's source step on a machine whose apt sources are Debian's defaults: the
# system's Debian entries with Types: deb only, no deb-src line anywhere. The step runs in a
# mount namespace in which a copy of /etc/apt with such sources is mounted over /etc/apt, with
# an empty cache, so the real system is neither needed nor changed. It must fetch and unpack
# ERFA's and libical's sources and leave the (copied) /etc/apt as it found it.
#
#   web/tests/sources_test.sh [WEB_SH [COMMAND]]
#
# WEB_SH is the script to try (default: this tree's tools/web.sh), COMMAND what it is asked
# (default: sources). Needs Debian's archive, and root or unprivileged user namespaces.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
web_sh=${1:-$here/tools/web.sh}
command=${2:-sources}

fail() {
  echo "sources test: FAILED: $*" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The namespace: root makes a mount namespace; anyone else a user namespace mapped to root.
ns=(unshare -m --propagation private)
[ "$(id -u)" -eq 0 ] || ns=(unshare -r -m --propagation private)
if ! "${ns[@]}" true 2>"$work/unshare.err"; then
  echo "sources test: skipped: no mount namespace can be made here ($(cat "$work/unshare.err")):" \
    "run it as root" >&2
  exit 0
fi

# Debian's defaults made from this system's entries: deb822 stanzas keep their URIs, suites,
# components and keys with Types: deb; one-line files keep only their deb lines.
cp -a /etc/apt "$work/etc-apt"
for f in "$work"/etc-apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed -i 's/^Types:.*/Types: deb/' "$f"
done
for f in "$work"/etc-apt/sources.list "$work"/etc-apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  sed -i '/^[[:space:]]*deb-src[[:space:]]/d' "$f"
done
if grep -rqs '^\(deb-src\|Types:.*deb-src\)' "$work/etc-apt"; then
  fail "the copy of /etc/apt still has a deb-src entry"
fi
before=$(cd "$work/etc-apt" && find . -type f -exec sha256sum {} + | sort)
system_before=$(find /etc/apt -type f -exec sha256sum {} + | sort)

set +e
SORVANE_CACHE_DIR=$work/cache "${ns[@]}" bash -c '
  mount --bind "$1" /etc/apt || exit 90
  shift
  exec "$@"' - "$work/etc-apt" "$web_sh" "$command" >"$work/out" 2>"$work/err"
status=$?
set -e
[ $status -ne 90 ] || fail "the copy could not be mounted over /etc/apt: $(cat "$work/err")"
[ $status -eq 0 ] || fail "'$web_sh $command' exited with status $status: $(tail -n 5 "$work/err")"

# Both source trees, unpacked.
erfa=$(grep '/erfa-[^/]*$' "$work/out" || true)
libical=$(grep '/libical-[^/]*$' "$work/out" || true)
[ -n "$erfa" ] && [ -f "$erfa/src/erfa.h" ] || fail "no ERFA source tree in: $(cat "$work/out")"
[ -n "$libical" ] && [ -f "$libical/CMakeLists.txt" ] || fail "no libical source tree in: $(cat "$work/out")"

after=$(cd "$work/etc-apt" && find . -type f -exec sha256sum {} + | sort)
[ "$before" = "$after" ] || fail "the step changed /etc/apt: $(diff <(echo "$before") <(echo "$after"))"
system_after=$(find /etc/apt -type f -exec sha256sum {} + | sort)
[ "$system_before" = "$system_after" ] || fail "the system's /etc/apt changed during the test"

echo "sources test: ERFA and libical fetched without a deb-src entry, /etc/apt unchanged: passed"
