#!/usr/bin/env bash
# Builds rodeo-site and starts it on this machine with SQLite: no set-up needed.
# The site answers on http://127.0.0.1:8080/ and keeps its data in
# build/site/rodeo-site.db; its pictures and download are put in build/site/files.
# Any arguments go to rodeo-site (they win over these):
#   scripts/site.sh --listen 127.0.0.1:9000
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/native -G Ninja >/dev/null
ninja -C build/native rodeo-site
mkdir -p build/site

# The home page shows the game's own pictures (docs/, recorded by the project's
# commands) and offers the release package once scripts/release.sh has built one.
files=build/site/files
rm -rf "$files"
mkdir -p "$files/screenshots"
n=1
for picture in title ride new-record; do
  cp "docs/$picture.png" "$files/screenshots/$n-$picture.png"
  n=$((n + 1))
done
for package in build/release/package/rodeo-*.zip; do
  [ -f "$package" ] && cp "$package" "$files/"
done
[ -n "$(ls "$files"/rodeo-*.zip 2>/dev/null)" ] ||
  echo "site: no release package yet (scripts/release.sh builds one); the download waits for it" >&2

exec build/native/site/rodeo-site --listen 127.0.0.1:8080 --db sqlite:build/site/rodeo-site.db \
  --files "$files" "$@"
