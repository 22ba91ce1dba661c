#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and playing need. Quick and
# silent when everything is there already; apt-get runs only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev libpng-dev python3
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils imagemagick locales
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine
)

# The ranking site (site/, rodeo-site) and its tests: HTTP, templates, JSON, the
# two stores (cpp-httplib for the load client and the benchmark's earlier server), a throw-away PostgreSQL server, and a headless browser with Japanese
# fonts for the page screenshots. The rest of the build does not need these.
site_packages=(
  libmicrohttpd-dev nettle-dev libcpp-httplib-dev libmstch-dev nlohmann-json3-dev libsqlite3-dev libpq-dev postgresql
  chromium python3-websocket fonts-ipafont-gothic fonts-noto-cjk nginx
)
packages+=("${site_packages[@]}")

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# Wine runs in Japanese (LANG=ja_JP.UTF-8); without that locale it cannot name
# files with Japanese characters. One driven test runs it in English
# (en_US.UTF-8), which needs its locale for the same reason (window titles too).
ensure_locale() {
  locale -a 2>/dev/null | grep -qi "^$1\.utf-\?8\$" && return
  "${sudo_cmd[@]}" localedef -i "$1" -f UTF-8 "$1.UTF-8"
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
ensure_locale ja_JP
ensure_locale en_US
