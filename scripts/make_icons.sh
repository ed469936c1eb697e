#!/usr/bin/env bash
# Renders the SVG icon (share/morva.svg) into the PNG sizes desktops look for, under
# share/icons/NxN/morva.png. The PNGs are kept in the repository, so building the game needs no SVG
# renderer; run this after changing the SVG (it needs rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || { echo "needs rsvg-convert (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256 512; do
  mkdir -p "share/icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" share/morva.svg -o "share/icons/${size}x${size}/morva.png"
done
echo "icons written to share/icons/"
