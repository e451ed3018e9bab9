#!/usr/bin/env bash
# The program folder may be anywhere: started from a folder whose name has
# spaces, Chinese characters and characters outside GBK (Hangul), Tabulon
# saves its note, pins, and opens its help page, written out from inside the
# program for the user's browser.
set -uo pipefail
source "$(dirname "$0")/program.sh"
odd="$work/My 便笺 한글/Tabulon"
mkdir -p "$odd"
cp -r "$dist/." "$odd/"
bg="$odd/source/DeskTopBG"
keep_wallpaper
on_cleanup() { put_back_wallpaper; }
no_help_browser

check "the program starts in the folder" start "$odd"
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
editor_click
xdotool type --delay 30 "a note from far away"
check "the note is saved there" until_ok 15 note_has "$odd/Data/content.ini" "a note from far away"

pin
check "the pin writes Mix.bmp there" pinned 15
wp="$(wallpaper)"
# reg.exe prints in code page 936, which has no Hangul (it prints "?"): the
# rest of the path is checked.
check "the wallpaper setting names it ($wp)" \
  bash -c "[[ '$wp' == *'\\My 便笺 '*'\\Tabulon\\source\\DeskTopBG\\Mix.bmp' ]]"

# "|  选项", then "帮助说明", the first item.
options_menu
xdotool key Down Return
check "help writes its page for the browser" until_ok 15 [ -f "$temp_pages/B90A.HTM" ]
check "the help page is the built-in one" cmp -s "$temp_pages/B90A.HTM" "$root/site/B90a.htm"
check "the feedback page it links is beside it" cmp -s "$temp_pages/B90B.HTM" "$root/site/B90b.htm"
check "the program still runs" has_window
stop
echo "folder names: $failures failure(s)"
[ "$failures" -eq 0 ]
