#!/usr/bin/env bash
# headless-run.sh EXE SHOT: starts EXE under Wine in a fresh Xvfb, waits for
# its main window titled "Tabulon", saves a screenshot to SHOT and ends it.
# Only the processes started here are ended: other Wine programs sharing the
# prefix keep running.
set -euo pipefail
exe="$1"; shot="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/wine-env.sh"
wine_prefix_ready
disp=":$((90 + RANDOM % 100))"
Xvfb "$disp" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
wpid=""
cleanup() {
  [ -n "$wpid" ] && kill "$wpid" 2>/dev/null || true
  kill "$xpid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$disp"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
(cd "$(dirname "$exe")" && exec wine "$(basename "$exe")") &
wpid=$!
# The main window is the 584 x 382 one (the other "Tabulon" window is the
# application's zero-sized taskbar entry).
win=""
for _ in $(seq 150); do
  for w in $(xdotool search --onlyvisible --name '^Tabulon$' 2>/dev/null || true); do
    if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 584x382'; then win=$w; fi
  done
  [ -n "$win" ] && break
  sleep 0.2
done
if [ -z "$win" ]; then
  echo "the Tabulon window did not appear" >&2
  exit 1
fi
sleep 0.5 # let the first paint reach the X server
mkdir -p "$(dirname "$shot")"
/usr/bin/import -window root "$shot"
echo "screenshot: $shot"
kill "$wpid" 2>/dev/null || true
wait "$wpid" 2>/dev/null || true
wpid=""
