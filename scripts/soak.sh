#!/usr/bin/env bash
# Soak: rodeo.exe under Wine for a long while (30 minutes by default), played by a
# script as a restless player would: rides started with a click and kept up with
# right and left clicks, pauses (F6) and resumes, resets (F7), the high-score table
# (F8) and the About box (F10) opened and closed, new-record names typed.
# Prints the rides played, the results the game recorded and what the registry holds
# afterwards, the process's memory, GDI and USER objects and handles at the start
# and the end (rodeo_probe.exe), and every message box seen. Not part of ./test.sh.
# Usage: scripts/soak.sh [--minutes N] [--build DIR]     (DIR: a Windows build, build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=30
build=build/windows
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: $0 [--minutes N] [--build DIR]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
fi
ninja -C "$build" rodeo rodeo_probe >/dev/null
mkdir -p "$build/soak"
dump=$build/soak/record_dump
g++ -std=c++17 -O1 -I. tools/record_dump/record_dump.cpp records/record_codec.cpp records/mg_info.cpp \
  records/cp932_text.cpp -o "$dump"

source scripts/lib/drive.sh
drive_init "$build" 800x600
log=$build/soak/soak.log
: >"$log"
note() { echo "$(date -u +%H:%M:%S) $*" >>"$log"; }

registry_record() {  # the encoded record's text, or nothing
  env -u RODEO_DESKTOP tools/wine-run reg query 'HKCU\Software\ZUMRA-PELLO\ポムルのロデオ\mgInfo' /v QM100 2>/dev/null |
    tr -d '\r' | awk '$1 == "QM100" {print $3}'
}

# Every dialog or box up now: closed, and counted. A new-record dialog (one with a
# field) gets a name; message boxes are what the game shows on a failure.
declare -A boxes_seen=()
records_typed=0
error_boxes=0
handle_boxes() {
  local line kind i
  for i in 1 2 3 4; do
    line=$(drive_probe boxes | grep '^box:' | head -n 1 || true)
    [ -n "$line" ] || return 0
    boxes_seen["${line#box: }"]=$(( ${boxes_seen["${line#box: }"]:-0} + 1 ))
    note "$line"
    kind=$(sed -n 's/.*kind=\([a-z]*\).*/\1/p' <<<"$line")
    if [ "$kind" = message ]; then
      error_boxes=$((error_boxes + 1))
      drive_key Return
    elif grep -q 'edit=1' <<<"$line"; then
      records_typed=$((records_typed + 1))
      drive_key ctrl+a
      drive_key --delay 40 s o a k "$((records_typed % 10))"
      drive_key Return
    else
      drive_key Escape
    fi
    sleep 1
  done
}

counts() { drive_probe counts | grep '^pid=' || echo "none"; }

record_before=$(registry_record || true)
drive_start "$build/soak/wine.log" || true
if ! drive_wait_window 90; then
  echo "soak: the game window did not appear"
  drive_stop
  exit 1
fi
sleep 5   # the opening
drive_wait_window 5
cx=$((VIEW_X + 200)) cy=$((VIEW_Y + 150))
start_counts=$(counts)
note "start $start_counts"

rides=0 pauses=0 resets=0 dialogs=0 clicks=0 samples=0
declare -A highest=()
end=$((SECONDS + minutes * 60))
RANDOM=12345
while [ "$SECONDS" -lt "$end" ]; do
  if ! drive_game_pid >/dev/null; then
    note "the game's process is gone"
    echo "soak: rodeo.exe ended by itself after $rides rides"
    break
  fi
  case $((RANDOM % 10)) in
    0)  # the high-score table or the About box, opened from the keyboard and closed
      drive_key "$([ $((RANDOM % 2)) = 0 ] && echo F8 || echo F10)"
      dialogs=$((dialogs + 1))
      sleep 1.5
      handle_boxes
      ;;
    *)  # a ride: start it, keep clicking, sometimes pause or reset on the way
      drive_click "$cx" "$cy"
      clicks=$((clicks + 1))
      rides=$((rides + 1))
      sleep 2.5   # READY, GO
      for i in $(seq $((8 + RANDOM % 40))); do
        drive_click "$cx" "$cy" $((i % 2 ? 3 : 1))
        clicks=$((clicks + 1))
        sleep 0.$((2 + RANDOM % 3))
        if [ $((RANDOM % 60)) = 0 ]; then
          drive_key F6; pauses=$((pauses + 1)); sleep 1.5; drive_key F6
        fi
        if [ $((RANDOM % 150)) = 0 ]; then
          drive_key F7; resets=$((resets + 1)); sleep 1; break
        fi
      done
      sleep 4   # the fall, the rider on the ground, the result
      handle_boxes
      ;;
  esac
  c=$(counts)
  samples=$((samples + 1))
  for k in private_kb handles gdi windows; do
    v=$(sed -n "s/.* $k=\([0-9]*\).*/\1/p" <<<"$c")
    [ -n "$v" ] && [ "$v" -gt "${highest[$k]:-0}" ] && highest[$k]=$v
  done
  [ $((samples % 20)) = 0 ] && note "sample $c"
done
end_counts=$(counts)
note "end $end_counts"
drive_stop
sleep 2
record_after=$(registry_record || true)

echo "== soak: $minutes minutes of rodeo.exe under Wine ($(date -u '+%Y-%m-%d %H:%M UTC'))"
echo "rides started: $rides; clicks in the view: $clicks; pauses: $pauses; resets: $resets; dialogs opened: $dialogs"
echo "new-record names typed: $records_typed"
echo "at the start: $start_counts"
echo "at the end:   $end_counts"
echo "highest seen in $samples samples: private ${highest[private_kb]:-?} KB, handles ${highest[handles]:-?}, GDI objects ${highest[gdi]:-?}, windows ${highest[windows]:-?}"
if [ -n "$record_after" ]; then
  table=$("$dump" <<<"$record_after" | iconv -f CP932 -t UTF-8 || true)
  entries=$(grep -c '^entry=' <<<"$table" || true)
  echo "registry afterwards: $(head -n 1 <<<"$table"); $entries table entries"
  grep '^entry=' <<<"$table" | sed 's/^/  /'
  expected=$(( records_typed < 10 ? records_typed : 10 ))
  if [ -z "$record_before" ] && [ "$entries" -lt "$expected" ]; then
    echo "LOST: $records_typed results were recorded, the table holds $entries"
  fi
else
  echo "registry afterwards: no record (this rodeo.exe stores none yet)"
fi
echo "message boxes seen: $error_boxes"
for b in "${!boxes_seen[@]}"; do echo "  ${boxes_seen[$b]} x $b"; done
echo "log: $log"
