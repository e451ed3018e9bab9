#!/usr/bin/env bash
# Start without the folder Data: the error box comes during start-up, before
# the main window; the window then opens. Each failing tick reports again, but
# never stacks a second box on one still open; once the folder exists the next
# tick creates the note file.
set -uo pipefail
source "$(dirname "$0")/program.sh"

rm -rf "$work/Data"
# error_boxes: prints how many error boxes (visible "Tabulon" windows other
# than the main window and the 1 x 1 taskbar window) are open.
error_boxes() {
  local w n=0
  for w in $(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -qE 'Geometry: (584x382|1x1)$' || n=$((n + 1))
  done
  echo "$n"
}
boxes_are() { [ "$(error_boxes)" -eq "$1" ]; }
# dismiss: presses OK on the open box.
dismiss() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -qE 'Geometry: (584x382|1x1)$' && continue
    xdotool windowactivate --sync "$w" 2>/dev/null; xdotool key --window "$w" Return 2>/dev/null
  done
  sleep 0.5
}

(cd "$work" && exec wine Tabulon.exe) &
wpid=$!
check "an error box appears during start-up" until_ok 40 boxes_are 1
check "before the main window" no_window
dismiss
check "then the main window opens" until_ok 10 has_window
check "the box has gone" boxes_are 0

check "a failing tick reports again" until_ok 15 boxes_are 1
sleep 21 # two more ticks while that box stays open
check "later ticks do not stack a second box" boxes_are 1
check "the program keeps running" kill -0 "$wpid"

mkdir -p "$work/Data"
dismiss
check "once the folder exists the next tick creates the note" until_ok 15 bytes_are "$note" "0d 0a"
check "without another box" boxes_are 0
stop

echo "note without Data: $failures failure(s)"
[ "$failures" -eq 0 ]
