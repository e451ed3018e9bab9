#!/usr/bin/env bash
# headless-run.sh EXE SHOT: starts EXE under Wine in a fresh Xvfb, waits for
# its window titled "Tabulon", saves a screenshot to SHOT and ends it.
set -euo pipefail
exe="$1"; shot="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/wine-env.sh"
wine_prefix_ready
disp=":$((90 + RANDOM % 100))"
Xvfb "$disp" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid 2>/dev/null || true' EXIT
export DISPLAY="$disp"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
(cd "$(dirname "$exe")" && wine "$(basename "$exe")") &
wpid=$!
win=""
for _ in $(seq 150); do
  win=$(xdotool search --name '^Tabulon$' 2>/dev/null | head -n1 || true)
  [ -n "$win" ] && break
  sleep 0.2
done
if [ -z "$win" ]; then
  echo "the Tabulon window did not appear" >&2
  kill $wpid 2>/dev/null || true
  exit 1
fi
sleep 1
mkdir -p "$(dirname "$shot")"
/usr/bin/import -window root "$shot"
echo "screenshot: $shot"
wineserver -k || true
wait $wpid 2>/dev/null || true
