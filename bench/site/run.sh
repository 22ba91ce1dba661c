#!/usr/bin/env bash
# The site's load benchmark in one command: builds rodeo-site and the load client in
# build/native, then loads the site on SQLite and on PostgreSQL and prints the figures.
#   bench/site/run.sh [REQUESTS [CONNECTIONS [SECONDS]]]
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build/native -G Ninja >/dev/null
ninja -C build/native rodeo-site site_load >/dev/null
exec /usr/bin/python3 bench/site/run.py build/native/site/rodeo-site build/native/bench/site/site_load "$@"
