#!/usr/bin/env bash
# Renders the PNG icons from the scalable drawing. Run it after changing the drawing and
# commit the PNGs with it: the build and the package use the committed files, so neither
# needs an SVG renderer (this script needs rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../resources/linux/icons"
name=com.orvane.RavelfinConfig
for size in 48 64 128 256; do
  mkdir -p "$size"
  rsvg-convert --width "$size" --height "$size" --output "$size/$name.png" "$name.svg"
done
