#!/usr/bin/env bash
# Start-up time under Wine: from starting the process to its main window being
# visible on the X server, for Tabulon and for a minimal Win32 program that
# shows one window, in the same Xvfb and the same run. Each program is started
# RUNS times (default 20), alternating, after one warm-up start; prints
# min / median / max and the ratio of the medians.
# The window is detected by polling xdotool every few milliseconds, so the
# figures carry that much granularity.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
source tools/wine-env.sh
build="${STARTUP_BENCH_BUILD:-build/bench-$TABULON_WINARCH}"
runs="${RUNS:-20}"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$TABULON_TEST_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DTABULON_BENCH=ON -DTABULON_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target Tabulon minimal_window >/dev/null
wine_prefix_ready

work="$(mktemp -d)"
bash tools/dist.sh "$build" "$work/Tabulon" >/dev/null
cp "$build/bench/minimal_window.exe" "$work/"
disp=":$((500 + RANDOM % 200))"
Xvfb "$disp" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
pid=""
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; kill $xpid 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$disp"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# once DIR EXE TITLE: milliseconds until a visible 584x382 window titled TITLE shows.
once() {
  local start end w
  start=$(date +%s%N)
  (cd "$1" && exec wine "$2") &
  pid=$!
  while :; do
    for w in $(xdotool search --onlyvisible --name "^$3\$" 2>/dev/null); do
      if xdotool getwindowgeometry "$w" | grep -q 'Geometry: 584x382'; then
        end=$(date +%s%N)
        kill $pid 2>/dev/null; wait $pid 2>/dev/null || true; pid=""
        echo $(( (end - start) / 1000000 ))
        return
      fi
    done
    if [ $(( ($(date +%s%N) - start) / 1000000 )) -gt 30000 ]; then
      echo "timeout"; kill $pid 2>/dev/null; pid=""; return
    fi
    sleep 0.005
  done
}

stats() { # prints "min median max" of the arguments
  printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%d %d %d", a[1], a[int((NR+1)/2)], a[NR]}'
}

once "$work/Tabulon" Tabulon.exe Tabulon >/dev/null # warm-up: Wine server, fonts, caches
once "$work" minimal_window.exe Minimal >/dev/null
tab=(); min=()
for _ in $(seq "$runs"); do
  tab+=("$(once "$work/Tabulon" Tabulon.exe Tabulon)")
  min+=("$(once "$work" minimal_window.exe Minimal)")
done
echo "Start-up to visible main window under Wine, $runs runs each (ms):"
printf '  %-16s %8s %8s %8s\n' program min median max
printf '  %-16s %8s %8s %8s\n' Tabulon $(stats "${tab[@]}")
printf '  %-16s %8s %8s %8s\n' minimal_window $(stats "${min[@]}")
tm=($(stats "${tab[@]}")); mm=($(stats "${min[@]}"))
awk -v t="${tm[1]}" -v m="${mm[1]}" 'BEGIN { printf "  median ratio Tabulon / minimal_window: %.2fx (target 1.5x)\n", t / m }'
