#!/bin/sh
# Renders every picture and sound of the game from the sources in
# assets/tools into assets/out, then makes the preview pictures and runs the
# checks. Usage: assets/render.sh [--new-palette]
#   --new-palette  re-quantise the sheets and overwrite assets/palette.txt
#                  (reshuffles colour indices; only after big art changes)
set -eu
cd "$(dirname "$0")"
PY=/usr/bin/python3

# tools: installed only when something is missing
need=""
command -v rsvg-convert >/dev/null 2>&1 || need="$need librsvg2-bin"
command -v icotool >/dev/null 2>&1 || need="$need icoutils"
[ -x "$PY" ] && "$PY" -c "import PIL, numpy" 2>/dev/null || need="$need python3 python3-pil python3-numpy"
fc-match "M PLUS 1:black" 2>/dev/null | grep -qi mplus || need="$need fonts-mplus fontconfig"
if [ -n "$need" ]; then
    echo "render: installing$need"
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $need >/dev/null
fi
fc-match "M PLUS 1:black" | grep -qi mplus || { echo "render: font M PLUS 1 not found" >&2; exit 1; }

# a fixed environment keeps the output byte-identical
export LC_ALL=C.UTF-8 SOURCE_DATE_EPOCH=0 PYTHONHASHSEED=0
cd tools
"$PY" sheets.py "$@"
"$PY" sounds.py
"$PY" shell.py
"$PY" preview.py
"$PY" check.py
