#!/usr/bin/env bash
# Leaving without the close button loses what was typed since the last tick:
# "退出程序" in the system menu and a close command end the program at once,
# without writing the note file.
set -uo pipefail
source "$(dirname "$0")/program.sh"

mkdir -p "$work/Data"
printf 'old\r\n' >"$note"

# Each run types and leaves well inside the first 10 s, before any tick.
check "the window appears" start
editor_click
xdotool type --delay 20 "fresh"
exit_menu
check "退出程序 ends the program" until_ok 10 ended "$wpid"
wait "$wpid"; code=$?; wpid=""
check "with exit code 0 (got $code)" [ "$code" -eq 0 ]
check "without writing the note" bytes_are "$note" "6f 6c 64 0d 0a"

check "the window appears again" start
editor_click
xdotool type --delay 20 "fresh"
xdotool windowactivate --sync "$win" 2>/dev/null
xdotool key alt+F4
check "a close command ends the program" until_ok 10 ended "$wpid"
wait "$wpid"; wpid=""
check "without writing the note" bytes_are "$note" "6f 6c 64 0d 0a"

echo "note exit: $failures failure(s)"
[ "$failures" -eq 0 ]
