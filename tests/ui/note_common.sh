# Shared set-up of the note UI tests: a private copy of the program folder and
# a private X server; `start` runs the program there, `finish` ends what is left.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
wine_prefix_ready

dist="${TABULON_DIST:-$root/dist/Tabulon}"
[ -f "$dist/Tabulon.exe" ] || { echo "no $dist/Tabulon.exe (make dist)"; exit 1; }
work="$(mktemp -d)"
cp -r "$dist/." "$work/" # the program writes beside itself; keep dist clean
note="$work/Data/content.ini"
wpid=""
cleanup() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
start_display

start() {
  (cd "$work" && exec wine Tabulon.exe) &
  wpid=$!
  until_ok 40 has_window
}
# stop: ends the program if it still runs (never another Wine process).
stop() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null
  wait "$wpid" 2>/dev/null
  wpid=""
}
# editor_click: puts the caret at the end of the note.
editor_click() {
  xdotool windowactivate --sync "$win" 2>/dev/null
  sleep 0.3
  click_at 500 300
  sleep 0.3
  xdotool key ctrl+End
}
# type_unicode TEXT: types any text into the focused control. xdotool maps
# each character to a spare key, and Wine may miss the first such key, so one
# character is typed and erased first.
type_unicode() {
  xdotool type --delay 50 "预"; sleep 0.2
  xdotool key BackSpace; sleep 0.2
  xdotool type --delay 50 "$1"; sleep 0.2
}
# bytes FILE: the file as hex, e.g. "61 62 0d 0a".
bytes() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }
bytes_are() { [ -f "$1" ] && [ "$(bytes "$1")" = "$2" ]; }
# show FILE: prints the file's bytes (after a failed check).
show() { echo "     $(basename "$1"): $( [ -f "$1" ] && bytes "$1" || echo missing)"; }
# exit_menu: opens the system menu from "|  选项" and chooses "退出程序".
exit_menu() {
  click_at 450 62
  sleep 0.5
  xdotool key Up Return
}
