# Driving rodeo.exe under Wine from a script, as a player would: start it in a Wine
# virtual desktop, find its window, click and press keys with xdotool, read its
# process from outside (rodeo_probe.exe) and stop it. Sourced by bench/figures.sh,
# scripts/demo.sh and scripts/soak.sh.
#
#   drive_init BUILD_DIR [DESKTOP]   uses BUILD_DIR's rodeo.exe, rodeo_probe.exe and a
#                                    prefix of its own under BUILD_DIR/wine-drive
#   drive_start [LOG]                starts the game (Wine's output goes to LOG when it ends)
#   drive_wait_window [SECONDS]      waits for the frame; sets VIEW_X VIEW_Y FRAME_*
#   drive_wait_ready [SECONDS]       the same, until the bar has slid in (all seven buttons)
#   drive_probe WHAT                 prints what rodeo_probe.exe says (find, counts, boxes)
#   drive_click X Y [BUTTON]         clicks at a point of the virtual desktop
#   drive_key KEY...                 presses keys (xdotool names: Escape, F6, ...)
#   drive_game_pid                   the Unix process id of the running rodeo.exe
#   drive_cpu_ticks PID              its CPU time so far, in clock ticks
#   drive_wait_gone PID SECONDS      waits for that process to end
#   drive_stop                       ESC (then the close message), waits for the game to
#                                    end, and ends its process only if it is stuck

drive_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

drive_init() {
  DRIVE_BUILD=$(cd "$1" && pwd)
  export RODEO_DESKTOP=${2:-800x600}
  export RODEO_WINE_HOME=$DRIVE_BUILD/wine-drive
  export RODEO_X_DEPTH=${RODEO_X_DEPTH:-24}
  local base=${RODEO_X_BASE:-91}
  case "$RODEO_X_DEPTH" in 8) DRIVE_DISPLAY=:$base ;; 16) DRIVE_DISPLAY=:$((base + 1)) ;; *) DRIVE_DISPLAY=:$((base + 2)) ;; esac
  DRIVE_EXE=$DRIVE_BUILD/shell/rodeo.exe
  DRIVE_PROBE=$DRIVE_BUILD/tools/probe/rodeo_probe.exe
  DRIVE_TMP=$DRIVE_BUILD/drive
  mkdir -p "$DRIVE_TMP"
  DRIVE_RUNNER=
}

drive_start() {
  local log=${1:-$DRIVE_TMP/wine.log}
  rm -f "$log"
  (cd "$drive_root" && tools/wine-run "$DRIVE_EXE" >"$log" 2>&1) &
  DRIVE_RUNNER=$!
  # The first program in a Wine virtual desktop makes it and stays as its keeper; a
  # probe started before the game has its process would be that program, never end,
  # and leave the game's launcher to return at once. So wait for the game first.
  local i
  for i in $(seq 600); do
    drive_game_pid >/dev/null && return 0
    kill -0 "$DRIVE_RUNNER" 2>/dev/null || break
    sleep 0.1
  done
  echo "drive: rodeo.exe did not start" >&2
  return 1
}

drive_probe() {
  local out=$DRIVE_TMP/probe-$$.txt
  rm -f "$out" "$out.part"
  (cd "$drive_root" && tools/wine-run "$DRIVE_PROBE" "$1" "$out" 2>&1 | grep -v -i 'wine32\|multiarch\|dpkg --add\|apt-get install' || true)
  for _ in $(seq 100); do [ -f "$out" ] && break; sleep 0.1; done
  [ -f "$out" ] && tr -d '\r' <"$out"
  rm -f "$out"
}

drive_wait_window() {
  local limit=${1:-60} found t0=$SECONDS
  while [ $((SECONDS - t0)) -lt "$limit" ]; do
    found=$(drive_probe find)
    DRIVE_FOUND=$found
    if grep -q '^frame=' <<<"$found"; then
      FRAME_X=$(sed -n 's/^frame=.* x=\(-\?[0-9]*\) .*/\1/p' <<<"$found")
      FRAME_Y=$(sed -n 's/^frame=.* y=\(-\?[0-9]*\) .*/\1/p' <<<"$found")
      FRAME_W=$(sed -n 's/^frame=.* w=\([0-9]*\) .*/\1/p' <<<"$found")
      FRAME_H=$(sed -n 's/^frame=.* h=\([0-9]*\)$/\1/p' <<<"$found")
      VIEW_X=$(sed -n 's/^view x=\(-\?[0-9]*\) .*/\1/p' <<<"$found")
      VIEW_Y=$(sed -n 's/^view x=.* y=\(-\?[0-9]*\)$/\1/p' <<<"$found")
      return 0
    fi
    sleep 0.5
  done
  return 1
}

drive_wait_ready() {
  local limit=${1:-90} t0=$SECONDS
  while [ $((SECONDS - t0)) -lt "$limit" ]; do
    drive_wait_window $((limit - (SECONDS - t0))) || return 1
    grep -q '^bar buttons=7$' <<<"$DRIVE_FOUND" && return 0
    sleep 0.3
  done
  return 1
}

drive_click() {
  DISPLAY=$DRIVE_DISPLAY xdotool mousemove "$1" "$2" click "${3:-1}"
}

drive_key() {
  DISPLAY=$DRIVE_DISPLAY xdotool key "$@"
}

drive_screenshot() {  # FILE [WxH+X+Y]
  if [ -n "${2:-}" ]; then
    DISPLAY=$DRIVE_DISPLAY import -window root -crop "$2" +repage "$1"
  else
    DISPLAY=$DRIVE_DISPLAY import -window root "$1"
  fi
}

# The Wine process of our own prefix whose program is rodeo.exe (other checkouts'
# games run in prefixes of their own).
drive_game_pid() {
  local p
  for p in $(pgrep -f 'rodeo\.exe' || true); do
    [ -r "/proc/$p/environ" ] || continue
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$RODEO_WINE_HOME/prefix-$RODEO_X_DEPTH" || continue
    tr '\0' ' ' <"/proc/$p/cmdline" | grep -q '^[^ ]*rodeo\.exe' || continue
    echo "$p"
    return 0
  done
  return 1
}

drive_cpu_ticks() {
  local f
  read -r -a f <"/proc/$1/stat"
  # Fields 14 and 15: user and system time (the name in field 2 has no spaces here).
  echo $((f[13] + f[14]))
}

drive_wait_gone() {  # PID SECONDS: until that process has ended
  local i
  [ -n "$1" ] || return 0
  for i in $(seq $(($2 * 10))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

drive_stop() {
  local pid
  pid=$(drive_game_pid || true)
  if drive_wait_window 5; then
    drive_click $((FRAME_X + 60)) $((FRAME_Y + 10))   # the title bar: the game gets the keys
    sleep 0.5
    drive_key Escape
    if ! drive_wait_gone "$pid" 10; then
      echo "drive: ESC did not end the game; sending its frame the close message" >&2
      drive_probe close >/dev/null
      drive_wait_gone "$pid" 10 || true
    fi
  fi
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    echo "drive: the game did not end; ending its process $pid" >&2
    kill "$pid" 2>/dev/null || true
  fi
  [ -n "$DRIVE_RUNNER" ] && wait "$DRIVE_RUNNER" 2>/dev/null || true
  DRIVE_RUNNER=
}
