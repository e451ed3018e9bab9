#!/usr/bin/env bash
# The note editor keeps the caret in view, without scroll bars: in a note of
# 30 lines, Ctrl+End and typing, Enter on the last line, Page Up/Down and the
# mouse wheel; what was typed is saved. The editor's scroll position comes
# from the program itself (winprobe editor: EM_GETFIRSTVISIBLELINE).
set -uo pipefail
source "$(dirname "$0")/program.sh"

for i in $(seq 1 30); do printf '第%d行 line %d\r\n' "$i" "$i"; done | iconv -f UTF-8 -t GBK >"$note"

# view_field NAME: first, caret or lines from winprobe.
view_field() { probe editor | tr ' ' '\n' | sed -n "s/^$1=//p"; }
# caret_shows: the caret's line is among the 16 lines the editor shows.
caret_shows() {
  local v; v=($(probe editor | sed 's/[a-z]*=//g'))
  [ "${#v[@]}" -eq 3 ] && [ "${v[1]}" -ge "${v[0]}" ] && [ $(( v[1] - v[0] )) -lt 16 ]
}
first_is_zero() { [ "$(view_field first)" = 0 ]; }
first_above() { [ "$(view_field first)" -gt "$1" ]; }
caret_on_last_line() {
  local v; v=($(probe editor | sed 's/[a-z]*=//g'))
  [ "${#v[@]}" -eq 3 ] && [ "${v[1]}" -eq $(( v[2] - 1 )) ]
}

check "the program starts with a note of 30 lines" start
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
check "the view starts at line 1" first_is_zero

editor_click # clicks into the note and presses Ctrl+End
xdotool type --delay 50 "after line 30"
check "after Ctrl+End and typing the caret's line is on screen" until_ok 5 caret_shows
check "the view has left line 1" first_above 0
xdotool key Return Return Return
xdotool type --delay 50 "new line"
check "Enter on the last line keeps the caret on screen" until_ok 5 caret_shows

xdotool key ctrl+Home
check "Ctrl+Home goes back to line 1" until_ok 5 first_is_zero
xdotool key Next
check "Page Down scrolls the view" until_ok 5 first_above 0
check "with the caret on screen" caret_shows
xdotool key Prior Prior
check "Page Up scrolls it back" until_ok 5 first_is_zero
point_at 400 200
xdotool click 5 click 5 click 5
check "the mouse wheel scrolls the view" until_ok 5 first_above 0

# Ctrl+V and Shift+Insert paste the clipboard's text (the control's own keys).
# Each key waits for what the one before did: Wine has the X selection, the
# caret is on the last line, the first paste is in.
printf '剪贴板 clip' | xclip -selection clipboard
until_ok 10 wine_clipboard_is '剪贴板 clip'
xdotool key ctrl+End
until_ok 5 caret_on_last_line
xdotool key ctrl+v
until_ok 10 editor_has '剪贴板 clip'
xdotool key shift+Insert
until_ok 10 editor_has '剪贴板 clip剪贴板 clip'
xdotool type --delay 50 "END"
close_button
check "the close button ends the program" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""
check "what was typed below the first screen is saved" note_has "$note" "after line 30"
check "and the lines typed after Enter" note_has "$note" "new line"
check "Ctrl+V and Shift+Insert paste the clipboard's text" note_has "$note" "剪贴板 clip剪贴板 clipEND"

[ "$failures" -eq 0 ] || iconv -f GBK -t UTF-8 "$note" | tail -3 # what the note holds
echo "note view: $failures failure(s)"
[ "$failures" -eq 0 ]
