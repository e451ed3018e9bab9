#!/usr/bin/env bash
# One Tabulon per note: a second start while the first one is
# minimised brings the first window back and ends; one program stays.
set -uo pipefail
source "$(dirname "$0")/program.sh"

check "the window appears" start
first=$wpid
minimise_button
check "minimise minimises it" until_ok 10 minimised

launch
second=$wpid
check "the second start ends by itself" until_ok 30 ended "$second"
check "the first window is back" until_ok 10 restored
check "the first program still runs" kill -0 "$first"
check "one main window" [ "$(main_windows)" -eq 1 ]
wpid=$first
stop

echo "single instance: $failures failure(s)"
[ "$failures" -eq 0 ]
