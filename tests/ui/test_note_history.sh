#!/usr/bin/env bash
# Nothing the note held is lost: words typed while another program held the
# note follow it at the next start; a text another program puts in the
# editor, and select-all and a key, leave the text before them in the
# history; "历史版本" brings a version back, and a tick saves it.
set -uo pipefail
source "$(dirname "$0")/program.sh"
side="$work/Data/content.unsaved.ini"
history="$work/Data/history"
# in_history TEXT: a version of the history holds exactly TEXT.
in_history() {
  local f
  for f in "$history"/content.*.ini; do note_is "$f" "$1" && return 0; done
  return 1
}
dos() { printf 'Z:%s' "${1//\//\\}"; }
# shows TEXT: the editor shows TEXT (the probe gives a paragraph end as two line ends).
shows() { [ "$(editor_text | tr -s '\n')" = "$1" ]; }
history_window() { xdotool search --onlyvisible --name '^历史版本$' >/dev/null 2>&1; }

# (a) The note is held past the retries at start; the words typed go aside.
mkdir -p "$work/Data"
printf 'precious\r\n' >"$note"
: >"$base/release"
probe hold "$(dos "$note")" "$(dos "$base/release")" 0 >"$base/held" &
holder=$!
until_ok 20 grep -qs held "$base/held"
launch
check "a held note is reported at start" until_ok 60 has_box
dismiss
check "the window appears" until_ok 10 has_window
editor_click
xdotool type --delay 20 "typed"
check "a tick puts the words aside" until_ok 15 note_is "$side" "$(printf 'typed\r')"
check "the user is told where" until_ok 10 has_box
dismiss
close_button
check "the close button ends the program" until_ok 15 ended "$wpid"
wait "$wpid"; wpid=""
echo released >"$base/release"
wait "$holder"
# The next start comes in a Wine session of its own, as after a logon.
end_wine_session
launch
check "the next start tells that the words are back" until_ok 40 has_box ||
  { echo "     running: $(ended "$wpid" && echo no || echo yes); Data: $(ls "$work/Data" | tr '\n' ' ')"
    echo "     windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"; }
dismiss
check "the window appears again" until_ok 10 has_window
check "the editor shows the note, then the words" shows "$(printf 'precious\ntyped')"
check "the next tick writes both" until_ok 15 note_is "$note" "$(printf 'precious\r\ntyped\r')"
check "the note as it was is in the history" in_history "$(printf 'precious\r')"
check "the side file is gone" [ ! -e "$side" ]

# (b) Another program empties the note while nothing is typed here.
: >"$note"
check "the editor takes the empty note" until_ok 15 editor_is ""
check "the text it had is in the history" in_history "$(printf 'precious\r\ntyped\r')"

# (c) Select-all and a key; the tick writes it; after a restart "历史版本"
# brings the text back.
editor_click
xdotool type --delay 20 "keep this text"
check "a tick writes the text" until_ok 15 note_is "$note" "$(printf 'keep this text\r')"
xdotool key ctrl+a
xdotool type "x"
check "a tick writes the slip" until_ok 15 note_is "$note" "$(printf 'x\r')"
check "the text before it is in the history" in_history "$(printf 'keep this text\r')"
close_button
check "the program ends" until_ok 15 ended "$wpid"
wait "$wpid"; wpid=""
check "the window appears after a restart" start
options_menu && xdotool key Down Down Down Return
check "历史版本 opens the history window" until_ok 10 history_window
xdotool key alt+r # 恢复此版本, on the newest version, chosen when the window opens
check "the version comes back in the editor" until_ok 10 editor_is "keep this text"
check "a tick saves it" until_ok 15 note_is "$note" "$(printf 'keep this text\r')"
check "the text it replaced is a version too" in_history "$(printf 'x\r')"
stop

echo "note history: $failures failure(s)"
[ "$failures" -eq 0 ]
