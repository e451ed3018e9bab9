#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz and runs each fuzz_<name> for
# FUZZ_SECONDS (default 60) on one core, niced. Seeds come from
# fuzz/corpus/<name>/ (copied, so the committed seeds stay as they are); new
# inputs collect in build/fuzz/corpus/<name>/, findings in build/fuzz/findings/.
# Known crashers under tests/data/crashers/<name>/ are replayed first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-60}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTABULON_FUZZ=ON -DTABULON_TESTS=OFF >/dev/null
targets=()
for src in "$root"/fuzz/fuzz_*.cpp; do
  targets+=("$(basename "$src" .cpp)" "$(basename "$src" .cpp)_replay")
done
cmake --build "$build" -j2 --target "${targets[@]}"

status=0
for src in "$root"/fuzz/fuzz_*.cpp; do
  target="$(basename "$src" .cpp)"
  name="${target#fuzz_}"
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  mkdir -p "$corpus" "$findings"
  [ -d "$root/fuzz/corpus/$name" ] && cp -n "$root/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
  if [ -d "$root/tests/data/crashers/$name" ]; then
    "$build/fuzz/${target}_replay" "$root/tests/data/crashers/$name" >/dev/null || status=1
  fi
  echo "== $target: ${seconds}s"
  nice -n 10 "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" || status=1
done
exit $status
