#!/usr/bin/env bash
# Renders the application icon's PNG sizes for the hicolor theme from ui/resources/sorvane.svg.
# The PNGs are kept in the repository; run this after changing the SVG (needs rsvg-convert,
# Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" -o "ui/resources/icons/sorvane_${size}.png" ui/resources/sorvane.svg
done
