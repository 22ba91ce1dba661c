#!/usr/bin/env bash
# Builds rodeo.exe and starts it under Wine. With a desktop (DISPLAY set) the game
# opens there; without one it runs in a virtual screen (Xvfb :93) and says how to
# look at it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
ninja -C build/windows rodeo
export RODEO_WINE_HOME=$PWD/build/windows/wine
if [ -n "${DISPLAY:-}" ]; then
  export RODEO_USE_DISPLAY=1
else
  export RODEO_DESKTOP=${RODEO_DESKTOP:-640x480}
  echo "No DISPLAY: the game runs in the virtual screen :93."
  echo "Look at it with: DISPLAY=:93 import -window root shot.png"
fi
exec tools/wine-run build/windows/shell/rodeo.exe
