# Shared helpers of the scripts that drive Tabulon under Wine in a private
# Xvfb with xdotool. Source it after setting `root` to the repository root.
source "$root/tools/wine-env.sh"

failures=0
# check "what" command...: runs the command and counts a failure (its status
# is the command's, so that a failure can be followed by what explains it).
check() {
  local what="$1"; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); return 1; fi
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
# kill_wine_session: ends this prefix's Wine session at once and waits (up
# to a minute) until it is gone.
kill_wine_session() { wineserver -k 2>/dev/null; timeout 60 wineserver -w 2>/dev/null; true; }

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
# launch [FOLDER]: starts the program of FOLDER (default $work) without
# waiting, its process in $wpid; start also waits for its window.
launch() {
  (cd "${1:-$work}" && exec wine Tabulon.exe) &
  wpid=$!
}
start() {
  launch "$@"
  until_ok 40 has_window
}
# main_windows: how many visible main windows there are.
main_windows() {
  local w n=0
  for w in $(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: ${main_size:-584x382}\$" && n=$((n + 1))
  done
  echo "$n"
}
# probe WHAT: asks the running program through winprobe.exe (tests/ui/winprobe.cpp).
probe() { wine "${winprobe:-$TABULON_TEST_BUILD/tests/ui/winprobe.exe}" "$@" 2>/dev/null | tr -d '\r'; }
no_window() { ! main_window >/dev/null; }
# minimised: the main window is minimised. Wine leaves a minimised window's X
# window in place when no window manager runs, so Windows itself is asked.
minimised() { [ "$(probe iconic)" = 1 ]; }
# restored: the main window is there and not minimised (the probe finds it).
restored() { [ "$(probe iconic)" = 0 ] && has_window; }
position() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p'; }
at_position() { [ "$(position)" = "$1 $2" ]; }
# at N: N pixels of the layout at 96 DPI at the DPI in force (`dpi`, 96
# unless set), rounded as the program rounds its layout.
at() { echo $(( ($1 * ${dpi:-96} + 48) / 96 )); }
# pointer_to X Y: moves the pointer to a point of the screen and waits until
# it is there; point_at X Y: to a point of the main window.
pointer_to() { timeout 5 xdotool mousemove --sync "$1" "$2"; }
point_at() {
  local p; p=($(position))
  pointer_to $((p[0] + $1)) $((p[1] + $2))
}
# click_at X Y: a left click at a point of the main window.
click_at() {
  point_at "$1" "$2"
  xdotool click 1
}

# pixel X Y: the colour "r g b" of a point of the main window on screen.
pixel() {
  local p; p=($(position))
  import -window root -crop "1x1+$((p[0] + $1))+$((p[1] + $2))" +repage png:- 2>/dev/null |
    convert png:- -format '%[fx:int(255*r+.5)] %[fx:int(255*g+.5)] %[fx:int(255*b+.5)]' info:
}
near() { # near "r g b" "r g b" [limit]: every channel within the limit (3)
  local a=($1) b=($2) i
  for i in 0 1 2; do
    local d=$(( a[i] - b[i] )); [ ${d#-} -le "${3:-3}" ] || return 1
  done
}
# pixel_is X Y "r g b" [limit]: the point has that colour.
pixel_is() { near "$(pixel "$1" "$2")" "$3" "${4:-3}"; }
# reddish / bluish X Y: the point is clearly red / blue, not grey or the skin.
reddish() { local c; c=($(pixel "$1" "$2")); [ $(( c[0] - c[2] )) -ge 60 ]; }
bluish() { local c; c=($(pixel "$1" "$2")); [ $(( c[2] - c[0] )) -ge 60 ]; }

# The caption buttons: a point of each button's picture that is grey on the
# normal face, red (close) or blue (minimise) on the hover and pressed faces.
close_face() { echo $(( $(at 544) + $(at 5) )) $(( $(at 1) + $(at 3) )); }
mini_face() { echo $(( $(at 515) + $(at 5) )) $(( $(at 1) + $(at 3) )); }
close_lit() { reddish $(close_face); }
mini_lit() { bluish $(mini_face); }
buttons_settled() { ! close_lit && ! mini_lit; }
# hover_button close|mini: crosses the background (which settles both
# buttons) onto the button and waits until its hover picture shows: that
# picture takes the click.
hover_button() {
  point_at "$(at 300)" "$(at 5)" && until_ok 5 buttons_settled || return 1
  if [ "$1" = close ]; then
    point_at "$(at 560)" "$(at 10)" && until_ok 5 close_lit
  else
    point_at "$(at 528)" "$(at 10)" && until_ok 5 mini_lit
  fi
}
# close_button / minimise_button: hovers the button and clicks.
close_button() { hover_button close && xdotool click 1; }
minimise_button() { hover_button mini && xdotool click 1; }

# pin: removes the last Mix.bmp of the program folder's `bg` and clicks the
# pin button; pinned [SECONDS]: a new Mix.bmp is there, whole.
pin() { rm -f "$bg/Mix.bmp"; click_at "$(at 528)" "$(at 59)"; }
pinned() { until_ok "${1:-30}" bmp_complete "$bg/Mix.bmp"; }

# editor_text: the note editor's text as the program holds it (UTF-8).
editor_text() { probe text; }
# editor_is TEXT: the editor holds exactly TEXT; editor_has TEXT: somewhere.
editor_is() { [ "$(editor_text)" = "$1" ]; }
editor_has() { editor_text | grep -qF -- "$1"; }
# wine_clipboard_is TEXT: Windows' clipboard holds TEXT (Wine takes a new X
# selection over on its own time).
wine_clipboard_is() { [ "$(probe clipboard)" = "$1" ]; }

# type_unicode TEXT: puts any text (Chinese too) into the focused control by
# pasting it: xdotool types such characters through spare keys, of which Wine
# may miss the first.
type_unicode() {
  printf '%s' "$1" | xclip -selection clipboard -i
  until_ok 5 clipboard_is "$1"
  # Wine takes the new selection over on its own time; a paste before that
  # brings the old text or nothing.
  until_ok 10 wine_clipboard_is "$1"
  xdotool key ctrl+v
}
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# menu_open: a popup menu is showing (a window of the system's menu class).
menu_open() { [ "$(probe menu)" = 1 ]; }
menu_closed() { ! menu_open; }
# options_menu: opens the menu of "|  选项" and waits until it shows.
options_menu() { click_at "$(at 450)" "$(at 62)" && until_ok 10 menu_open; }
# bmp_complete FILE: the BMP file has the size its header states (a file
# written in slices passes only once the last one is in).
bmp_complete() {
  [ -f "$1" ] && [ "$(od -An -tu4 -j2 -N4 "$1" 2>/dev/null | tr -d ' ')" = "$(stat -c %s "$1")" ]
}

desktop_key='HKCU\Control Panel\Desktop'
wallpaper_key=$desktop_key
# wallpaper: the setting as UTF-8 (reg.exe prints in the console's code page, 936).
wallpaper() {
  wine reg query "$wallpaper_key" /v Wallpaper 2>/dev/null | tr -d '\r' | iconv -f GBK -t UTF-8 -c |
    sed -n 's/.*REG_SZ[[:space:]]*//p'
}
# set_wallpaper VALUE: the wallpaper setting becomes VALUE.
set_wallpaper() { wine reg add "$wallpaper_key" /v Wallpaper /t REG_SZ /d "$1" /f >/dev/null 2>&1; }
# style, set_style VALUE: the wallpaper position (WallpaperStyle).
style() { wine reg query "$desktop_key" /v WallpaperStyle 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
set_style() { wine reg add "$desktop_key" /v WallpaperStyle /t REG_SZ /d "$1" /f >/dev/null 2>&1; }
# keep_wallpaper: remembers the setting and its position; put_back_wallpaper
# (in on_cleanup) restores them after a test that pins.
keep_wallpaper() { old_wallpaper="$(wallpaper)" old_style="$(style)"; }
put_back_wallpaper() { set_wallpaper "$old_wallpaper"; set_style "${old_style:-10}"; }
# set_dpi [N]: Wine's DPI setting becomes N, or its default when N is empty.
# Wine reads it when its session starts.
set_dpi() {
  if [ -n "$1" ]; then wine reg add "$desktop_key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  else wine reg delete "$desktop_key" /v LogPixels /f >/dev/null 2>&1; fi
}
# blended PICTURE X Y: the colour of a skin picture of resources/pictures at
# (x, y) laid over the skin blue.
blended() {
  convert "$root/resources/pictures/$1" -background '#D8E3F3' -flatten \
    -format "%[fx:int(255*p{$2,$3}.r+.5)] %[fx:int(255*p{$2,$3}.g+.5)] %[fx:int(255*p{$2,$3}.b+.5)]" info:
}

# note_is FILE TEXT: the note file holds exactly TEXT (UTF-8 here, GBK on disk).
note_is() { [ -f "$1" ] && [ "$(iconv -f GBK -t UTF-8 "$1")" = "$2" ]; }
# note_has FILE TEXT: the note file holds TEXT somewhere.
note_has() { [ -f "$1" ] && iconv -f GBK -t UTF-8 "$1" | grep -qF -- "$2"; }
# ended PID: the process is gone.
ended() { ! kill -0 "$1" 2>/dev/null; }
