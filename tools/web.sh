#!/usr/bin/env bash
# The web edition: the terminal program's code compiled to WebAssembly with Debian's
# emscripten, and the Japanese page around it, built into build-web/site/.
#
#   tools/web.sh          build the site (installs what is missing with apt-get)
#   tools/web.sh serve    build, then serve the site at http://127.0.0.1:8080/
#   tools/web.sh test     build, then run the web tests (the Qt-free suites under node, the
#                         byte-for-byte sweep against the native terminal program, the
#                         browser test in headless Chromium); needs build/ (tools/build.sh)
#   tools/web.sh bench    build, then print the time to the first month and a month switch
#                         (also at CPU x4), the site's gzip size, the first month's layout
#                         shift and Lighthouse's mobile figures, each against its target
#   tools/web.sh bench SITE  the same, with the figures of SITE (the folder of an earlier
#                         build's site) measured first in the same run
#   tools/web.sh sources  only fetch and unpack the source packages of ERFA and libical
#
# ERFA, libical and GoogleTest for WebAssembly are built from Debian's source packages once
# per machine into a cache outside the clone ($SORVANE_CACHE_DIR, default ~/.cache/sorvane)
# and copied into build-web/prefix/; the project itself is built with CMake in build-web/cmake/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-web
prefix=$out/prefix
cache=${SORVANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/sorvane}
export SORVANE_CACHE_DIR=$cache
mkdir -p "$out"

say() { echo "web: $*" >&2; }
die() {
  echo "web: $*" >&2
  exit 1
}

