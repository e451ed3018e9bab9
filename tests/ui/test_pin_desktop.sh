#!/usr/bin/env bash
# The desktop stays the user's, from a program folder deeper than 260
# characters (Mix.bmp goes to the wallpaper setting under its short name):
# the pin records the user's wallpaper once, the restore item and the
# uninstaller's /restorewallpaper put it back with its style (the restore item
# all that is left when the picture was deleted since); a Mix.bmp that
# another program holds for a moment is written all the same, and one held
# for long stays whole, the error box saying so.
set -uo pipefail
source "$(dirname "$0")/program.sh"

deep_copy
bg="$deep/source/DeskTopBG"
record="$deep/Data/PreviousWallpaper.txt"
keep_wallpaper
on_cleanup() { put_back_wallpaper; }

# The user's desktop: a picture of their own, spanned.
convert -size 64x48 xc:'#336699' "BMP3:$base/mine.bmp"
mine="$(winepath -w "$base/mine.bmp" 2>/dev/null)"
set_wallpaper "$mine"
set_style 22
desktop_is_mine() { [ "$(wallpaper)" = "$mine" ] && [ "$(style)" = 22 ]; }
mix_in_force() { local w; w="$(wallpaper)"; [ -n "$w" ] && [ "$w" != "$mine" ] && [ "$(style)" = 10 ]; }
restore_item() { options_menu && xdotool key Up Up Up Return && until_ok 10 menu_closed; }
hash_of() { sha256sum "$1" | cut -c1-64; }
# hold SIGNAL MS: Mix.bmp held by another program until SIGNAL is written, then
# MS ms. (winepath cuts paths at 260 characters.)
dos() { printf 'Z:%s' "${1//\//\\}"; }
hold() {
  rm -f "$base/held"
  probe hold "$(dos "$bg/Mix.bmp")" "$(dos "$1")" "$2" >"$base/held" &
  holder=$!
  until_ok 20 grep -qs held "$base/held"
}

check "the program starts from the deep folder" start
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
editor_click
xdotool type --delay 30 "the desktop stays mine"
pin
check "a pin writes Mix.bmp" pinned 30
check "and sets it with the style Fill" until_ok 20 mix_in_force
click_at "$(at 528)" "$(at 59)"
check "a second pin knows Mix.bmp under its short name ($(wallpaper | tail -c 40))" \
  until_ok 20 grep -qF "$mine" "$record"
restore_item
check "the restore item brings back the picture and its style" until_ok 20 desktop_is_mine
check "and forgets the record" until_ok 10 bash -c "[ ! -e '$record' ]"

# Held until the pin has written its record, then 150 ms more: the retries wait it out.
hold "$record" 150
click_at "$(at 528)" "$(at 59)"
check "a Mix.bmp held for a moment is written all the same" until_ok 30 mix_in_force
wait "$holder"
check "without an error box" never 2 has_box
before="$(hash_of "$bg/Mix.bmp")"
# Held for three seconds from the note picture on: the pin gives up.
hold "$bg/Content.bmp" 3000
click_at "$(at 528)" "$(at 59)"
check "a Mix.bmp held for long brings the error box" until_ok 20 has_box
wait "$holder"
check "and the previous Mix.bmp stays whole" [ "$(hash_of "$bg/Mix.bmp")" = "$before" ]
dismiss

(cd "$deep" && timeout 120 wine Tabulon.exe /restorewallpaper); rc=$?
check "Tabulon.exe /restorewallpaper ends with exit code 0 (got $rc)" [ "$rc" = 0 ]
check "and the user's desktop is back" desktop_is_mine

# The recorded picture deleted before the restore: the rest comes back, the
# user is told in one box over the main window, and the record goes. (A new
# start: Wine's running program does not see what another process set.)
told_has() { grep -qF -- "$1" <<<"$told"; }
close_button
until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null
start
click_at "$(at 528)" "$(at 59)"
check "a pin records the desktop again" until_ok 20 grep -qF "$mine" "$record"
until_ok 20 mix_in_force
rm -f "$base/mine.bmp"
restore_item
check "a restore with the picture gone tells the user" until_ok 20 has_box
told="$(probe box)"
check "over the main window" [ "$(head -n1 <<<"$told")" = owner=main ]
check "naming the picture that is gone ($told)" told_has "的图片已不存在，无法恢复" &&
  check "and its file" told_has "$mine"
check "the style comes back" [ "$(style)" = 22 ]
check "and the note goes, leaving the colour" [ -z "$(wallpaper)" ]
check "and the record goes" [ ! -e "$record" ]
dismiss
restore_item
check "a second restore tells the user" until_ok 20 has_box
told="$(probe box)"
check "that nothing is recorded ($told)" told_has "没有记录原来的桌面"
dismiss
close_button
check "the program ends" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""

echo "pin desktop: $failures failure(s)"
[ "$failures" -eq 0 ]
