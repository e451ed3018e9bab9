#!/usr/bin/env bash
# End-to-end acceptance: drives the released program like a user, under Wine in
# a fresh prefix and a private Xvfb. Installs silently with the installer,
# types a note (Chinese text and both marks), waits for an auto-save, pins
# twice, closes with the close button, starts again and finds the note, pins a
# third time, installs over a running copy that holds fresh text and over a
# background of the user's (the text is saved, the picture kept), uninstalls
# with Mix.bmp as the wallpaper (the note, the user's picture and a wallpaper
# stay), installs into and pins in a folder named with spaces and Chinese
# characters, and finally runs the portable zip. Files and the wallpaper setting are
# checked after each step; screenshots go to build/e2e/.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/ui/lib.sh"

version=$(sed -n 's/^project(Tabulon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
if [ "$TABULON_WINARCH" = win64 ]; then
  setup="$TABULON_TEST_RELEASE/Tabulon-$version-setup-x64.exe"
else
  setup="$TABULON_TEST_RELEASE/Tabulon-$version-setup.exe"
fi
zip="$TABULON_TEST_RELEASE/Tabulon-$version-$TABULON_WINARCH.zip"
echo "e2e: $(basename "$setup") and $(basename "$zip")"
[ -f "$setup" ] && [ -f "$zip" ] || { echo "no release packages (make release)"; exit 1; }

out="$root/build/e2e-$TABULON_WINARCH"
rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX="$out/prefix"
wine_prefix_ready

wpid=""
cleanup() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null
  wineserver -k 2>/dev/null
  stop_display
}
trap cleanup EXIT
# A screen of the shipped backgrounds' size: Mix.bmp is then the background
# with the note at (W - 402, 30), as check_mix.py expects.
start_display 1920x1080
# The user's own wallpaper before Tabulon: uninstalling must bring it back.
convert -size 64x48 xc:'#336699' "BMP3:$out/mine.bmp"
mine="$(winepath -w "$out/mine.bmp" 2>/dev/null)"
set_wallpaper "$mine"

shot() { import -window root "$out/$1.png" 2>/dev/null; }
# gbk TEXT: TEXT (printf escapes allowed) as the GBK bytes of the note file.
gbk() { printf "$1" | iconv -f UTF-8 -t GBK; }
note_bytes_are() { cmp -s "$note" <(gbk "$1"); }
# note_becomes SECONDS TEXT: waits for the note to hold TEXT; if it does not,
# shows what it holds instead.
note_becomes() {
  until_ok "$1" note_bytes_are "$2" && return 0
  echo "     the note holds: $(iconv -f GB18030 -t UTF-8 "$note" 2>/dev/null | od -c | head -n 4 | tr -s ' ' | tr '\n' '|')"
  return 1
}

# --- install ------------------------------------------------------------------
check "the installer runs silently" wine "$setup" /S
check "the Wine session ends within 120 s" timeout 120 wineserver -w
app=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/Tabulon' -type d | head -n1)
check "it installs into the user's own programs folder" [ -n "$app" ]
[ -n "$app" ] || { echo "not installed; giving up"; exit 1; }
note="$app/Data/content.ini"
bg="$app/source/DeskTopBG"
for f in Tabulon.exe uninstall.exe source/DeskTopBG/A1.bmp source/DeskTopBG/A2.bmp source/DeskTopBG/A.bmp; do
  check "installed $f" [ -f "$app/$f" ]
done
check "the Data folder exists" [ -d "$app/Data" ]
# Wine's own system folder would supply a missing DLL: the import table shows it.
check "the installed program needs no DLL a clean Windows lacks, is stripped, its symbols in release/" \
  "$root/tools/check-pe.py" --symbols "$TABULON_TEST_RELEASE" "$app/Tabulon.exe"
uninst='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tabulon'
check "listed among installed programs" bash -c "wine reg query '$uninst' /v DisplayVersion | grep -q '$version'"
check "a Start-menu shortcut" bash -c "find '$WINEPREFIX/drive_c/users' -name Tabulon.lnk -path '*Start Menu*' | grep -q ."

