#!/usr/bin/env bash
# The game's figures, in one run on this machine, from a release build (optimised,
# no debug information) under Wine at X depth 24, where DirectDraw runs at 32 bits:
#   - a drawn game step during a ride: median and 99th percentile, and their share
#     of the 16 ms step (bench/game/game_ddraw_bench.cpp);
#   - the step cadence over SECONDS (60) of a ride in rodeo.exe's loop: steps run
#     against elapsed / 16 ms, drawn frames per second, p99 of the frame interval;
#   - the unpack time of the asset pack;
#   - rodeo.exe itself: the time from its process start to its first engine step
#     (read off Wine's time-stamped trace: the process's creation, and the first
#     picture the engine loads, which the first step does), beside the designed
#     opening (zoom about 0.8 s, then the bar's slide-in, at least 1.85 s);
#   - rodeo.exe's CPU use while playing and while in the background;
#   - the size of rodeo.exe.
# Usage: bench/figures.sh [SECONDS]        (RODEO_X_BASE picks the displays, as for tests)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/figures

scripts/install-deps.sh
mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DRODEO_RELEASE=ON >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
# The shell's own start-up benchmark (the real shell with a timed module), where the
# tree has it.
extra=()
ninja -C "$build" -t targets all 2>/dev/null | grep -q '^startup_bench:' && extra+=(startup_bench)
ninja -C "$build" -j2 rodeo game_ddraw_bench rodeo_probe "${extra[@]}" >"$build/build.log" 2>&1 ||
  { tail -n 40 "$build/build.log"; exit 1; }

export RODEO_X_DEPTH=24
echo "== figures on $(nproc) cores, $(date -u '+%Y-%m-%d %H:%M UTC'), Wine $(wine --version 2>/dev/null | sed 's/^wine-//')"

# The game step, the cadence and the unpack time, in the benchmark program.
RODEO_WINE_HOME=$PWD/$build/wine tools/wine-run "$build/bench/game/game_ddraw_bench.exe" steps 3000 cadence "$seconds" |
  grep -v -i 'wine32\|multiarch\|dpkg --add\|apt-get install'

if [ ${#extra[@]} -gt 0 ]; then
  RODEO_WINE_HOME=$PWD/$build/wine tools/wine-run "$build/bench/shell/startup_bench.exe" |
    grep -v -i 'wine32\|multiarch\|dpkg --add\|apt-get install' | sed 's/^/startup_bench: /'
fi

# rodeo.exe: start-up and CPU use.
source scripts/lib/drive.sh
drive_init "$build"
trace=$PWD/$build/drive/startup-trace.log
WINEDEBUG=-all,+timestamp,+pid,+process,+debugstr drive_start "$trace" || true
if ! drive_wait_window 60; then
  echo "rodeo.exe: no game window within 60 s"
  drive_stop
  exit 1
fi
sleep 6   # the opening and the first steps are over by now
pid=$(drive_game_pid || true)
hz=$(getconf CLK_TCK)
cpu_share() {  # PID SECONDS: percent of one core over the next SECONDS
  local a b
  a=$(drive_cpu_ticks "$1")
  sleep "$2"
  b=$(drive_cpu_ticks "$1")
  awk -v d=$((b - a)) -v hz="$hz" -v s="$2" 'BEGIN { printf "%.1f%%", 100 * d / hz / s }'
}
if [ -n "$pid" ]; then
  cx=$((VIEW_X + 200)) cy=$((VIEW_Y + 150))
  drive_click "$cx" "$cy"   # starts a ride
  # Playing: a click every quarter second, right and left in turn, for 8 s.
  (for i in $(seq 32); do drive_click "$cx" "$cy" $((i % 2 ? 3 : 1)); sleep 0.25; done) &
  clicker=$!
  playing=$(cpu_share "$pid" 8)
  wait "$clicker" || true
  boxes_playing=$(drive_probe boxes | grep -c '^box:' || true)
  # The background: a click on the empty desktop takes the activation away.
  bx=$((FRAME_X + FRAME_W + 40)) by=$((FRAME_Y + FRAME_H + 40))
  [ "$bx" -lt 790 ] || bx=795
  [ "$by" -lt 590 ] || by=595
  drive_click "$bx" "$by"
  sleep 1
  background=$(cpu_share "$pid" 8)
  echo "rodeo.exe CPU use (share of one core): ${playing} while playing (clicks at 4 a second), ${background} in the background"
  [ "$boxes_playing" = 0 ] || echo "  (a dialog was up while playing: the figure includes it)"
else
  echo "rodeo.exe: its process was not found"
fi
drive_stop

/usr/bin/python3 - "$trace" <<'EOF'
import re, sys
lines = open(sys.argv[1], errors="replace").read().splitlines()
pid = start = first = None
for line in lines:
    m = re.match(r"\s*(\d+\.\d+):([0-9a-f]+):[0-9a-f]+:", line)
    if not m:
        continue
    t, who = float(m.group(1)), m.group(2)
    if pid is None:
        c = re.search(r"NtCreateUserProcess .*rodeo\.exe.* pid ([0-9a-f]+) tid", line)
        if c:
            pid, start = c.group(1), t
        continue
    if who == pid and 'OutputDebugStringA "klDrawBMPToDirectDrawSurface start' in line:
        first = t
        break
if start is None or first is None:
    print("start-up: not found in Wine's trace (no process creation or no picture loaded)")
else:
    print(f"start-up: {first - start:.2f} s from rodeo.exe's process start to its first engine step; "
          f"designed opening: zoom about 0.8 s + slide-in at least 1.85 s = at least 2.65 s")
EOF

exe=$build/shell/rodeo.exe
rsrc=$(x86_64-w64-mingw32-objdump -h "$exe" | awk '$2 == ".rsrc" {print $3}')
echo "rodeo.exe size: $(stat -c %s "$exe") bytes (optimised, no debug information), of which resources $((16#${rsrc:-0})) bytes (the asset pack and the program's pictures)"
