#!/usr/bin/env bash
# tools/install-deps.sh against stand-ins for dpkg-query (every package
# missing), dpkg, apt-get, sudo, localedef, sleep and the machine's answer to
# tools/runs-i386.sh: a mirror whose update fails once or for good stops
# nothing, a package the mirror lacks is named, and i386 packages (and the
# i386 architecture) are asked for exactly where the machine runs 32-bit x86
# code. Nothing real is installed, as root or not.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/ui/lib.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/tools"
# The scripts run from a copy of tools/ whose probe gives the answer $RUNS_I386.
cp "$root/tools/install-deps.sh" "$root/tools/wine-env.sh" "$root/tools/wine-arch.sh" "$work/tools/"
printf '#!/bin/sh\nexit "$RUNS_I386"\n' >"$work/tools/runs-i386.sh"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/sleep"
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
printf '#!/bin/sh\necho "dpkg $*" >>"$LOG"\n' >"$work/bin/dpkg"
printf '#!/bin/sh\necho "localedef $*" >>"$LOG"\n' >"$work/bin/localedef"
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

# run FAIL_UPDATES LACKING [RUNS_I386]: runs the script (on a machine that
# runs 32-bit code unless RUNS_I386 is 1); its exit status in $code, its
# output and the log of apt-get and dpkg in $work.
run() {
  : >"$work/log"
  PATH="$work/bin:$PATH" LOG="$work/log" FAIL_UPDATES="$1" LACKING="$2" RUNS_I386="${3:-0}" \
    bash "$work/tools/install-deps.sh" >"$work/out" 2>&1
  code=$?
}
installed_with() { grep -q "^install -y .* $1\( \|$\)" "$work/log"; }
logged() { grep -q -- "$1" "$work/log"; }
# tests_run ANSWER: the program the Windows tests choose for that answer of the probe.
tests_run() { env -u TABULON_WINARCH RUNS_I386="$1" bash "$work/tools/wine-arch.sh"; }

run 1 ""
check "an update that fails once is tried again and the install goes on" \
  test $code -eq 0 -a "$(grep -c update "$work/log")" -eq 2
check "the install asks for the 64-bit Wine" installed_with wine64
check "where 32-bit code runs: the i386 architecture is added" logged "^dpkg --add-architecture i386$"
check "and the 32-bit Wine is asked for" installed_with 'wine32:i386'
check "and the Windows tests choose the 32-bit program" test "$(tests_run 0)" = win32
run 1 "" 1
check "where no 32-bit code runs: the install goes on" test $code -eq 0
check "without the i386 architecture" bash -c "! grep -q 'add-architecture' '$work/log'"
check "and without any i386 package" bash -c "! grep -q ':i386' '$work/log'"
check "but with the 64-bit Wine" installed_with wine64
check "and the Windows tests choose the 64-bit program" test "$(tests_run 1)" = win64
run 9 ""
check "an update that keeps failing still installs what the mirror offers" \
  test $code -eq 0 -a -n "$(grep 'going on' "$work/out")" -a -n "$(grep '^install -y' "$work/log")"
run 0 xdotool
check "a package the mirror lacks fails the set-up and is named" \
  test $code -ne 0 -a -n "$(grep 'cannot install: xdotool' "$work/out")"

echo "install-deps: $failures failure(s)"
[ "$failures" -eq 0 ]
