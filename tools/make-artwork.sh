#!/usr/bin/env bash
# Regenerates every picture the program ships: the skin pictures of the main
# window, the program icon and the desktop backgrounds. The outputs are
# committed, so a build never needs ImageMagick; run this only to change them.
#
#   tools/make-artwork.sh            write all pictures, then check their headers
#
# Everything is drawn from geometry with fixed values (no randomness), so two
# runs with the same ImageMagick give the same pictures.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
here="$root/tools/artwork"
pics="$root/resources/pictures"
desk="$root/resources/DeskTopBG"
# /usr/local/bin may hold other programs named convert; ImageMagick's is this one.
IM=/usr/bin/convert
PY=python3
CJK=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
SANS_BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

for f in "$IM" "$CJK" "$SANS_BOLD"; do
  [ -e "$f" ] || { echo "make-artwork: missing $f (run tools/install-deps.sh)" >&2; exit 1; }
done

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$pics" "$desk"

# The window background behind the caption buttons and the logo.
BG='#D8E3F3'

# 24-bit uncompressed BMP (BITMAPINFOHEADER, BI_RGB), no alpha channel.
bmp24() { "$IM" "$1" -alpha off -type TrueColor -strip "BMP3:$2"; }

# Every skin picture is drawn for 96 DPI and again at 1.5 and 2 times that
# size (files named with "_150" and "_200"): sharp on screens at 150 % and
# 200 %, and the nearest start for the program's resampling in between.
scales="1 1.5 2"
suffix() { case $1 in 1) echo "" ;; 1.5) echo _150 ;; 2) echo _200 ;; esac; }
# px N K: N pixels at scale K, rounded to the nearest, halves up (as the
# program rounds its layout); fx N K: N * K unrounded (point sizes, MVG).
px() { awk -v n="$1" -v k="$2" 'BEGIN { v = n * k; printf "%d", int(v + 0.5) }'; }
fx() { awk -v n="$1" -v k="$2" 'BEGIN { printf "%g", n * k }'; }
# mvg K: an MVG prefix that scales what follows (coordinates, stroke widths)
# by K; nothing at 1, so the 96-DPI pictures are drawn as they always were.
mvg() { [ "$1" = 1 ] || echo "scale $1,$1 "; }

# --- background: one flat colour -------------------------------------------
# -strip drops every ancillary chunk (gAMA, cHRM, bKGD, tIME, text).
for k in $scales; do
  "$IM" -size "$(px 416 $k)x$(px 289 $k)" "xc:$BG" -alpha off -strip -define png:color-type=2 \
    -define png:bit-depth=8 "PNG24:$pics/bg$(suffix $k).png"
done

# --- caption buttons ---------------------------------------------------------
# Drawn at four times the size and reduced with a box filter: that gives the
# anti-aliased cross, bar and rounded face edges with true partial alpha.
# The face's top edge runs off the picture so only its lower corners round.
# The same 4x drawing gives every scale.
button() { # name width face-colour glyph-mvg
  local name=$1 w=$2 face=$3 glyph=$4 k
  local W=$((w * 4)) H=80
  for k in $scales; do
    "$IM" -size "${W}x${H}" xc:none \
      -fill "$face" -draw "roundrectangle 0,-24 $((W - 1)),$((H - 1)) 14,14" \
      -fill none -stroke white -strokewidth 7 -draw "stroke-linecap round $glyph" \
      -filter box -resize "$(px $w $k)x$(px 20 $k)" -strip -define png:color-type=6 \
      -define png:bit-depth=8 "PNG32:$pics/$name$(suffix $k).png"
  done
}
cross='line 63,25 93,55 line 93,25 63,55'
bar='line 40,45 72,45'
button close_normal 39 'rgba(84,96,116,0.42)' "$cross"
button close_highlight 39 'rgba(240,96,88,0.93)' "$cross"
button close_down 39 'rgba(184,44,38,0.96)' "$cross"
button mini_normal 28 'rgba(84,96,116,0.42)' "$bar"
button mini_highlight 28 'rgba(66,140,226,0.93)' "$bar"
button mini_down 28 'rgba(34,92,170,0.96)' "$bar"

