#!/usr/bin/env bash
# Installs, with apt-get, whatever Debian packages the build, the program and the tests need
# and this machine lacks. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev qt6-translations-l10n
  liberfa-dev libcanberra-dev libical-dev nlohmann-json3-dev python3-icalendar khal
  swetest swe-basic-data
  fonts-ipafont-gothic sound-theme-freedesktop
  xvfb xauth x11-utils imagemagick xdotool openbox poppler-utils
  clang libclang-rt-14-dev clang-format
  file dpkg-dev man-db lintian appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
