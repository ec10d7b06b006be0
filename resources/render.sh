#!/usr/bin/env bash
# Renders the program's pictures and icons from their drawing sources in src/ (ImageMagick's
# vector drawing language) into the committed files that the resource script embeds. Run it
# after changing a source; the build itself needs no drawing tools.
# Needs the Debian packages imagemagick and fonts-ipafont (scripts/install-test-deps.sh).
set -euo pipefail
cd "$(dirname "$0")"
# The real ImageMagick, not a wrapper that may stand before it on the PATH.
convert_bin=/usr/bin/convert
[ -x "$convert_bin" ] || convert_bin=convert

draw() {  # draw SOURCE WIDTH HEIGHT GROUND OUT
  "$convert_bin" -size "$2x$3" "xc:$4" -draw "$(grep -v '^#' "src/$1")" "$5"
}

# 24-bit pictures, stored as PNG (lossless, compressed; the program decodes them at run time).
# The drawing goes through a 24-bit bitmap first, so that the pixels are those of the bitmap;
# the PNG keeps only its pixels (no gamma, colour or time chunks).
bitmap() {  # bitmap NAME WIDTH HEIGHT
  local tmp
  tmp=$(mktemp -d)
  draw "$1.mvg" "$2" "$3" white "$tmp/drawn.png"
  "$convert_bin" "$tmp/drawn.png" -alpha off -type TrueColor -units PixelsPerInch -density 96 \
    "BMP3:$tmp/picture.bmp"
  "$convert_bin" "$tmp/picture.bmp" -strip -define png:exclude-chunks=all -quality 92 \
    "PNG24:$1.png"
  rm -rf "$tmp"
}

# Icons with the sizes the window frames and the task bar use; with --png also the 256-pixel
# picture that a Linux desktop's menu shows (installed with the Linux program).
icon() {  # icon NAME [--png]
  local dir
  dir=$(mktemp -d)
  draw "$1.mvg" 256 256 none "$dir/256.png"
  for s in 16 24 32 48; do
    "$convert_bin" "$dir/256.png" -resize "${s}x${s}" "$dir/$s.png"
  done
  "$convert_bin" "$dir/16.png" "$dir/24.png" "$dir/32.png" "$dir/48.png" "$1.ico"
  if [ "${2:-}" = --png ]; then
    "$convert_bin" "$dir/256.png" -strip -define png:exclude-chunks=all "PNG32:$1.png"
  fi
  rm -rf "$dir"
}

bitmap cell_frame 38 14
bitmap slider_labels 186 15
bitmap usage_page 538 826
icon main_icon --png
icon speech_icon
echo "rendered: cell_frame.png slider_labels.png usage_page.png main_icon.ico main_icon.png speech_icon.ico"
