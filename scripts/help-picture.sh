#!/usr/bin/env bash
# Makes the help document's picture, shell/help/rodeo_play.png: rodeo.exe from the
# Windows build started under Wine, a ride begun with a click, the window's client
# area taken a moment later.
#   scripts/help-picture.sh [build/windows]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
exe=$build/shell/rodeo.exe
[ -f "$exe" ] || { echo "build $exe first (see the README)"; exit 1; }
export RODEO_WINE_HOME=${RODEO_WINE_HOME:-$PWD/$build/wine}
export DISPLAY=:$(( ${RODEO_X_BASE:-91} + 2 ))
tools/wine-run "$exe" &
runner=$!
trap 'kill $runner 2>/dev/null || true' EXIT
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name 'ポムルのロデオ' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "rodeo.exe did not show its window"; exit 1; }
sleep 4   # the buttons' slide-in and the engine's start
xdotool mousemove --window "$window" 200 180 click 1
sleep 2.6  # READY, GO and the first bucks
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage shell/help/rodeo_play.png
xdotool key --window "$window" Escape || true
wait $runner || true
trap - EXIT
echo "wrote shell/help/rodeo_play.png (${WIDTH}x${HEIGHT})"
