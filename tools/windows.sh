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
                  nlohmann-json3-dev libgtest-dev zip python3 xvfb xdotool openbox imagemagick
                  fonts-ipafont-gothic fonts-dejavu-core qt6-base-dev qt6-base-dev-tools qt6-translations-l10n)
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
  # The programs' icon, from the sizes the Linux desktop installs (16 and 32 drawn as pixels).
  local icon=$out/sorvane.ico
  convert "$root"/ui/resources/sorvane_16.xpm "$root"/ui/resources/sorvane_32.xpm \
    "$root"/ui/resources/icons/sorvane_{48,256}.png "ico:$icon.new" && mv "$icon.new" "$icon" ||
    die "making the programs' icon $icon failed"
  local list
  list=$(IFS=';'; echo "${prefixes[*]}")
  PKG_CONFIG_LIBDIR=${prefixes[1]}/lib/pkgconfig PKG_CONFIG_PATH= \
    nice cmake -S "$root" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSORVANE_WINDOWS_PREFIX="$list" \
    -DCMAKE_PREFIX_PATH="$list" \
    -DERFA_LIBRARY="${prefixes[0]}/lib/liberfa.a" -DERFA_INCLUDE_DIR="${prefixes[0]}/include" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DSORVANE_WINDOWS_ICON="$icon" -DSORVANE_BUILD_GUI="$gui" -DSORVANE_BUILD_TESTS="$tests" -DSORVANE_WERROR="${SORVANE_WERROR:-OFF}" \
    "${ccache_options[@]}" >"$out/configure.log" 2>&1 ||
    die "configuring the Windows build failed; see $out/configure.log"
  local targets=(--target sorvane-cli)
  [ "$gui" = ON ] && targets+=(sorvane)
  [ "$tests" = ON ] && targets=()
  nice cmake --build "$b" -j"$(nproc)" "${targets[@]}" || die "the Windows build failed"
  [ "$gui" = ON ] || say "Qt for Windows not built: run 'tools/windows.sh qt' (half an hour); sorvane.exe left out"
}

# --- What goes beside the programs -----------------------------------------------------------
# build-windows/dist/: the programs, the data files, the licences (licences.txt) and, for the
# window program, what windeployqt would copy (the Qt DLLs, the platform and style plugins,
# the image formats, the Japanese translations, the mingw runtime DLLs and a qt.conf).
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
  licence_file "$dist.new/licences.txt" "$dist.new" || die "assembling the licences failed"
  find "$dist.new" \( -name '*.exe' -o -name '*.dll' \) -exec "$host-strip" --strip-unneeded {} +
  rm -rf "$dist" && mv "$dist.new" "$dist"
  say "programs in $dist ($(du -sk "$dist" | cut -f1) KB)"
}

# --- Tests under wine ---------------------------------------------------------------------------
# winemenubuilder off: wine would copy the Start-menu entries and shortcuts the installer
# makes into this machine's own menus and desktop.
export WINEPREFIX=${WINEPREFIX:-$cache/windows/wineprefix} WINEDEBUG=-all LANG=C.UTF-8
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "making the wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" wine wineboot --init >"$out/wineboot.log" 2>&1 ||
      die "wineboot failed; see $out/wineboot.log"
  fi
  wineserver -p 2>/dev/null || true # already running is fine
  # The fonts of Japanese Windows' dialogs, which the installer's Japanese pages ask for, are
  # IPA P Gothic here: wine has no Japanese font of its own, and the text would be boxes.
  # Segoe UI, where the window program finds the Latin signs its Japanese fonts lack (‹ ›),
  # is DejaVu Sans.
  if [ ! -f "$WINEPREFIX/.fonts-2" ]; then
    local font
    for font in 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d IPAPGothic /f \
        >>"$out/wineboot.log" 2>&1 || die "setting wine's fonts failed; see $out/wineboot.log"
    done
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /d 'DejaVu Sans' /f \
      >>"$out/wineboot.log" 2>&1 || die "setting wine's fonts failed; see $out/wineboot.log"
    touch "$WINEPREFIX/.fonts-2"
  fi
}

