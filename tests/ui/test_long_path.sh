#!/usr/bin/env bash
# A program folder whose note path is longer than 260 characters: the note is
# created, saved and read again, and a pin writes its pictures.
set -uo pipefail
source "$(dirname "$0")/program.sh"

deep_copy
note="$deep/Data/content.ini"
bg="$deep/source/DeskTopBG"
echo "     note path: $(( ${#note} + 2 )) characters as Z:\\..."

check "the program starts from the deep folder" start
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
check "and creates its note file there" until_ok 10 bytes_are "$note" "0d 0a"
editor_click
xdotool type --delay 30 "long path note"
pin
check "a pin writes Mix.bmp there" pinned 20
close_button
check "the close button ends the program" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""
check "the note was saved" note_has "$note" "long path note"
check "the program starts again" start
close_button
check "and keeps the note" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""
check "unchanged" note_has "$note" "long path note"

echo "long path: $failures failure(s)"
[ "$failures" -eq 0 ]
