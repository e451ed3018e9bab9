#!/usr/bin/env bash
# Words are never lost: typed text that the note could not take at log-off
# or at the close button (a read-only note) waits in Data\content.unsaved-whole.ini
# and is back in the editor at the next start; a change another program makes
# to the note while Tabulon runs is taken, or kept beside it when both changed.
set -uo pipefail
source "$(dirname "$0")/program.sh"
side="$work/Data/content.unsaved-whole.ini"

# restart_with TEXT: the next start shows TEXT and tells the user once; the
# next tick writes it to the note and the side file goes.
restart_with() {
  chmod u+w "$note"
  launch
  check "the next start tells that the words are back" until_ok 40 has_box
  dismiss
  check "the window appears" until_ok 10 has_window
  check "with the words in the editor" [ "$(editor_text | tr -s '\n')" = "$1" ]
  check "a tick puts them in the note" until_ok 15 note_is "$note" "$(printf '%s\r' "${1//$'\n'/$'\r\n'}")"
  check "and the side file goes" until_ok 5 test ! -e "$side"
}

printf 'old' >"$note"
check "the window appears" start
check "the first tick rewrites the loaded note" first_tick
editor_click
xdotool type --delay 20 "logoff"
chmod a-w "$note" # read-only: every write of the note is refused
wineboot --end-session >/dev/null 2>&1
check "log-off ends the program" until_ok 15 ended "$wpid"
wait "$wpid"; wpid=""
check "the words wait in the side file" note_is "$side" "$(printf 'old\r\nlogoff\r')"
check "the read-only note is unchanged" bytes_are "$note" "6f 6c 64 0d 0a"
restart_with "$(printf 'old\nlogoff')"

editor_click
xdotool type --delay 20 "close"
chmod a-w "$note"
# enter_in_next_box: presses Enter in the next box that opens.
new_box() { has_box && [ "$boxwin" != "${last_box:-}" ]; }
enter_in_next_box() {
  until_ok 10 new_box || return 1
  last_box=$boxwin
  xdotool windowactivate --sync "$boxwin" 2>/dev/null; xdotool key --window "$boxwin" Return
}
close_button
check "the close button shows the error box" enter_in_next_box
check "then the choice to leave" enter_in_next_box
check "Enter keeps the text aside and leaves" until_ok 15 ended "$wpid"
wait "$wpid"; wpid=""
check "the words wait in the side file" note_is "$side" "$(printf 'old\r\nlogoff\r\nclose\r')"
restart_with "$(printf 'old\nlogoff\nclose')"

# Another program changes the note: with nothing typed here, the editor takes it.
printf 'notepad\r\n' >"$note"
check "an outside change with nothing typed here comes into the editor" until_ok 15 editor_is notepad
check "and the note keeps it" bytes_are "$note" "6e 6f 74 65 70 61 64 0d 0a"
editor_click
xdotool type --delay 20 "ours"
printf 'sync\r\n' >"$note"
check "both changed: the user is told" until_ok 15 has_box
dismiss
check "ours is written" note_is "$note" "$(printf 'notepad\r\nours\r')"
kept=$(ls "$work/Data" | grep -E '^content\.[0-9]{8}-[0-9]{6}\.ini$')
check "theirs is kept beside as content.<time>.ini" note_is "$work/Data/$kept" "$(printf 'sync\r')"
stop

echo "note kept: $failures failure(s)"
[ "$failures" -eq 0 ]
