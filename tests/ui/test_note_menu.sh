#!/usr/bin/env bash
# The editor's marks: a right-click in the editor opens its menu and "打V"
# replaces the selected word by the check mark; the "X" speed button inserts
# the cross mark at the caret without taking the focus; the next tick writes
# their GBK bytes (A1 CC and A1 C1).
set -uo pipefail
source "$(dirname "$0")/program.sh"

check "the window appears" start
editor_click
xdotool type --delay 20 "one two"
xdotool key shift+ctrl+Left # selects "two"
p=($(position))
xdotool mousemove $((p[0] + 450)) $((p[1] + 250)) click 3
check "a right-click opens the editor's menu" until_ok 10 menu_open
# The menu's sixth item is "打V".
xdotool key Down Down Down Down Down Down Return
check "打V replaces the selection by the check mark" \
  until_ok 15 bytes_are "$note" "6f 6e 65 20 a1 cc 0d 0a"

xdotool key Home
click_at 272 67 # btn4
xdotool type --delay 20 "a"
check "btn4 inserts the cross mark at the caret and the editor keeps the focus" \
  until_ok 15 bytes_are "$note" "a1 c1 61 6f 6e 65 20 a1 cc 0d 0a"

xdotool key ctrl+a
click_at 248 67 # btn3
check "btn3 replaces the selection by the check mark" until_ok 15 bytes_are "$note" "a1 cc 0d 0a"
stop

echo "note menu: $failures failure(s)"
[ "$failures" -eq 0 ]