# --- Debian packages ------------------------------------------------------------------------
install_packages() {
  local packages=(emscripten nodejs libgtest-dev chromium chromium-driver python3-selenium dpkg-dev cmake
                  pkg-config perl python3 gzip nlohmann-json3-dev node-qrcode-generator zbar-tools pngquant)
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

# emcc 3.1.6 runs its JavaScript optimizer with node and needs acorn, which Debian installs
# under /usr/share/nodejs; its loader breaks on node's own fetch. emcc's own cache (the system
# libraries it builds on first use) is kept per emcc version in the cache outside the clone,
# seeded from the system's.
emcc_version=
setup_emscripten() {
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
  command -v emcc >/dev/null || die "emcc not found after installing emscripten"
  emcc_version=$(emcc --version | sed -n '1s/.* \([0-9][0-9]*\.[0-9][0-9.]*\).*/\1/p')
  [ -n "$emcc_version" ] || die "emcc --version names no version"
  export EM_CACHE=$cache/web/emcache-$emcc_version
  mkdir -p "$EM_CACHE"
  if [ ! -e "$EM_CACHE/.seeded" ] && [ -d /usr/share/emscripten/cache ]; then
    cp -a /usr/share/emscripten/cache/. "$EM_CACHE/" 2>/dev/null || true
    touch "$EM_CACHE/.seeded"
  fi
}

node_run() { node --no-experimental-fetch "$@"; }

# --- Source packages --------------------------------------------------------------------------
# Debian's source package NAME, unpacked in the cache (tools/debian-source.sh reads the archive
# through a private deb-src list made from the system's Debian entries: no deb-src line need
# be configured, and nothing in the system is changed); prints the unpacked folder.
fetch_source() {
  "$root/tools/debian-source.sh" fetch "$1" "$cache/src"
}

# --- The cache outside the clone ---------------------------------------------------------------
# ERFA, libical and GoogleTest for WebAssembly are built once per machine into
# $SORVANE_CACHE_DIR/web (default ~/.cache/sorvane/web), each in a folder named after what it
# is built from: the source package's version, emcc's version and the text of the function that
# builds it. A folder is complete or absent (built beside it, then renamed).
#   cached NAME VERSION FUNCTION: prints the folder, made by `FUNCTION DIR FINAL` (into DIR,
#   which becomes FINAL) when missing. FUNCTION's own output goes to standard error.
cached() {
  local name=$1 version=$2 build=$3
  local recipe
  recipe=$( (declare -f "$build"; [ "$build" != erfa_into ] || cat "$root/tools/erfa-library.sh"
    echo "$emcc_version") | sha256sum | cut -c1-12)
  local entry=$cache/web/$name-$version-emcc$emcc_version-$recipe
  if [ ! -f "$entry/.complete" ]; then
    local tmp=$entry.tmp.$$
    rm -rf "$tmp" && mkdir -p "$tmp"
    "$build" "$tmp" "$entry" >&2 || { rm -rf "$tmp"; die "building $name for WebAssembly failed"; }
    touch "$tmp/.complete"
    rm -rf "$entry" && mv "$tmp" "$entry"
  fi
  echo "$entry"
}

# Copies a cached folder into build-web/prefix/, where the project's build looks.
into_prefix() {
  mkdir -p "$prefix"
  cp -a "$1"/. "$prefix"/
  rm -f "$prefix/.complete"
}

# --- ERFA -----------------------------------------------------------------------------------
# erfa_into DIR FINAL: ERFA's library and headers built into DIR.
erfa_into() {
  local src
  src=$(fetch_source erfa)
  say "building ERFA for WebAssembly"
  "$root/tools/erfa-library.sh" "$src" "$1" emcc emar
}

# --- libical --------------------------------------------------------------------------------
# libical_into DIR FINAL: libical installed into DIR, its pkg-config file naming FINAL.
libical_into() {
  local dir=$1 final=$2 src
  src=$(fetch_source libical3)
  say "building libical for WebAssembly"
  local b=$dir.build
  rm -rf "$b"
  # Its configure step fails with the C++ bindings off; the rest is left out.
  nice emcmake cmake -S "$src" -B "$b" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$final" -DCMAKE_INSTALL_LIBDIR=lib \
    -DSTATIC_ONLY=ON -DSHARED_ONLY=OFF -DICAL_GLIB=OFF -DGOBJECT_INTROSPECTION=OFF \
    -DICAL_BUILD_DOCS=OFF -DLIBICAL_BUILD_TESTING=OFF -DWITH_CXX_BINDINGS=ON \
    -DICAL_ALLOW_EMPTY_PROPERTIES=OFF -DUSE_BUILTIN_TZDATA=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BDB=ON \
    -DCMAKE_C_FLAGS="-ffp-contract=off" >"$out/libical-configure.log" 2>&1 ||
    { say "libical's configure failed; see $out/libical-configure.log"; return 1; }
  nice cmake --build "$b" -j"$(nproc)" >"$out/libical-build.log" 2>&1 ||
    { say "libical's build failed; see $out/libical-build.log"; return 1; }
  cmake --install "$b" --prefix "$dir" >/dev/null || return 1
  rm -rf "$b"
}

# --- GoogleTest, for the suites under node ---------------------------------------------------
gtest_into() {
  local dir=$1
  [ -d /usr/src/googletest ] || { say "/usr/src/googletest is missing (the package libgtest-dev)"; return 1; }
  say "building GoogleTest for WebAssembly"
  local b=$dir.build
  rm -rf "$b"
  nice emcmake cmake -S /usr/src/googletest -B "$b" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$dir" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_GMOCK=OFF \
    -Dgtest_disable_pthreads=ON -DCMAKE_CXX_FLAGS="-fwasm-exceptions" >"$out/gtest.log" 2>&1 &&
    nice cmake --build "$b" -j"$(nproc)" >>"$out/gtest.log" 2>&1 &&
    cmake --install "$b" >>"$out/gtest.log" 2>&1 ||
    { say "GoogleTest's build failed; see $out/gtest.log"; return 1; }
  rm -rf "$b"
}

# The libraries the module links, from the cache, copied into build-web/prefix/ (libical's
# pkg-config file names its folder in the cache, which stays where it is).
libraries() {
  rm -rf "$prefix"
  local version entry
  version=$("$root/tools/debian-source.sh" version erfa)
  entry=$(cached erfa "$version" erfa_into)
  into_prefix "$entry"
  version=$("$root/tools/debian-source.sh" version libical3)
  entry=$(cached libical3 "$version" libical_into)
  into_prefix "$entry"
  if [ "${1:-}" = tests ]; then
    version=$(dpkg-query -W -f='${Version}' libgtest-dev)
    entry=$(cached googletest "$version" gtest_into)
    into_prefix "$entry"
  fi
}

# --- The project ------------------------------------------------------------------------------
# The module; with tests=ON (tools/web.sh test) also the Qt-free suites.
build_module() {
  local tests=OFF
  if [ "${1:-}" = tests ]; then
    tests=ON
  fi
  libraries "$@"
  # nlohmann/json is header-only: its headers and CMake files go into the prefix, because
  # emscripten's toolchain looks for packages there and not under /usr.
  if [ ! -f "$prefix/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" ]; then
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -r /usr/include/nlohmann "$prefix/include/"
    cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
  fi
  local b=$out/cmake ccache_options=()
  . "$root/tools/ccache.sh"
  PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH= \
    nice emcmake cmake -S "$root" -B "$b" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DERFA_LIBRARY="$prefix/lib/liberfa.a" -DERFA_INCLUDE_DIR="$prefix/include" \
    -DSORVANE_BUILD_GUI=OFF -DSORVANE_BUILD_TESTS="$tests" -DSORVANE_WERROR="${SORVANE_WERROR:-OFF}" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node);--no-experimental-fetch" \
    "${ccache_options[@]}" >"$out/configure.log" 2>&1 ||
    die "configuring the WebAssembly build failed; see $out/configure.log"
  local targets=(--target sorvane-cli)
  [ "$tests" = ON ] && targets=()
  PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig nice cmake --build "$b" -j"$(nproc)" "${targets[@]}" ||
    die "the WebAssembly build failed"
}

