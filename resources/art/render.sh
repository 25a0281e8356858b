#!/bin/sh
# Redraws the bitmap pictures from their SVG sources:
#   splash.svg         -> splash.png          (451 x 301, 24-bit RGB, no alpha)
#   icons/app-icon.svg -> icons/app-icon-32.png, icons/app-icon-256.png, packaging/icons/tavio-N.png
# The 16 x 16 icons themselves stay SVG; make_icons.py rewrites them.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -eu
cd "$(dirname "$0")"

need() { command -v "$1" >/dev/null 2>&1 || { echo "render.sh: $1 not found" >&2; exit 1; }; }
need rsvg-convert
need convert

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Splash: flatten onto the picture's own dark colour, drop the alpha channel
# and write a plain truecolour PNG without time stamps.
rsvg-convert -w 451 -h 301 splash.svg -o "$tmp/splash.png"
convert "$tmp/splash.png" -background '#0d2344' -alpha remove -alpha off \
    -type TrueColor -depth 8 -strip -define png:color-type=2 splash.png

# Application icon for the window and the desktop (these keep transparency).
for size in 32 256; do
    rsvg-convert -w "$size" -h "$size" icons/app-icon.svg -o "$tmp/app.png"
    convert "$tmp/app.png" -strip "icons/app-icon-$size.png"
done

# The desktop's icon theme: the usual sizes of the same picture.
mkdir -p ../../packaging/icons
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" icons/app-icon.svg -o "../../packaging/icons/tavio-$size.png"
done

# Sanity check of the splash format.
geom=$(identify -format '%wx%h %[channels] %z' splash.png)
case "$geom" in
    "451x301 srgb 8") ;;
    *) echo "render.sh: unexpected splash format: $geom" >&2; exit 1 ;;
esac
echo "splash.png: $geom"