# --- note glyph (logo and icon) ---------------------------------------------
# A pale yellow note with a turned-down corner, three lines of "writing" and a
# red pin, drawn at 4x on transparency: 176 x 184 reduces to the 44 x 46 icon.
"$IM" -size 176x184 xc:none \
  -fill 'rgba(40,60,100,0.25)' -draw 'roundrectangle 18,34 166,178 16,16' \
  -fill '#FFF3A8' -stroke '#D9B640' -strokewidth 5 \
  -draw 'path "M 26,24 L 156,24 Q 164,24 164,32 L 164,130 L 122,172 L 26,172 Q 18,172 18,164 L 18,32 Q 18,24 26,24 Z"' \
  -fill '#E8CF6A' -stroke '#D9B640' -strokewidth 5 \
  -draw 'path "M 164,130 L 130,130 Q 122,130 122,138 L 122,172 Z"' \
  -stroke '#6F8DB8' -strokewidth 9 -fill none \
  -draw 'stroke-linecap round line 44,76 138,76 line 44,104 138,104 line 44,132 100,132' \
  -stroke '#9E2A22' -strokewidth 4 -fill '#E5483D' -draw 'circle 91,30 91,8' \
  -stroke none -fill 'rgba(255,255,255,0.75)' -draw 'circle 84,22 84,15' \
  "$tmp/glyph.png"

# --- logo: glyph + wordmark on the window background -------------------------
for k in $scales; do
  x=$(suffix $k)
  "$IM" "$tmp/glyph.png" -filter box -resize "$(px 44 $k)x$(px 46 $k)" "$tmp/glyph-small$x.png"
  "$IM" -size "$(px 200 $k)x$(px 57 $k)" "xc:$BG" \
    "$tmp/glyph-small$x.png" -geometry "+$(px 4 $k)+$(px 5 $k)" -composite \
    -font "$SANS_BOLD" -pointsize "$(fx 30 $k)" -fill 'rgba(30,50,90,0.18)' \
    -annotate "+$(fx 55 $k)+$(fx 37 $k)" 'Tabulon' \
    -fill '#24457A' -annotate "+$(fx 54 $k)+$(fx 36 $k)" 'Tabulon' \
    -font "$CJK" -pointsize "$(fx 12 $k)" -fill '#5B6F8F' \
    -annotate "+$(fx 56 $k)+$(fx 52 $k)" '桌面便笺 · 贴在桌面上' \
    "$tmp/logo$x.png"
  bmp24 "$tmp/logo$x.png" "$pics/logo$x.bmp"
done

# --- pin button "添加到桌面": pink face, drawn opaque over the background --------
for k in $scales; do
  x=$(suffix $k) w=$(px 84 $k) h=$(px 29 $k)
  "$IM" -size "${w}x${h}" "xc:$BG" \
    \( -size "${w}x${h}" gradient:'#FF9DBB-#EC5F8C' \) \
    \( -size "$((w * 4))x$((h * 4))" xc:black -fill white \
    -draw "$(mvg $k)roundrectangle 2,2 333,113 22,22" \
    -filter box -resize "${w}x${h}" \) -compose over -composite \
    -compose over \
    -fill none -stroke 'rgba(170,30,80,0.55)' -strokewidth 1 \
    -draw "$(mvg $k)roundrectangle 0.5,0.5 83.5,28.5 5,5" \
    -stroke 'rgba(255,255,255,0.45)' -draw "$(mvg $k)line 5,1.5 78,1.5" -stroke none \
    -font "$CJK" -pointsize "$(fx 14 $k)" -fill 'rgba(140,20,60,0.45)' -gravity center \
    -annotate "+0+$(px 1 $k)" '添加到桌面' \
    -fill white -annotate +0+0 '添加到桌面' \
    "$tmp/apptodesk$x.png"
  bmp24 "$tmp/apptodesk$x.png" "$pics/apptodesk$x.bmp"
done

# --- instruction picture: light lettering on dark blue ----------------------
# Only the left 196 pixels show in the panel; the text stays well inside that.
# The arrow points up and right, towards the pin button, drawn at 4x.
for k in $scales; do
  x=$(suffix $k) w=$(px 200 $k) h=$(px 93 $k)
  "$IM" -size "${w}x${h}" gradient:'#274C86-#1A3563' \
    \( -size "$((w * 4))x$((h * 4))" xc:none -stroke '#FFD6E4' -strokewidth 9 -fill none \
    -draw "$(mvg $k)stroke-linecap round stroke-linejoin round line 664,196 732,128" \
    -draw "$(mvg $k)stroke-linecap round stroke-linejoin round polyline 692,124 736,124 736,168" \
    -filter box -resize "${w}x${h}" \) -composite \
    -stroke none -strokewidth 1 -font "$CJK" -pointsize "$(fx 14 $k)" -fill '#F2F6FF' \
    -annotate "+$(fx 12 $k)+$(fx 26 $k)" '在右侧输入便笺内容，' \
    -annotate "+$(fx 12 $k)+$(fx 50 $k)" '然后点击右上角的' \
    -fill '#FFD6E4' -annotate "+$(fx 12 $k)+$(fx 74 $k)" '“添加到桌面”' -fill '#F2F6FF' \
    -annotate "+$(fx 106 $k)+$(fx 74 $k)" '按钮' \
    "$tmp/addtodesk$x.png"
  bmp24 "$tmp/addtodesk$x.png" "$pics/addtodesk$x.bmp"