# --- first run: type, auto-save, pin twice, close ---------------------------
# The file is watched from the launch on: the first tick empties it 10 s
# after the start created it, and the window may take a while to appear.
launch "$app"
check "a new note file holds an empty line" until_ok 30 note_bytes_are '\r\n'
check "the installed program starts" until_ok 30 has_window
[ -n "${win:-}" ] || { echo "no window; giving up"; exit 1; }
click_at 400 200
# Plain keys first: the first Chinese input of a fresh Wine prefix may be
# lost; the Chinese lines below are pasted.
xdotool type --delay 50 "Buy milk"
click_at 248 67   # √
click_at 272 67   # ×
# Each step is saved before the next, so that a failure names the step that
# lost its input.
check "the auto-save writes the typed line and both marks" note_becomes 15 'Buy milk√×\r\n'
click_at 400 200
xdotool key End Return
type_unicode "第二行"
text1='Buy milk√×\r\n第二行\r\n'
check "the auto-save writes the note (GBK, marks A1 CC and A1 C1)" note_becomes 15 "$text1"
shot window-typed

pin
check "the first pin writes Mix.bmp" pinned 20
check "Mix.bmp is A1.bmp with the note at weight 2" \
  python3 "$root/tests/ui/check_mix.py" "$bg/Mix.bmp" "$bg/A1.bmp" "$bg/Content.bmp" 2
wp="$(wallpaper)"
check "the wallpaper setting names Mix.bmp ($wp)" bash -c "[[ '$wp' == *'Tabulon\\source\\DeskTopBG\\Mix.bmp' ]]"

pin
check "the second pin writes Mix.bmp" pinned 20
check "Mix.bmp is A2.bmp with the note at weight 4" \
  python3 "$root/tests/ui/check_mix.py" "$bg/Mix.bmp" "$bg/A2.bmp" "$bg/Content.bmp" 4

click_at 400 200
xdotool key ctrl+End
# The last character right after a tick has saved the one before it.
type_unicode "收"
check "a tick saves the first character" note_becomes 15 'Buy milk√×\r\n第二行收\r\n'
type_unicode "尾"
hover_button close
check "no tick has saved it before the click" note_bytes_are 'Buy milk√×\r\n第二行收\r\n'
xdotool click 1
check "the close button ends the program" until_ok 10 ended "$wpid"
wait "$wpid"; code=$?; wpid=""
check "with exit code 0 (got $code)" [ "$code" -eq 0 ]
text2='Buy milk√×\r\n第二行收尾\r\n'
check "the close button wrote the text of that moment" note_becomes 0 "$text2"

# --- second run: the note is back; pin a third time -------------------------
check "the program starts again" start "$app"
shot window-restarted
click_at 400 200
xdotool key ctrl+End
type_unicode "再见"
# A loaded note ends with a line break, so the caret at the end stands on a new line.
check "the loaded note is in the editor (the next save keeps it)" \
  note_becomes 15 'Buy milk√×\r\n第二行收尾\r\n再见\r\n'
pin
check "the third pin writes Mix.bmp" pinned 20
check "Mix.bmp is A1.bmp again at weight 2" \
  python3 "$root/tests/ui/check_mix.py" "$bg/Mix.bmp" "$bg/A1.bmp" "$bg/Content.bmp" 2
convert "$bg/Mix.bmp" "$out/mix.png" 2>/dev/null
convert "$bg/Content.bmp" "$out/content.png" 2>/dev/null
close_button
check "closed again" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""
saved="$out/content.saved"
cp "$note" "$saved"

