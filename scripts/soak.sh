#!/usr/bin/env bash
# Soak: rodeo.exe under Wine for a long while (30 minutes by default), played by a
# script as a restless player would: rides started with a click and kept up with
# right and left clicks, pauses (F6) and resumes, resets (F7), the high-score table
# (F8) and the About box (F10) opened and closed, names typed into the new-record
# dialog and closed with OK or with its high-score button (which opens the table).
# Prints the rides played, the results the game recorded (every new-record dialog:
# its score and rank) and the table found in the registry afterwards, checked
# against what was recorded (the ten best, in order, with their names), the clicks
# sent and counted, the process's memory, GDI objects, windows and handles at the
# start, every few minutes and at the end (rodeo_probe.exe), and every message box
# seen. Exits 1 when a result is lost or the game ends by itself. Not part of ./test.sh.
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
ninja -C "$build" -j2 rodeo rodeo_probe >/dev/null
mkdir -p "$build/soak"
dump=$build/soak/record_dump
g++ -std=c++17 -O1 -I. tools/record_dump/record_dump.cpp records/record_codec.cpp records/mg_info.cpp \
  records/cp932_text.cpp -o "$dump"

source scripts/lib/drive.sh
drive_init "$build" 800x600
log=$build/soak/soak.log
results=$build/soak/results.txt   # one line per new-record dialog: rank, score text, name
: >"$log"
: >"$results"
note() { echo "$(date -u +%H:%M:%S) $*" >>"$log"; }

registry_record() {  # the encoded record's text, or nothing
  env -u RODEO_DESKTOP tools/wine-run reg query 'HKCU\Software\ZUMRA-PELLO\ポムルのロデオ\mgInfo' /v QM100 2>/dev/null |
    tr -d '\r' | awk '$1 == "QM100" {print $3}'
}
decoded() {  # the decoded record (names in UTF-8), or nothing
  [ -n "$1" ] || return 0
  "$dump" <<<"$1" | iconv -f CP932 -t UTF-8 || true
}

# The game's dialogs and boxes, one at a time, until none is up. A new-record dialog
# (the one with a field) gets a name, typed over the one it offers, and is closed
# with OK or with its high-score button; the table and the About box are closed
# with ESC; a message box (the game shows one only on a failure) is counted.
declare -A boxes_seen=()
records_typed=0 tables_from_record=0 error_boxes=0
run_tag=$(date -u +%H%M)   # names of this run: s<HHMM><n>, unlike those of runs before
GAME=unknown
probe_boxes() {  # sets BOX (the first box's line, or nothing) and GAME (idle|playing)
  local out
  out=$(drive_probe boxes)
  BOX=$(grep '^box:' <<<"$out" | head -n 1 || true)
  GAME=$(sed -n 's/^boxes=.* game=\([a-z]*\).*/\1/p' <<<"$out")
  GAME=${GAME:-gone}
}
handle_boxes() {
  local kind i rank score name
  for i in $(seq 8); do
    probe_boxes
    [ -n "$BOX" ] || return 0
    boxes_seen["${BOX#box: }"]=$(( ${boxes_seen["${BOX#box: }"]:-0} + 1 ))
    note "$BOX"
    kind=$(sed -n 's/.*kind=\([a-z]*\).*/\1/p' <<<"$BOX")
    if [ "$kind" = message ]; then
      error_boxes=$((error_boxes + 1))
      drive_key Return
    elif grep -q 'edit=1' <<<"$BOX"; then
      # "ナイス！  5.024 秒ポムルで 1 位入賞！"
      score=$(sed -n 's/.*ナイス！ *\([0-9]*\.[0-9]*\) .*/\1/p' <<<"$BOX")
      rank=$(sed -n 's/.*で \([0-9]*\) 位入賞.*/\1/p' <<<"$BOX")
      records_typed=$((records_typed + 1))
      name=$(printf 's%s%04d' "$run_tag" "$records_typed")
      # The offered name is selected: typing replaces it.
      drive_key --delay 30 $(sed 's/./& /g' <<<"$name")
      sleep 0.3
      if [ $((RANDOM % 2)) = 0 ]; then
        drive_key Return                     # OK
      else
        drive_key Tab Tab space              # the high-score button: the table follows
        tables_from_record=$((tables_from_record + 1))
      fi
      printf '%s\t%s\t%s\n' "${rank:-?}" "${score:-?}" "$name" >>"$results"
      note "recorded rank=$rank score=$score name=$name"
    else
      drive_key Escape
    fi
    sleep 1.2
  done
}

