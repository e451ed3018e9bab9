#!/usr/bin/env bash
# Every orderly end writes the note first: "退出程序" in the system menu, a
# close command (Alt+F4), and the end of the session (log off). Each run
# types right after an auto-save tick and checks, just before it leaves, that
# no tick has saved the typed text yet: only the exit can have written it.
set -uo pipefail
source "$(dirname "$0")/program.sh"
mkdir -p "$work/Data"

# typed_then WHAT TEXT: a run that types TEXT after the first tick.
typed_then() {
  printf 'old' >"$note"
  check "the window appears ($1)" start
  check "the first tick rewrites the loaded note" first_tick
  editor_click
  xdotool type --delay 20 "$2"
}
# unsaved: right before the key that ends the program, no tick has saved the
# typed text: only the exit can write it.
unsaved() { check "no tick has saved it yet" bytes_are "$note" "6f 6c 64 0d 0a"; }
# ended_with TEXT: the program ended by itself, and the note holds TEXT on
# the line after "old".
ended_with() {
  check "the program ends" until_ok 15 ended "$wpid"
  wait "$wpid"; local code=$?; wpid=""
  check "with exit code 0 (got $code)" [ "$code" -eq 0 ]
  check "having written the typed text" note_is "$note" "$(printf 'old\r\n%s\r' "$1")"
  note_is "$note" "$(printf 'old\r\n%s\r' "$1")" || show "$note"
}

typed_then "退出程序" "menu"
check "the system menu opens" options_menu
unsaved
xdotool key Up Return
ended_with "menu"

typed_then "Alt+F4" "close"
xdotool windowactivate --sync "$win" 2>/dev/null
unsaved
xdotool key alt+F4
ended_with "close"

typed_then "end of session" "logoff"
unsaved
wineboot --end-session >/dev/null 2>&1
ended_with "logoff"

echo "note exit: $failures failure(s)"
[ "$failures" -eq 0 ]
