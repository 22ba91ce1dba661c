"""Checks the rendered files against what the game and the program window
read. Exits non-zero on the first group of failures."""
import os
import struct
import sys
import wave

import numpy as np
from PIL import Image

import common as C
from layout import RECTS, ROPE_PATCH, SHEETS

PACK_NAMES = ["READY.WAV", "GO.WAV", "PU.WAV", "bg.bmp", "cow.bmp", "parts.bmp",
              "cow1.wav", "pomul.bmp", "Bgm.wav"]
SHELL_BMPS = {**{f"bar_{n}{s}.bmp": (24, 24) for n in
                 ("exit", "hiscore", "reset", "start", "stop", "version", "help") for s in ("", "_hot")},
              **{f"bar_{n}_off.bmp": (24, 24) for n in ("reset", "start", "stop")},
              "logo.bmp": (125, 27), "about.bmp": (328, 121), "hiscore_board.bmp": (350, 232),
              "slide_title.bmp": (170, 66), "slide_ribbon.bmp": (170, 66), "slide_lasso.bmp": (170, 66)}
ICONS = {"pomul.ico": {16, 32, 48}, "send.ico": {16}, "record.ico": {32}}

errors = []

EDGE_START = 8     # samples (0.4 ms) in which a sound may rise from silence
EDGE_END = 110     # samples (5 ms) at the end that must already be quiet


def fail(msg):
    errors.append(msg)


def check_sheet(name, palettes, ref_cols):
    path = os.path.join(C.PACK, name)
    data = open(path, "rb").read()
    w, h = struct.unpack_from("<ii", data, 18)
    bpp, = struct.unpack_from("<H", data, 28)
    comp, = struct.unpack_from("<I", data, 30)
    off, = struct.unpack_from("<I", data, 10)
    if data[:2] != b"BM":
        fail(f"{name}: not a bitmap")
    if (w, h) != SHEETS[name]:
        fail(f"{name}: size {w}x{h}, want {SHEETS[name]}")
    if bpp != 8 or comp != 0 or off != 1078:
        fail(f"{name}: bpp {bpp} compression {comp} offset {off}, want 8/0/1078")
    if len(data) != 1078 + w * h or w % 4:
        fail(f"{name}: {len(data)} bytes, want {1078 + w * h} with unpadded rows")
    idx, cols = C.read_bmp8(path)
    palettes[name] = cols
    for i, v in C.STATIC.items():
        if cols[i] != ((v >> 16) & 255, (v >> 8) & 255, v & 255):
            fail(f"{name}: palette entry {i} is {cols[i]}, not the static colour {v:06X}")
    used = set(np.unique(idx).tolist())
    bad = sorted(i for i in used if 0 < i < C.ART_FIRST or i > C.ART_LAST)
    if bad:
        fail(f"{name}: pixels use reserved indices {bad[:10]}")
    if ref_cols is not None and cols != ref_cols:
        fail(f"{name}: palette differs from the frozen palette.txt")
    # index 0 only where the art is transparent: the backdrop and the title
    # picture are solid, every sprite frame has some opaque pixels.
    rects = RECTS[name]
    for key, (l, t, r, b) in rects.items():
        if not (0 <= l < r <= w and 0 <= t < b <= h):
            fail(f"{name}: rectangle {key} {l, t, r, b} outside the sheet")
            continue
        area = idx[t:b, l:r]
        if name == "bg.bmp" or key == "title":
            if (area == 0).any():
                fail(f"{name}: {key} has transparent pixels, must be solid")
        elif not (area != 0).any():
            fail(f"{name}: {key} is empty")
    inside = np.zeros(idx.shape, bool)
    for (l, t, r, b) in rects.values():
        inside[t:b, l:r] = True
    if (idx[~inside] != 0).any():
        fail(f"{name}: opaque pixels outside every rectangle")
    return idx


