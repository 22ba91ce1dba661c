"""Render the four game sheets and write them as 8-bit bitmaps sharing one
palette. Usage: sheets.py [--new-palette]"""
import os
import sys

import numpy as np

import common as C
from draw_chars import INK, ROPE, cow_sheet_svg, pomul_sheet_svg
from draw_scene import panorama_svg, parts_sheet_svg
from layout import ROPE_PATCH, SHEETS


def hexrgb(h):
    return tuple(int(h[i:i + 2], 16) for i in (1, 3, 5))


def render_all():
    imgs = {}
    imgs["parts.bmp"] = C.render_svg(C.svg_doc(400, 599, parts_sheet_svg()), "parts")
    imgs["cow.bmp"] = C.render_svg(C.svg_doc(400, 1959, cow_sheet_svg()), "cow")
    pano = C.render_svg(C.svg_doc(1200, 350, panorama_svg()), "panorama")
    imgs["bg.bmp"] = np.concatenate([pano[:, 400 * i:400 * i + 400] for i in range(3)], 0)
    imgs["pomul.bmp"] = C.render_svg(C.svg_doc(400, 708, pomul_sheet_svg()), "pomul")
    # opaque pictures: backdrop and title
    imgs["bg.bmp"][..., 3] = 255
    imgs["parts.bmp"][0:300, :, 3] = 255
    # the rope-dot patch is exactly the rope colour
    l, t, r, b = ROPE_PATCH
    imgs["cow.bmp"][t:b, l:r, :3] = hexrgb(ROPE)
    imgs["cow.bmp"][t:b, l:r, 3] = 255
    for name, im in imgs.items():
        assert im.shape[:2] == SHEETS[name][::-1], (name, im.shape)
    return imgs


def main():
    C.ensure_dirs()
    new = "--new-palette" in sys.argv
    imgs = render_all()
    cols = None if new else C.load_palette()
    if cols is None:
        order = ["bg.bmp", "parts.bmp", "cow.bmp", "pomul.bmp"]
        cols = C.make_palette([imgs[n] for n in order],
                              keep=[hexrgb(ROPE), hexrgb(INK), (255, 255, 255)])
        C.save_palette(cols)
        print("sheets: new palette written to palette.txt")
    for name, im in imgs.items():
        idx = C.map_to_palette(im, cols)
        C.write_bmp8(os.path.join(C.PACK, name), idx, cols)
    print("sheets: wrote", ", ".join(sorted(imgs)))


if __name__ == "__main__":
    main()
