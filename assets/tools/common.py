"""Shared helpers for the art build: paths, SVG rendering, the 8-bit bitmap
writer and the game palette."""
import os
import struct
import subprocess
import tempfile

import numpy as np
from PIL import Image

ASSETS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ASSETS, "out")
PACK = os.path.join(OUT, "pack")
SHELL = os.path.join(OUT, "shell")
PREVIEW = os.path.join(OUT, "preview")
BUILD = os.path.join(ASSETS, "build")          # scratch, not committed
PALETTE_FILE = os.path.join(ASSETS, "palette.txt")

# The 20 colours Windows keeps in an 8-bit system palette, by index.
STATIC = {
    0: 0x000000, 1: 0x800000, 2: 0x008000, 3: 0x808000, 4: 0x000080,
    5: 0x800080, 6: 0x008080, 7: 0xC0C0C0, 8: 0xC0DCC0, 9: 0xA6CAF0,
    246: 0xFFFBF0, 247: 0xA0A0A4, 248: 0x808080, 249: 0xFF0000,
    250: 0x00FF00, 251: 0xFFFF00, 252: 0x0000FF, 253: 0xFF00FF,
    254: 0x00FFFF, 255: 0xFFFFFF,
}
ART_FIRST, ART_LAST = 10, 245                   # art colours live here
ART_COUNT = ART_LAST - ART_FIRST + 1            # 236


def ensure_dirs():
    for d in (OUT, PACK, SHELL, PREVIEW, BUILD):
        os.makedirs(d, exist_ok=True)


def svg_doc(w, h, body, defs=""):
    return ('<svg xmlns="http://www.w3.org/2000/svg" '
            'xmlns:xlink="http://www.w3.org/1999/xlink" '
            f'width="{w}" height="{h}" viewBox="0 0 {w} {h}">'
            f'<defs>{defs}</defs>{body}</svg>\n')


def render_svg(svg_text, name):
    """Render SVG text with rsvg-convert; returns an RGBA numpy array.
    The SVG is kept in build/ so a drawing can be looked at on its own."""
    ensure_dirs()
    svg_path = os.path.join(BUILD, name + ".svg")
    png_path = os.path.join(BUILD, name + ".png")
    with open(svg_path, "w", encoding="utf-8") as f:
        f.write(svg_text)
    subprocess.run(["rsvg-convert", "-f", "png", "-o", png_path, svg_path],
                   check=True)
    return np.array(Image.open(png_path).convert("RGBA"))


# ---------------------------------------------------------------- palette

def load_palette():
    """256 (r, g, b) tuples from palette.txt, or None when not frozen yet."""
    if not os.path.exists(PALETTE_FILE):
        return None
    cols = []
    with open(PALETTE_FILE) as f:
        for line in f:
            line = line.split("#")[0].strip()
            if line:
                v = int(line, 16)
                cols.append(((v >> 16) & 255, (v >> 8) & 255, v & 255))
    assert len(cols) == 256, "palette.txt must hold 256 colours"
    return cols


def save_palette(cols):
    with open(PALETTE_FILE, "w") as f:
        f.write("# Game palette, index 0..255, RRGGBB. Frozen: the sheets are\n"
                "# mapped onto it. 0-9 and 246-255 are the static system\n"
                "# colours (0 = transparent), the art uses 10-245.\n"
                "# Remake with: assets/render.sh --new-palette\n")
        for i, (r, g, b) in enumerate(cols):
            f.write(f"{r:02X}{g:02X}{b:02X}  # {i}\n")


def make_palette(images, keep):
    """Quantise the opaque pixels of all images together into 236 colours.
    `keep` colours are put in exactly (the rope colour and friends)."""
    pix = np.concatenate([im[im[..., 3] >= 128][:, :3] for im in images])
    keep = [tuple(c) for c in keep]
    n = ART_COUNT - len(keep)
    strip = Image.fromarray(pix.reshape(1, -1, 3).astype(np.uint8), "RGB")
    q = strip.quantize(colors=n, method=Image.Quantize.MEDIANCUT,
                       dither=Image.Dither.NONE)
    pal = q.getpalette()[:3 * n]
    art = [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    art = [c for c in art if c not in keep]
    art = sorted(set(art), key=lambda c: (0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2], c))
    art = keep + art
    while len(art) < ART_COUNT:           # unused slots: repeat a grey
        art.append((128, 128, 128))
    cols = [None] * 256
    for i, v in STATIC.items():
        cols[i] = ((v >> 16) & 255, (v >> 8) & 255, v & 255)
    for i, c in enumerate(art):
        cols[ART_FIRST + i] = c
    return cols


def map_to_palette(img, cols):
    """RGBA array -> index array: alpha < 128 -> 0, else nearest art colour."""
    h, w, _ = img.shape
    out = np.zeros((h, w), np.uint8)
    opaque = img[..., 3] >= 128
    rgb = img[..., :3][opaque].astype(np.int32)
    key = (rgb[:, 0] << 16) | (rgb[:, 1] << 8) | rgb[:, 2]
    uniq, inv = np.unique(key, return_inverse=True)
    u = np.stack([(uniq >> 16) & 255, (uniq >> 8) & 255, uniq & 255], 1)
    pal = np.array(cols[ART_FIRST:ART_LAST + 1], np.int32)
    wts = np.array([3, 4, 2], np.int32)
    best = np.empty(len(u), np.int32)
    for s in range(0, len(u), 4096):
        d = (((u[s:s + 4096, None, :] - pal[None, :, :]) ** 2) * wts).sum(2)
        best[s:s + 4096] = d.argmin(1)
    out[opaque] = (best[inv] + ART_FIRST).astype(np.uint8)
    return out


def write_bmp8(path, idx, cols):
    """8-bit bitmap as the game reads it: 256-entry table, pixels at 1078,
    bottom row first. Width must be a multiple of 4 (no row padding)."""
    h, w = idx.shape
    assert w % 4 == 0
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in cols)
    info = struct.pack("<iiiHHIIiiII", 40, w, h, 1, 8, 0, w * h,
                       2835, 2835, 256, 256)
    offset = 14 + 40 + 1024
    head = struct.pack("<2sIHHI", b"BM", offset + w * h, 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + table + idx[::-1].tobytes())


def read_bmp8(path):
    """(index array, palette list) of a bitmap written by write_bmp8."""
    data = open(path, "rb").read()
    w, h = struct.unpack_from("<ii", data, 18)
    table = data[54:1078]
    cols = [(table[4 * i + 2], table[4 * i + 1], table[4 * i]) for i in range(256)]
    idx = np.frombuffer(data, np.uint8, w * h, 1078).reshape(h, w)[::-1]
    return idx.copy(), cols


def indexed_to_rgba(idx, cols):
    pal = np.array(cols, np.uint8)
    rgba = np.zeros(idx.shape + (4,), np.uint8)
    rgba[..., :3] = pal[idx]
    rgba[..., 3] = np.where(idx == 0, 0, 255)
    return rgba