# --- upgrade over a running copy, with a background of the user's ------------
# The user has put a picture of their own in place of A1.bmp and deleted A.bmp;
# Tabulon runs with freshly typed text when the installer starts.
user_bg="$out/user-A1.bmp"
convert -size 640x480 gradient:navy-gold -type TrueColor BMP3:"$user_bg"
cp "$user_bg" "$bg/A1.bmp"
rm -f "$bg/A.bmp"
cp "$bg/A2.bmp" "$out/A2.before"
printf 'stale' >> "$app/Tabulon.exe" # marks the old program
check "the program starts before the upgrade" start "$app"
click_at 400 200
xdotool key ctrl+End
# Typed right after a tick has saved the line before it, so that the next
# tick is 10 s away: only the installer's close can save it.
xdotool type --delay 30 "typed before"
check "a tick saves the first words" until_ok 15 note_has "$note" "typed before"
xdotool type --delay 30 " the upgrade"
check "no tick has saved it before the installer" never 0 note_has "$note" "typed before the upgrade"
check "installing over the running program succeeds" wine "$setup" /S
check "the installer closed the running program" until_ok 30 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""
check "the program was replaced" cmp -s "$app/Tabulon.exe" "$TABULON_TEST_DIST/Tabulon.exe"
check "the text typed before the upgrade was saved" note_has "$note" "typed before the upgrade"
check "the user's A1.bmp is unchanged" cmp -s "$bg/A1.bmp" "$user_bg"
check "A2.bmp is unchanged" cmp -s "$bg/A2.bmp" "$out/A2.before"
check "the missing A.bmp is written again" cmp -s "$bg/A.bmp" "$TABULON_TEST_DIST/source/DeskTopBG/A.bmp"
cp "$note" "$saved"
check "the upgraded program starts" start "$app"
close_button
until_ok 10 ended "$wpid"; wait "$wpid" 2>/dev/null; wpid=""
check "and keeps the note" cmp -s "$note" "$saved"
check "one Start-menu entry, no uninstall shortcut there" bash -c "
  find '$WINEPREFIX/drive_c/users' -path '*Start Menu*' -name Tabulon.lnk | grep -q . &&
  ! find '$WINEPREFIX/drive_c/users' -path '*Start Menu*' -name '*.lnk' | grep -q '卸载'"

# --- uninstall with Mix.bmp as the wallpaper, keeping the note ----------------
wp="$(wallpaper)"
check "before uninstalling, the wallpaper is our Mix.bmp ($wp)" \
  bash -c "[[ '$wp' == *'Tabulon\\source\\DeskTopBG\\Mix.bmp' ]]"
check "the uninstaller runs silently" wine "$app/uninstall.exe" /S
check "the Wine session ends within 120 s" timeout 120 wineserver -w
until_ok 20 bash -c "[ ! -f '$app/Tabulon.exe' ]"
check "the program is removed" [ ! -f "$app/Tabulon.exe" ]
check "the uninstaller is removed" [ ! -f "$app/uninstall.exe" ]
check "the installed backgrounds are removed" bash -c "[ ! -f '$bg/A2.bmp' ] && [ ! -f '$bg/A.bmp' ]"
check "Content.bmp is removed" [ ! -f "$bg/Content.bmp" ]
check "the user's own A1.bmp is kept" cmp -s "$bg/A1.bmp" "$user_bg"
check "the note is kept" cmp -s "$note" "$saved"
# wallpaper_in_force: the setting names a file that exists, and it is the
# user's own wallpaper of before the first pin.
wallpaper_in_force() {
  local w; w="$(wallpaper)"
  [ -n "$w" ] && [ -f "$(winepath -u "$w" 2>/dev/null)" ] && [ "$w" = "$mine" ]
}
wp="$(wallpaper)"
check "the user's wallpaper is back in force ($wp)" wallpaper_in_force
check "the entry in the installed programs is gone" bash -c "! wine reg query '$uninst' >/dev/null 2>&1"
check "the Start-menu entry is gone" bash -c "! find '$WINEPREFIX/drive_c/users' -path '*Start Menu*' -name Tabulon.lnk | grep -q ."

# --- a folder whose name has spaces and Chinese characters --------------------
# /D= must come last and unquoted, so cmd passes the command line as it is.
odd_win='C:\我的 便笺\Tabulon 程序'
odd="$WINEPREFIX/drive_c/我的 便笺/Tabulon 程序"
check "the installer takes a folder with spaces and Chinese characters" \
  wine cmd /c "$(winepath -w "$setup") /S /D=$odd_win"
