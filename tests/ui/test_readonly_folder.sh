#!/usr/bin/env bash
# A program folder that cannot be written (made immutable here: the tests
# run as root, whom plain permissions do not stop): the note moves to the
# user's local application data, Tabulon\Data\content.ini, copied from the
# program folder first; the user is told once; saves and pins go there.
set -uo pipefail
source "$(dirname "$0")/program.sh"
mkdir -p "$work/Data"
printf 'mine\r\n' >"$note"
localdata=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
home="$localdata/Tabulon"
[ -n "$localdata" ] && [ -d "$localdata" ] || { echo "FAIL no local application data folder"; exit 1; }
rm -rf "$home"
keep_wallpaper
on_cleanup() {
  chattr -i "$work" "$work/Data" 2>/dev/null
  rm -rf "$home"
  put_back_wallpaper
}
chattr +i "$work" "$work/Data" || { echo "FAIL chattr +i is not available here"; exit 1; }

launch
check "the user is told where the note now lives" until_ok 40 has_box
dismiss
check "the main window opens" until_ok 10 has_window
check "the note was copied there" note_is "$home/Data/content.ini" "$(printf 'mine\r')"
check "with the backgrounds" cmp -s "$home/source/DeskTopBG/A1.bmp" "$work/source/DeskTopBG/A1.bmp"
editor_click
xdotool type --delay 20 "more"
check "ticks save there" until_ok 15 note_is "$home/Data/content.ini" "$(printf 'mine\r\nmore\r')"
check "without an error box" boxes_are 0
click_at 528 59
check "a pin writes Mix.bmp there" until_ok 30 bmp_complete "$home/source/DeskTopBG/Mix.bmp"
check "the program folder is unchanged" note_is "$note" "$(printf 'mine\r')"
close_button
check "the close button ends the program" until_ok 15 ended "$wpid"
wait "$wpid"; wpid=""

check "a second start finds the note there" start
check "without telling again" boxes_are 0
stop

echo "read-only program folder: $failures failure(s)"
[ "$failures" -eq 0 ]
