#!/usr/bin/env bash
# Lays out the program folder as the program expects it beside its executable.
set -euo pipefail
build="${1:-build/win32}"
out="${2:-dist/Tabulon}"
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$out/Data" "$out/source/DeskTopBG"
if [ -f "$build/app/Tabulon.exe" ]; then
  cp "$build/app/Tabulon.exe" "$out/Tabulon.exe"
fi
for f in A1.bmp A2.bmp A.bmp; do
  if [ -f "$root/resources/DeskTopBG/$f" ]; then
    cp "$root/resources/DeskTopBG/$f" "$out/source/DeskTopBG/$f"
  fi
done
echo "program folder: $out"
