#!/usr/bin/env bash
# Builds the release package: rodeo.exe (optimised, without debug information) and
# its help document rodeo.html (with the pictures it shows) in one zip named after
# the exe's version resource.
# The same sources give the same bytes in any build folder.
#
#   scripts/release.sh                 # build/release/rodeo-<version>.zip
#   scripts/release.sh --build-dir D   # build in D instead
#   scripts/release.sh --check         # build twice, in two folders, and compare
#
# The zip's entries carry the time of the last commit (or SOURCE_DATE_EPOCH).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

build=build/release
check=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build=$2; shift 2 ;;
    --check) check=1; shift ;;
    *) echo "usage: $0 [--build-dir DIR] [--check]" >&2; exit 2 ;;
  esac
done

if [ "$check" = 1 ]; then
  # Two folders of different names and depths, so that no path leaks into the bytes.
  first=build/release-check-a
  second=build/release-check-b/deeper
  rm -rf build/release-check-a build/release-check-b
  "$0" --build-dir "$first" >/dev/null
  "$0" --build-dir "$second" >/dev/null
  status=0
  for f in "$first"/package/*; do
    name=$(basename "$f")
    a=$(sha256sum <"$f" | cut -c1-64)
    b=$(sha256sum <"$second/package/$name" 2>/dev/null | cut -c1-64 || true)
    if [ "$a" = "$b" ]; then
      echo "same bytes: $name $a"
    else
      echo "DIFFERENT: $name ($a in $first, ${b:-missing} in $second)"
      status=1
    fi
  done
  exit "$status"
fi

scripts/install-deps.sh
mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DRODEO_RELEASE=ON >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
ninja -C "$build" -j2 rodeo >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
exe=$build/shell/rodeo.exe

# The help document: a source file, or one the build makes.
html=
for candidate in "$build/shell/rodeo.html" shell/help/rodeo.html shell/rodeo.html; do
  [ -f "$candidate" ] && { html=$candidate; break; }
done
[ -n "$html" ] || echo "release: no rodeo.html in this tree yet; the package holds rodeo.exe alone" >&2

stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 946684800)}
/usr/bin/python3 - "$exe" "${html:-}" "$build/package" "$stamp" <<'EOF'
import os, struct, sys, time, zipfile

exe, html, out, stamp = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
data = open(exe, "rb").read()

def version_strings(data):
    """The exe's version resource: (FileVersion text, fixed file version)."""
    text = None
    key = "FileVersion\0".encode("utf-16-le")
    at = data.find(key)
    if at >= 0:
        # The value follows the key, after padding to a 32-bit boundary.
        p = at + len(key)
        while data[p:p + 2] == b"\0\0":
            p += 2
        end = p
        while data[end:end + 2] != b"\0\0":
            end += 2
        text = data[p:end].decode("utf-16-le")
    fixed = None
    sig = data.find(struct.pack("<I", 0xFEEF04BD))
    if sig >= 0:
        ms, ls = struct.unpack_from("<II", data, sig + 8)
        fixed = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    return text, fixed

def pe_facts(data):
    pe, = struct.unpack_from("<I", data, 0x3C)
    stamp, = struct.unpack_from("<I", data, pe + 8)
    nsect, = struct.unpack_from("<H", data, pe + 6)
    optsize, = struct.unpack_from("<H", data, pe + 20)
    names = []
    rsrc_stamp = 0
    for i in range(nsect):
        at = pe + 24 + optsize + 40 * i
        names.append(data[at:at + 8].rstrip(b"\0").decode("latin-1"))
        if names[-1] == ".rsrc":
            raw, = struct.unpack_from("<I", data, at + 20)
            rsrc_stamp, = struct.unpack_from("<I", data, raw + 4)   # the resource directory's
    return stamp or rsrc_stamp, names

text, fixed = version_strings(data)
pe_stamp, sections = pe_facts(data)
debug = [s for s in sections if s.startswith(".debug") or s.startswith("/")]
if debug:
    sys.exit(f"release: {exe} still carries debug sections {debug}")
if pe_stamp:
    sys.exit(f"release: {exe} has a time stamp {pe_stamp:#x} in its PE header or resources")
if text is None:
    print("release: rodeo.exe has no version resource yet; the package is named 'unversioned'", file=sys.stderr)
version = text or "unversioned"

os.makedirs(out, exist_ok=True)
for old in os.listdir(out):
    os.remove(os.path.join(out, old))
zip_path = os.path.join(out, f"rodeo-{version}.zip")
when = time.gmtime(max(stamp, 315532800))[:6]   # zip times start in 1980
entries = [("rodeo.exe", data, 0o755)]
if html:
    page = open(html, "rb").read()
    entries.append(("rodeo.html", page, 0o644))
    # The pictures and other files the page names beside itself go along.
    import re
    here = os.path.dirname(html)
    for ref in sorted(set(re.findall(rb'(?:src|href)="([^":?#]+)"', page))):
        name = ref.decode("utf-8")
        path = os.path.normpath(os.path.join(here, name))
        if "/" not in name and os.path.isfile(path):
            entries.append((name, open(path, "rb").read(), 0o644))
with zipfile.ZipFile(zip_path, "w") as z:
    for name, content, mode in entries:
        info = zipfile.ZipInfo(name, date_time=when)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 3             # permissions below are Unix ones
        info.external_attr = (0o100000 | mode) << 16
        z.writestr(info, content, compresslevel=9)
open(os.path.join(out, "rodeo.exe"), "wb").write(data)
print(f"version resource: FileVersion {text or '-'}, fixed {fixed or '-'}")
print(f"rodeo.exe: {len(data)} bytes, sections {' '.join(sections)}")
for name, content, _ in entries[1:]:
    print(f"{name}: {len(content)} bytes")
print(f"package: {zip_path} ({os.path.getsize(zip_path)} bytes)")
EOF
