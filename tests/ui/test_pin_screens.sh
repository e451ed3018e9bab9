#!/usr/bin/env bash
# The pin on real screens under Wine in Xvfb: 1920 x 1080 at 96 DPI gives
# byte for byte the Content.bmp and Mix.bmp of the composition of old (and
# the restore item brings back the wallpaper recorded before the first pin);
# 1920 x 1200, 2560 x 1080, 1366 x 768, 3840 x 2160, and 1920 x 1080 with
# Wine's DPI at 144, give a Mix.bmp of the screen's size with the background
# fitted as "Fill" does and the note blended, pixel by pixel, at its scaled
# size and place. PNGs of the 16:10 and 21:9 results go to build/ui-artifacts/.
set -uo pipefail
source "$(dirname "$0")/program.sh"
bg="$work/source/DeskTopBG"
art="$root/build/ui-artifacts"
mkdir -p "$art"
keep_wallpaper
old_dpi="$(wine reg query "$desktop_key" /v LogPixels 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD[[:space:]]*//p')"
on_cleanup() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null; wpid=""
  end_wine_session
  set_dpi "$old_dpi"
  put_back_wallpaper
  end_wine_session
}

# The hashes of what the composition of old wrote for this note over the
# shipped backgrounds at 1920 x 1080: Content.bmp, Mix.bmp of the first pin
# (A1.bmp at weight 2), Mix.bmp of the second (A2.bmp at weight 4).
identity_note="Identity check: water the plants at three, then call the office"
identity_hashes="$root/tests/ui/pin-identity.sha256"

# on_screen WxH DPI: the program ended, a fresh X server of that size, Wine's
# DPI set, the program started again (its window scaled to that DPI).
on_screen() {
  dpi="$2" # at() scales the window's points by it
  main_size="$(at 584)x$(at 382)"
  stop
  end_wine_session
  stop_display
  start_display "$1"
  set_dpi "$2"
  end_wine_session
  start
}
# type_note TEXT: the note holds only TEXT, in the editor.
type_note() {
  click_at "$(at 400)" "$(at 200)"
  xdotool key ctrl+a BackSpace
  xdotool type --delay 30 "$1"
  until_ok 20 editor_is "$1"
}
wallpaper_is() { [ "$(wallpaper)" = "$1" ]; }
mix_in_force() { [[ "$(wallpaper)" == *'\source\DeskTopBG\Mix.bmp' ]]; }
hash_of() { sha256sum "$1" | cut -c1-64; }

# --- 1920 x 1080 at 96 DPI: nothing to fit, nothing changes -------------------
# The wallpaper before the first pin: a picture of the user's.
convert -size 64x48 xc:'#336699' "BMP3:$work/mine.bmp"
mine="$(winepath -w "$work/mine.bmp" 2>/dev/null)"
set_wallpaper "$mine"
on_screen 1920x1080 96
check "the window appears on a 1920 x 1080 screen" test -n "${win:-}"
type_note "$identity_note"
pin
check "the first pin writes Mix.bmp" pinned 60
content1="$(hash_of "$bg/Content.bmp")"; mix1="$(hash_of "$bg/Mix.bmp")"
check "Mix.bmp is A1.bmp with Content.bmp at (W - 402, 30), weight 2" \
  python3 "$root/tests/ui/check_mix.py" "$bg/Mix.bmp" "$bg/A1.bmp" "$bg/Content.bmp" 2
check "the pin recorded the wallpaper before it" \
  grep -qF "primary=	$mine" "$work/Data/PreviousWallpaper.txt"
pin
check "the second pin writes Mix.bmp" pinned 60
mix2="$(hash_of "$bg/Mix.bmp")"
check "Mix.bmp is A2.bmp with Content.bmp at (W - 402, 30), weight 4" \
  python3 "$root/tests/ui/check_mix.py" "$bg/Mix.bmp" "$bg/A2.bmp" "$bg/Content.bmp" 4
if [ "${RECORD_IDENTITY:-}" = 1 ]; then
  printf '%s  Content.bmp\n%s  Mix-1.bmp\n%s  Mix-2.bmp\n' "$content1" "$mix1" "$mix2" | tee "$identity_hashes"
else
  check "Content.bmp is byte for byte the one of old" \
    grep -q "^$content1  Content.bmp" "$identity_hashes"
  check "the first Mix.bmp is byte for byte the one of old" grep -q "^$mix1  Mix-1.bmp" "$identity_hashes"
  check "the second Mix.bmp is byte for byte the one of old" grep -q "^$mix2  Mix-2.bmp" "$identity_hashes"
