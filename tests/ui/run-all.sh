#!/usr/bin/env bash
# Runs every UI test (tests/ui/test_*.sh) under Wine in Xvfb against dist/Tabulon
# (or the 64-bit program folder: TABULON_TEST_DIST in tools/wine-env.sh).
# Prints "N passed, N failed" and fails when any test fails.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
pass=0; fail=0
for t in "$here"/test_*.sh; do
  [ -e "$t" ] || continue
  echo "== $(basename "$t")"
  if bash "$t"; then pass=$((pass + 1)); else fail=$((fail + 1)); echo "FAILED: $(basename "$t")"; fi
done
echo "ui: $pass passed, $fail failed"
[ "$fail" -eq 0 ]
