# Shared set-up of the UI tests: a private copy of the program folder and a
# private X server; `start` runs the program there, `stop` ends what is left.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
wine_prefix_ready

dist="${TABULON_DIST:-$root/dist/Tabulon}"
[ -f "$dist/Tabulon.exe" ] || { echo "no $dist/Tabulon.exe (make dist)"; exit 1; }
work="$(mktemp -d)"
cp -r "$dist/." "$work/" # the program writes beside itself; keep dist clean
note="$work/Data/content.ini"
wpid=""
# A test may define on_cleanup for its own tidying up.
cleanup() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null
  if declare -F on_cleanup >/dev/null; then on_cleanup; fi
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
# A test may set SCREEN_SIZE (WxH) or display_kind=two-monitors before sourcing this file.
start_display "${display_kind:-${SCREEN_SIZE:-}}"

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
