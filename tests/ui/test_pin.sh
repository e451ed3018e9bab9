#!/usr/bin/env bash
# The pin under Wine in a private Xvfb, driven with xdotool: type a note,
# click the pin button, and check Content.bmp, Mix.bmp pixel by pixel against
# the blend of the note over A1.bmp (weight 2), then A2.bmp (weight 4) on the
# second click, and the wallpaper setting. PNGs of the pictures are kept under
# build/ui-artifacts/. The wallpaper setting is put back afterwards.
set -uo pipefail
# A screen of the shipped backgrounds' own size: nothing is fitted, and
# Mix.bmp is the background with the note at (W - 402, 30).
SCREEN_SIZE=1920x1080
source "$(dirname "$0")/program.sh"
bg="$work/source/DeskTopBG"
art="$root/build/ui-artifacts"
mkdir -p "$art"
keep_wallpaper
on_cleanup() { put_back_wallpaper; }

# Mix.bmp is the background with Content.bmp blended in at (width - 402, 30).
mix_matches() { python3 "$root/tests/ui/check_mix.py" "$bg/Mix.bmp" "$bg/$1" "$bg/Content.bmp" "$2"; }
note_has_text() { python3 "$root/tests/ui/check_mix.py" --ink "$bg/Content.bmp"; }

# Wine keeps the display of a session that is still running: start afresh.
end_wine_session

check "the window titled Tabulon appears" start
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }

# Type into the editor, then pin.
editor_click
xdotool type --delay 30 "Pinned by the UI test: water the plants"
pin
check "the first pin writes Mix.bmp" pinned
check "Content.bmp holds the typed text" note_has_text
check "Mix.bmp is A1.bmp with the note blended in at weight 2" mix_matches A1.bmp 2
wp="$(wallpaper)"
check "the wallpaper setting names Mix.bmp ($wp)" bash -c "[[ '$wp' == *'\\source\\DeskTopBG\\Mix.bmp' ]]"
convert "$bg/Mix.bmp" "$art/pin-mix-1.png" && convert "$bg/Content.bmp" "$art/pin-content.png"

pin
check "the second pin writes Mix.bmp again" pinned
check "Mix.bmp is A2.bmp with the note blended in at weight 4" mix_matches A2.bmp 4
convert "$bg/Mix.bmp" "$art/pin-mix-2.png"

close_box() { # screenshot it, then press Return in it
  import -window "$boxwin" "$art/$1" 2>/dev/null || true
  dismiss
}

# A1.bmp gone: "加载失败！", then the note over the A2 picture still held, at weight 2.
mv "$bg/A1.bmp" "$work/A1.bmp"
pin
check "a missing A1.bmp shows a message box" until_ok 10 has_box
[ -n "${boxwin:-}" ] && check "which closes with Return" close_box pin-load-failed.png
check "the pin goes on and writes Mix.bmp" pinned
mv "$work/A1.bmp" "$bg/A1.bmp"
check "Mix.bmp is the A2.bmp picture with the note at weight 2" mix_matches A2.bmp 2

# The background folder gone: the error box, and nothing written.
mv "$bg" "$work/DeskTopBG.away"
boxwin=""
click_at 528 59
check "a missing background folder shows the error box" until_ok 10 has_box
[ -n "${boxwin:-}" ] && check "which closes with Return" close_box pin-no-folder.png
check "and no folder or file was made" bash -c "[ ! -e '$bg' ]"
mv "$work/DeskTopBG.away" "$bg"
check "the program still runs" kill -0 "$wpid"

# End through the close button (hovered first: it is pressed in its hover image).
close_button
check "the close button ends the program" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""
echo "pictures: $art/pin-*.png"

echo "pin: $failures failure(s)"
[ "$failures" -eq 0 ]