done

# --- program icon: one 44 x 46 image, 24 bits per pixel with an AND mask ----
"$IM" "$tmp/glyph.png" -filter box -resize 44x46\! -depth 8 "RGBA:$tmp/icon.rgba"
"$PY" "$here/write_ico.py" "$tmp/icon.rgba" 44 46 "$root/resources/Tabulon.ico"

# --- desktop backgrounds ------------------------------------------------------
# Drawn at a quarter size (480 x 270) and enlarged: soft shapes survive the
# enlargement unharmed and the work stays quick. The note is laid at
# x 1518..1868, y 30..330, so that corner is kept free of shapes. The work is
# done at 16 bits per channel (MIFF keeps them) and ordered-dithered down to 8
# at the end, which keeps the wide, slow gradients free of visible bands.
wallpaper() { "$IM" "$1" -ordered-dither o8x8,256 -alpha off -type TrueColor -strip "BMP3:$2"; }
# A1: morning sky, blue to pale teal, light circles low on the left and two
# soft waves along the bottom.
"$IM" -size 270x480 gradient:'#9EC4EC-#D9EEF0' -rotate -90 \
  \( -size 480x270 gradient:'rgba(255,255,255,0)-rgba(255,255,255,0.35)' \) -composite \
  \( -size 480x270 xc:none \
  -fill 'rgba(255,255,255,0.30)' -draw 'circle 60,190 60,128' \
  -fill 'rgba(255,255,255,0.22)' -draw 'circle 150,225 150,185' \
  -fill 'rgba(255,255,255,0.28)' -draw 'circle 40,70 40,42' \
  -fill 'rgba(255,255,255,0.18)' -draw 'circle 225,175 225,150' \
  -fill 'rgba(255,255,255,0.25)' -draw 'circle 120,110 120,96' \
  -fill 'rgba(255,255,255,0.20)' -draw 'circle 300,235 300,215' \
  -fill 'rgba(255,255,255,0.16)' -draw 'circle 215,80 215,70' \
  -blur 0x2.5 \) -composite \
  \( -size 480x270 xc:none -fill 'rgba(120,190,200,0.30)' \
  -draw 'path "M 0,222 C 110,196 210,236 320,214 C 395,199 445,206 480,202 L 480,270 L 0,270 Z"' \
  -fill 'rgba(90,165,185,0.32)' \
  -draw 'path "M 0,248 C 130,232 240,258 350,242 C 410,233 455,238 480,236 L 480,270 L 0,270 Z"' \
  -blur 0x1.2 \) -composite \
  -filter Lanczos -resize 1920x1080\! "$tmp/a1.miff"
wallpaper "$tmp/a1.miff" "$desk/A1.bmp"

# A2: evening, peach to lavender, with three layers of gentle hills.
"$IM" -size 480x270 gradient:'#F7D9C4-#D8CCEB' \
  \( -size 480x270 xc:none -fill 'rgba(255,240,210,0.55)' -draw 'circle 120,150 120,95' -blur 0x18 \) \
  -composite \
  \( -size 480x270 xc:none -fill '#C9B8DF' \
  -draw 'path "M 0,190 C 90,150 170,165 250,185 C 330,205 410,180 480,170 L 480,270 L 0,270 Z"' \
  -blur 0x1.2 \) -composite \
  \( -size 480x270 xc:none -fill '#AE9CCF' \
  -draw 'path "M 0,225 C 100,200 190,210 290,228 C 370,242 430,222 480,215 L 480,270 L 0,270 Z"' \
  -blur 0x1.2 \) -composite \
  \( -size 480x270 xc:none -fill '#8F7DB8' \
  -draw 'path "M 0,252 C 120,238 230,246 330,255 C 400,261 450,250 480,247 L 480,270 L 0,270 Z"' \
  -blur 0x1.2 \) -composite \
  -filter Lanczos -resize 1920x1080\! "$tmp/a2.miff"
wallpaper "$tmp/a2.miff" "$desk/A2.bmp"

# A: a ready-made note picture, plain pale yellow.
"$IM" -size 350x300 'xc:#FFFFDA' -alpha off -type TrueColor -strip "BMP3:$desk/A.bmp"

"$PY" "$here/check_artwork.py" "$root"
