# Shared helpers of the scripts that drive Tabulon under Wine in a private
# Xvfb with xdotool. Source it after setting `root` to the repository root.
source "$root/tools/wine-env.sh"

failures=0
# check "what" command...: runs the command and counts a failure.
check() {
  local what="$1"; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
# until_ok SECONDS command...: polls the command every 0.1 s until it succeeds.
until_ok() {
  local limit=$(( $(date +%s%N) + ${1%.*} * 1000000000 )); shift
  while ! "$@"; do
    [ "$(date +%s%N)" -gt "$limit" ] && return 1
    sleep 0.1
  done
}
# never SECONDS command...: the command does not succeed once in that time
# (for what must not happen, e.g. a second box during two ticks).
never() { ! until_ok "$@"; }

# free_display: prints a display number nobody uses.
free_display() {
  local n d
  for n in $(seq 20); do
    d=":$((300 + RANDOM % 600))"
    [ -e "/tmp/.X11-unix/X${d#:}" ] || [ -e "/tmp/.X${d#:}-lock" ] || break
  done
  echo "$d"
}
# start_display [WxH | two-monitors]: a private X server (1280 x 1024 unless
# given) as DISPLAY; with "two-monitors", two 1280 x 1024 monitors side by side
# (Xinerama: Xephyr inside a private Xvfb, as Xvfb's own screens all lie at
# 0,0). stop_display ends them.
start_display() {
  local host="" size="${1:-1280x1024}"
  if [ "$size" = two-monitors ]; then
    host="$(free_display)"
    Xvfb "$host" -screen 0 2600x1100x24 -nolisten tcp >/dev/null 2>&1 &
    hostpid=$!
    DISPLAY="$host" until_ok 10 xdpyinfo >/dev/null 2>&1
  fi
  disp="$(free_display)"
  if [ -n "$host" ]; then
    DISPLAY="$host" Xephyr "$disp" +xinerama -screen 1280x1024+0+0 -screen 1280x1024+1280+0 \
      -nolisten tcp >/dev/null 2>&1 &
  else
    Xvfb "$disp" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  fi
  xpid=$!
  export DISPLAY="$disp"
  until_ok 10 xdpyinfo >/dev/null 2>&1
}
stop_display() {
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null; xpid=""
  [ -n "${hostpid:-}" ] && kill "$hostpid" 2>/dev/null; hostpid=""
}
# end_wine_session: waits (up to a minute) until this prefix's Wine session
# has ended, so that the next program starts a session on the current
# DISPLAY with the current settings (Wine reads its DPI when it starts).
end_wine_session() { timeout 60 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null; true; }

# main_window: prints the id of the visible "Tabulon" window of the main
# window's size: 584 x 382 at 96 DPI, `main_size` (e.g. "876x573") at another.
main_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: ${main_size:-584x382}\$" && { echo "$w"; return 0; }
  done
  return 1
}
has_window() { win=$(main_window); }
# probe WHAT: asks the running program through winprobe.exe (tests/ui/winprobe.cpp).
probe() { wine "${winprobe:-$root/build/win32/tests/ui/winprobe.exe}" "$@" 2>/dev/null | tr -d '\r'; }
no_window() { ! main_window >/dev/null; }
# minimised: the main window is minimised. Wine leaves a minimised window's X
# window in place when no window manager runs, so Windows itself is asked.
minimised() { [ "$(probe iconic)" = 1 ]; }
restored() { ! minimised && has_window; }
position() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p'; }
# click_at X Y: a left click at a point of the main window.
click_at() {
  local p; p=($(position))
  xdotool mousemove $((p[0] + $1)) $((p[1] + $2)); sleep 0.2
  xdotool click 1
}
# close_button: hovers the close button (its hover image takes the click) and clicks.
close_button() {
  local p; p=($(position))
  xdotool mousemove $((p[0] + 300)) $((p[1] + 5)); sleep 0.1
  xdotool mousemove $((p[0] + 560)) $((p[1] + 10)); sleep 0.2
  xdotool click 1
}
# minimise_button: hovers the minimise button (its hover image takes the click) and clicks.
minimise_button() {
  local p; p=($(position))
  xdotool mousemove $((p[0] + 300)) $((p[1] + 5)); sleep 0.1
  xdotool mousemove $((p[0] + 528)) $((p[1] + 10)); sleep 0.2
  xdotool click 1
}
# type_unicode TEXT: puts any text (Chinese too) into the focused control by
# pasting it: xdotool types such characters through spare keys, of which Wine
# may miss the first.
type_unicode() {
  printf '%s' "$1" | xclip -selection clipboard -i
  until_ok 5 clipboard_is "$1"
  xdotool key ctrl+v
}
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# menu_open: a popup menu is showing (a visible window without a name).
menu_open() {
  local w
  for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$w" 2>/dev/null)" ] || continue
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 1280x1024' && continue
    return 0
  done
  return 1
}
# bmp_complete FILE: the BMP file has the size its header states (a file
# written in slices passes only once the last one is in).
bmp_complete() {
  [ -f "$1" ] && [ "$(od -An -tu4 -j2 -N4 "$1" 2>/dev/null | tr -d ' ')" = "$(stat -c %s "$1")" ]
}

wallpaper_key='HKCU\Control Panel\Desktop'
# wallpaper: the setting as UTF-8 (reg.exe prints in the console's code page, 936).
wallpaper() {
  wine reg query "$wallpaper_key" /v Wallpaper 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 -c |
    sed -n 's/.*REG_SZ[[:space:]]*//p'
}

# newer A B: A exists and was changed after B.
newer() { [ -f "$1" ] && [ "$1" -nt "$2" ]; }
# note_is FILE TEXT: the note file holds exactly TEXT (UTF-8 here, GBK on disk).
note_is() { [ -f "$1" ] && [ "$(iconv -f GBK -t UTF-8 "$1")" = "$2" ]; }
# note_has FILE TEXT: the note file holds TEXT somewhere.
note_has() { [ -f "$1" ] && iconv -f GBK -t UTF-8 "$1" | grep -qF -- "$2"; }
# ended PID: the process is gone.
ended() { ! kill -0 "$1" 2>/dev/null; }