# The window program under wine and Xvfb, driven by the keyboard as a user would: the main
# window; Tab Tab Space (１月) opens the month window; 暦(&K) > 月の暦(&C) the calendar page.
# A screenshot of each window and of the whole screen in build-windows/screenshots/; a window
# that does not appear fails the test and says which.
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
  local app=$! missing=
  window() { # window TITLE-PATTERN SECONDS: the id of the first visible window so titled
    local id= _
    for _ in $(seq 1 $((${2} * 2))); do
      id=$(DISPLAY=$display xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
      [ -n "$id" ] && break
      sleep 0.5
    done
    echo "$id"
  }
  shot() { DISPLAY=$display import -frame -window "$1" "$shots/$2"; }
  key() { DISPLAY=$display xdotool windowactivate --sync "$1" 2>/dev/null || true; sleep 0.5
    shift; DISPLAY=$display xdotool key --clearmodifiers "$@"; }
  local main month page
  main=$(window '^Sorvane$' 90)
  if [ -z "$main" ]; then
    missing="the main window"
  else
    sleep 3
    shot "$main" main-window.png
    key "$main" Tab Tab space
    month=$(window '日干支' 20)
    if [ -z "$month" ]; then
      missing="the month window (Tab Tab Space)"
    else
      sleep 2
      shot "$month" month-window.png
      key "$main" alt+k
      sleep 1
      DISPLAY=$display xdotool key --clearmodifiers c
      page=$(window '^暦 [0-9]+年[0-9]+月$' 20)
      if [ -z "$page" ]; then
        missing="the calendar page (暦 > 月の暦)"
      else
        sleep 2
        shot "$page" calendar-page.png
      fi
    fi
    DISPLAY=$display import -window root "$shots/screen.png"
  fi
  kill "$app" 2>/dev/null || true
  wineserver -k || true
  kill "$wm" "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$home"
  [ -z "$missing" ] || die "the window program under wine showed no $missing; see $out/gui.log and $shots"
  say "screenshots of the main window, the month window and the calendar page in $shots"
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

# The Qt-free suites of tests/ built for Windows, each program run whole under wine by ctest
# (tests/CMakeLists.txt says what is left out and why).
suites_test() {
  local log=$out/suites.log
  (cd "$out/cmake" && nice ctest --output-on-failure -j2 >"$log" 2>&1) || {
    tail -n 60 "$log" >&2
    die "the Qt-free suites failed under wine; see $log"
  }
  grep -h '^\[  PASSED  \]' "$out"/cmake/Testing/Temporary/LastTest.log | awk '{ n += $4 } END { printf "windows: %d tests passed in ", n }' >&2
  tail -n 1 "$log" | sed 's/^Total Test time (real) = *//' >&2
}

windows_test() {
  [ -x "$root/build/bin/sorvane-cli" ] || die "the native build is missing: run tools/build.sh first"
  wine_prefix
  local start=$SECONDS
  say "sweep: sorvane-cli.exe under wine against the native program"
  nice node "$root/tools/windows-sweep.js" "$root/build/bin/sorvane-cli" "$out/dist/sorvane-cli.exe" ||
    die "the Windows sweep found differences"
  say "the Windows cases"
  windows_cases
  say "the Qt-free suites under wine"
  suites_test
  if [ -f "$out/dist/sorvane.exe" ]; then
    gui_test
  elif [ -z "$(qt_entry)" ]; then
    say "SKIPPED: the window program under wine: Qt for Windows is not in $cache/windows (run 'tools/windows.sh qt', half an hour or more, then this test again)"
  else
    say "SKIPPED: the window program under wine: SORVANE_WINDOWS_GUI=0 left sorvane.exe out"
  fi
  wineserver -k || true
  say "the tests under wine took $((SECONDS - start)) s"
}

# --- The licences -----------------------------------------------------------------------------
# copyright_notes FILE FILES-PATTERN [SKIP-PATTERN]: from a Debian copyright file (the
# machine-readable format), the paragraphs whose Files field matches the awk pattern, then the
# texts of the licences they name that the file gives in paragraphs of their own (but those
# matching SKIP-PATTERN, whose full text the caller gives), as plain text.
copyright_notes() {
  [ -f "$1" ] || { say "$1 is missing"; return 1; }
  awk -v files="$2" -v skip="${3:-^$}" '
    function plain(text,    out, n, i, line, lines) {
      n = split(text, lines, "\n")
      for (i = 1; i <= n; i++) {
        line = lines[i]
        if (line ~ /^ \.$/) line = ""
        else sub(/^ /, "", line)
        out = out line "\n"
      }
      return out
    }
    BEGIN { RS = "" }
    {
      field = ""
      n = split($0, lines, "\n")
      for (i = 1; i <= n; i++) {
        if (lines[i] ~ /^Files:/) { field = lines[i]; while (i < n && lines[i + 1] ~ /^[ \t]/) field = field " " lines[++i] }
      }
      # (The scripts that import a library into Qt'"'"'s source are no part of what is built.)
      if (field != "" && field ~ files && field !~ /_tarball\.sh/) {
        printf "%s\n", plain($0)
        for (i = 1; i <= n; i++) {
          if (lines[i] !~ /^License:/) continue
          names = lines[i]
          sub(/^License:[ \t]*/, "", names)
          gsub(/ (or|and) /, "\n", names)
          m = split(names, each, "\n")
          for (j = 1; j <= m; j++) wanted[tolower(each[j])] = 1
        }
      } else if (field == "" && $0 ~ /^License:/ && n > 1) {
        name = lines[1]
        sub(/^License:[ \t]*/, "", name)
        text[tolower(name)] = $0
        order[++count] = tolower(name)
      }
    }
    END {
      for (k = 1; k <= count; k++) {
        name = order[k]
        if ((name in wanted) && name !~ skip) printf "%s\n", plain(text[name])
      }
    }' "$1"
}

# licence_file FILE DIST: the licences of what the folder DIST holds, one after the other,
# for the installer's licence page and the zip: the program's own (MIT), ERFA's (BSD),
# libical's (MPL-2.0, of its two), the mingw runtime linked into the programs, and with the
# window program Qt's (LGPL-3, of its choices, with the GPL-3 it adds to) and those of the
# libraries Qt carries. The texts are those of the Debian packages the builds came from.
licence_file() {
  local file=$1 dist=$2 rule erfa libical
  rule=$(printf '%.0s=' {1..60}) # as wide as the licence page
  erfa=$("$root/tools/debian-source.sh" version erfa) || return 1
  libical=$("$root/tools/debian-source.sh" version libical3) || return 1
  heading() { printf '\n%s\n%s\n%s\n\n' "$rule" "$1" "$rule"; }
  {
    printf '\xef\xbb\xbf' # NSIS reads a UTF-8 text by its byte order mark
    printf 'Sorvane %s: the licences of the programs and of the libraries they contain\n' "$(project_version)"
    heading "Sorvane (the programs sorvane-cli.exe and sorvane.exe, and their data files)"
    cat "$root/LICENSE"
    heading "ERFA $erfa (linked into the programs)"
    copyright_notes /usr/share/doc/liberfa1/copyright '^Files: \*$' || return 1
    heading "libical $libical (linked into the programs), under the Mozilla Public License 2.0"
    copyright_notes /usr/share/doc/libical3/copyright '^Files: \*$' 'lgpl|mpl' || return 1
    echo 'Of the licences libical may be used under, the Mozilla Public License 2.0 applies.'
    echo "Its source: Debian's source package libical3, https://github.com/libical/libical"
    echo
    cat /usr/share/common-licenses/MPL-2.0
    heading "The mingw-w64 runtime: winpthreads (linked into the programs, libwinpthread-1.dll)"
    copyright_notes /usr/share/doc/mingw-w64-common/copyright \
      '^Files: mingw-w64-libraries/winpthreads/(\*|include|src)' 'lgpl' || return 1
    heading "The GCC runtime (libstdc++ and libgcc, linked into the programs, libstdc++-6.dll, libgcc_s_seh-1.dll)"
    echo 'GCC 12 runtime libraries, under the GNU General Public License 3 with the GCC Runtime'
    echo 'Library Exception, version 3.1, which allows these programs to contain them under their'
    echo 'own terms.'
    if [ -f "$dist/sorvane.exe" ]; then
      heading "Qt $(qt_version) (Qt6Core, Qt6Gui, Qt6Widgets, Qt6PrintSupport and its plugins, as DLLs) under the GNU Lesser General Public License 3"
      copyright_notes /usr/share/doc/libqt6core6/copyright '^Files: \*$' '.' || return 1
      echo 'Of the licences Qt may be used under, the GNU Lesser General Public License 3 applies.'
      echo "Its source: Debian's source package qt6-base $(qt_version) (https://download.qt.io for the"
      echo "upstream one), built for Windows with the old Wintab pen-tablet code left out, as"
      echo "tools/windows.sh in this program's source does. The Qt DLLs may be replaced by other"
      echo "builds of the same Qt version."
      echo
      cat /usr/share/common-licenses/LGPL-3
      heading "The GNU General Public License 3, which the GNU Lesser General Public License 3 adds to"
      cat /usr/share/common-licenses/GPL-3
      heading "The libraries Qt carries (FreeType under the FreeType License, HarfBuzz, libpng, libjpeg, zlib, PCRE2, double-conversion, md4c)"
      copyright_notes /usr/share/doc/libqt6core6/copyright \
        '^Files: src/3rdparty/(freetype|harfbuzz-ng|libpng|libjpeg|zlib|pcre2|double-conversion|md4c)/' \
        '^(lgpl-3|gpl-2|gpl-2\+|gpl-3)$' || return 1
    fi
  } >"$file.new" || return 1
  mv "$file.new" "$file"
}

# --- Installers -------------------------------------------------------------------------------
project_version() { sed -n 's/^project(Sorvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt"; }

# nsis_installer NAME TITLE PROGRAM: build-windows/NAME-VERSION-setup.exe, in Japanese,
# installing the files of dist/ into the user's own programs folder (no administrator): the
# licence page (dist/licences.txt), the components (the program, always; a desktop shortcut,
# which the user may untick, or /NODESKTOP leaves out of a silent install), the folder, a
# Start-menu entry TITLE, and an uninstaller that removes what the installer put there and
# nothing else (a folder the user chose may hold files of their own).
nsis_installer() {
  local name=$1 title=$2 program=$3 version
  version=$(project_version)
  local script=$out/$name.nsi key="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
  local files dirs
  files=$(cd "$out/dist" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
  dirs=$(cd "$out/dist" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r)
  win() { echo "${1//\//\\}"; }
  {
    echo 'Unicode true'
    echo 'Target amd64-unicode'
    echo 'SetCompressor /SOLID lzma'
    echo 'RequestExecutionLevel user'
    echo '!include MUI2.nsh'
    echo '!include FileFunc.nsh'
    echo '!include LogicLib.nsh'
    echo "Name \"$title $version\""
    echo "OutFile \"$out/$name-$version-setup.exe\""
    echo "InstallDir \"\$LOCALAPPDATA\\Programs\\$name\""
    echo "InstallDirRegKey HKCU \"$key\" InstallLocation"
    echo '!define MUI_ABORTWARNING'
    echo "!define MUI_ICON \"$out/sorvane.ico\""
    echo "!define MUI_UNICON \"$out/sorvane.ico\""
    echo "!insertmacro MUI_PAGE_LICENSE \"$out/dist/licences.txt\""
    echo '!insertmacro MUI_PAGE_COMPONENTS'
    echo '!insertmacro MUI_PAGE_DIRECTORY'
    echo '!insertmacro MUI_PAGE_INSTFILES'
    echo '!insertmacro MUI_UNPAGE_CONFIRM'
    echo '!insertmacro MUI_UNPAGE_INSTFILES'
    echo '!insertmacro MUI_LANGUAGE "Japanese"'
    echo "Section \"$title\" SecProgram"
    echo '  SectionIn RO'
    local f d
    for d in "" $(cd "$out/dist" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort); do
      echo "  SetOutPath \"\$INSTDIR$( [ -z "$d" ] || echo "\\$(win "$d")")\""
      for f in $files; do
        [ "$(dirname "$f")" = "${d:-.}" ] && echo "  File \"$out/dist/$f\""
      done
    done
    echo '  SetOutPath $INSTDIR'
    echo '  WriteUninstaller $INSTDIR\uninstall.exe'
    echo "  CreateDirectory \"\$SMPROGRAMS\\$title\""
    echo "  CreateShortcut \"\$SMPROGRAMS\\$title\\$title.lnk\" \"\$INSTDIR\\$program\""
    echo "  WriteRegStr HKCU \"$key\" DisplayName \"$title\""
    echo "  WriteRegStr HKCU \"$key\" DisplayVersion \"$version\""
    echo "  WriteRegStr HKCU \"$key\" DisplayIcon \"\$INSTDIR\\$program\""
    echo "  WriteRegStr HKCU \"$key\" InstallLocation \"\$INSTDIR\""
    echo "  WriteRegStr HKCU \"$key\" UninstallString '\"\$INSTDIR\\uninstall.exe\"'"
    echo "  WriteRegStr HKCU \"$key\" QuietUninstallString '\"\$INSTDIR\\uninstall.exe\" /S'"
    echo "  WriteRegDWORD HKCU \"$key\" NoModify 1"
    echo "  WriteRegDWORD HKCU \"$key\" NoRepair 1"
    echo "  WriteRegDWORD HKCU \"$key\" EstimatedSize $(du -sk "$out/dist" | cut -f1)"
    echo 'SectionEnd'
    echo 'Section "デスクトップのショートカット" SecDesktop'
    echo "  CreateShortcut \"\$DESKTOP\\$title.lnk\" \"\$INSTDIR\\$program\""
    echo 'SectionEnd'
    echo '!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN'
    echo "  !insertmacro MUI_DESCRIPTION_TEXT \${SecProgram} \"$title の本体（窓のプログラム、端末のプログラム、暦のデータ）とスタートメニューの項目。\""
    echo "  !insertmacro MUI_DESCRIPTION_TEXT \${SecDesktop} \"デスクトップに $title のショートカットを置きます。\""
    echo '!insertmacro MUI_FUNCTION_DESCRIPTION_END'
    echo 'Function .onInit'
    echo '  ${GetParameters} $R0'
    echo '  ClearErrors'
    echo '  ${GetOptions} $R0 "/NODESKTOP" $R1'
    echo '  ${IfNot} ${Errors}'
    echo '    !insertmacro UnselectSection ${SecDesktop}'
    echo '  ${EndIf}'
    echo 'FunctionEnd'
    echo 'Section Uninstall'
    echo "  Delete \"\$DESKTOP\\$title.lnk\""
    echo "  Delete \"\$SMPROGRAMS\\$title\\$title.lnk\""
    echo "  RMDir \"\$SMPROGRAMS\\$title\""
    for f in $files; do echo "  Delete \"\$INSTDIR\\$(win "$f")\""; done
    echo '  Delete $INSTDIR\uninstall.exe'
    for d in $dirs; do echo "  RMDir \"\$INSTDIR\\$(win "$d")\""; done
    echo '  RMDir $INSTDIR'
    echo "  DeleteRegKey HKCU \"$key\""
    echo 'SectionEnd'
  } >"$script"
  nice makensis -INPUTCHARSET UTF8 -V2 "$script" >&2 || die "makensis failed on $script"
  say "installer $out/$name-$version-setup.exe ($(du -k "$out/$name-$version-setup.exe" | cut -f1) KB)"
}

package() {
  [ -x "$root/build/bin/sorvane-cli" ] || die "the native build is missing (the installed program is compared with it): run tools/build.sh first"
  local version
  version=$(project_version)
  local program=sorvane-cli.exe
  [ -f "$out/dist/sorvane.exe" ] && program=sorvane.exe
  nsis_installer Sorvane "Sorvane 暦" "$program"
  rm -f "$out/Sorvane-$version-win64.zip"
  (cd "$out/dist" && nice zip -q -r -9 "$out/Sorvane-$version-win64.zip" .)
  say "zip $out/Sorvane-$version-win64.zip ($(du -k "$out/Sorvane-$version-win64.zip" | cut -f1) KB)"
  installer_pages "$out/Sorvane-$version-setup.exe"
  install_test "$out/Sorvane-$version-setup.exe"
}

# installer_pages SETUP: the installer's first pages under wine + Xvfb, as a user meets them
# (the licences, then Enter: the components, then Enter: the folder), a screenshot of each in
# build-windows/screenshots/; then it is left without installing.
installer_pages() {
  local shots=$out/screenshots display=:96 id= _
  mkdir -p "$shots"
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  sleep 2
  DISPLAY=$display openbox >/dev/null 2>&1 &
  local wm=$!
  (DISPLAY=$display wine "$1" >"$out/installer-pages.log" 2>&1) &
  local app=$!
  for _ in $(seq 1 120); do
    id=$(DISPLAY=$display xdotool search --onlyvisible --name 'セットアップ' 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    sleep 0.5
  done
  if [ -n "$id" ]; then
    local page
    for page in licence components folder; do
      sleep 2
      DISPLAY=$display import -frame -window "$id" "$shots/installer-$page.png"
      [ "$page" = folder ] || DISPLAY=$display xdotool windowactivate --sync "$id" key Return 2>/dev/null || true
    done
  fi
  kill "$app" 2>/dev/null || true
  wineserver -k || true
  kill "$wm" "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  [ -n "$id" ] || die "the installer showed no window under wine; see $out/installer-pages.log"
  say "screenshots of the installer's pages in $shots"
}

# The installer under wine, silently for this user: every file of dist/ installed, the
# Start-menu entry and the desktop shortcut made (and no shortcut with /NODESKTOP), the
# installed terminal program runs; the uninstaller removes all of it but keeps a file of the
# user's own in the folder, and the folder with it.
install_test() {
  wine_prefix
  local setup=$1 user dir menu desktop failures=0 key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorvane'
  user=$(id -un) # wine's Windows user is the Unix one
  local home="$WINEPREFIX/drive_c/users/$user" windir="C:\\users\\$user\\AppData\\Local\\Programs\\Sorvane"
  dir="$home/AppData/Local/Programs/Sorvane"
  menu="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sorvane 暦"
  desktop="$home/Desktop/Sorvane 暦.lnk"
  check() { # check WHAT CONDITION...
    local what=$1
    shift
    if "$@"; then echo "ok: $what" >&2; else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
  }
  same_files() { diff <(cd "$out/dist" && find . -type f | sort) <(cd "$dir" && find . -type f ! -name uninstall.exe | sort) >&2; }
  rm -rf "$dir" "$menu" "$desktop"
  wine "$setup" /S >"$out/install.log" 2>&1 || die "the installer failed under wine; see $out/install.log"
  check "every file of dist/ installed, and the uninstaller" same_files
  check "  the uninstaller there" test -f "$dir/uninstall.exe"
  check "the Start-menu entry 「Sorvane 暦」" test -f "$menu/Sorvane 暦.lnk"
  check "the desktop shortcut" test -f "$desktop"
  wine reg query "HKCU\\$key" /v DisplayVersion >"$out/install-entry.txt" 2>&1 || true
  check "the uninstall entry of this user names the version" grep -q "$(project_version)" "$out/install-entry.txt"
  wine "$windir\\sorvane-cli.exe" 2026 --month 2 >"$out/installed-run.txt" 2>&1
  "$root/build/bin/sorvane-cli" 2026 --month 2 >"$out/native-run.txt" 2>&1 || true
  check "the installed sorvane-cli.exe prints February 2026 as the native program does" \
    cmp -s "$out/native-run.txt" "$out/installed-run.txt"
  check "  (that is, 2月庚寅 and its days)" grep -q '^2月庚寅' "$out/installed-run.txt"
  echo "mine" >"$dir/my-notes.txt"
  wine "$windir\\uninstall.exe" /S >>"$out/install.log" 2>&1 || true
  local _
  # The uninstaller copies itself to a temporary folder and returns at once.
  for _ in $(seq 1 30); do [ -e "$dir/uninstall.exe" ] || break; sleep 1; done
  check "uninstalled: only the user's own file left in the folder" \
    test "$(ls -A "$dir" 2>/dev/null)" = my-notes.txt
  check "  the Start-menu entry and the desktop shortcut gone" test ! -e "$menu" -a ! -e "$desktop"
  check "  the uninstall entry gone" bash -c "! wine reg query 'HKCU\\$key' >'$out/install-entry.txt' 2>&1"
  rm -rf "$dir"
  wine "$setup" /S /NODESKTOP >>"$out/install.log" 2>&1 || die "the installer failed under wine; see $out/install.log"
  check "/NODESKTOP: installed without the desktop shortcut" test -f "$dir/uninstall.exe" -a ! -e "$desktop"
  wine "$windir\\uninstall.exe" /S >>"$out/install.log" 2>&1 || true
  for _ in $(seq 1 30); do [ -e "$dir" ] || break; sleep 1; done
  check "  and uninstalled: the folder gone" test ! -e "$dir"
  wineserver -k || true
  [ "$failures" = 0 ] || die "$failures installer checks failed under wine"
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
test) build_project tests && deploy && windows_test ;;
package) build_project && deploy && package ;;
esac
