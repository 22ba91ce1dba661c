#!/usr/bin/env bash
# Builds rodeo.exe and starts it under Wine. With a desktop (DISPLAY set) the game
# simply opens there. Without one it says so and plays a short automated demo ride
# in a virtual screen (Xvfb), recorded as an animated GIF and a few screenshots.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
ninja -C build/windows rodeo rodeo_probe
if [ -n "${DISPLAY:-}" ]; then
  export RODEO_WINE_HOME=$PWD/build/windows/wine RODEO_USE_DISPLAY=1
  exec tools/wine-run build/windows/shell/rodeo.exe
fi
echo "No display (DISPLAY is not set): playing a short automated demo ride in a virtual"
echo "screen instead, and recording it. Run ./play.sh on a desktop to play yourself."
exec scripts/demo.sh build/windows build/demo
