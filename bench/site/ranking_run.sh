#!/usr/bin/env bash
# The ranking benchmark in one command: builds rodeo-site as it is (build/native)
# and as it was before kept counts (the parent of the commit that added
# site/score_counts.cpp, or REVISION, built in build/ranking-before), then loads
# the ranking pages at 1,000 and 1,000,000 entries on SQLite and PostgreSQL and
# prints before and after side by side. Loopback only; about ten minutes.
#   bench/site/ranking_run.sh [SECONDS_PER_MEASURE [REVISION]]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-3}
before=$(git rev-parse "${2:-$(git log --diff-filter=A --format=%H -- site/score_counts.cpp | tail -1)^}")
cmake -S . -B build/native -G Ninja >/dev/null
ninja -C build/native rodeo-site fill_store page_load >/dev/null
src=build/ranking-before/src
if [ "$(cat build/ranking-before/revision 2>/dev/null)" != "$before" ]; then
  rm -rf "$src" && mkdir -p "$src"
  git archive "$before" | tar -x -C "$src"
  echo "$before" > build/ranking-before/revision
fi
cmake -S "$src" -B build/ranking-before/build -G Ninja >/dev/null
ninja -C build/ranking-before/build rodeo-site >/dev/null
exec /usr/bin/python3 bench/site/ranking_run.py build/ranking-before/build/site/rodeo-site \
  build/native/site/rodeo-site build/native/bench/site/fill_store build/native/bench/site/page_load "$seconds"
