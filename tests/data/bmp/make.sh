#!/usr/bin/env bash
# Makes the ImageMagick reference files: the same 13 x 7 picture in several BMP
# kinds (*.bmp), and each file's pixels as ImageMagick reads them (*.rgb, raw
# R,G,B top-down), which the decoder tests compare against.
set -euo pipefail
cd "$(dirname "$0")"
im=/usr/bin/convert
src=$(mktemp --suffix=.png)
trap 'rm -f "$src"' EXIT
$im -size 13x7 gradient:'#ff0000-#0000ff' \( -size 13x7 gradient:'#00ff00-#000000' -rotate 90 -resize 13x7\! \) \
    -compose screen -composite -depth 8 "$src"
$im "$src" -type TrueColor BMP3:im_rgb24.bmp
$im "$src" -colors 200 -type Palette -compress None BMP3:im_pal8.bmp
$im "$src" -colors 16 -type Palette BMP3:im_pal4.bmp
$im "$src" -colors 2 -type Palette BMP3:im_pal1.bmp
$im "$src" -colors 200 -type Palette -compress RLE BMP3:im_rle8.bmp
$im "$src" -colors 16 -type Palette BMP2:im_core4.bmp
$im "$src" -type TrueColor -define bmp:subtype=RGB565 BMP:im_bf565.bmp
$im "$src" -type TrueColor -define bmp:subtype=RGB555 BMP:im_rgb555.bmp
$im "$src" -alpha set -type TrueColorAlpha BMP:im_v5_32.bmp
for f in im_*.bmp; do $im "$f" -depth 8 rgb:"${f%.bmp}.rgb"; done
