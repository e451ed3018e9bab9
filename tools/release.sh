#!/usr/bin/env bash
# Builds the release packages from dist/Tabulon: the portable zip and the
# per-user NSIS installer, both named after the project version.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="$root/dist/Tabulon"
out="$root/release"
version=$(sed -n 's/^project(Tabulon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
for f in Tabulon.exe source/DeskTopBG/A1.bmp source/DeskTopBG/A2.bmp source/DeskTopBG/A.bmp; do
  [ -f "$dist/$f" ] || { echo "missing $dist/$f (run make dist)" >&2; exit 1; }
done
mkdir -p "$out"
zip="$out/Tabulon-$version-win32.zip"
rm -f "$zip"
# The zip holds the program folder as the program expects it, with an empty
# Data folder for the note.
(cd "$root/dist" && zip -q -r -X "$zip" Tabulon -x 'Tabulon/Data/*' && zip -q "$zip" Tabulon/Data/)
setup="$out/Tabulon-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DDISTDIR="$dist" \
  -DICON="$root/resources/Tabulon.ico" -DOUTFILE="$setup" "$root/installer/Tabulon.nsi"
echo "release: $zip"
echo "release: $setup"
