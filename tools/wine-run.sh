#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix and settings.
# Used by ctest as the cross-compiling emulator.
source "$(dirname "$0")/wine-env.sh"
wine_prefix_ready
exec wine "$@"
