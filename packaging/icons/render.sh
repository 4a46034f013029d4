#!/usr/bin/env bash
# Renders the program icon at the sizes the package installs. Run after changing luvir.svg.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" luvir.svg -o "luvir-$size.png"
done
