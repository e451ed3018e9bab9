#!/usr/bin/env bash
# The window without the mouse: keys typed at the start go into the note;
# from the note, Ctrl+Tab reaches √ and Tab walks on to the pin button, where
# Enter pins; Ctrl+Enter held down pins once; F1 writes the help page and
# Alt+O and F10 open the options menu, from the note too.
set -uo pipefail
source "$(dirname "$0")/program.sh"
bg="$work/source/DeskTopBG"
keep_wallpaper
on_cleanup() { put_back_wallpaper; }
no_help_browser

check "the window appears" start
xdotool windowfocus --sync "$win" 2>/dev/null # no click: the focus is the program's
xdotool type --delay 20 "keys"
check "keys typed right after the start land in the note" until_ok 10 editor_has keys
rm -f "$bg/Mix.bmp"
# √, X, 选项, 添加到桌面.
xdotool key ctrl+Tab Tab Tab Tab Return
check "Ctrl+Tab, Tab to the pin button and Enter pin the note" pinned 30
check "no tab went into the note" never 1 editor_has $'\t'

# Held, Ctrl+Enter repeats (under Xvfb every ~55 ms after 0.6 s): it pins once.
editor_click
rm -f "$bg/Mix.bmp"
xdotool keydown ctrl+Return
check "Ctrl+Enter held down pins" pinned 30
first_mix="$(stat -c '%i %y' "$bg/Mix.bmp")"
pinned_again() { [ "$(stat -c '%i %y' "$bg/Mix.bmp" 2>/dev/null)" != "$first_mix" ]; }
check "held two seconds more, it pins no more" never 2 pinned_again
xdotool keyup ctrl+Return
check "nor once it is let go" never 2 pinned_again

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
