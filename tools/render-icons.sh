#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG (needs rsvg-convert, package librsvg2-bin). The
# PNGs are kept in the repository, so that building and installing need no SVG renderer; run this after
# changing the SVG and commit what it writes.
set -euo pipefail
icons=$(cd "$(dirname "$0")/../packaging/icons" && pwd)
svg="$icons/org.quillon.Quillon.svg"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$icons/hicolor/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$icons/hicolor/${size}x${size}/org.quillon.Quillon.png"
done
echo "rendered $(ls "$icons"/hicolor | wc -l) sizes into $icons/hicolor"