def check_wav(name):
    path = os.path.join(C.PACK, name)
    try:
        with wave.open(path) as w:
            ok = (w.getnchannels(), w.getsampwidth(), w.getframerate()) == (1, 1, 22050)
            frames = w.readframes(w.getnframes())
    except wave.Error as e:
        fail(f"{name}: {e}")
        return
    if not ok:
        fail(f"{name}: must be PCM mono 22050 Hz 8-bit")
    if open(path, "rb").read(4) != b"RIFF" or len(frames) < 2000:
        fail(f"{name}: not a RIFF file with sound in it")
    a = np.frombuffer(frames, np.uint8).astype(int)
    if len(a) < 2000:
        return
    # Every sound starts from silence and ends at it: a first or last sample away
    # from the middle (128), or a loud start or end, is heard as a click.
    s = a - 128
    if abs(s[0]) > 2 or abs(s[-1]) > 2:
        fail(f"{name}: starts on sample {s[0]:+d} and ends on {s[-1]:+d}, want silence (within 2 of 0)")
    if np.max(np.abs(s[:EDGE_START])) > 32:
        fail(f"{name}: jumps to {np.max(np.abs(s[:EDGE_START]))} within its first {EDGE_START} samples")
    if np.max(np.abs(s[-EDGE_END:])) > 8:
        fail(f"{name}: still at {np.max(np.abs(s[-EDGE_END:]))} within its last {EDGE_END} samples, want a fade to silence")
    if name == "Bgm.wav":
        if abs(a[-1] - a[0]) > 24 or abs(a[-1] - 128) > 8:
            fail(f"Bgm.wav: loop seam jumps from {a[-1]} to {a[0]}")


def main():
    ref = C.load_palette()
    if ref is None:
        fail("palette.txt missing")
    palettes = {}
    sheets = {}
    for n in SHEETS:
        if not os.path.exists(os.path.join(C.PACK, n)):
            fail(f"{n} missing")
            continue
        sheets[n] = check_sheet(n, palettes, ref)
    if len({tuple(p) for p in palettes.values()}) > 1:
        fail("the four sheets do not share one palette")
    if "cow.bmp" in sheets:
        l, t, r, b = ROPE_PATCH
        patch = sheets["cow.bmp"][t:b, l:r]
        if (patch == 0).any() or len(np.unique(patch)) != 1:
            fail(f"cow.bmp: rope patch is not one solid colour: {patch.tolist()}")
    for n in PACK_NAMES:
        if n.lower().endswith(".wav"):
            check_wav(n)
    listed = sorted(os.listdir(C.PACK))
    if sorted(PACK_NAMES) != listed:
        fail(f"pack folder holds {listed}, want exactly {sorted(PACK_NAMES)}")
    for n, size in SHELL_BMPS.items():
        p = os.path.join(C.SHELL, n)
        if not os.path.exists(p):
            fail(f"{n} missing")
            continue
        im = Image.open(p)
        if im.size != size or im.mode != "RGB":
            fail(f"{n}: {im.size} {im.mode}, want {size} RGB")
            continue
        px = np.array(im)
        if n.startswith("bar_"):
            mag = (px == (255, 0, 255)).all(2)
            if not mag[0, 0] or mag.all() or not (~mag).any():
                fail(f"{n}: needs a magenta background around a picture")
        if n.startswith("slide_"):
            blk = (px == 0).all(2)
            if not blk[0, 0] or blk.all():
                fail(f"{n}: needs a black background around a picture")
    for n, sizes in ICONS.items():
        p = os.path.join(C.SHELL, n)
        if not os.path.exists(p):
            fail(f"{n} missing")
            continue
        data = open(p, "rb").read()
        count, = struct.unpack_from("<H", data, 4)
        got = {data[6 + 16 * i] or 256 for i in range(count)}
        if got != sizes:
            fail(f"{n}: sizes {sorted(got)}, want {sorted(sizes)}")
    if errors:
        print("check: FAILED")
        for e in errors:
            print("  " + e)
        sys.exit(1)
    print("check: all assets OK")


if __name__ == "__main__":
    main()
