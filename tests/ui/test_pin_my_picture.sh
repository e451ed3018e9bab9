#!/usr/bin/env bash
# Pins onto the user's own wallpaper: a PNG filled and a JPEG fitted, each of
# another size than the 1280 x 1024 screen. The choice is turned on from the
# options menu by keyboard and outlives a restart; Mix.bmp is the picture as
# the desktop lays it out (ImageMagick's own crop and resize are the oracle)
# with the note at weight 2 on every pin; the restore brings picture and
# style back. A cut-off JPEG and a deleted one are reported, the desktop
# staying as it was.
set -uo pipefail
source "$(dirname "$0")/program.sh"
bg="$work/source/DeskTopBG"
record="$work/Data/PreviousWallpaper.txt"
art="$root/build/ui-artifacts"
mkdir -p "$art"
keep_wallpaper
on_cleanup() { put_back_wallpaper; }

# The user's pictures: a photo-like plasma (its copy in the README shows a
# pinned note on a user's picture) and shapes on a gradient, so that a
# shifted or mirrored layout shows.
convert -seed 11 -size 1600x1024 plasma:'#6a8fc0-#d8c89a' -blur 0x1.5 -depth 8 "$base/mine.png"
convert -size 640x400 gradient:'#103070-#f0a060' -fill '#20a040' -draw 'circle 160,120 160,200' \
  -quality 92 "$base/mine.jpg"
png="$(winepath -w "$base/mine.png" 2>/dev/null)"
jpg="$(winepath -w "$base/mine.jpg" 2>/dev/null)"
desktop_is() { [ "$(wallpaper)" = "$1" ] && [ "$(style)" = "$2" ]; }

# The recorded background colour as ImageMagick writes it.
recorded_colour() {
  local c; c=$(sed -n 's/^color=\([0-9]*\).*/\1/p' "$record")
  printf 'rgb(%d,%d,%d)' $((c & 255)) $(((c >> 8) & 255)) $(((c >> 16) & 255))
}
# laid_out fill|fit FILE: the picture as the desktop shows it on 1280 x 1024.
laid_out() {
  if [ "$1" = fill ]; then
    convert "$2" -gravity center -crop 1280x1024+0+0 +repage "BMP3:$base/oracle.bmp"
  else
    convert "$2" -filter Catrom -resize 1280x800! -background "$(recorded_colour)" -gravity center \
      -extent 1280x1024 "BMP3:$base/oracle.bmp"
  fi
}
mix_is() { python3 "$root/tests/ui/check_mix.py" "$bg/Mix.bmp" "$base/oracle.bmp" "$bg/Content.bmp" 2 "$@"; }
choice_item() { options_menu && xdotool key Up Up Return && until_ok 10 menu_closed; }
restore_item() { options_menu && xdotool key Up Up Up Return && until_ok 10 menu_closed; }
mix_in_force() { [[ "$(wallpaper)" == *'\source\DeskTopBG\Mix.bmp' ]]; }
box_says() { probe box | grep -qF -- "$1"; }

set_wallpaper "$png"
set_style 10
check "the program starts" start
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
editor_click
xdotool type --delay 30 "on my own picture"
choice_item
check "the choice is kept in Data/Settings.txt" \
  until_ok 10 grep -q '^pin-on-my-picture=1' "$work/Data/Settings.txt"

pin
check "the first pin writes Mix.bmp" pinned
laid_out fill "$base/mine.png"
check "Mix.bmp is the PNG filled, its overflow cut evenly, with the note at weight 2" mix_is
convert "$bg/Mix.bmp" "$art/my-picture-fill.png"
check "and is the wallpaper now" until_ok 20 mix_in_force
pin
check "the second pin writes Mix.bmp" pinned
check "on the same picture, again at weight 2" mix_is

close_button
check "the program ends" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""
check "the program starts again" start
pin
check "after a restart a pin writes Mix.bmp" pinned
check "still on the PNG: the choice held" mix_is

restore_item
check "the restore brings back the PNG and its style Fill" until_ok 20 desktop_is "$png" 10
close_button
check "the program ends" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""

# The JPEG fitted (set while the program is away: Windows reads the setting
# at start): scaled to 1280 x 800, the recorded colour above and below.
set_wallpaper "$jpg"
set_style 6
check "the program starts with the JPEG as wallpaper" start
pin
check "a pin on the fitted JPEG writes Mix.bmp" pinned
laid_out fit "$base/mine.jpg"
check "Mix.bmp is the JPEG fitted, within the decoders' and filters' rounding" mix_is 6
convert "$bg/Mix.bmp" "$art/my-picture-fit.png"
restore_item
check "the restore brings back the JPEG and its style Fit" until_ok 20 desktop_is "$jpg" 6

# Cut off half way: reported, and the desktop stays the user's.
head -c $(( $(stat -c %s "$base/mine.jpg") / 2 )) "$base/mine.jpg" >"$base/cut.jpg" && mv "$base/cut.jpg" "$base/mine.jpg"
pin
check "a cut-off JPEG brings a message" until_ok 20 has_box
check "which names the picture and what is wrong with it" box_says "图片不完整"
dismiss
check "no Mix.bmp was written" [ ! -e "$bg/Mix.bmp" ]
check "and the desktop is still the JPEG, fitted" desktop_is "$jpg" 6

rm -f "$base/mine.jpg"
pin
check "a deleted picture brings a message" until_ok 20 has_box
check "which says the file is gone" box_says "文件已不存在"
dismiss
check "and the desktop is unchanged" desktop_is "$jpg" 6
check "the program still runs" kill -0 "$wpid"
echo "pin on my picture: $failures failure(s)"
[ "$failures" -eq 0 ]
