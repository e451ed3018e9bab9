#!/usr/bin/env bash
# The main window at 120, 144 and 192 DPI (Wine's LogPixels) in a private
# Xvfb: its scaled size, centred; the border, background and editor colours
# at the scaled places; the close button's hover image under the pointer at
# its scaled position; typed text as tall as the scaled font (against a run
# at 96 DPI); a pin. Runs in a Wine prefix of its own, since the DPI is read
# when Wine starts. Screenshots go to build/ui-artifacts/window-<dpi>.png.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../tools/wine-env.sh"
export WINEPREFIX="${TABULON_SCALED_PREFIX:-$here/../../build/wineprefix-scaled$TABULON_WINE_SUFFIX}"
source "$here/program.sh"
art="$root/build/ui-artifacts"
mkdir -p "$art"
bg="$work/source/DeskTopBG"
on_cleanup() { wineserver -k 2>/dev/null; }


# cap_height: the height in pixels of the capital letters typed into the
# editor, measured over the middle of the line (the caret stands at its end).
cap_height() {
  local p; p=($(position))
  import -window root -crop "$(at 300)x$(at 60)+$((p[0] + $(at 220)))+$((p[1] + $(at 82)))" +repage \
    -depth 8 "$work/ink.ppm" 2>/dev/null
  convert "$work/ink.ppm" "$art/ink-$dpi.png" 2>/dev/null
  python3 - "$work/ink.ppm" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
parts = data.split(maxsplit=4)
w, h, body = int(parts[1]), int(parts[2]), parts[4]
step = 1 if int(parts[3]) < 256 else 2  # bytes per sample; the high byte first
dark = lambda x, y: sum(body[(y * w + x) * 3 * step:(y * w + x + 1) * 3 * step:step]) < 300
cols = [x for x in range(w) if any(dark(x, y) for y in range(h))]
if not cols:
    print(0); sys.exit()
span = cols[-1] - cols[0]
middle = range(cols[0] + span // 5, cols[-1] - span // 5)
rows = [y for y in range(h) for x in middle if dark(x, y)]
if not rows:
    print(0); sys.exit()
print(max(rows) - min(rows) + 1)
PY
}

# run_at DPI: starts the program at that DPI with a short note and leaves it
# running, `win` set.
run_at() {
  dpi=$1
  kill_wine_session
  set_dpi "$dpi"
  kill_wine_session
  printf '明天上午十点 开会\r\n给植物浇水 √\r\nBuy milk and bread\r\n' | iconv -f UTF-8 -t GBK >"$note"
  main_size="$(at 584)x$(at 382)"
  start
}
editor_focused() { probe focus | grep -qi '^richedit'; }
# type_letters: a line of capital H at the start of an empty note, in the
# editor; letters_shown: some of it is on screen (`cap` its cap height).
type_letters() {
  click_at "$(at 400)" "$(at 200)"
  until_ok 10 editor_focused
  xdotool key ctrl+a Delete
  until_ok 10 editor_is ""
  xdotool type --delay 40 "HHHHHH"
  until_ok 10 editor_is "HHHHHH"
}
letters_shown() { cap=$(cap_height); [ "$cap" -gt 0 ]; }

# --- the reference at 96 DPI --------------------------------------------------
check "the window appears at 96 DPI" run_at 96
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
type_letters
until_ok 10 letters_shown
base_cap=$cap
check "typed letters show at 96 DPI (cap height $base_cap)" [ "$base_cap" -ge 6 ]
stop

for dpi_run in 120 144 192; do
  echo "-- $dpi_run DPI"
  stop
  check "the window appears at $dpi_run DPI, $(( (584 * dpi_run + 48) / 96 )) x $(( (382 * dpi_run + 48) / 96 ))" run_at "$dpi_run"
  [ -n "${win:-}" ] || { probe list | sed "s/^/     /"; continue; } # what Windows shows instead
  W=$(at 584); H=$(at 382)
  check "it is centred on the screen" at_position $(( (1280 - W) / 2 )) $(( (1024 - H) / 2 ))
  # Each waits for the first paint of its part of the window.
  skin="216 227 243"
  check "the border has the skin colour at its corner" until_ok 5 pixel_is 0 0 "$skin"
  check "and at the far corner" until_ok 5 pixel_is $((W - 1)) $((H - 1)) "$skin"
  check "the background has the skin colour" until_ok 5 pixel_is "$(at 300)" "$(at 5)" "$skin"
  check "the editor is pale yellow at its scaled place" until_ok 5 pixel_is "$(at 400)" "$(at 200)" "255 255 218"
  check "and reaches the scaled right edge of its panel" until_ok 5 pixel_is "$(( $(at 576) - 1 ))" "$(at 300)" "255 255 218"
  check "the left panel is skin blue beside it" until_ok 5 pixel_is "$(at 210)" "$(at 300)" "$skin"
  import -window "$win" "$art/window-$dpi.png" 2>/dev/null

  # The close button: hovered at its scaled centre.
  point_at "$(at 300)" "$(at 5)"; until_ok 5 buttons_settled
  point_at "$(at 563)" "$(at 11)"
  cx=$(( $(at 544) + $(at 5) )); cy=$(( $(at 1) + $(at 3) ))
  case $dpi in
    144) want="$(blended close_highlight_150.png "$(at 5)" "$(at 3)")" ;;
    192) want="$(blended close_highlight_200.png "$(at 5)" "$(at 3)")" ;;
    *) want="" ;;
  esac
  if [ -n "$want" ]; then
    check "hovering the close button shows its hover picture at the scaled place" \
      until_ok 5 pixel_is "$cx" "$cy" "$want"
  else
    check "hovering the close button shows its hover picture at the scaled place" \
      until_ok 5 reddish "$cx" "$cy"
  fi
  check "and the point left of the minimise button stays background" pixel_is "$(at 500)" "$(at 10)" "$skin"
  point_at "$(at 300)" "$(at 5)"; until_ok 5 buttons_settled

  type_letters
  until_ok 10 letters_shown
  want_cap=$(( (base_cap * dpi + 48) / 96 ))
  check "typed letters are as tall as the scaled font ($cap px, about $want_cap)" \
    [ "$cap" -ge $((want_cap - 2)) -a "$cap" -le $((want_cap + 2)) ]

  pin
  check "a pin writes Mix.bmp" pinned 30
  close_button
  check "the close button at its scaled place ends the program" until_ok 15 ended "$wpid"
  wait "$wpid" 2>/dev/null; wpid=""
done
echo "screenshots: $art/window-*.png"

echo "scaled window: $failures failure(s)"
[ "$failures" -eq 0 ]
