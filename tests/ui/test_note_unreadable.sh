#!/usr/bin/env bash
# A note that cannot be read at start (NUL bytes, no byte-order mark: not a
# text the editor can take whole) is never overwritten: the error box comes
# at start, what is typed goes to Data\content.unsaved.ini, the user is told
# once where it is, and the close button writes the side file too.
set -uo pipefail
source "$(dirname "$0")/program.sh"
side="$work/Data/content.unsaved.ini"
mkdir -p "$work/Data"
printf 'keep\000these\r\nbytes\r\n' >"$note"
original=$(bytes "$note")

launch
check "an error box appears at start" until_ok 40 has_box
dismiss
check "then the main window opens" until_ok 10 has_window
editor_click
xdotool type --delay 20 "typed"
check "a tick puts the typed text in the side file" until_ok 15 note_is "$side" "$(printf 'typed\r')"
check "and tells the user once" until_ok 10 has_box
dismiss
check "the note keeps its bytes" bytes_are "$note" "$original"

editor_click
xdotool type --delay 20 " more"
check "later ticks update the side file" until_ok 15 note_is "$side" "$(printf 'typed more\r')"
check "without telling again" boxes_are 0
xdotool type --delay 20 " last"
hover_button close
check "no tick has saved it before the click" note_is "$side" "$(printf 'typed more\r')"
xdotool click 1
check "the close button ends the program" until_ok 15 ended "$wpid"
wait "$wpid"; wpid=""
check "after writing the side file" note_is "$side" "$(printf 'typed more last\r')"
check "the note still keeps its bytes" bytes_are "$note" "$original"

echo "unreadable note: $failures failure(s)"
[ "$failures" -eq 0 ]
