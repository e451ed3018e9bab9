#!/usr/bin/env bash
# Prints the Windows the tests run here: win32, or win64 on a machine that runs
# no 32-bit x86 code (tools/wine-env.sh).
source "$(dirname "$0")/wine-env.sh"
echo "$TABULON_WINARCH"
