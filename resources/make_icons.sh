#!/bin/sh
# Renders the SVG drawings of icons/ into the PNG files the program embeds, and the default
# logo bitmap placed beside the program. Needs ImageMagick.
set -e
cd "$(dirname "$0")/icons"
for f in novi_ugovor dnevni_pregled korisnici vozila izlaz; do
  convert -background none -density 288 $f.svg -resize 32x32 -depth 8 PNG32:$f.png
done
convert -background none -density 144 logo.svg -resize 128x128 -depth 8 PNG32:logo.png
convert -background white -density 144 logo.svg -resize 128x128 -flatten -type TrueColor BMP3:../kavor_logo.bmp
