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
#   - the size of rodeo.exe (this release build, and the everyday build/windows one
#     when it is there), and the release package of scripts/release.sh.
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
# A dialog (the new-record dialog after a ride that ranks, then the table) runs a
# loop of its own that waits: slices with one up do not count as play. Such a box is
# closed (a name typed into the new-record dialog) and the next slice starts a ride.
close_boxes() {  # 0 when none was up
  local out line seen=0
  for _ in 1 2 3 4; do
    out=$(drive_probe boxes)
    line=$(grep '^box:' <<<"$out" | head -n 1 || true)
    [ -n "$line" ] || return "$seen"
    seen=1
    if grep -q 'edit=1' <<<"$line"; then drive_key --delay 30 f i g u r e s Return; else drive_key Escape; fi
    sleep 1
  done
  return "$seen"
}
if [ -n "$pid" ]; then
  px=$((VIEW_X + 5)) py=$((VIEW_Y + 260))   # in the view, where no dialog reaches
  # Playing: 2-second slices of clicks at 4 a second, right and left in turn (the
  # first click of a slice starts a ride when none is on), until 8 s without a
  # dialog are measured.
  used=0 slices=0 counted=0
  while [ "$counted" -lt 4 ] && [ "$slices" -lt 12 ]; do
    slices=$((slices + 1))
    a=$(drive_cpu_ticks "$pid"); t=$(date +%s%N)
    for i in 1 2 3 4 5 6 7 8; do drive_click "$px" "$py" $((i % 2 ? 1 : 3)); sleep 0.25; done
    b=$(drive_cpu_ticks "$pid"); u=$(date +%s%N)
    if close_boxes; then
      used=$((used + b - a)) counted=$((counted + 1)) ns=$(( ${ns:-0} + u - t ))
    fi
  done
  playing=$(awk -v d="$used" -v hz="$hz" -v ns="${ns:-1}" 'BEGIN { printf "%.1f%%", 100 * d / hz / (ns / 1e9) }')
  # The background: a click on the empty desktop takes the activation away.
  bx=$((FRAME_X + FRAME_W + 40)) by=$((FRAME_Y + FRAME_H + 40))
  [ "$bx" -lt 790 ] || bx=795
  [ "$by" -lt 590 ] || by=595
  drive_click "$bx" "$by"
  sleep 1
  background=$(cpu_share "$pid" 8)
  echo "rodeo.exe CPU use (share of one core): ${playing} while playing (clicks at 4 a second;" \
    "$counted slices of 2 s without a dialog, of $slices), ${background} in the background (another window active)"
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
echo "rodeo.exe size: $(stat -c %s "$exe") bytes as measured here (optimised, no debug information)," \
  "of which resources $((16#${rsrc:-0})) bytes (the asset pack and the program's pictures)"
if [ -f build/windows/shell/rodeo.exe ]; then
  echo "  the everyday build's rodeo.exe (build/windows, with debug information): $(stat -c %s build/windows/shell/rodeo.exe) bytes"
fi
# The release package, from the same build folder (its options are the release's).
release=$(scripts/release.sh --build-dir "$build" 2>&1 | grep -E '^(rodeo.exe|package):' || true)
echo "release (scripts/release.sh): $(tr '\n' ';' <<<"$release" | sed 's/;$//; s/;/; /g')"
