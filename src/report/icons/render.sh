#!/bin/sh
# Renders the preview's toolbar icons from their drawings: NAME.png at 16 x 16 pixels and
# NAME@2x.png at 32 x 32 for screens at 200 % (Qt picks it by its name). Run it here after
# changing a drawing, and commit the pictures with it.
set -e
cd "$(dirname "$0")"
for svg in *.svg; do
  name=${svg%.svg}
  rsvg-convert -w 16 -h 16 "$svg" -o "$name.png"
  rsvg-convert -w 32 -h 32 "$svg" -o "$name@2x.png"
done
