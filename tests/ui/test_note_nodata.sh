#!/usr/bin/env bash
# Start without the folder Data: the error box comes during start-up, before
# the main window; the window then opens. Each failing tick reports again, but
# never stacks a second box on one still open; once the folder exists the next
# tick creates the note file.
set -uo pipefail
source "$(dirname "$0")/program.sh"

rm -rf "$work/Data"
launch
check "an error box appears during start-up" until_ok 40 boxes_are 1
check "before the main window" no_window
dismiss
check "then the main window opens" until_ok 10 has_window
check "the box has gone" boxes_are 0

check "a failing tick reports again" until_ok 15 boxes_are 1
# Two more ticks while that box stays open: each would open a box of its own.
check "later ticks do not stack a second box" never 21 boxes_are 2
check "the program keeps running" kill -0 "$wpid"

mkdir -p "$work/Data"
dismiss
check "once the folder exists the next tick creates the note" until_ok 15 bytes_are "$note" "0d 0a"
check "without another box" boxes_are 0
stop

echo "note without Data: $failures failure(s)"
[ "$failures" -eq 0 ]
