# Shared set-up of the UI tests: a private copy of the program folder and a
# private X server; `start` runs the program there, `stop` ends what is left.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
wine_prefix_ready

dist="${TABULON_DIST:-$TABULON_TEST_DIST}"
[ -f "$dist/Tabulon.exe" ] || { echo "no $dist/Tabulon.exe (make dist)"; exit 1; }
work="$(mktemp -d)"
base="$work" # the private folder, removed at the end
cp -r "$dist/." "$work/" # the program writes beside itself; keep dist clean
note="$work/Data/content.ini"
wpid=""
# A test may define on_cleanup for its own tidying up.
cleanup() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null
  if declare -F on_cleanup >/dev/null; then on_cleanup; fi
  kill_wine_session
  stop_display
  rm -rf "$base"
}
trap cleanup EXIT
# A Wine session outliving an earlier script is bound to that script's X
# server (its desktop, its monitors): every test starts a session of its own.
kill_wine_session
# A test may set SCREEN_SIZE (WxH) or display_kind=two-monitors before sourcing this file.
start_display "${display_kind:-${SCREEN_SIZE:-}}"

# stop: ends the program if it still runs (never another Wine process).
stop() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null
  wait "$wpid" 2>/dev/null
  wpid=""
}
# deep_copy: a copy of the program in a folder whose path is longer than 260
# characters, $deep, becomes the one `start` runs.
deep_copy() {
  deep="$base"
  while [ ${#deep} -lt 300 ]; do deep="$deep/一个很长的文件夹名字 a long folder name"; done
  mkdir -p "$deep"
  cp -r "$dist/." "$deep/"
  work="$deep"
}
# no_help_browser: Wine starts no browser for the help pages (winebrowser
# asks xdg-open); they go to the emptied folder $temp_pages.
no_help_browser() {
  export BROWSER=true
  temp_pages="$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")/Tabulon"
  rm -rf "$temp_pages"
}
# editor_click: puts the caret at the end of the note.
editor_click() {
  xdotool windowactivate --sync "$win" 2>/dev/null
  click_at 500 300
  xdotool key ctrl+End
}
# bytes FILE: the file as hex, e.g. "61 62 0d 0a".
bytes() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }
bytes_are() { [ -f "$1" ] && [ "$(bytes "$1")" = "$2" ]; }
# show FILE: prints the file's bytes (after a failed check).
show() { echo "     $(basename "$1"): $( [ -f "$1" ] && bytes "$1" || echo missing)"; }
# boxes: our message boxes, i.e. visible "Tabulon" windows other than the
# main window and the 1 x 1 application window.
boxes() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -qE 'Geometry: (584x382|1x1)$' || echo "$w"
  done
}
boxes_are() { [ "$(boxes | wc -l)" -eq "$1" ]; }
has_box() { boxwin=$(boxes | head -n1); [ -n "$boxwin" ]; }
# dismiss: presses OK (Return) in every open box and waits until they are gone.
dismiss() {
  local w
  for w in $(boxes); do
    xdotool windowactivate --sync "$w" 2>/dev/null; xdotool key --window "$w" Return 2>/dev/null
  done
  until_ok 10 boxes_are 0
}
# first_tick: waits for the first auto-save tick after a start with the
# note "old" (3 bytes), which the tick rewrites as "old" CR LF; from then on
# a test has about 10 s before the next tick.
first_tick() { until_ok 25 bytes_are "$note" "6f 6c 64 0d 0a"; }
