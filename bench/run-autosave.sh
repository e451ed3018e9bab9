#!/usr/bin/env bash
# The auto-save benchmark: cross-built, run under Wine in a private X server
# (the rich edit control needs one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${AUTOSAVE_BENCH_BUILD:-build/bench-win32}"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DTABULON_BENCH=ON -DTABULON_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target autosave_bench
source tools/wine-env.sh
wine_prefix_ready
xvfb-run -a -s "-screen 0 1280x1024x24" wine "$build/bench/autosave_bench.exe"
