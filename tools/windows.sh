#!/usr/bin/env bash
# The Windows edition: the terminal program and the window program cross-compiled for 64-bit
# Windows with Debian's mingw-w64, tested under Debian's wine, packed with NSIS.
#
#   tools/windows.sh build    sorvane-cli.exe (and sorvane.exe when Qt for Windows is in the
#                             cache) in build-windows/, with what they need beside them in
#                             build-windows/dist/ (installs what is missing with apt-get)
#   tools/windows.sh qt       builds Qt for Windows into the cache (half an hour or more)
#   tools/windows.sh test     build, then run sorvane-cli.exe under wine on the byte sweep's
#                             command lines against the native program (needs build/, see
#                             tools/build.sh), the Windows cases, and, when Qt is there, the
#                             window program under wine + Xvfb with screenshots
#   tools/windows.sh package  build, then the NSIS installers and the zips in build-windows/
#
# ERFA, libical and Qt for Windows are built from Debian's source packages once per machine
# into a cache outside the clone ($SORVANE_CACHE_DIR/windows, default ~/.cache/sorvane/windows),
# each in a folder named after the source package's version and the text of the function that
# builds it; the project itself is built with CMake in build-windows/cmake/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
cache=${SORVANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/sorvane}
export SORVANE_CACHE_DIR=$cache
host=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake
mkdir -p "$out"

say() { echo "windows: $*" >&2; }
die() {
  echo "windows: $*" >&2
  exit 1
}

