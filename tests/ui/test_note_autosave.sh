#!/usr/bin/env bash
# The note file under the running program: created at start, rewritten by the
# auto-save tick with what was typed (Chinese included), written once more by
# the close button, loaded again at the next start, and saved while minimised;
# an unchanged note is not written again, one deleted behind its back is, one
# changed there comes into the editor.
set -uo pipefail
source "$(dirname "$0")/program.sh"

# The file is watched from the launch on: the start creates it 10 s before
# the first tick empties it, and the window may take seconds to appear.
launch
check "a missing note file is created holding CR LF" until_ok 40 bytes_are "$note" "0d 0a"
check "the window appears" until_ok 40 has_window
check "the first tick empties it" until_ok 15 bytes_are "$note" ""

editor_click
xdotool type --delay 30 "hello"
xdotool key Return
type_unicode "今天买菜"
check "the next tick writes the typed and pasted text in GBK" \
  until_ok 15 bytes_are "$note" "68 65 6c 6c 6f 0d 0a bd f1 cc ec c2 f2 b2 cb 0d 0a"

xdotool type --delay 30 "XYZ"
hover_button close
check "no tick has saved it before the click" note_is "$note" "$(printf 'hello\r\n今天买菜\r')"
xdotool click 1
check "the close button ends the program" until_ok 10 ended "$wpid"
wait "$wpid"; code=$?; wpid=""
check "with exit code 0 (got $code)" [ "$code" -eq 0 ]
check "after writing the text of that moment" note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r')"
note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r')" || show "$note"

# A side file equal to the note: the first tick removes it (so a tick has
# run) and has nothing to write.
side="$work/Data/content.unsaved-whole.ini" # the whole text of a failed save
cp "$note" "$side"
check "a restart shows the note again and keeps its bytes" start
stamp=$(stat -c %y "$note")
stamp_changed() { [ "$(stat -c %y "$note")" != "$stamp" ]; }
check "the tick after loading does not write the unchanged note again" never 11 stamp_changed
check "though a tick ran" test ! -e "$side"
check "and the file is as it was" note_is "$note" "$(printf 'hello\r\n今天买菜XYZ\r')"

printf 'changed elsewhere\r\n' >"$note"
check "a note changed by another program, nothing typed here: the editor takes it" \
  until_ok 15 editor_is "changed elsewhere"
check "and the note keeps it" note_is "$note" "$(printf 'changed elsewhere\r')"

editor_click
xdotool type --delay 30 "!"
check "the next tick keeps the note and adds to it" \
  until_ok 15 note_is "$note" "$(printf 'changed elsewhere\r\n!\r')"

minimise_button
check "minimise minimises the window" until_ok 10 minimised
rm -f "$note"
# A new file takes the editor's text as one line: "!" has no line end of its own.
check "the timer keeps writing while the window is minimised" \
  until_ok 15 note_is "$note" "$(printf 'changed elsewhere\r\n!\r')"
stop

echo "note auto-save: $failures failure(s)"
[ "$failures" -eq 0 ]
