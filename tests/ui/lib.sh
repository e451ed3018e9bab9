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

# start_display [WxH]: a private X server (1280 x 1024 unless given) as
# DISPLAY; stop_display ends it.
start_display() {
  local n size="${1:-1280x1024}"
  for n in $(seq 20); do
    disp=":$((300 + RANDOM % 600))"
    [ -e "/tmp/.X11-unix/X${disp#:}" ] || [ -e "/tmp/.X${disp#:}-lock" ] || break
  done
  Xvfb "$disp" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  xpid=$!
  export DISPLAY="$disp"
  until_ok 10 xdpyinfo >/dev/null 2>&1
}
stop_display() { [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null; xpid=""; }
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
no_window() { ! main_window >/dev/null; }
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
# type_unicode TEXT: types any text into the focused control. xdotool maps
# each character to a spare key, and Wine may miss the first such key, so one
# character is typed and erased first.
type_unicode() {
  xdotool type --delay 50 "预"; sleep 0.2
  xdotool key BackSpace; sleep 0.2
  xdotool type --delay 50 "$1"; sleep 0.2
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
