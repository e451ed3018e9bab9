#!/usr/bin/env bash
# package-name.sh EXE: prints the name a release gives the files of this
# program, "Tabulon-<version>-win32" or "Tabulon-<version>-win64" (the version
# is set once, in CMakeLists.txt; the word size is the image's own).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
version=$(sed -n 's/^project(Tabulon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
arch=win32
if x86_64-w64-mingw32-objdump -f "$1" | grep -q 'pei-x86-64'; then arch=win64; fi
echo "Tabulon-$version-$arch"
