#!/usr/bin/env bash
# `make run`, then the UI tests, in one clone: the program `make run` starts
# runs in a program folder of its own, and the folder the UI tests copy as
# the shipped program holds nothing a run wrote.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
dist="$TABULON_TEST_DIST"
[ -f "$dist/Tabulon.exe" ] || { echo "no $dist/Tabulon.exe (make dist)"; exit 1; }
listing() { (cd "$1" && find . -type f -exec md5sum {} + | sort); }
before="$(listing "$dist")"
out="$(env -u DISPLAY bash "$root/tools/run.sh" 2>&1)"
kill_wine_session
folder="$(sed -n 's/^program folder: //p' <<<"$out")"
check "make run starts the program" grep -q '^screenshot: ' <<<"$out"
check "from a folder other than the one the tests copy" \
  test -n "$folder" -a "$(realpath -m "$folder")" != "$(realpath "$dist")"
check "which holds its note" test -f "$folder/Data/content.ini"
check "the tests' folder is as it was" test "$(listing "$dist")" = "$before"
check "and holds only the program and its backgrounds" test "$(cd "$dist" && find . -type f | LC_ALL=C sort)" = \
  "$(printf '%s\n' ./Tabulon.exe ./source/DeskTopBG/A.bmp ./source/DeskTopBG/A1.bmp ./source/DeskTopBG/A2.bmp)"
echo "run folder: $failures failure(s)"
[ "$failures" -eq 0 ]
