#!/usr/bin/env bash
# The serving benchmark in one command: builds today's rodeo-site in build/native and
# the earlier one (cpp-httplib, one thread per connection: the commit before the site
# moved to libmicrohttpd) in build/site-before, then prints them side by side.
#   bench/site/serving.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build/native -G Ninja >/dev/null
ninja -C build/native -j2 rodeo-site make_submission >/dev/null
before=build/site-before
if [ ! -x "$before/build/site/rodeo-site" ]; then
  moved=$(git log --format=%H --diff-filter=A -- site/http_server.cpp | tail -n 1)
  rm -rf "$before/src"
  mkdir -p "$before/src"
  git archive "$moved^" | tar -x -C "$before/src"
  cmake -S "$before/src" -B "$before/build" -G Ninja >/dev/null
  ninja -C "$before/build" -j2 rodeo-site >/dev/null
fi
exec /usr/bin/python3 bench/site/serving.py "$before/build/site/rodeo-site" build/native/site/rodeo-site \
  build/native/tests/site/make_submission
