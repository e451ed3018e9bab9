#!/usr/bin/env bash
# Starts Tabulon from dist/ under Wine. Without a display it starts Xvfb,
# waits for the window, saves build/screenshot.png and ends the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/wine-env.sh"
exe="$root/dist/Tabulon/Tabulon.exe"
if [ ! -f "$exe" ]; then
  echo "Tabulon.exe is not built yet; nothing to start."
  exit 0
fi
wine_prefix_ready
if [ -n "${DISPLAY:-}" ]; then
  cd "$root/dist/Tabulon" && exec wine Tabulon.exe
fi
exec bash "$root/tools/headless-run.sh" "$exe" "$root/build/screenshot.png"
