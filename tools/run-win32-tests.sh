#!/usr/bin/env bash
# Runs the cross-built tests under Wine inside a private X server.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
build="${1:-$TABULON_TEST_BUILD}"
wine_prefix_ready
# One at a time: the GUI tests share the Wine server and the X display.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure
