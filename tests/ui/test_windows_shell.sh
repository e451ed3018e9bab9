#!/usr/bin/env bash
# What a real Windows 10/11 shell needs of the program, under Wine in a
# private Xvfb with two monitors side by side (Xinerama): the window opens
# wholly inside the monitor under the pointer; the main window is the one
# window the taskbar lists (WS_EX_APPWINDOW, unowned); minimise leaves the
# button and the taskbar's restore brings the window back; a failed start
# reports, ends with exit code 1 and does not crash.
set -uo pipefail
display_kind=two-monitors
source "$(dirname "$0")/program.sh"
# Wine asks XRandR for the monitors where its libXrandr is installed (the
# 64-bit one is), and Xephyr's XRandR shows one screen: take Xinerama's.
x11_key='HKCU\Software\Wine\X11 Driver'
wine reg add "$x11_key" /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
on_cleanup() { wine reg delete "$x11_key" /v UseXRandR /f >/dev/null 2>&1; }
# Wine reads the monitors when its session starts: start a fresh one here.
kill_wine_session

# inside_screen N: the window lies wholly inside screen N (0 left, 1 right).
inside_screen() {
  local p; p=($(position))
  local left=$(( $1 * 1280 ))
  [ "${p[0]}" -ge "$left" ] && [ $(( p[0] + 584 )) -le $(( left + 1280 )) ] &&
    [ "${p[1]}" -ge 0 ] && [ $(( p[1] + 382 )) -le 1024 ]
}
two_monitors() { [ "$(probe monitors | grep -c '^monitor')" -eq 2 ]; }

check "Wine sees two monitors" two_monitors

# --- pointer on the right monitor ----------------------------------------------
xdotool mousemove 1900 500
check "the program starts with the pointer on the right monitor" start
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
check "the window lies wholly inside the right monitor" inside_screen 1
check "centred in it" at_position $(( 1280 + (1280 - 584) / 2 )) $(( (1024 - 382) / 2 ))

list="$(probe taskbar)"
echo "$list" | sed 's/^/     /'
check "the main window is an unowned application window" \
  grep -q 'owned=0 appwindow=1 toolwindow=0 taskbar=1 main' <<<"$list"
check "and the only window of the program in the taskbar" grep -qx 'listed=1 main-listed=1' <<<"$list"

p=($(position))
minimise_button
iconic() { [ "$(probe iconic)" = "$1" ]; }
# Without a window manager Wine leaves a minimised window's X window in place:
# the minimised state is asked of Windows itself.
check "minimise minimises the window" until_ok 10 iconic 1
check "minimised, not hidden: its taskbar button stays" \
  grep -qx 'listed=1 main-listed=1' <<<"$(probe taskbar)"
probe restore
check "the taskbar's restore brings it back" until_ok 10 iconic 0
back_where_it_was() { has_window && [ "$(position)" = "${p[0]} ${p[1]}" ]; }
check "at its size and where it was" until_ok 10 back_where_it_was
stop

# --- pointer on the left monitor -----------------------------------------------
xdotool mousemove 300 500
check "started with the pointer on the left monitor" start
check "the window lies wholly inside the left monitor" inside_screen 0
stop

# --- a failed start ---------------------------------------------------------------
# Without any rich edit library the note editor cannot be built: start-up fails
# after the application and part of the main window exist.
(cd "$work" && WINEDLLOVERRIDES="msftedit,riched20=d;mscoree=;mshtml=" exec wine Tabulon.exe) &
wpid=$!
error_box() { xdotool search --onlyvisible --name '^Tabulon$' >/dev/null 2>&1; }
check "a failed start shows the error box" until_ok 40 error_box
box=$(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null | head -n1)
xdotool windowfocus --sync "$box" 2>/dev/null
# The box takes the key once Windows has made it the foreground window.
box_in_front() { [ "$(probe foreground)" = '#32770' ]; }
check "the box comes to the front" until_ok 10 box_in_front
xdotool key --clearmodifiers Return
check "and ends once it is closed" until_ok 15 ended "$wpid"
wait "$wpid"; code=$?; wpid=""
check "with exit code 1 (got $code)" [ "$code" -eq 1 ]
no_crash_dialog() { ! xdotool search --onlyvisible --name '程序错误|Program Error' >/dev/null 2>&1; }
check "and no crash report" no_crash_dialog

echo "windows shell: $failures failure(s)"
[ "$failures" -eq 0 ]
