#!/usr/bin/env bash
# ERFA's static library and headers from its unpacked source, for a cross compiler.
#
#   tools/erfa-library.sh SRC DIR CC AR
#
# SRC is the unpacked source package (tools/debian-source.sh fetch erfa), DIR receives
# lib/liberfa.a and include/; CC and AR are the compiler and archiver commands (emcc and emar
# for WebAssembly, x86_64-w64-mingw32-gcc-posix and its ar for Windows). The sources are
# compiled -O2 -ffp-contract=off, two compilers at a time on two cores, without the test
# program (t_*.c). tools/web.sh and tools/windows.sh use it.
set -euo pipefail
src=$1 dir=$2 cc=$3 ar=$4
obj=$dir/obj
mkdir -p "$obj" "$dir/lib" "$dir/include"
version=$(sed -n 's/^AC_INIT(\[erfa\], *\[\([0-9.]*\)\].*/\1/p' "$src/configure.ac")
[ -n "$version" ] || version=2.0.0
sofa=$(sed -n 's/.*AC_DEFINE(\[SOFA_VERSION\], *\["\([0-9]*\)"\].*/\1/p' "$src/configure.ac")
cat >"$obj/config.h" <<CONFIG
#define PACKAGE_VERSION "$version"
#define PACKAGE_VERSION_MAJOR ${version%%.*}
#define PACKAGE_VERSION_MINOR $(cut -d. -f2 <<<"$version")
#define PACKAGE_VERSION_MICRO $(cut -d. -f3 <<<"$version")
#define SOFA_VERSION "$sofa"
CONFIG
files=()
for f in "$src"/src/*.c; do
  case $(basename "$f") in t_*) continue ;; esac
  files+=("$f")
done
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 16 sh -c 'cd "$0" && nice '"$cc"' -O2 -ffp-contract=off -DHAVE_CONFIG_H -I. -c "$@"' "$obj"
"$ar" rcs "$dir/lib/liberfa.a" "$obj"/*.o
cp "$src"/src/erfa.h "$src"/src/erfam.h "$src"/src/erfaextra.h "$dir/include/"
[ ! -f "$src/src/erfadatextra.h" ] || cp "$src/src/erfadatextra.h" "$dir/include/"
rm -rf "$obj"
