#!/usr/bin/env bash
# tools/install-deps.sh against stand-ins for dpkg-query (every package
# missing), apt-get and sleep: a mirror whose update fails once or for good
# stops nothing, a package the mirror lacks is named, and i386 packages are
# asked for exactly where this machine runs 32-bit x86 code.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
# Not root, the script would call the real apt-get through sudo.
[ "$(id -u)" -eq 0 ] || { echo "install-deps: skipped (not root)"; exit 0; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/sleep"
# apt-get: `update` fails the first $FAIL_UPDATES times; `install` fails
# whenever $LACKING is among its packages; every call is logged.
cat >"$work/bin/apt-get" <<'SH'
#!/bin/bash
echo "$*" >>"$LOG"
case "$*" in
  *update*)
    n=$(grep -c update "$LOG")
    [ "$n" -gt "$FAIL_UPDATES" ] || { echo "E: File has unexpected size. Mirror sync in progress?" >&2; exit 100; } ;;
  *install*)
    [ -n "$LACKING" ] && [[ " $* " == *" $LACKING "* ]] && { echo "E: Unable to locate package $LACKING" >&2; exit 100; } ;;
esac
exit 0
SH
chmod +x "$work/bin/"*

# run FAIL_UPDATES LACKING: runs the script; its exit status in $code, its
# output and the apt log in $work.
run() {
  : >"$work/log"
  PATH="$work/bin:$PATH" LOG="$work/log" FAIL_UPDATES="$1" LACKING="$2" \
    bash "$root/tools/install-deps.sh" >"$work/out" 2>&1
  code=$?
}
installed_with() { grep -q "^install -y .* $1\( \|$\)" "$work/log"; }

run 1 ""
check "an update that fails once is tried again and the install goes on" \
  test $code -eq 0 -a "$(grep -c update "$work/log")" -eq 2
check "the install asks for the 64-bit Wine" installed_with wine64
if bash "$root/tools/runs-i386.sh"; then
  check "this machine runs 32-bit code: the 32-bit Wine is asked for" grep -q 'wine32:i386' "$work/log"
else
  check "this machine runs no 32-bit code: no i386 package is asked for" bash -c "! grep -q ':i386' '$work/log'"
  check "and the Windows tests choose the 64-bit program" \
    bash -c "[ \"\$(env -u TABULON_WINARCH bash '$root/tools/wine-arch.sh')\" = win64 ]"
fi
run 9 ""
check "an update that keeps failing still installs what the mirror offers" \
  test $code -eq 0 -a -n "$(grep 'going on' "$work/out")" -a -n "$(grep '^install -y' "$work/log")"
run 0 xdotool
check "a package the mirror lacks fails the set-up and is named" \
  test $code -ne 0 -a -n "$(grep 'cannot install: xdotool' "$work/out")"

echo "install-deps: $failures failure(s)"
[ "$failures" -eq 0 ]
