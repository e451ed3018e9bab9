#!/usr/bin/env bash
# The main window under Wine in a private Xvfb, driven with xdotool:
# placement and size, skin colours, the blended caption buttons, hover,
# moving by the background (and not by the logo), minimise, and the close
# button ending the program with exit code 0.
set -uo pipefail
source "$(dirname "$0")/program.sh"

# --- first run: look, hover, move, minimise --------------------------------
check "the window titled Tabulon appears" start
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
cx=$(( (1280 - 584) / 2 )); cy=$(( (1024 - 382) / 2 ))
check "it is centred on the screen at 584 x 382" at_position $cx $cy ||
  echo "     window at $(position), pointer $(xdotool getmouselocation)"
skin="216 227 243"
check "the border has the skin colour" until_ok 5 pixel_is 0 0 "$skin"
check "the background has the skin colour" pixel_is 300 5 "$skin"
check "the editor is pale yellow" pixel_is 400 200 "255 255 218"
check "the close button is blended over the background" \
  pixel_is $((544 + 5)) $((1 + 3)) "$(blended close_normal.png 5 3)"
check "the minimise button is blended over the background" \
  pixel_is $((515 + 5)) $((1 + 3)) "$(blended mini_normal.png 5 3)"

point_at 300 5; until_ok 5 buttons_settled
point_at 560 10
hover="$(blended close_highlight.png 5 3)"
check "hovering the close button shows its hover image" until_ok 3 pixel_is 549 4 "$hover"
# Straight up out of the window, never crossing the background.
xdotool mousemove $((cx + 560)) $((cy - 40))
check "leaving the window from it settles the close button" \
  until_ok 5 pixel_is 549 4 "$(blended close_normal.png 5 3)"
check "hovering the minimise button shows its hover image" hover_button mini
xdotool mousemove $((cx + 528)) $((cy - 40))
check "and so does the minimise button" \
  until_ok 5 pixel_is $((515 + 5)) 4 "$(blended mini_normal.png 5 3)"

# A tooltip: a visible window of its own, a few dozen pixels tall.
tooltip_shown() {
  xdotool search --onlyvisible --name '' 2>/dev/null | while read -r w; do
    xdotool getwindowgeometry "$w" 2>/dev/null
  done | grep -qE 'Geometry: [0-9]+x[0-9]{2}$'
}
point_at 528 58; point_at 530 60
check "resting on the pin button shows its tooltip" until_ok 5 tooltip_shown

drag() { # drag from window point by (dx, dy) with intermediate moves
  local p; p=($(position))
  pointer_to $((p[0] + $1)) $((p[1] + $2))
  xdotool mousedown 1
  local i
  for i in 1 2 3 4 5; do
    pointer_to $((p[0] + $1 + $3 * i / 5)) $((p[1] + $2 + $4 * i / 5))
  done
  xdotool mouseup 1
}
drag 450 15 60 40
check "a drag on the background moves the window" until_ok 3 at_position $((cx + 60)) $((cy + 40))
drag 50 40 80 80
moved() { ! at_position $((cx + 60)) $((cy + 40)); }
check "a drag on the logo does not" never 2 moved

minimise_button
check "minimise minimises the window" until_ok 10 minimised
check "the program is still running" kill -0 "$wpid"
stop

# --- second run: the close button -------------------------------------------
check "the window appears again" start
close_button
check "a click on the close button ends the program" until_ok 10 ended "$wpid"
wait "$wpid"; code=$?; wpid=""
check "with exit code 0 (got $code)" [ "$code" -eq 0 ]

echo "main window: $failures failure(s)"
[ "$failures" -eq 0 ]
