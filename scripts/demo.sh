#!/usr/bin/env bash
# A short automated demo ride of rodeo.exe in a virtual screen (Xvfb), for a machine
# with no display: starts the game in a Wine virtual desktop, waits for its opening,
# starts a ride with a click, keeps clicking right and left, and records it.
# Writes an animated GIF and a few screenshots into OUT (build/demo by default).
# Usage: scripts/demo.sh [BUILD_DIR [OUT]]     (BUILD_DIR: a Windows build, build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
out=${2:-build/demo}
ninja -C "$build" rodeo rodeo_probe >/dev/null
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/frame-*.png "$out"/demo.gif "$out"/*.png

source scripts/lib/drive.sh
drive_init "$build" 640x480
drive_start "$out/wine.log" || true
if ! drive_wait_window 90; then
  echo "demo: the game window did not appear; Wine's output is in $out/wine.log" >&2
  drive_stop
  exit 1
fi
sleep 4   # the opening: zoom and the bar's slide-in
drive_wait_window 5 || true
crop=${FRAME_W}x${FRAME_H}+${FRAME_X}+${FRAME_Y}
drive_screenshot "$out/1-title.png" "$crop"

cx=$((VIEW_X + 200)) cy=$((VIEW_Y + 150))
drive_click "$cx" "$cy"   # starts a ride: READY, GO
# Clicks right and left in turn, a little faster than the cow bucks at first.
(sleep 2.5; for i in $(seq 40); do drive_click "$cx" "$cy" $((i % 2 ? 3 : 1)); sleep 0.3; done) &
clicker=$!
n=0
t0=$SECONDS
while [ $((SECONDS - t0)) -lt 14 ]; do
  drive_screenshot "$(printf '%s/frame-%03d.png' "$out" "$n")" "$crop"
  n=$((n + 1))
  sleep 0.05
done
wait "$clicker" 2>/dev/null || true
cp "$(printf '%s/frame-%03d.png' "$out" $((n * 2 / 5)))" "$out/2-ride.png"
drive_screenshot "$out/3-after.png" "$crop"
drive_stop

# Frames came roughly every 0.15 s; the GIF plays them at that pace.
convert -delay 15 -loop 0 "$out"/frame-*.png -layers Optimize "$out/demo.gif"
rm -f "$out"/frame-*.png
echo "demo: $n frames of a ride recorded"
echo "  animated GIF:  $out/demo.gif"
echo "  screenshots:   $out/1-title.png $out/2-ride.png $out/3-after.png"