check "the Wine session ends within 120 s" timeout 120 wineserver -w
check "installed there" until_ok 20 bash -c "[ -f '$odd/Tabulon.exe' ] && [ -f '$odd/source/DeskTopBG/A1.bmp' ]"
check "the program starts there" start "$odd"
click_at 400 200
xdotool type --delay 30 "a note elsewhere"
check "the note is saved there" until_ok 15 note_has "$odd/Data/content.ini" "a note elsewhere"
bg="$odd/source/DeskTopBG"
pin
check "the pin writes Mix.bmp there" pinned 20
wp="$(wallpaper)"
check "the wallpaper names it ($wp)" bash -c "[[ '$wp' == *'我的 便笺\\Tabulon 程序\\source\\DeskTopBG\\Mix.bmp' ]]"
check "the wallpaper file is that Mix.bmp" cmp -s "$(winepath -u "$wp")" "$odd/source/DeskTopBG/Mix.bmp"
close_button
until_ok 10 ended "$wpid"; wait "$wpid" 2>/dev/null; wpid=""
check "uninstalling from there succeeds" wine "$odd/uninstall.exe" /S
check "the Wine session ends within 120 s" timeout 120 wineserver -w
check "the program is removed from there" until_ok 20 bash -c "[ ! -f '$odd/Tabulon.exe' ]"
check "the user's wallpaper is back in force" wallpaper_in_force

# --- the portable zip ----------------------------------------------------------
portable="$out/portable"
mkdir -p "$portable"
check "the zip unpacks" unzip -q "$zip" -d "$portable"
for f in Tabulon.exe source/DeskTopBG/A1.bmp source/DeskTopBG/A2.bmp source/DeskTopBG/A.bmp; do
  check "the zip holds Tabulon/$f" [ -f "$portable/Tabulon/$f" ]
done
check "the zip's program needs no DLL a clean Windows lacks, is stripped, its symbols in release/" \
  "$root/tools/check-pe.py" --symbols "$TABULON_TEST_RELEASE" "$portable/Tabulon/Tabulon.exe"
check "the unpacked program starts" start "$portable/Tabulon"
check "and creates its note file" until_ok 10 bash -c "[ -f '$portable/Tabulon/Data/content.ini' ]"
close_button
check "and ends with the close button" until_ok 10 ended "$wpid"
wait "$wpid" 2>/dev/null; wpid=""

# --- the 64-bit installer over an earlier 32-bit install ---------------------
# Laid out by hand as the 32-bit installer leaves it (its stub cannot run
# where no 32-bit code runs): the 32-bit program, a note, a background of the
# user's, and the entry in the installed programs naming the folder.
if [ "$TABULON_WINARCH" = win64 ]; then
  old32="$WINEPREFIX/drive_c/old32/Tabulon"
  mkdir -p "$old32/Data" "$old32/source/DeskTopBG"
  cp "$root/dist/Tabulon/Tabulon.exe" "$old32/"
  cp "$user_bg" "$old32/source/DeskTopBG/A1.bmp"
  gbk 'written by the 32-bit program\r\n' >"$old32/Data/content.ini"
  cp "$old32/Data/content.ini" "$saved"
  wine reg add "$uninst" /v InstallLocation /d 'C:\old32\Tabulon' /f >/dev/null 2>&1
  wine reg add "$uninst" /v DisplayVersion /d 0.9 /f >/dev/null 2>&1
  check "the x64 installer runs over the 32-bit install" wine "$setup" /S
  timeout 60 wineserver -w
  check "it replaces the program there with the 64-bit one" \
    cmp -s "$old32/Tabulon.exe" "$TABULON_TEST_DIST/Tabulon.exe"
  check "and keeps the note" cmp -s "$old32/Data/content.ini" "$saved"
  check "and the user's background" cmp -s "$old32/source/DeskTopBG/A1.bmp" "$user_bg"
  check "under the same entry, now of this version" \
    bash -c "wine reg query '$uninst' /v DisplayVersion | grep -q '$version'"
  check "its uninstaller removes the program" wine "$old32/uninstall.exe" /S
  timeout 60 wineserver -w
  check "and keeps the note there" until_ok 20 bash -c "[ ! -f '$old32/Tabulon.exe' ] && cmp -s '$old32/Data/content.ini' '$saved'"
fi

echo "artifacts: $out/window-typed.png $out/window-restarted.png $out/mix.png"
echo "e2e: $failures failure(s)"
[ "$failures" -eq 0 ]
