#!/usr/bin/env bash
# Builds rodeo-site and starts it on this machine with SQLite: no set-up needed.
# The site answers on http://127.0.0.1:8080/ and keeps its data in
# build/site/rodeo-site.db. Any arguments go to rodeo-site (they win over these):
#   scripts/site.sh --listen 127.0.0.1:9000
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/native -G Ninja >/dev/null
ninja -C build/native rodeo-site
mkdir -p build/site
exec build/native/site/rodeo-site --listen 127.0.0.1:8080 --db sqlite:build/site/rodeo-site.db "$@"
