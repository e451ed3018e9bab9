#!/usr/bin/env bash
# The import table, the loader flags, the machine type and the embedded
# manifest of the shipped programs (tools/check-pe.py). First the check itself
# is tried on small programs built here and on doctored copies of Tabulon.exe
# with the flaws it must catch; then it runs on the 32- and 64-bit programs and
# on any further executables given (the e2e run adds the installer's copy).
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
hard="-s -Wl,--dynamicbase -Wl,--nxcompat -Wl,--large-address-aware" # stripped, as shipped
# The small programs carry the 32-bit program's manifest, as a real one would.
printf '1 24 "%s"\n' "$root/build/win32/resources/Tabulon.manifest" >"$work/m.rc"
i686-w64-mingw32-windres "$work/m.rc" -O coff -o "$work/m.o"
$cc -O1 -o "$work/dynamic-zlib.exe" "$work/z.c" "$work/m.o" -lz $hard
$cc -O1 -o "$work/static-zlib.exe" "$work/z.c" "$work/m.o" -static -l:libz.a $hard
$cc -O1 -o "$work/soft.exe" "$work/z.c" "$work/m.o" -static -l:libz.a \
  -Wl,--disable-dynamicbase -Wl,--disable-nxcompat -Wl,--disable-large-address-aware

# fails_with [--symbols DIR] FILE TEXT: the check rejects FILE and names TEXT.
fails_with() {
  local out; out="$("$check_pe" "${@:1:$#-1}")" && return 1
  grep -qF -- "${!#}" <<<"$out"
}
check "a program importing zlib1.dll is rejected by name" fails_with "$work/dynamic-zlib.exe" "zlib1.dll"
check "the same with zlib linked in passes" "$check_pe" "$work/static-zlib.exe"
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


# doctored FROM TO: a copy of the 64-bit program with the bytes FROM of its
# manifest replaced by TO, padded with blanks to the same length.
x64="$root/build/dist64/Tabulon/Tabulon.exe"
doctored() {
  /usr/bin/python3 - "$x64" "$work/doctored.exe" "$1" "$2" <<'PY'
import sys
data, old, new = open(sys.argv[1], "rb").read(), sys.argv[3].encode(), sys.argv[4].encode()
assert data.count(old) >= 1
open(sys.argv[2], "wb").write(data.replace(old, new.ljust(len(old)), 1))
PY
}
doctored 'processorArchitecture="amd64"' 'processorArchitecture="x86"'
check "a 64-bit program whose manifest says x86 is rejected" fails_with "$work/doctored.exe" 'the program processorArchitecture="x86"'
doctored 'processorArchitecture="amd64" publicKeyToken' 'processorArchitecture="x86" publicKeyToken'
check "so is one whose Common Controls say x86" fails_with "$work/doctored.exe" 'Common Controls processorArchitecture="x86"'
doctored '>PerMonitorV2, PerMonitor' '>PerMonitorV2'
check "a manifest without the PerMonitor fallback is rejected" fails_with "$work/doctored.exe" "dpiAwareness"
check "a program as linked, with its debug sections, is rejected" \
  fails_with "$root/build/win64/app/Tabulon.exe" "carries debug section .debug_info"
cp "$x64" "$work/Tabulon.exe"
check "a program whose symbols are not beside it is rejected" \
  fails_with --symbols "$work" "$work/Tabulon.exe" "is not in $work"
echo other >"$work/$(bash "$root/tools/package-name.sh" "$x64").debug"
check "so is one whose symbols are another build's" \
  fails_with --symbols "$work" "$work/Tabulon.exe" "CRC differs"

# The program folders as they ship: stripped, their symbols beside the folder.
for exe in "$root/dist/Tabulon/Tabulon.exe" "$x64"; do
  check "$exe: its machine type, manifest, imports, flags and symbols" \
    "$check_pe" --symbols "$(dirname "$(dirname "$exe")")" "$exe"
done
for exe in "$@"; do
  check "$exe: its machine type, manifest, imports and flags" "$check_pe" "$exe"
done

echo "pe: $failures failure(s)"
[ "$failures" -eq 0 ]
