#!/usr/bin/env bash
# Lays out the program folder as the program expects it beside its executable.
# The program goes in as it ships: without its debug information, which is
# kept beside the folder in <package name>.debug (tools/package-name.sh) and
# named inside the program (.gnu_debuglink), so that a debugger reading a
# crash of the shipped program finds its symbols.
#
# dist.sh [--fresh] BUILD OUT. With --fresh, a folder that a program has run
# in is laid out anew (the tests copy it as the program ships); the Data
# folder it wrote, the note among it, is moved aside beside it, not deleted.
set -euo pipefail
fresh=0
if [ "${1:-}" = --fresh ]; then fresh=1; shift; fi
build="${1:-build/win32}"
out="${2:-dist/Tabulon}"
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "$fresh" = 1 ] && [ -d "$out" ]; then
  if [ -n "$(ls -A "$out/Data" 2>/dev/null)" ]; then
    kept="$out-Data-$(date +%Y%m%d-%H%M%S)"
    mv "$out/Data" "$kept"
    echo "$out had been run in: its Data folder is now $kept"
  fi
  rm -rf "$out"
fi
mkdir -p "$out/Data" "$out/source/DeskTopBG"
exe="$build/app/Tabulon.exe"
if [ -f "$exe" ]; then
  symbols="$(dirname "$out")/$(bash "$root/tools/package-name.sh" "$exe").debug"
  objcopy=x86_64-w64-mingw32-objcopy # reads 32- and 64-bit images alike
  $objcopy --only-keep-debug "$exe" "$symbols"
  $objcopy --strip-all --add-gnu-debuglink="$symbols" "$exe" "$out/Tabulon.exe"
fi
for f in A1.bmp A2.bmp A.bmp; do
  if [ -f "$root/resources/DeskTopBG/$f" ]; then
    cp "$root/resources/DeskTopBG/$f" "$out/source/DeskTopBG/$f"
  fi
done
echo "program folder: $out"
