#!/usr/bin/env bash
# The auto-save benchmark: cross-built, run under Wine in a private X server
# (the rich edit control needs one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
source tools/wine-env.sh
build="${AUTOSAVE_BENCH_BUILD:-build/bench-$TABULON_WINARCH}"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$TABULON_TEST_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DTABULON_BENCH=ON -DTABULON_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target autosave_bench
wine_prefix_ready
xvfb-run -a -s "-screen 0 1280x1024x24" wine "$build/bench/autosave_bench.exe"
