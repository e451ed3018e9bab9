#!/usr/bin/env bash
# The window without the mouse: from the note, Ctrl+Tab reaches √ and Tab
# walks on to the pin button, where Enter pins; F1 writes the help page and
# Alt+O and F10 open the options menu, from the note too.
set -uo pipefail
source "$(dirname "$0")/program.sh"
bg="$work/source/DeskTopBG"
keep_wallpaper
on_cleanup() { put_back_wallpaper; }
no_help_browser

check "the window appears" start
editor_click
xdotool type --delay 20 "keys"
rm -f "$bg/Mix.bmp"
# √, X, 选项, 添加到桌面.
xdotool key ctrl+Tab Tab Tab Tab Return
check "Ctrl+Tab, Tab to the pin button and Enter pin the note" pinned 30
check "no tab went into the note" never 1 editor_has $'\t'

editor_click
xdotool key F1
check "F1 writes the help page" until_ok 15 [ -f "$temp_pages/B90A.HTM" ]
editor_click
xdotool key alt+o
check "Alt+O opens the options menu" until_ok 10 menu_open
xdotool key Escape
check "Esc closes it" until_ok 10 menu_closed
check "and nothing else" has_window
xdotool key F10
check "F10 opens it too" until_ok 10 menu_open
xdotool key Escape
check "and Esc closes it" until_ok 10 menu_closed
stop
echo "keyboard: $failures failure(s)"
[ "$failures" -eq 0 ]