# --- The site ---------------------------------------------------------------------------------
# The app icons, rendered from icon.svg by headless Chromium (which the tests use anyway; no
# other SVG renderer is installed): 192 and 512 px as drawn, a maskable 512 px with the mark
# in the middle 80 % on the theme colour (the safe zone a launcher's mask keeps), and the
# 180 px apple-touch-icon on the same colour (iOS rounds the corners itself).
make_icons() {
  local dir=$1 page
  page=$(mktemp -d)
  local size name scale fill
  for spec in "192 icon-192.png 100 transparent" "512 icon-512.png 100 transparent" \
    "512 icon-maskable-512.png 80 #8b1a1a" "180 apple-touch-icon.png 100 #8b1a1a"; do
    read -r size name scale fill <<<"$spec"
    cat >"$page/icon.html" <<HTML
<!doctype html><html><head><style>html,body{margin:0;height:100%;overflow:hidden;background:$fill}
body{display:flex;align-items:center;justify-content:center}img{width:$scale%;height:$scale%}</style>
</head><body><img src="$dir/icon.svg"></body></html>
HTML
    timeout 60 chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars \
      --disable-background-networking --disable-component-update --no-first-run \
      --default-background-color=00000000 --window-size="$size,$size" \
      --screenshot="$dir/$name" "file://$page/icon.html" >/dev/null 2>&1 ||
      die "cannot render $name from icon.svg with chromium"
    # Chromium writes true-colour PNGs; the mark's few flat colours fit a palette of 256 at
    # no visible loss (pngquant's quality 90..100), half the bytes: 26 KB of icons become 14.
    pngquant --quality=90-100 --speed 1 --strip --force --output "$dir/$name" "$dir/$name" ||
      die "pngquant could not reduce $name"
  done
  rm -rf "$page"
}

# The subscription feeds (tools/feeds.sh: this year -1 .. +3 in Japan, made afresh by every
# build) written by the WebAssembly terminal program under node into DIR; their list,
# feeds.json, goes beside index.html, where the service worker keeps it for the page.
make_feeds() {
  local dir=$1 runner
  runner=$(mktemp -d)
  cat >"$runner/sorvane-cli" <<SH
#!/bin/sh
SORVANE_WEB_MODULE='$out/cmake/bin/sorvane-cli.js' exec node --no-experimental-fetch '$root/web/node_cli.js' "\$@"
SH
  chmod +x "$runner/sorvane-cli"
  "$root/tools/feeds.sh" "$dir" "$runner/sorvane-cli" >&2 || { rm -rf "$runner"; die "writing the feeds failed"; }
  rm -rf "$runner"
  mv "$dir/feeds.json" "$dir/../feeds.json"
}