# --- Debian packages ------------------------------------------------------------------------
install_packages() {
  local packages=(g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev cmake ninja-build pkg-config
                  nlohmann-json3-dev zip python3 xvfb xdotool openbox imagemagick
                  fonts-ipafont-gothic qt6-base-dev qt6-base-dev-tools qt6-translations-l10n)
  local missing=()
  for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  local sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

compiler_version() { "$host-g++-posix" -dumpfullversion; }

# --- Source packages --------------------------------------------------------------------------
fetch_source() {
  "$root/tools/debian-source.sh" fetch "$1" "$cache/src"
}

# --- The cache outside the clone ---------------------------------------------------------------
#   cached NAME VERSION FUNCTION...: prints the folder, made by `FUNCTION DIR` (into DIR, which
#   is then renamed to the folder) when missing. The folder's name holds a hash of the text of
#   the FUNCTIONs (and of tools/erfa-library.sh for ERFA) and of the compiler's version.
#   FUNCTION's own output goes to standard error.
cached() {
  local name=$1 version=$2 build=$3
  shift 2
  local recipe
  recipe=$( (declare -f "$@"; [ "$build" != erfa_into ] || cat "$root/tools/erfa-library.sh"
    compiler_version) | sha256sum | cut -c1-12)
  local entry=$cache/windows/$name-$version-$recipe
  if [ ! -f "$entry/.complete" ]; then
    local tmp=$entry.tmp.$$
    rm -rf "$tmp" && mkdir -p "$tmp"
    "$build" "$tmp" >&2 || { rm -rf "$tmp" "$tmp.build" "$tmp.src"; die "building $name for Windows failed"; }
    touch "$tmp/.complete"
    rm -rf "$entry" && mv "$tmp" "$entry"
    # pkg-config and CMake files that name the folder it was built in name it again.
    grep -rlF --include='*.pc' --include='*.cmake' "$tmp" "$entry" | xargs -r sed -i "s|$tmp|$entry|g"
  fi
  echo "$entry"
}

# The cached folder of NAME if it is complete (for Qt, which `build` never makes by itself).
cached_entry() {
  local name=$1 version=$2
  shift 2
  local recipe
  recipe=$( (declare -f "$@"; compiler_version) | sha256sum | cut -c1-12)
  local entry=$cache/windows/$name-$version-$recipe
  [ -f "$entry/.complete" ] && echo "$entry"
  return 0
}

# --- Qt ---------------------------------------------------------------------------------------
# Debian's qt6-base source has no src/3rdparty/wintab (taken out of the +dfsg tarball), which
# the Windows platform plugins include for the old pen-tablet interface. The plugins are
# built without it: the Wintab sources out of both plugins, its code paths off. Pen input
# still arrives as mouse input.
qt_patch() {
  local src=$1/src/plugins/platforms
  sed -i 's/CONDITION QT_FEATURE_tabletevent$/CONDITION OFF/' \
    "$src/windows/CMakeLists.txt" "$src/direct2d/CMakeLists.txt" || return 1
  sed -i 's/^#if QT_CONFIG(tabletevent)/#if 0 \/\/ no Wintab/' "$src/windows/qwindowscontext.cpp" \
    "$src/windows/qwindowspointerhandler.h" "$src/windows/qwindowspointerhandler.cpp" || return 1
  ! grep -q 'CONDITION QT_FEATURE_tabletevent' "$src/windows/CMakeLists.txt" "$src/direct2d/CMakeLists.txt"
}

# qt_into DIR: Qt's Core, Gui, Widgets, PrintSupport and the windows platform plugin built
# for Windows and installed into DIR, with Debian's Qt of the same version as the host Qt
# (moc, rcc, uic). No network, sql, dbus or OpenGL; Direct2D stays on (PrintSupport needs
# the DirectWrite font engine that Gui compiles only with it).
qt_into() {
  local dir=$1 src
  src=$(fetch_source qt6-base)
  say "building Qt for Windows (half an hour or more on two cores)"
  rm -rf "$dir.src" "$dir.build"
  cp -a "$src" "$dir.src" && qt_patch "$dir.src" || return 1
  mkdir -p "$dir.build"
  (cd "$dir.build" && nice -n 19 "$dir.src/configure" -prefix "$dir" \
    -qt-host-path /usr -xplatform win32-g++ -device-option CROSS_COMPILE=$host- \
    -release -nomake examples -nomake tests \
    -no-dbus -no-feature-sql -no-feature-network -no-feature-testlib -no-feature-concurrent \
    -no-feature-xml -no-opengl -no-feature-vulkan -no-icu \
    -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion \
    -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >"$out/qt-configure.log" 2>&1 ||
    { say "Qt's configure failed; see $out/qt-configure.log"; return 1; }
  nice -n 19 cmake --build "$dir.build" -j2 >"$out/qt-build.log" 2>&1 ||
    { say "Qt's build failed; see $out/qt-build.log"; return 1; }
  cmake --install "$dir.build" --prefix "$dir" >"$out/qt-install.log" 2>&1 || return 1
  rm -rf "$dir.src" "$dir.build"
}

qt_version() { "$root/tools/debian-source.sh" version qt6-base; }
qt_entry() { cached_entry qt6-base "$(qt_version)" qt_into qt_patch; }
build_qt() { cached qt6-base "$(qt_version)" qt_into qt_patch; }

# --- ERFA -----------------------------------------------------------------------------------
# erfa_into DIR: ERFA's library and headers built into DIR.
erfa_into() {
  local src
  src=$(fetch_source erfa)
  say "building ERFA for Windows"
  "$root/tools/erfa-library.sh" "$src" "$1" "$host-gcc-posix" "$host-ar"
}

# --- libical --------------------------------------------------------------------------------
# libical_into DIR: libical installed into DIR (static, with its built-in time zones).
libical_into() {
  local dir=$1 src
  src=$(fetch_source libical3)
  say "building libical for Windows"
  local b=$dir.build
  rm -rf "$b"
  nice cmake -S "$src" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$dir" -DCMAKE_INSTALL_LIBDIR=lib \
    -DSTATIC_ONLY=ON -DSHARED_ONLY=OFF -DICAL_GLIB=OFF -DGOBJECT_INTROSPECTION=OFF \
    -DICAL_BUILD_DOCS=OFF -DLIBICAL_BUILD_TESTING=OFF -DWITH_CXX_BINDINGS=ON \
    -DICAL_ALLOW_EMPTY_PROPERTIES=OFF -DUSE_BUILTIN_TZDATA=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BDB=ON \
    -DCMAKE_C_FLAGS="-ffp-contract=off" >"$out/libical-configure.log" 2>&1 ||
    { say "libical's configure failed; see $out/libical-configure.log"; return 1; }
  nice cmake --build "$b" -j"$(nproc)" >"$out/libical-build.log" 2>&1 ||
    { say "libical's build failed; see $out/libical-build.log"; return 1; }
  cmake --install "$b" >/dev/null || return 1
  rm -rf "$b"
}

# --- GoogleTest, for the Qt-free suites under wine -------------------------------------------
gtest_into() {
  local dir=$1
  [ -d /usr/src/googletest ] || { say "/usr/src/googletest is missing (the package libgtest-dev)"; return 1; }
  say "building GoogleTest for Windows"
  local b=$dir.build
  rm -rf "$b"
  nice cmake -S /usr/src/googletest -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$dir" \
    -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_GMOCK=OFF >"$out/gtest.log" 2>&1 &&
    nice cmake --build "$b" -j"$(nproc)" >>"$out/gtest.log" 2>&1 &&
    cmake --install "$b" >>"$out/gtest.log" 2>&1 ||
    { say "GoogleTest's build failed; see $out/gtest.log"; return 1; }
  rm -rf "$b"
}

# The folders the project's build looks in: ERFA, libical, (GoogleTest,) nlohmann/json's
# headers and CMake files, and Qt when it is in the cache. Sets prefixes.
prefixes=()
libraries() {
  local version entry
  version=$("$root/tools/debian-source.sh" version erfa)
  prefixes+=("$(cached erfa "$version" erfa_into)")
  version=$("$root/tools/debian-source.sh" version libical3)
  prefixes+=("$(cached libical3 "$version" libical_into)")
  if [ "${1:-}" = tests ]; then
    version=$(dpkg-query -W -f='${Version}' libgtest-dev)
    prefixes+=("$(cached googletest "$version" gtest_into)")
  fi
  # nlohmann/json is header-only; the sysroot has none of /usr's headers.
  local json=$out/json
  if [ ! -f "$json/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" ]; then
    mkdir -p "$json/include" "$json/share/cmake"
    cp -r /usr/include/nlohmann "$json/include/"
    cp -r /usr/share/cmake/nlohmann_json "$json/share/cmake/"
  fi
  prefixes+=("$json")
  qt=$(qt_entry)
  [ -z "$qt" ] || prefixes+=("$qt")
}

# --- The project ------------------------------------------------------------------------------
# sorvane-cli.exe, and sorvane.exe when Qt is in the cache; with tests also the Qt-free suites.
build_project() {
  local tests=OFF gui=OFF
  [ "${1:-}" = tests ] && tests=ON
  libraries "$@"
  [ -n "$qt" ] && [ "${SORVANE_WINDOWS_GUI:-1}" != 0 ] && gui=ON
  local b=$out/cmake ccache_options=()
  . "$root/tools/ccache.sh"
  local list
  list=$(IFS=';'; echo "${prefixes[*]}")
  PKG_CONFIG_LIBDIR=${prefixes[1]}/lib/pkgconfig PKG_CONFIG_PATH= \
    nice cmake -S "$root" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSORVANE_WINDOWS_PREFIX="$list" \
    -DCMAKE_PREFIX_PATH="$list" \
    -DERFA_LIBRARY="${prefixes[0]}/lib/liberfa.a" -DERFA_INCLUDE_DIR="${prefixes[0]}/include" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DSORVANE_BUILD_GUI="$gui" -DSORVANE_BUILD_TESTS="$tests" -DSORVANE_WERROR="${SORVANE_WERROR:-OFF}" \
    "${ccache_options[@]}" >"$out/configure.log" 2>&1 ||
    die "configuring the Windows build failed; see $out/configure.log"
  local targets=(--target sorvane-cli)
  [ "$gui" = ON ] && targets+=(sorvane)
  [ "$tests" = ON ] && targets=()
  nice cmake --build "$b" -j"$(nproc)" "${targets[@]}" || die "the Windows build failed"
  [ "$gui" = ON ] || say "Qt for Windows not built: run 'tools/windows.sh qt' (half an hour); sorvane.exe left out"
}

# --- What goes beside the programs -----------------------------------------------------------
# build-windows/dist/: the programs, the data files and, for the window program, what
# windeployqt would copy (the Qt DLLs, the platform and style plugins, the image formats,
# the Japanese translations, the mingw runtime DLLs and a qt.conf naming them).
deploy() {
  local bin=$out/cmake/bin dist=$out/dist
  rm -rf "$dist.new" && mkdir -p "$dist.new"
  cp "$bin/sorvane-cli.exe" "$root"/data/planet.txt "$root"/data/latitude.txt "$root"/data/places.tsv \
    "$root/LICENSE" "$dist.new/"
  if [ -f "$bin/sorvane.exe" ]; then
    cp "$bin/sorvane.exe" "$dist.new/"
    cp "$qt"/bin/Qt6{Core,Gui,Widgets,PrintSupport}.dll "$dist.new/"
    mkdir -p "$dist.new"/{platforms,styles,imageformats,translations}
    cp "$qt/plugins/platforms/qwindows.dll" "$dist.new/platforms/"
    cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$dist.new/styles/"
    cp "$qt"/plugins/imageformats/*.dll "$dist.new/imageformats/"
    cp /usr/share/qt6/translations/qtbase_ja.qm /usr/share/qt6/translations/qt_ja.qm "$dist.new/translations/"
    local gcc
    gcc=$(dirname "$("$host-g++-posix" -print-libgcc-file-name)")
    cp "$gcc/libstdc++-6.dll" "$gcc/libgcc_s_seh-1.dll" "/usr/$host/lib/libwinpthread-1.dll" "$dist.new/"
    printf '[Paths]\nPrefix=.\nPlugins=.\nTranslations=translations\n' >"$dist.new/qt.conf"
  fi
  find "$dist.new" \( -name '*.exe' -o -name '*.dll' \) -exec "$host-strip" --strip-unneeded {} +
  rm -rf "$dist" && mv "$dist.new" "$dist"
  say "programs in $dist ($(du -sk "$dist" | cut -f1) KB)"
}

# --- Tests under wine ---------------------------------------------------------------------------
export WINEPREFIX=${WINEPREFIX:-$cache/windows/wineprefix} WINEDEBUG=-all LANG=C.UTF-8
wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "making the wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot --init >"$out/wineboot.log" 2>&1 ||
      die "wineboot failed; see $out/wineboot.log"
  fi
  wineserver -p 2>/dev/null || true # already running is fine
}

# The window program under wine and Xvfb: the main window, then Tab Tab Space opens the month
# window; one screenshot of each in build-windows/screenshots/.
gui_test() {
  local dist=$out/dist shots=$out/screenshots display=:97
  rm -rf "$shots" && mkdir -p "$shots"
  Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  sleep 2
  DISPLAY=$display openbox >/dev/null 2>&1 &
  local wm=$!
  local home
  home=$(mktemp -d)
  (cd "$home" && DISPLAY=$display wine "$dist/sorvane.exe" >"$out/gui.log" 2>&1) &
  local app=$! ok=0 id=
  for _ in $(seq 1 60); do
    id=$(DISPLAY=$display xdotool search --name '^Sorvane' 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    sleep 1
  done
  if [ -n "$id" ]; then
    sleep 3
    DISPLAY=$display import -window root "$shots/main-window.png"
    DISPLAY=$display xdotool windowactivate --sync "$id" key Tab Tab space 2>/dev/null || true
    sleep 4
    DISPLAY=$display import -window root "$shots/main-and-month-window.png"
    ok=1
  fi
  kill "$app" 2>/dev/null || true
  wineserver -k || true
  kill "$wm" "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$home"
  [ "$ok" = 1 ] || die "the window program showed no window under wine; see $out/gui.log"
  say "screenshots in $shots"
}

# What only Windows can get wrong: a Japanese file name, a replaced file, the NUL device, a
# folder as the target, the data found beside a program in a folder with a Japanese name.
windows_cases() {
  local t failures=0
  t=$(mktemp -d)
  check() { # check WHAT CONDITION...
    local what=$1
    shift
    if "$@"; then echo "ok: $what" >&2; else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
  }
  mkdir -p "$t/暦フォルダ" "$t/run" "$t/d"
  cp "$out/dist/sorvane-cli.exe" "$root"/data/planet.txt "$root"/data/latitude.txt "$root"/data/places.tsv "$t/暦フォルダ/"
  local exe="$t/暦フォルダ/sorvane-cli.exe"
  (cd "$t/run" && wine "$exe" 2026 --ics 日本の暦.ics >"$t/out1" 2>"$t/err1" && echo 0 >"$t/rc1" || echo $? >"$t/rc1")
  check "--ics 日本の暦.ics writes that name, status 0" test -f "$t/run/日本の暦.ics" -a "$(cat "$t/rc1")" = 0
  check "the data found beside the program in 暦フォルダ" grep -q 'BEGIN:VCALENDAR' "$t/run/日本の暦.ics"
  echo old >"$t/run/日本の暦.ics"
  (cd "$t/run" && wine "$exe" 2026 --ics 日本の暦.ics >/dev/null 2>&1 && echo 0 >"$t/rc2" || echo $? >"$t/rc2")
  check "an existing file replaced, no temporary left" \
    test "$(cat "$t/rc2")" = 0 -a "$(ls -A "$t/run")" = 日本の暦.ics -a "$(head -c 15 "$t/run/日本の暦.ics")" = BEGIN:VCALENDAR
  (cd "$t/run" && wine "$exe" 2026 --ics NUL >/dev/null 2>&1 && echo 0 >"$t/rc3" || echo $? >"$t/rc3")
  check "--ics NUL written in place, status 0" test "$(cat "$t/rc3")" = 0 -a ! -e "$t/run/NUL"
  (cd "$t" && wine "$exe" 2026 --ics d >/dev/null 2>"$t/err4" && echo 0 >"$t/rc4" || echo $? >"$t/rc4")
  check "--ics on a folder refused, status 3" test "$(cat "$t/rc4")" = 3
  check "  and the message says why" grep -q 'cannot replace: Is a directory' "$t/err4"
  rm -rf "$t"
  [ "$failures" = 0 ] || die "$failures Windows cases failed"
}

windows_test() {
  [ -x "$root/build/bin/sorvane-cli" ] || die "the native build is missing: run tools/build.sh first"
  wine_prefix
  say "sweep: sorvane-cli.exe under wine against the native program"
  nice node "$root/tools/windows-sweep.js" "$root/build/bin/sorvane-cli" "$out/dist/sorvane-cli.exe" ||
    die "the Windows sweep found differences"
  say "the Windows cases"
  windows_cases
  if [ -f "$out/dist/sorvane.exe" ]; then
    gui_test
  else
    say "SKIPPED: the window program under wine (Qt for Windows not built: run 'tools/windows.sh qt')"
  fi
  wineserver -k || true
}

# --- Installers -------------------------------------------------------------------------------
project_version() { sed -n 's/^project(Sorvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt"; }

# nsis_installer NAME TITLE FILES...: build-windows/NAME-VERSION-setup.exe installing the
# files of dist/ into the user's own programs folder (no administrator), with a Start-menu
# entry and an uninstaller.
nsis_installer() {
  local name=$1 title=$2 program=$3 version
  version=$(project_version)
  local script=$out/$name.nsi
  {
    echo 'Unicode true'
    echo 'Target amd64-unicode'
    echo 'SetCompressor /SOLID lzma'
    echo 'RequestExecutionLevel user'
    echo "Name \"$title $version\""
    echo "OutFile \"$out/$name-$version-setup.exe\""
    echo "InstallDir \"\$LOCALAPPDATA\\Programs\\$name\""
    echo 'Page license'
    echo 'Page directory'
    echo 'Page instfiles'
    echo "LicenseData \"$out/dist/LICENSE\""
    echo 'Section'
    echo '  SetOutPath $INSTDIR'
    echo "  File /r \"$out/dist/*\""
    echo '  WriteUninstaller $INSTDIR\uninstall.exe'
    echo "  CreateDirectory \"\$SMPROGRAMS\\$title\""
    echo "  CreateShortcut \"\$SMPROGRAMS\\$title\\$title.lnk\" \"\$INSTDIR\\$program\""
    echo "  WriteRegStr HKCU \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name\" DisplayName \"$title\""
    echo "  WriteRegStr HKCU \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name\" DisplayVersion \"$version\""
    echo "  WriteRegStr HKCU \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name\" UninstallString \"\$INSTDIR\\uninstall.exe\""
    echo 'SectionEnd'
    echo 'Section Uninstall'
    echo "  Delete \"\$SMPROGRAMS\\$title\\$title.lnk\""
    echo "  RMDir \"\$SMPROGRAMS\\$title\""
    echo "  DeleteRegKey HKCU \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name\""
    echo '  RMDir /r $INSTDIR'
    echo 'SectionEnd'
  } >"$script"
  makensis -V2 "$script" >&2 || die "makensis failed on $script"
  say "installer $out/$name-$version-setup.exe ($(du -k "$out/$name-$version-setup.exe" | cut -f1) KB)"
}

package() {
  local version
  version=$(project_version)
  local program=sorvane-cli.exe
  [ -f "$out/dist/sorvane.exe" ] && program=sorvane.exe
  nsis_installer Sorvane "Sorvane 暦" "$program"
  rm -f "$out/Sorvane-$version-win64.zip"
  (cd "$out/dist" && zip -q -r -9 "$out/Sorvane-$version-win64.zip" .)
  say "zip $out/Sorvane-$version-win64.zip ($(du -k "$out/Sorvane-$version-win64.zip" | cut -f1) KB)"
  install_test "$out/Sorvane-$version-setup.exe"
}

# The installer under wine: silent install for this user, the installed terminal program
# runs, the silent uninstall leaves neither the folder nor the Start-menu entry.
install_test() {
  wine_prefix
  local user dir menu
  user=$(id -un) # wine's Windows user is the Unix one
  dir="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Sorvane"
  menu="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sorvane 暦"
  wine "$1" /S >"$out/install.log" 2>&1 || die "the installer failed under wine"
  [ -f "$dir/sorvane-cli.exe" ] && [ -f "$menu/Sorvane 暦.lnk" ] || die "the installer left no program or no Start-menu entry"
  wine "C:\\users\\$user\\AppData\\Local\\Programs\\Sorvane\\sorvane-cli.exe" 2026 --month 2 >"$out/installed-run.txt" 2>&1 ||
    die "the installed sorvane-cli.exe failed"
  wine "C:\\users\\$user\\AppData\\Local\\Programs\\Sorvane\\uninstall.exe" /S >>"$out/install.log" 2>&1 || true
  local _
  for _ in $(seq 1 20); do [ -e "$dir" ] || break; sleep 1; done
  [ ! -e "$dir" ] && [ ! -e "$menu" ] || die "the uninstaller left $dir or the Start-menu entry"
  wineserver -k || true
  say "installed, ran and uninstalled under wine"
}

command=${1:-build}
case $command in
build | qt | test | package) ;;
*) die "unknown command '$command' (build, qt, test or package)" ;;
esac
install_packages
case $command in
qt) build_qt ;;
build) build_project && deploy ;;
test) build_project && deploy && windows_test ;;
package) build_project && deploy && package ;;
esac
