#!/usr/bin/env bash
# The blend benchmarks: the row mix natively (Google Benchmark, against
# memcpy of the same bytes), then BlendBitmaps and the whole pin cross-built
# and run under Wine in a private X server.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
native="${BLEND_BENCH_NATIVE:-build/bench}"
source tools/wine-env.sh
build="${BLEND_BENCH_BUILD:-build/bench-$TABULON_WINARCH}"
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DTABULON_BENCH=ON -DTABULON_TESTS=OFF >/dev/null
cmake --build "$native" -j2 --target blend_bench
"$native/bench/blend_bench" --benchmark_min_time=0.5
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$TABULON_TEST_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DTABULON_BENCH=ON -DTABULON_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target blend_bench_win32 pin_bench_win32 pin_picture_bench_win32
# A phone photo's size and grain for the pin onto the user's own picture.
photo="$build/bench/photo-6000x4000.jpg"
[ -f "$photo" ] || convert -size 6000x4000 gradient:'#204080-#e0c040' -attenuate 0.4 \
  +noise Gaussian -quality 90 "$photo"
wine_prefix_ready
echo
# Both run in one X server: the pin needs a display for its windows, and Wine
# keeps the display of the first program of a session for the ones after it.
# The pin puts the wallpaper setting back.
key='HKCU\Control Panel\Desktop'
old="$(wine reg query "$key" /v Wallpaper 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')"
wineserver -w
xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash -c 'wine "$1/bench/blend_bench_win32.exe" && wine "$1/bench/pin_bench_win32.exe" &&
    wine "$1/bench/pin_picture_bench_win32.exe" "$(winepath -w "$2")" first-shipped &&
    wine "$1/bench/pin_picture_bench_win32.exe" "$(winepath -w "$2")"' _ "$build" "$photo" |
  tee "$build/pin-bench.txt"
# Each first pin in a fresh process: the photo's against the shipped backgrounds'.
awk '/^first pin onto the shipped/ {s = $(NF - 1)} /^first pin onto the photo/ {p = $(NF - 1)}
  END {if (s && p) printf "first pin: photo %.1f ms, shipped %.1f ms, ratio %.2f x\n", p, s, p / s}' \
  "$build/pin-bench.txt"
wine reg add "$key" /v Wallpaper /t REG_SZ /d "$old" /f >/dev/null 2>&1 || true