# The page's documents made ahead (web/make_pages.js) for each month of the feeds' years, in
# DIR/pages/, and their module and years in index.html, which fetches the month it opens on.
make_pages() {
  local dir=$1 pages
  pages=$(SORVANE_WEB_MODULE="$out/cmake/bin/sorvane-cli.js" node --no-experimental-fetch \
    "$root/web/make_pages.js" "$dir") || die "making the pages ahead failed"
  sed -i "s/@PAGES@/$pages/" "$dir/index.html"
}

assemble_site() {
  local site=$out/site
  rm -rf "$site.new" && mkdir -p "$site.new"
  cp "$root"/web/site/* "$site.new/"
  cp "$out/cmake/bin/sorvane-cli.js" "$out/cmake/bin/sorvane-cli.wasm" "$site.new/"
  # The footer's version is the program's, as the build wrote it from the project version.
  local program
  program=$(sed -n 's/.*kVersion\[\] = "\([0-9][0-9.]*\)";.*/\1/p' \
    "$out/cmake/generated/sorvane/version.h")
  [ -n "$program" ] || die "the build's sorvane/version.h names no version"
  sed -i "s/@SORVANE_VERSION@/$program/" "$site.new/index.html"
  # The modules app.js imports, and theirs, each preloaded by the head so that none waits on
  # the module that imports it.
  local -a modules=(app.js)
  local count=0 module
  while [ "$count" != "${#modules[@]}" ]; do
    count=${#modules[@]}
    for module in $(cd "$site.new" && sed -n "s/^import .* from '\.\/\([a-z_]*\.js\)';$/\1/p" "${modules[@]}" | sort -u); do
      [[ " ${modules[*]} " == *" $module "* ]] || modules+=("$module")
    done
  done
  local links
  links=$(printf '%s\n' "${modules[@]:1}" | sed 's/.*/<link rel="modulepreload" href="&">/')
  [ -n "$links" ] || die "app.js imports no module: no preload links for index.html"
  awk -v links="$links" '$0 == "@MODULEPRELOADS@" { print links; next } { print }' \
    "$site.new/index.html" >"$site.new/index.html.tmp" && mv "$site.new/index.html.tmp" "$site.new/index.html"
  make_icons "$site.new"
  # The QR codes of the feeds' addresses: Debian's qrcode-generator, as it ships.
  cp /usr/share/nodejs/qrcode-generator/qrcode.js "$site.new/qrcode.js"
  make_feeds "$site.new/feeds"
  make_pages "$site.new"
  # The service worker keeps every file of the site's top folder, in a cache named after
  # them (not the feeds, which calendar programs read from the server).
  local version files
  version=$(cd "$site.new" && cat $(ls -p | grep -v / | grep -v '^sw.js$') | sha256sum | cut -c1-16)
  files=$(cd "$site.new" && ls -p | grep -v / | grep -v '^sw.js$' | sed "s/.*/'&'/" | paste -sd, -)
  sed -i -e "s/@VERSION@/$version/" -e "s/@FILES@/[$files]/" "$site.new/sw.js"
  rm -rf "$site" && mv "$site.new" "$site"
  # The page's files (the top folder) and, apart, the feeds that calendar programs read.
  say "site in $site ($(du -sk "$site" | cut -f1) KB, $(find "$site" -maxdepth 1 -type f -exec cat {} + | gzip -9 | wc -c) bytes gzip; the feeds $(du -sk "$site/feeds" | cut -f1) KB)"
}

# Lighthouse for the bench: the version web/tests/lighthouse/package-lock.json pins, installed
# with npm ci once per lock into the cache outside the clone (no install scripts run: it drives
# Debian's chromium, and downloads no browser). Prints its cli/index.js, or nothing (and says
# why) when npm cannot install it.
lighthouse_cli() {
  local lock=$root/web/tests/lighthouse key
  key=$(cat "$lock/package.json" "$lock/package-lock.json" | sha256sum | cut -c1-12)
  local dir=$cache/lighthouse-$key
  if [ ! -f "$dir/.complete" ]; then
    command -v npm >/dev/null || { say "npm is missing: no Lighthouse figures"; return 0; }
    local tmp=$dir.tmp.$$
    rm -rf "$tmp" && mkdir -p "$tmp"
    cp "$lock/package.json" "$lock/package-lock.json" "$tmp/"
    say "installing Lighthouse into $dir"
    if ! (cd "$tmp" && nice npm ci --ignore-scripts --no-audit --no-fund >"$out/lighthouse-install.log" 2>&1); then
      rm -rf "$tmp"
      say "npm ci of Lighthouse failed (see $out/lighthouse-install.log): no Lighthouse figures"
      return 0
    fi
    touch "$tmp/.complete"
    rm -rf "$dir" && mv "$tmp" "$dir"
  fi
  echo "$dir/node_modules/lighthouse/cli/index.js"
}

serve() {
  say "serving $out/site at http://127.0.0.1:${PORT:-8080}/ (Ctrl+C ends)"
  exec /usr/bin/python3 -m http.server "${PORT:-8080}" --bind 127.0.0.1 --directory "$out/site"
}

web_test() {
  [ -x "$root/build/bin/sorvane-cli" ] || die "the native build is missing: run tools/build.sh first"
  say "sweep: the WebAssembly terminal program against the native one"
  nice node --no-experimental-fetch "$root/web/tests/sweep.js" "$root/build/bin/sorvane-cli" \
    "$out/cmake/bin/sorvane-cli.js"
  say "the module under over-long arguments"
  nice node --no-experimental-fetch "$root/web/tests/module_bounds.js" "$root/build/bin/sorvane-cli" \
    "$out/cmake/bin/sorvane-cli.js" "$root/data"
  say "the Qt-free suites under node"
  # The tests that start the terminal program run natively (tools/test.sh's ctest), and so does
  # the read-permission case, which drops to another user in a child process, and the stopped
  # write, which needs a named pipe and a second thread: WebAssembly has neither processes nor
  # users, pipes nor threads here.
  nice ctest --test-dir "$out/cmake" --output-on-failure -j"$(nproc)" \
    -E 'HorizonCli\.|LongRange\.TerminalProgram|PreciseMode\.CliPrints|DataFolder\.FileWithoutReadPermission|AtomicFileStop\.'

  say "the site in headless Chromium"
  /usr/bin/python3 "$root/web/tests/browser_test.py" --site "$out/site" --cli "$root/build/bin/sorvane-cli" \
    --shots "$out/screenshots"
}

command=${1:-build}
beside=${2:-}
if [ -n "$beside" ]; then
  [ "$command" = bench ] || die "only bench takes a second argument (an earlier site's folder)"
  [ -f "$beside/index.html" ] || die "'$beside' is not a site's folder (it has no index.html)"
  beside=$(cd "$beside" && pwd)
fi
case $command in
build | serve | test | bench | sources) ;;
*) die "unknown command '$command' (build, serve, test, bench or sources)" ;;
esac
if [ "$command" = sources ]; then
  # Only the source packages (the step that needs Debian's archive): their folders.
  fetch_source erfa
  fetch_source libical3
  exit 0
fi
install_packages
setup_emscripten
if [ "$command" = test ]; then
  build_module tests
else
  build_module
fi
assemble_site
case $command in
build) ;;
serve) serve ;;
test) web_test ;;
bench)
  lighthouse=$(lighthouse_cli)
  /usr/bin/python3 "$root/web/tests/browser_test.py" --site "$out/site" --bench ${lighthouse:+--lighthouse "$lighthouse"} \
    ${beside:+--beside "$beside"}
  ;;
*) die "unknown command '$command' (build, serve, test or bench)" ;;
esac
