#!/usr/bin/env bash
# make bench: builds the benchmarks natively with -O2 (and the Windows ones in
# the cross tree) and prints every table in one run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DTABULON_BENCH=ON -DTABULON_TESTS=OFF >/dev/null
cmake --build build/bench -j"$(nproc)"
echo
build/bench/bench/png_bench tests/data/pngsuite "${PNG_BENCH_SIZE:-4096}"
for extra in "$root"/bench/run-*.sh; do
  [ -e "$extra" ] || continue
  echo
  bash "$extra"
done
