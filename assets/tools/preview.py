"""Contact sheets and game-scene composites, made from the written bitmaps
so they show exactly what the game will load. Also reports how well the
rider's seat meets the cow's back and where the rope ends."""
import math
import os

import numpy as np
from PIL import Image, ImageDraw

import common as C
from layout import (COW_PITCH, COW_REST, FALL_NEG, FALL_POS, HAND, LIE_NEG, LIE_POS,
                    PARTS, POSE, RECTS, SHEETS, anchor_for_pitch, cow_frame_for_pitch,
                    pose_row, rider_pos)


def load(name):
    idx, cols = C.read_bmp8(os.path.join(C.PACK, name))
    return C.indexed_to_rgba(idx, cols)


def checker(h, w, a=(200, 200, 210), b=(236, 236, 244), n=8):
    yy, xx = np.mgrid[0:h, 0:w]
    m = ((yy // n + xx // n) % 2 == 0)[..., None]
    return np.where(m, np.array(a, np.uint8), np.array(b, np.uint8)).astype(np.uint8)


def contact(name, scale=2):
    rgba = load(name)
    h, w = rgba.shape[:2]
    bgc = checker(h, w)
    a = rgba[..., 3:4] > 0
    img = np.where(a, rgba[..., :3], bgc)
    im = Image.fromarray(img).resize((w * scale, h * scale), Image.NEAREST)
    d = ImageDraw.Draw(im)
    for key, (l, t, r, b) in RECTS[name].items():
        d.rectangle([l * scale, t * scale, r * scale - 1, b * scale - 1], outline=(255, 0, 160))
        d.text((l * scale + 2, t * scale + 1), key, fill=(255, 0, 160))
    im.save(os.path.join(C.PREVIEW, name.replace(".bmp", "_sheet.png")), optimize=False)


class Scene:
    def __init__(self):
        self.s = {n: load(n) for n in SHEETS}

    def blit(self, canvas, sheet, rect, x, y, dst=None):
        l, t, r, b = rect
        src = self.s[sheet][t:b, l:r]
        if dst is not None:                       # stretched drawing
            dw, dh = dst[2] - dst[0], dst[3] - dst[1]
            if dw <= 0 or dh <= 0:
                return
            src = np.array(Image.fromarray(src).resize((dw, dh), Image.NEAREST))
            x, y = dst[0], dst[1]
        h, w = src.shape[:2]
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(400, x + w), min(300, y + h)
        if x1 <= x0 or y1 <= y0:
            return
        part = src[y0 - y:y1 - y, x0 - x:x1 - x]
        m = part[..., 3:4] > 0
        canvas[y0:y1, x0:x1] = np.where(m, part[..., :3], canvas[y0:y1, x0:x1])

    def backdrop(self, c, scroll_x=0.0, scroll_y=0.0):
        scroll_y = min(50.0, max(0.0, scroll_y))
        x0 = int(math.fmod(int(-scroll_x), 400))
        first = int(scroll_x * 0.0025)
        for k in range(3):
            p = (first + k) % 3
            self.blit(c, "bg.bmp", (0, 350 * p, 400, 350 * p + 350), x0 + 400 * k, int(scroll_y - 50.0))

    def digits(self, c, ms):
        txt = "%07.3f" % (ms * 0.001)
        for i in range(3):
            d = ord(txt[i]) - 48
            self.blit(c, "parts.bmp", (34 * d, 301, 34 * d + 33, 338), 76 + 34 * i, 1)
        self.blit(c, "parts.bmp", PARTS["point"], 178, 8)
        for i in range(3):
            d = ord(txt[4 + i]) - 48
            self.blit(c, "parts.bmp", (27 * d, 339, 27 * d + 26, 368), 186 + 27 * i, 8)
        self.blit(c, "parts.bmp", PARTS["sec"], 267, 8)

    def ride(self, lean, pitch, frame=0, speed=0.5, ms=12345, rope=True, rider=True):
        c = np.zeros((300, 400, 3), np.uint8)
        self.backdrop(c, 0.0, abs(pitch) * speed * 4.0)
        k = cow_frame_for_pitch(pitch, frame)
        self.blit(c, "cow.bmp", (0, COW_PITCH * k, 216, COW_PITCH * k + 195), *COW_REST)
        if rope:
            self.rope(c, lean, pitch)
        if rider:
            row = pose_row(lean)
            l, t, w, h, sx, sy = POSE[row]
            if lean == 0:
                l = 72 * frame
            x, y = rider_pos(lean, pitch)
            self.blit(c, "pomul.bmp", (l, t, l + w, t + h), int(x), int(y))
        self.digits(c, ms)
        self.blit(c, "parts.bmp", PARTS["caption"], 276, 279)
        return c

    def rope(self, c, lean, pitch):
        row = pose_row(lean)
        l, t = POSE[row][0], POSE[row][1]
        ax, ay = anchor_for_pitch(pitch)
        x, y = rider_pos(lean, pitch)
        hx, hy = int(HAND[row][0] + x - l), int(HAND[row][1] + y - t)
        dx, dy = hx - ax, hy - ay
        k = np.float32(1.0 / 30.0)
        for i in range(30):
            px = int(dx * i * k + ax)
            py = int(dy * i * k + ay + 2 * math.sin(float(np.float32(i * k * np.float32(math.pi)))))
            self.blit(c, "cow.bmp", (94, 1302, 97, 1305), px, py)


def seat_report(scene):
    """For every lean and pitch: rows between the rider's seat and the cow's
    first opaque pixel beneath it (0 = touching, negative = overlapping)."""
    lines, worst = [], 0
    cow = scene.s["cow.bmp"]
    for pitch in (0.0, 0.5, 1.5, 2.5, 3.5, -0.5, -1.5, -2.5, -3.5):
        k = cow_frame_for_pitch(pitch)
        row = []
        for lean in range(-4, 5):
            r = pose_row(lean)
            l, t, w, h, sx, sy = POSE[r]
            x, y = rider_pos(lean, pitch)
            X, Y = int(x) + sx - l, int(y) + sy - t
            fx, fy = X - COW_REST[0], Y - COW_REST[1]
            col = cow[COW_PITCH * k:COW_PITCH * k + 195, fx, 3]
            top = int(np.argmax(col > 0)) if col.any() else 999
            gap = top - fy - 1
            worst = max(worst, gap)
            row.append(f"{gap:+3d}")
        lines.append(f"pitch {pitch:+4.1f} frame {k}: " + " ".join(row))
    return worst, lines


def moments(scene):
    """Title, READY, GO, the fall, lying, the 'pu' and a dust cloud."""
    tiles = []
    c = np.zeros((300, 400, 3), np.uint8)
    scene.blit(c, "parts.bmp", PARTS["title"], 0, 0)
    scene.blit(c, "parts.bmp", PARTS["cursor"], 200, 150)
    tiles.append(c)
    for key, s in (("ready", 0.6), ("go", 1.0)):
        c = scene.ride(0, 0.0, ms=0)
        x = int((400 - 364 * s) * 0.5 + 4)
        y = int((300 - 56 * s) * 0.5)
        scene.blit(c, "parts.bmp", PARTS[key], x, y, dst=(x, y, x + int(364 * s), y + int(56 * s)))
        tiles.append(c)
    c = scene.ride(1, 2.5, ms=4321)
    scene.blit(c, "parts.bmp", PARTS["dust1"], 110, 236)
    tiles.append(c)
    c = scene.ride(-2, -2.5, ms=8765)
    scene.blit(c, "parts.bmp", PARTS["dust2"], 240, 230)
    tiles.append(c)
    c = scene.ride(0, 0.0, frame=1, ms=17000)
    scene.blit(c, "parts.bmp", PARTS["snort1"], 99 - 6, 266 - 3)
    scene.blit(c, "parts.bmp", PARTS["cursor_down"], 300, 120)
    tiles.append(c)
    for side, falls, lie, lean in ((1, FALL_POS, LIE_POS, 4), (-1, FALL_NEG, LIE_NEG, -4)):
        rx, ry = rider_pos(lean, 0.0)
        for n, fy in ((0, ry + 20), (2, ry + 90)):
            c = scene.ride(lean, 0.0, rope=False, rider=False, ms=20000)
            scene.blit(c, "pomul.bmp", falls[n], int(rx), int(fy))
            tiles.append(c)
        c = scene.ride(lean, 0.0, rope=False, rider=False, ms=20000)
        scene.blit(c, "pomul.bmp", lie, int(rx), 220)
        tiles.append(c)
        c = scene.ride(lean, 0.0, rope=False, rider=False, ms=20000)
        l, t, r, b = lie
        half = (l, t, r, 490 if t == 442 else 666)
        bottom = 220 + (96 if t == 442 else 84)
        scene.blit(c, "pomul.bmp", half, 0, 0, dst=(int(rx), 180,
                                                   int(rx) + 122, bottom))
        tiles.append(c)
    return tiles


def grid(tiles, cols, path, gap=4):
    rows = (len(tiles) + cols - 1) // cols
    out = np.full((rows * (300 + gap) + gap, cols * (400 + gap) + gap, 3), 40, np.uint8)
    for i, t in enumerate(tiles):
        r, q = divmod(i, cols)
        out[gap + r * (300 + gap):gap + r * (300 + gap) + 300, gap + q * (400 + gap):gap + q * (400 + gap) + 400] = t
    Image.fromarray(out).save(path)


def main():
    C.ensure_dirs()
    for n in SHEETS:
        contact(n, 2 if n != "cow.bmp" else 1)
    scene = Scene()
    pitches = [("stand", 0.0), ("rear0", 0.5), ("rear1", 1.5), ("rear2", 2.5), ("rear3", 3.6),
               ("kick0", -0.5), ("kick1", -1.5), ("kick2", -2.5), ("kick3", -3.6)]
    for name, p in pitches:
        tiles = [scene.ride(lean, p) for lean in range(-4, 5)]
        grid(tiles, 3, os.path.join(C.PREVIEW, f"ride_{name}.png"))
    grid(moments(scene), 4, os.path.join(C.PREVIEW, "moments.png"))
    worst, lines = seat_report(scene)
    with open(os.path.join(C.PREVIEW, "seat_gaps.txt"), "w") as fh:
        fh.write("Rows of air between the rider's seat and the cow's back, leans -4..4\n")
        fh.write("\n".join(lines) + "\n")
    print(f"preview: written; largest seat gap {worst} px")


if __name__ == "__main__":
    main()
