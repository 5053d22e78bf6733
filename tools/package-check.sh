#!/usr/bin/env bash
# Builds the Debian package in BUILD_DIR with CPack and checks it without installing it:
# its file list against tools/package-files.txt, its dependencies, the unpacked terminal
# program on a year (it must find the unpacked term files), the desktop entry and AppStream
# file, that the manual page and the bash completion know every option of --help, and
# lintian (no error).
# Usage: tools/package-check.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
fail() {
  echo "package-check: $*" >&2
  exit 1
}

deb=$build/sorvane_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || fail "cpack failed: $(cat "$build/cpack.log")"
[ -f "$deb" ] || fail "cpack did not write $deb"

# The files the package installs (directories left out).
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$build/package-files.txt"
diff -u "$source_dir/tools/package-files.txt" "$build/package-files.txt" ||
  fail "the package's files differ from tools/package-files.txt (-expected +packaged)"

depends=$(dpkg-deb -f "$deb" Depends)
for pkg in fonts-ipafont-gothic sound-theme-freedesktop libqt6widgets6 liberfa1 libical3 libcanberra0; do
  [[ ", $depends," == *", $pkg "* || ", $depends," == *", $pkg,"* ]] || fail "Depends lacks $pkg: $depends"
done
# The program carries its own Moon: nothing of casacore.
[[ "$depends" != *casa* ]] || fail "Depends names casacore: $depends"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
cli=$root/usr/bin/sorvane-cli

[ "$("$cli" --version)" = "sorvane-cli $version" ] || fail "--version says \"$("$cli" --version)\", not $version"
grep -q "<release version=\"$version\"" "$root"/usr/share/metainfo/*.metainfo.xml ||
  fail "the AppStream release is not $version"
zcat "$root/usr/share/doc/sorvane/changelog.gz" | head -1 | grep -qF "sorvane ($version)" ||
  fail "the changelog's last entry is not $version"

# The unpacked program on a year prints what the built one prints ...
"$cli" 2024 >"$root/unpacked.txt" || fail "the unpacked sorvane-cli failed on 2024"
"$build/bin/sorvane-cli" 2024 >"$root/built.txt"
cmp -s "$root/unpacked.txt" "$root/built.txt" || fail "the unpacked sorvane-cli prints another 2024"
[ "$(wc -l <"$root/unpacked.txt")" -ge 40 ] || fail "the unpacked sorvane-cli printed too little"
# ... gives the same phases, with nothing on standard error ...
"$cli" 2025 --phases >"$root/phases.txt" 2>"$root/phases.err" || fail "the unpacked --phases failed"
[ ! -s "$root/phases.err" ] || fail "the unpacked --phases: $(cat "$root/phases.err")"
"$build/bin/sorvane-cli" 2025 --phases | cmp -s - "$root/phases.txt" ||
  fail "the unpacked sorvane-cli prints other phases of 2025"
# ... and reads the term files of its own prefix: without latitude.txt there, it names that file.
rm "$root/usr/share/sorvane/latitude.txt"
if "$cli" 2024 >/dev/null 2>"$root/err.txt"; then
  fail "the unpacked sorvane-cli ran without its latitude.txt"
fi
grep -qF "$root/usr/share/sorvane/latitude.txt" "$root/err.txt" ||
  fail "the unpacked sorvane-cli did not look in its own share folder: $(cat "$root/err.txt")"

appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml)"
desktop-file-validate "$root/usr/share/applications/sorvane.desktop" ||
  fail "desktop-file-validate failed"

# Every option of --help is in the manual page and in the bash completion.
man_page=$(zcat "$root/usr/share/man/man1/sorvane-cli.1.gz")
completion=$(cat "$root/usr/share/bash-completion/completions/sorvane-cli")
options=$("$cli" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || fail "no option found in --help"
for option in $options; do
  grep -qF -- "\\-\\-${option#--}" <<<"$man_page" || fail "the manual page lacks $option"
  grep -qE -- "(^|[ '])$option([ ']|$)" <<<"$completion" || fail "the bash completion lacks $option"
done
# The manual pages format without a warning.
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
done

lintian --fail-on error "$deb" >"$build/lintian.txt" 2>"$build/lintian.err" ||
  fail "lintian: $(cat "$build/lintian.txt" "$build/lintian.err")"
echo "package-check: $(basename "$deb") passed ($(grep -c . "$build/lintian.txt" || true) lintian notes in $build/lintian.txt)"