counts() { drive_probe counts | grep '^pid=' || echo "none"; }
short_counts() {  # the figures of a counts line, shorter
  sed -e 's/^pid=[0-9]* //' -e 's/working_set_kb=/ws_kb=/' -e 's/peak_working_set_kb=[0-9]* //' \
    -e 's/ user=n\/a//' <<<"$1"
}

record_before=$(registry_record || true)
drive_start "$build/soak/wine.log" || true
if ! drive_wait_window 90; then
  echo "soak: the game window did not appear"
  drive_stop
  exit 1
fi
sleep 5   # the opening
drive_wait_window 5
handle_boxes
cx=$((VIEW_X + 200)) cy=$((VIEW_Y + 150))
# Clicks land near the view's left edge, where none of the dialogs (centred on the
# frame) reach: a dialog that comes up between two clicks is never clicked into.
px=$((VIEW_X + 5)) py=$((VIEW_Y + 260))
start_counts=$(counts)
note "start $start_counts"

rides=0 ended=0 pauses=0 resets=0 f8=0 f10=0 clicks=0 samples=0
declare -A highest=()
sample_lines=()
sample_every=$(( minutes * 60 / 10 )); [ "$sample_every" -ge 30 ] || sample_every=30
t0=$SECONDS next_sample=$((SECONDS + sample_every))
end=$((SECONDS + minutes * 60))
RANDOM=12345
gone=0
while [ "$SECONDS" -lt "$end" ]; do
  if ! drive_game_pid >/dev/null; then
    note "the game's process is gone"
    gone=1
    break
  fi
  case $((RANDOM % 10)) in
    0|1)  # the high-score table or the About box, opened from the keyboard and closed
      if [ $((RANDOM % 2)) = 0 ]; then drive_key F8; f8=$((f8 + 1)); else drive_key F10; f10=$((f10 + 1)); fi
      sleep 1.5
      handle_boxes
      ;;
    *)  # a ride: start it, keep clicking, sometimes pause or reset on the way
      drive_click "$px" "$py"
      clicks=$((clicks + 1))
      rides=$((rides + 1))
      sleep 2.5   # READY, GO
      reset=0
      for i in $(seq $((8 + RANDOM % 40))); do
        drive_click "$px" "$py" $((i % 2 ? 3 : 1))
        clicks=$((clicks + 1))
        sleep 0.$((2 + RANDOM % 3))
        if [ $((RANDOM % 25)) = 0 ]; then
          drive_key F6; pauses=$((pauses + 1)); sleep 1.5; drive_key F6
        fi
        if [ $((RANDOM % 150)) = 0 ]; then
          drive_key F7; resets=$((resets + 1)); reset=1; sleep 1; break
        fi
        if [ $((i % 6)) = 0 ]; then   # the rider down already: the ride is over
          probe_boxes
          [ "$GAME" = playing ] && [ -z "$BOX" ] || break
        fi
      done
      # No more clicks: the rider falls, lies on the ground, the result comes.
      for i in $(seq 40); do
        probe_boxes
        [ -n "$BOX" ] && handle_boxes && probe_boxes
        [ "$GAME" = playing ] || break
        sleep 1
      done
      [ "$reset" = 1 ] || ended=$((ended + 1))
      handle_boxes
      ;;
  esac
  c=$(counts)
  samples=$((samples + 1))
  for k in private_kb handles gdi windows; do
    v=$(sed -n "s/.* $k=\([0-9]*\).*/\1/p" <<<"$c")
    [ -n "$v" ] && [ "$v" -gt "${highest[$k]:-0}" ] && highest[$k]=$v
  done
  if [ "$SECONDS" -ge "$next_sample" ]; then
    sample_lines+=("$(printf '%3d min %5d rides: %s' $(((SECONDS - t0) / 60)) "$rides" "$(short_counts "$c")")")
    note "sample $c"
    next_sample=$((next_sample + sample_every))
  fi
