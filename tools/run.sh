#!/usr/bin/env bash
# Starts Tabulon under Wine (the 64-bit build where this machine runs no
# 32-bit code: tools/wine-env.sh) from a program folder of its own,
# build/run-<arch>/Tabulon, laid out from the build each time and keeping its
# note between runs. The program writes beside itself: run in the folder the
# tests copy (dist/Tabulon, build/dist64/Tabulon), it would hand them its note
# and pictures. Without a display it starts Xvfb, waits for the window, saves
# build/screenshot.png and ends the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/wine-env.sh"
if [ ! -f "$TABULON_TEST_BUILD/app/Tabulon.exe" ]; then
  echo "Tabulon.exe is not built yet; nothing to start."
  exit 0
fi
folder="$root/build/run-$TABULON_WINARCH/Tabulon"
bash "$root/tools/dist.sh" "$TABULON_TEST_BUILD" "$folder"
exe="$folder/Tabulon.exe"
if [ "$TABULON_WINARCH" = win64 ]; then
  echo "this machine runs no 32-bit x86 code: starting the 64-bit build ($exe)"
fi
wine_prefix_ready
if [ -n "${DISPLAY:-}" ]; then
  cd "$folder" && exec wine Tabulon.exe
fi
exec bash "$root/tools/headless-run.sh" "$exe" "$root/build/screenshot.png"
