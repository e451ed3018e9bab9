#!/usr/bin/env bash
# The note file under the running program: created at start, rewritten by the
# auto-save tick with what was typed (Chinese included),
# written once more by the close button; an unchanged note is not written
# again, one changed or deleted behind its back is.
set -uo pipefail
source "$(dirname "$0")/program.sh"

check "the window appears" start
check "a missing note file is created holding CR LF" until_ok 5 bytes_are "$note" "0d 0a"
check "the first tick empties it" until_ok 15 bytes_are "$note" ""

editor_click
xdotool type --delay 30 "hello"
xdotool key Return
type_unicode "今天买菜"
check "the next tick writes the typed and pasted text in GBK" \
  until_ok 15 bytes_are "$note" "68 65 6c 6c 6f 0d 0a bd f1 cc ec c2 f2 b2 cb 0d 0a"

before=$(bytes "$note")
xdotool type --delay 30 "XYZ"
close_button
check "the close button ends the program" until_ok 10 ended "$wpid"
wait "$wpid"; code=$?; wpid=""
check "with exit code 0 (got $code)" [ "$code" -eq 0 ]
check "after writing the text of that moment" note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r')"
note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r')" || show "$note"
[ "$(bytes "$note")" != "$before" ] || echo "     (the file was not rewritten)"

check "a restart shows the note again and keeps its bytes" start
stamp=$(stat -c %y "$note")
sleep 11
check "the tick after loading leaves the file as it was" \
  note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r')"
check "and does not even write it again" [ "$(stat -c %y "$note")" = "$stamp" ]

printf 'changed elsewhere\r\n' >"$note"
check "a note changed by another program is written again at the next tick" \
  until_ok 15 note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r')"

p=($(position))
xdotool mousemove $((p[0] + 300)) $((p[1] + 5)); sleep 0.1
xdotool mousemove $((p[0] + 528)) $((p[1] + 10)); sleep 0.2
xdotool click 1
# Wine leaves a minimised window's X window in place when no window manager
# runs: the minimised state is asked of Windows itself.
minimised() { [ "$(probe iconic)" = 1 ]; }
check "minimise minimises the window" until_ok 10 minimised
rm -f "$note"
check "the timer keeps writing while the window is minimised" \
  until_ok 15 note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r\n\r')"
stop

echo "note auto-save: $failures failure(s)"
[ "$failures" -eq 0 ]
