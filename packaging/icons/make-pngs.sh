#!/bin/sh
# Redraws the committed PNG icons from vornask.svg; run after changing the SVG.
# The build installs the committed PNGs, so it needs no SVG renderer.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$here/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$here/vornask.svg" -o "$here/${size}x${size}/vornask.png"
done
