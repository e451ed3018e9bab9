#!/usr/bin/env bash
# The import table and the loader flags of the shipped program (tools/check-pe.py).
# First the check itself is tried on small programs built here with the flaws
# it must catch; then it runs on the program folder's Tabulon.exe and on any
# further executables given (the e2e run adds the installer's copy).
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
check_pe="$root/tools/check-pe.py"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat >"$work/z.c" <<'C'
#include <zlib.h>
#include <stdio.h>
int main(void) { puts(zlibVersion()); return 0; }
C
cc=i686-w64-mingw32-gcc
hard="-Wl,--dynamicbase -Wl,--nxcompat -Wl,--large-address-aware"
$cc -O1 -o "$work/dynamic-zlib.exe" "$work/z.c" -lz $hard
$cc -O1 -o "$work/static-zlib.exe" "$work/z.c" -static -l:libz.a $hard
$cc -O1 -o "$work/soft.exe" "$work/z.c" -static -l:libz.a \
  -Wl,--disable-dynamicbase -Wl,--disable-nxcompat -Wl,--disable-large-address-aware

# fails_with FILE TEXT: the check rejects FILE and names TEXT.
fails_with() {
  local out; out="$(python3 "$check_pe" "$1")" && return 1
  grep -qF -- "$2" <<<"$out"
}
check "a program importing zlib1.dll is rejected by name" fails_with "$work/dynamic-zlib.exe" "zlib1.dll"
check "the same with zlib linked in passes" python3 "$check_pe" "$work/static-zlib.exe"
check "a program without ASLR is rejected" fails_with "$work/soft.exe" "no dynamic base"
check "a program without DEP is rejected" fails_with "$work/soft.exe" "not NX compatible"
check "a program without large addresses is rejected" fails_with "$work/soft.exe" "not large-address aware"
check "a file that is no program is rejected" fails_with "$work/z.c" "cannot read it"
cat >"$work/blt.c" <<'C'
#include <windows.h>
int main(void) { return TransparentBlt(0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0); }
C
$cc -O1 -o "$work/msimg.exe" "$work/blt.c" -static -lmsimg32 $hard
check "a load-time import of msimg32.dll (no KnownDLL) is rejected" \
  fails_with "$work/msimg.exe" "at load time"

exe="${TABULON_DIST:-$root/dist/Tabulon}/Tabulon.exe"
check "dist: $exe needs no DLL a clean Windows lacks" python3 "$check_pe" "$exe"
for extra in "$@"; do
  check "$extra needs no DLL a clean Windows lacks" python3 "$check_pe" "$extra"
done

echo "pe: $failures failure(s)"
[ "$failures" -eq 0 ]
