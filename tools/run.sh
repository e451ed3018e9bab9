#!/usr/bin/env bash
# Starts Tabulon from dist/ under Wine (the 64-bit build where this machine
# runs no 32-bit code: tools/wine-env.sh). Without a display it starts Xvfb,
# waits for the window, saves build/screenshot.png and ends the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/wine-env.sh"
exe="$TABULON_TEST_DIST/Tabulon.exe"
if [ "$TABULON_WINARCH" = win64 ]; then
  echo "this machine runs no 32-bit x86 code: starting the 64-bit build ($exe)"
fi
if [ ! -f "$exe" ]; then
  echo "Tabulon.exe is not built yet; nothing to start."
  exit 0
fi
wine_prefix_ready
if [ -n "${DISPLAY:-}" ]; then
  cd "$TABULON_TEST_DIST" && exec wine Tabulon.exe
fi
exec bash "$root/tools/headless-run.sh" "$exe" "$root/build/screenshot.png"