done
handle_boxes || true
end_counts=$(counts)
note "end $end_counts"
drive_stop
sleep 2
record_after=$(registry_record || true)

echo "== soak: $minutes minutes of rodeo.exe under Wine ($(date -u '+%Y-%m-%d %H:%M UTC'))"
echo "rides started: $rides ($ended played to the fall, $resets reset with F7); pauses (F6): $pauses;" \
  "tables opened with F8 and closed: $f8; About boxes opened with F10 and closed: $f10"
echo "results recorded (new-record dialogs, a name typed): $records_typed, $tables_from_record of them" \
  "closed with the high-score button (the table shown and closed)"
echo "at the start: $start_counts"
for l in "${sample_lines[@]}"; do echo "  $l"; done
echo "at the end:   $end_counts"
echo "highest seen in $samples samples: private ${highest[private_kb]:-?} KB, handles ${highest[handles]:-?}," \
  "GDI objects ${highest[gdi]:-?}, windows ${highest[windows]:-?}"
lost=0
if [ -n "$record_after" ]; then
  before=$(decoded "$record_before")
  after=$(decoded "$record_after")
  clicks_before=$(sed -n 's/^clicks=\([0-9]*\).*/\1/p' <<<"$before")
  clicks_after=$(sed -n 's/^clicks=\([0-9]*\).*/\1/p' <<<"$after")
  echo "clicks sent into the view: $clicks; counted by the game (the record's total, before and after):" \
    "$((clicks_after - ${clicks_before:-0})) (the ones a pause or a dialog kept from the game are not counted)"
  echo "registry afterwards: $(head -n 1 <<<"$after")"
  # The table the game must hold: the one it had before, with every recorded result
  # ranked in as the game ranks (above equal scores; the tenth falls off), each
  # rank as the dialog said it.
  /usr/bin/python3 - "$results" <<PY || lost=1
import re, sys
def entries(text):
    out = []
    for line in text.splitlines():
        m = re.match(r"entry=(\d+) ms=(\d+) text=(.*?) name=(.*)$", line)
        if m:
            out.append((int(m.group(2)), m.group(3).strip(), m.group(4)))
    return out
before = entries("""$before""")
after = entries("""$after""")
table = list(before)
bad = []
for n, line in enumerate(open(sys.argv[1], encoding="utf-8").read().splitlines(), 1):
    rank, score, name = line.split("\t")
    ms = round(float(score) * 1000) if score != "?" else -1
    i = next((k for k, e in enumerate(table) if ms >= e[0]), len(table))
    if str(i + 1) != rank:
        bad.append(f"result {n} ({score}, {name}): the dialog said rank {rank}, the table before it gives {i + 1}")
    table.insert(i, (ms, score, name))
    del table[10:]
for k, e in enumerate(after, 1):
    print(f"  {k:2}. {e[1]:>8}  {e[2]}")
if [(e[1], e[2]) for e in after] != [(e[1], e[2]) for e in table]:
    bad.append("the table in the registry is not the one recorded; expected:")
    bad += [f"  {k:2}. {e[1]:>8}  {e[2]}" for k, e in enumerate(table, 1)]
if bad:
    print("LOST OR WRONG:")
    print("\n".join("  " + b for b in bad))
    sys.exit(1)
print(f"the ten best match what was recorded ({len(table)} entries; {len(before)} were there before)")
PY
else
  echo "registry afterwards: no record"
  [ "$records_typed" = 0 ] || lost=1
fi
echo "message boxes seen: $error_boxes"
for b in "${!boxes_seen[@]}"; do echo "  ${boxes_seen[$b]} x $b"; done | sort -rn
[ "$gone" = 0 ] || echo "the game's process ENDED BY ITSELF during the soak"
echo "log: $log"
[ "$lost" = 0 ] && [ "$gone" = 0 ]