fi
check "the record still names the user's wallpaper, not Mix.bmp" \
  grep -qF "primary=	$mine" "$work/Data/PreviousWallpaper.txt"

# "恢复原来的桌面": the third item of the options menu, three up from the bottom.
restore_item() {
  options_menu
  xdotool key Up Up Up Return
  until_ok 10 menu_closed
}
if [ "${RECORD_IDENTITY:-}" != 1 ]; then
  restore_item
  check "the restore item brings back the recorded wallpaper" until_ok 20 wallpaper_is "$mine"
  check "and forgets the record" until_ok 10 bash -c "[ ! -e '$work/Data/PreviousWallpaper.txt' ]"
  restore_item
  # With nothing recorded a message box says so.
  box() {
    local w size
    for w in $(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null); do
      [ "$w" = "$win" ] && continue
      size=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
      set -- $size
      [ "${1:-0}" -ge 80 ] && [ "${2:-0}" -ge 60 ] && { echo "$w"; return 0; }
    done
    return 1
  }
  has_box() { box >/dev/null; }
  check "with nothing recorded a message box says so" until_ok 15 has_box
  boxwin="$(box)"
  [ -n "$boxwin" ] && { import -window "$boxwin" "$art/restore-nothing.png" 2>/dev/null
    xdotool windowactivate --sync "$boxwin" 2>/dev/null; xdotool key --window "$boxwin" Return; }
  check "the wallpaper stays as it is" wallpaper_is "$mine"
  # After a restore the next pin records again.
  pin
  check "a pin after the restore" pinned 60
  check "puts Mix.bmp in force" until_ok 20 mix_in_force
  check "records the wallpaper again" grep -qF "primary=	$mine" "$work/Data/PreviousWallpaper.txt"
  # The uninstaller's call, beside the running program: no window of its
  # own, exit code 0, the recorded wallpaper back while Mix.bmp is in force.
  (cd "$work" && timeout 120 wine Tabulon.exe /restorewallpaper); rc=$?
  check "Tabulon.exe /restorewallpaper ends with exit code 0 (got $rc)" [ "$rc" = 0 ]
  check "and puts back the wallpaper recorded before the pin" wallpaper_is "$mine"
  check "the running program has still one main window" [ "$(main_windows)" -eq 1 ]
  # A record again, but not our Mix.bmp in force: the call must leave both.
  printf 'C:\\other.bmp' >"$work/Data/PreviousWallpaper.txt"
  (cd "$work" && timeout 120 wine Tabulon.exe /RestoreWallpaper); rc=$?
  check "called again with another wallpaper in force it changes nothing (exit code $rc)" \
    bash -c "[ '$rc' = 0 ] && [ \"\$(cat '$work/Data/PreviousWallpaper.txt')\" = 'C:\\other.bmp' ]"
  check "and the wallpaper stays" wallpaper_is "$mine"
fi

# --- other screens: the background fitted, the note whole at its scale --------
if [ "${RECORD_IDENTITY:-}" != 1 ]; then
  python3 "$root/tests/ui/check_screen.py" background "$bg/A1.bmp" 1
  python3 "$root/tests/ui/check_screen.py" background "$bg/A2.bmp" 2
  for case in 1920x1200:96 2560x1080:96 1366x768:96 3840x2160:96 1920x1080:144; do
    size="${case%:*}"; dpi="${case#*:}"
    on_screen "$size" "$dpi"
    [ -n "${win:-}" ] || { check "the window appears on $size at $dpi DPI" false; continue; }
    type_note "Pinned on $size at $dpi DPI: the note shows whole"
    pin
    check "$size at $dpi DPI: the pin writes Mix.bmp" pinned 60
    check "$size at $dpi DPI: Mix.bmp has the screen's size, the background fitted, the note blended" \
      python3 "$root/tests/ui/check_screen.py" mix "$bg/Mix.bmp" "$bg/Content.bmp" 2 "${size%x*}" "${size#*x}" "$dpi" 1
    case "$size:$dpi" in
      1920x1200:96 | 2560x1080:96) convert "$bg/Mix.bmp" "$art/mix-$size.png" ;;
    esac
    if [ "$size:$dpi" = 1920x1200:96 ]; then
      pin
      check "$size: the second pin writes Mix.bmp" pinned 60
      check "$size: A2.bmp at weight 4" \
        python3 "$root/tests/ui/check_screen.py" mix "$bg/Mix.bmp" "$bg/Content.bmp" 4 1920 1200 96 2
    fi
  done
fi

stop
echo "pin on screens: $failures failure(s)"
[ "$failures" -eq 0 ]
