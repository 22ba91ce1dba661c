"""Backdrop panorama, title picture and the small parts (digits, banners,
cursors, caption, dust, snort), as SVG."""
import math

from draw_chars import (INK, ROPE, CREAM, SCARF, cow_standing, f, ol,
                        pomul_rider, POSE_STYLE)
from layout import PARTS, POSE, HAND

FONT = "'M PLUS 1'"     # quoted: unquoted, CSS drops a family name with a digit

SKY = ["#5dbbea", "#76c6ef", "#91d2f3", "#acdef6", "#c6e9f9"]
CLOUD, CLOUD_SH = "#ffffff", "#d6ecf8"
MOUNT, MOUNT_SH, SNOW = "#a4bde0", "#8eaad3", "#f4f8ff"
HILL, HILL_SH, HILL_DK = "#93d46c", "#7cc157", "#62a845"
TREE, TREE_DK, TRUNK = "#4fa048", "#3d8a3c", "#8a5a32"
FENCE, FENCE_SH = "#c98f56", "#a0683a"
SAND, SAND_SH, SAND_DK, PEBBLE = "#eed39e", "#e0bf85", "#cfa96c", "#bf9a62"
BARN, BARN_SH, WHITE = "#d6443a", "#b03530", "#fff8ee"
W = 1200


def wrap3(x, fn):
    """Draw fn(x) also one panorama width left and right: seamless wrap."""
    return fn(x - W) + fn(x) + fn(x + W)


def periodic(x, terms):
    return sum(a * math.sin(2 * math.pi * k * x / W + p) for a, k, p in terms)


def curve_path(base, terms, bottom, step=6):
    pts = [f"{x},{f(base - periodic(x, terms))}" for x in range(0, W + 1, step)]
    return f"M 0,{bottom} L " + " L ".join(pts) + f" L {W},{bottom} Z"


def cloud(x, y, s):
    c = [(0, 0, 16), (-18, 6, 11), (18, 5, 12), (-8, -8, 12), (9, -10, 13), (30, 9, 8), (-30, 10, 7)]
    out = ""
    for dx, dy, r in c:
        out += f'<circle cx="{f(x + dx * s)}" cy="{f(y + dy * s + 2)}" r="{f(r * s + 1.5)}" fill="{CLOUD_SH}"/>'
    for dx, dy, r in c:
        out += f'<circle cx="{f(x + dx * s)}" cy="{f(y + dy * s)}" r="{f(r * s)}" fill="{CLOUD}"/>'
    return out


def tree(x, y, s=1.0):
    return (f'<rect x="{f(x - 2.5 * s)}" y="{f(y - 8 * s)}" width="{f(5 * s)}" height="{f(10 * s)}" fill="{TRUNK}"/>'
            f'<circle cx="{f(x)}" cy="{f(y - 16 * s)}" r="{f(11 * s)}" fill="{TREE_DK}"/>'
            f'<circle cx="{f(x - 2 * s)}" cy="{f(y - 18 * s)}" r="{f(8.5 * s)}" fill="{TREE}"/>')


def barn(x, y):
    return (ol(f"M {x},{y} L {x},{y - 34} L {x + 24},{y - 52} L {x + 48},{y - 34} L {x + 48},{y} Z", BARN, 2)
            + ol(f"M {x - 4},{y - 32} L {x + 24},{y - 55} L {x + 52},{y - 32} L {x + 52},{y - 37} "
                 f"L {x + 24},{y - 60} L {x - 4},{y - 37} Z", WHITE, 1.6)
            + ol(f"M {x + 14},{y} L {x + 14},{y - 22} L {x + 34},{y - 22} L {x + 34},{y} Z", BARN_SH, 1.6)
            + f'<path d="M {x + 14},{y - 22} L {x + 34},{y} M {x + 34},{y - 22} L {x + 14},{y}" '
              f'stroke="{WHITE}" stroke-width="2.2"/>'
            + ol(f"M {x + 19},{y - 44} L {x + 29},{y - 44} L {x + 29},{y - 36} L {x + 19},{y - 36} Z", "#ffe9a8", 1.4)
            + ol(f"M {x + 56},{y} L {x + 56},{y - 40} C {x + 56},{y - 50} {x + 74},{y - 50} {x + 74},{y - 40} "
                 f"L {x + 74},{y} Z", "#c7c2cf", 1.8))


def windmill(x, y):
    s = ol(f"M {x - 7},{y} L {x - 2},{y - 50} L {x + 2},{y - 50} L {x + 7},{y} Z", "#f2efe6", 1.6)
    for a in range(0, 360, 45):
        ax, ay = x + 20 * math.cos(math.radians(a + 10)), y - 52 + 20 * math.sin(math.radians(a + 10))
        s += f'<path d="M {x},{y - 52} L {f(ax)},{f(ay)}" stroke="{INK}" stroke-width="4.5" stroke-linecap="round"/>'
        s += f'<path d="M {x},{y - 52} L {f(ax)},{f(ay)}" stroke="#f8f4ea" stroke-width="2.4" stroke-linecap="round"/>'
    s += f'<circle cx="{x}" cy="{y - 52}" r="3.5" fill="{BARN}" stroke="{INK}" stroke-width="1.4"/>'
    return s


def stands(x, y, width):
    """Bleachers with a crowd of little round heads."""
    s = ol(f"M {x},{y} L {x},{y - 44} L {x + width},{y - 44} L {x + width},{y} Z", "#e8e0d0", 1.8)
    s += ol(f"M {x - 4},{y - 44} L {x + width / 2},{y - 60} L {x + width + 4},{y - 44} Z", BARN, 1.8)
    for i in range(0, int(width) // 12):
        s += f'<path d="M {x + i * 12 + 6},{y - 58} L {x + i * 12 + 6},{y - 52}" stroke="{WHITE}" stroke-width="2"/>'
    cols = ["#f28b50", "#6cb6e8", "#f4d35e", "#e36b8f", "#8bd17c", "#b58de0", "#ffffff"]
    n = 0
    for row, yy in enumerate((y - 32, y - 18, y - 5)):
        for i in range(int(width) // 9):
            cx = x + 6 + i * 9 + (row % 2) * 4
            if cx > x + width - 4:
                continue
            c = cols[(i * 3 + row * 5 + n) % len(cols)]
            n += 1
            s += (f'<rect x="{cx - 4}" y="{yy}" width="8" height="7" rx="2" fill="{c}"/>'
                  f'<circle cx="{cx}" cy="{yy - 3}" r="3.3" fill="#f8d9b0"/>')
            if (i + row) % 4 == 0:   # a waving arm
                s += f'<path d="M {cx + 3},{yy} l 3,-8" stroke="#f8d9b0" stroke-width="2" stroke-linecap="round"/>'
        s += f'<rect x="{x}" y="{yy + 7}" width="{width}" height="2" fill="#b8ab96"/>'
    return s


def haystack(x, y):
    return (ol(f"M {x - 16},{y} C {x - 16},{y - 24} {x + 16},{y - 24} {x + 16},{y} Z", "#f2cf5b", 1.8)
            + f'<path d="M {x - 8},{y - 4} l 3,-10 M {x + 2},{y - 4} l 1,-12 M {x + 9},{y - 3} l -2,-9" '
              f'stroke="#d4a93a" stroke-width="1.6"/>')


def rng(seed):
    state = [seed & 0xFFFFFFFF]

    def nxt():
        state[0] = (1103515245 * state[0] + 12345) & 0x7FFFFFFF
        return state[0] / 0x7FFFFFFF
    return nxt


def panorama_svg(h=350):
    s = []
    bands = [(0, 70), (70, 125), (125, 165), (165, 195), (195, 240)]
    for (y0, y1), c in zip(bands, SKY):
        s.append(f'<rect x="0" y="{y0}" width="{W}" height="{y1 - y0}" fill="{c}"/>')
    s.append(wrap3(900, lambda x: f'<circle cx="{x}" cy="74" r="34" fill="#ffeeb0"/>'
                                  f'<circle cx="{x}" cy="74" r="24" fill="#fff6c0"/>'))
    for x, y, sc in [(90, 60, 1.0), (330, 100, 0.8), (520, 40, 1.2), (760, 110, 0.7),
                     (1050, 55, 0.9), (1170, 130, 0.6), (640, 140, 0.55)]:
        s.append(wrap3(x, lambda xx, y=y, sc=sc: cloud(xx, y, sc)))
    # far mountains with snow caps
    mterms = [(24, 3, 0.3), (12, 7, 1.1), (6, 11, 2.0)]
    s.append(f'<path d="{curve_path(168, mterms, 260)}" fill="{MOUNT}"/>')
    s.append(f'<path d="{curve_path(160, mterms, 260)}" fill="{MOUNT_SH}" opacity="0"/>')
    for x in range(0, W, 4):
        top = 168 - periodic(x, mterms)
        if top < 140:
            s.append(f'<rect x="{x}" y="{f(top)}" width="4" height="{f((140 - top) * 0.6 + 1)}" fill="{SNOW}"/>')
    # rolling hills
    hterms = [(10, 4, 2.0), (5, 9, 0.0), (3, 13, 1.0)]
    s.append(f'<path d="{curve_path(196, hterms, 260)}" fill="{HILL}"/>')
    s.append(f'<path d="{curve_path(210, [(a * 0.6, k, p + 0.5) for a, k, p in hterms], 260)}" fill="{HILL_SH}"/>')
    # ranch: barn, windmill, stands, trees, haystacks
    s.append(wrap3(180, lambda x: barn(x, 206)))
    s.append(wrap3(560, lambda x: windmill(x, 204)))
    s.append(wrap3(860, lambda x: stands(x, 214, 190)))
    for x, sc in [(60, 0.9), (120, 1.1), (300, 0.8), (420, 1.0), (470, 0.8), (640, 1.1),
                  (700, 0.85), (1100, 1.0), (1150, 0.8)]:
        y = 200 - periodic(x, hterms) + 8
        s.append(wrap3(x, lambda xx, y=y, sc=sc: tree(xx, y, sc)))
    s.append(wrap3(360, lambda x: haystack(x, 214) + haystack(x + 26, 216)))
    # arena sand
    s.append(f'<rect x="0" y="236" width="{W}" height="{h - 236}" fill="{SAND}"/>')
    s.append(f'<rect x="0" y="236" width="{W}" height="10" fill="{SAND_SH}"/>')
    s.append(f'<rect x="0" y="300" width="{W}" height="{h - 300}" fill="#f2dcae"/>')
    s.append(f'<rect x="0" y="298" width="{W}" height="2" fill="{SAND_SH}"/>')
    # fence
    s.append(f'<rect x="0" y="212" width="{W}" height="6" fill="{FENCE}" stroke="{INK}" stroke-width="1.5"/>')
    s.append(f'<rect x="0" y="226" width="{W}" height="6" fill="{FENCE}" stroke="{INK}" stroke-width="1.5"/>')
    for x in range(20, W, 60):
        s.append(wrap3(x, lambda xx: ol(f"M {xx - 4},{240} L {xx - 4},{206} L {xx},{203} L {xx + 4},{206} "
                                        f"L {xx + 4},{240} Z", FENCE_SH, 1.5)))
    # pebbles, tufts, hoof prints
    r = rng(7)
    for i in range(90):
        x, y = r() * W, 250 + r() * 95
        kind = r()
        if kind < 0.5:
            s.append(wrap3(x, lambda xx, y=y: f'<ellipse cx="{f(xx)}" cy="{f(y)}" rx="3" ry="1.8" fill="{PEBBLE}"/>'))
        elif kind < 0.75:
            s.append(wrap3(x, lambda xx, y=y: f'<path d="M {f(xx - 4)},{f(y)} l 2,-6 l 2,5 l 2,-7 l 2,8" '
                                               f'stroke="{HILL_DK}" stroke-width="1.8" fill="none"/>'))
        else:
            s.append(wrap3(x, lambda xx, y=y: f'<path d="M {f(xx - 3)},{f(y)} a 3,2 0 0 1 6,0" '
                                               f'stroke="{SAND_DK}" stroke-width="1.6" fill="none"/>'
                                               f'<path d="M {f(xx + 6)},{f(y + 3)} a 3,2 0 0 1 6,0" '
                                               f'stroke="{SAND_DK}" stroke-width="1.6" fill="none"/>'))
    return "".join(s)


# ------------------------------------------------------------------ parts

def txt(x, y, size, text, fill, stroke=INK, sw=None, anchor="middle", weight=900, extra=""):
    sw = sw if sw is not None else size * 0.16
    return (f'<text x="{f(x)}" y="{f(y)}" font-family="{FONT}" font-weight="{weight}" '
            f'font-size="{f(size)}" text-anchor="{anchor}" fill="{fill}" stroke="{stroke}" '
            f'stroke-width="{f(sw)}" stroke-linejoin="round" paint-order="stroke" {extra}>{text}</text>')


def clip(name, rect, inner):
    l, t, r, b = rect
    return (f'<clipPath id="k{name}"><rect x="{l}" y="{t}" width="{r - l}" height="{b - t}"/></clipPath>'
            f'<g clip-path="url(#k{name})"><g transform="translate({l},{t})">{inner}</g></g>')


DIGIT_FILL = "#ffe46b"


def digit(ch, w, h, size, base):
    return (txt(w / 2 + 1.5, base + 1.5, size, ch, INK, INK, size * 0.2)
            + txt(w / 2, base, size, ch, DIGIT_FILL, INK, size * 0.2))


def banner(text, w, h, fill, dark, txt_fill):
    s = []
    # ribbon tails
    s.append(ol(f"M 2,14 L 40,14 L 40,50 L 2,50 L 14,32 Z", dark, 2.4))
    s.append(ol(f"M {w - 2},14 L {w - 40},14 L {w - 40},50 L {w - 2},50 L {w - 14},32 Z", dark, 2.4))
    s.append(ol(f"M 28,4 L {w - 28},4 L {w - 28},46 L 28,46 Z", fill, 2.6))
    s.append(f'<rect x="34" y="8" width="{w - 68}" height="5" fill="#ffffff" opacity="0.45"/>')
    for sx in (60, w - 60):
        s.append(f'<polygon points="{sx},16 {sx + 4},24 {sx + 12},25 {sx + 6},31 {sx + 8},39 '
                 f'{sx},35 {sx - 8},39 {sx - 6},31 {sx - 12},25 {sx - 4},24" fill="#fff3a0" '
                 f'stroke="{INK}" stroke-width="1.5" stroke-linejoin="round"/>')
    s.append(txt(w / 2 + 2, 42, 40, text, INK, INK, 7))
    s.append(txt(w / 2, 40, 40, text, txt_fill, INK, 7))
    return "".join(s)


def cursor(fill):
    return ol("M 1,1 L 1,13 L 4.2,10.2 L 6.6,15 L 9.2,13.8 L 6.9,9.2 L 11.4,9 Z", fill, 1.4)


def caption():
    return (ol("M 8,1 L 108,1 C 115,1 115,15 108,15 L 8,15 C 1,15 1,1 8,1 Z", "#fff3d0", 1.6)
            + txt(58, 12.6, 11.5, "ポムルのロデオ", "#8a3c1c", "none", 0, weight=800))


DUST, DUST_SH, DUST_LN = "#f1dfb8", "#dcc08a", "#b99a66"


def dust(n):
    sets = [
        [(20, 50, 9), (32, 46, 11), (44, 52, 8)],
        [(16, 48, 12), (32, 40, 15), (50, 46, 12), (62, 53, 8), (26, 55, 8)],
        [(14, 44, 13), (30, 32, 16), (50, 36, 15), (64, 48, 10), (40, 52, 11), (22, 55, 7)],
        [(12, 36, 8), (30, 22, 9), (52, 28, 10), (66, 44, 6), (38, 46, 6), (20, 54, 4), (58, 56, 4)],
    ][n]
    s = "".join(f'<circle cx="{x}" cy="{y}" r="{r + 2}" fill="{DUST_LN}"/>' for x, y, r in sets)
    s += "".join(f'<circle cx="{x}" cy="{y + 1.5}" r="{r}" fill="{DUST_SH}"/>' for x, y, r in sets)
    s += "".join(f'<circle cx="{x - 1}" cy="{y - 1}" r="{r - 2.5}" fill="{DUST}"/>' for x, y, r in sets if r > 4)
    return s


def snort(k):
    puffs = [[(36, 14, 6), (28, 19, 5), (40, 20, 4)],
             [(24, 18, 8), (12, 24, 6), (32, 25, 5), (8, 14, 4)]][k]
    s = "".join(f'<circle cx="{x}" cy="{y}" r="{r + 1.8}" fill="#8fa6b6"/>' for x, y, r in puffs)
    s += "".join(f'<circle cx="{x}" cy="{y}" r="{r}" fill="#ffffff"/>' for x, y, r in puffs)
    s += "".join(f'<circle cx="{x + 1.5}" cy="{y + 1.5}" r="{r * 0.45}" fill="#dbe7ef"/>' for x, y, r in puffs)
    lines = ['<path d="M 44,8 l -6,-4 M 45,14 l -7,0" stroke="#8fa6b6" stroke-width="1.6" stroke-linecap="round"/>',
             '<path d="M 40,6 l -7,-3 M 42,30 l -6,2" stroke="#8fa6b6" stroke-width="1.6" stroke-linecap="round"/>'][k]
    return s + lines


def title_picture():
    s = [f'<rect x="0" y="0" width="400" height="300" fill="{SKY[1]}"/>']
    # sunburst
    for i in range(24):
        a0, a1 = math.radians(i * 15), math.radians(i * 15 + 7.5)
        cx, cy = 200, 150
        s.append(f'<path d="M {cx},{cy} L {f(cx + 500 * math.cos(a0))},{f(cy + 500 * math.sin(a0))} '
                 f'L {f(cx + 500 * math.cos(a1))},{f(cy + 500 * math.sin(a1))} Z" fill="{SKY[3]}"/>')
    s.append(cloud(50, 150, 0.8) + cloud(360, 140, 0.7))
    # ground
    s.append(f'<path d="M 0,226 C 100,214 300,214 400,226 L 400,300 L 0,300 Z" fill="{HILL}"/>')
    s.append(f'<path d="M 0,240 C 100,232 300,232 400,240 L 400,300 L 0,300 Z" fill="{SAND}"/>')
    s.append(f'<rect x="0" y="240" width="400" height="4" fill="{SAND_SH}"/>')
    # cow and rider
    scale = 0.78
    ox, oy = 72, 106
    s.append(f'<g transform="translate({ox},{oy}) scale({scale})">{cow_standing(0)}')
    row = 0
    l, t, w, h, sx, sy = POSE[row]
    seat_frame = (116, 95)
    lean, expr, fa, hdx, htilt = POSE_STYLE[1]
    s.append(f'<g transform="translate({seat_frame[0] - sx},{seat_frame[1] - sy})">'
             + pomul_rider((l - 20, t - 20, l + w + 20, t + h + 10), (sx, sy), HAND[row], 0,
                           "grin", (38, -84), 0, -6).replace('id="c-20_-20"', 'id="ctitle"')
             .replace("url(#c-20_-20)", "url(#ctitle)")
             + '</g>')
    ax, ay = 77, 94
    hx, hy = HAND[row][0] - sx + seat_frame[0], HAND[row][1] - sy + seat_frame[1]
    s.append(f'<path d="M {ax + 1.5},{ay + 1.5} Q {f((ax + hx) / 2)},{f(max(ay, hy) + 6)} {hx},{hy + 2}" '
             f'stroke="{INK}" stroke-width="5" fill="none"/>'
             f'<path d="M {ax + 1.5},{ay + 1.5} Q {f((ax + hx) / 2)},{f(max(ay, hy) + 6)} {hx},{hy + 2}" '
             f'stroke="{ROPE}" stroke-width="3" fill="none"/>')
    s.append('</g>')
    # title
    s.append('<g transform="rotate(-4 200 60)">')
    s.append(txt(203, 78, 50, "ポムルのロデオ", INK, INK, 12))
    s.append(txt(200, 74, 50, "ポムルのロデオ", "#ffd43b", INK, 10))
    s.append(txt(200, 74, 50, "ポムルのロデオ", "#ffd43b", "#fff7cf", 2.5))
    s.append('</g>')
    s.append(txt(200, 104, 13, "～ 牛にしがみつけ！ ～", "#ffffff", "#8a3c1c", 4, weight=800))
    # how to play board
    s.append(ol("M 254,128 L 394,124 L 396,208 L 256,212 Z", "#fff6dc", 2.4))
    s.append(txt(325, 148, 12.5, "あそびかた", "#d8433a", "none", 0, weight=900))
    s.append(txt(325, 166, 10.5, "牛があばれたら", INK, "none", 0, weight=800))
    s.append(txt(325, 182, 10.5, "右クリック・左クリックで", INK, "none", 0, weight=800))
    s.append(txt(325, 198, 10.5, "バランスをとろう！", INK, "none", 0, weight=800))
    # start ribbon
    s.append(ol("M 96,258 L 304,258 L 312,272 L 304,286 L 96,286 L 88,272 Z", SCARF, 2.6))
    s.append(txt(200, 279, 17, "クリックでスタート！", "#ffffff", INK, 3.5))
    return "".join(s)


def parts_sheet_svg():
    P = PARTS
    s = [clip("title", P["title"], title_picture())]
    for d in range(10):
        s.append(clip(f"big{d}", P[f"big{d}"], digit(str(d), 33, 37, 40, 33)))
        s.append(clip(f"small{d}", P[f"small{d}"], digit(str(d), 26, 29, 31, 26)))
    s.append(clip("point", P["point"], f'<circle cx="4" cy="23" r="3" fill="{DIGIT_FILL}" '
                                         f'stroke="{INK}" stroke-width="1.8"/>'))
    s.append(clip("sec", P["sec"], txt(29.5, 25.5, 23, "sec", INK, INK, 4.5)
                  + txt(28, 24, 23, "sec", DIGIT_FILL, INK, 4.5)))
    s.append(clip("ready", P["ready"], banner("READY", 364, 56, "#e04a3c", "#a8322a", "#ffffff")))
    s.append(clip("go", P["go"], banner("GO!", 364, 56, "#ffc629", "#d9931c", "#e04a3c")))
    s.append(clip("cursor", P["cursor"], cursor("#ffffff")))
    s.append(clip("cursord", P["cursor_down"], cursor("#ffb020")))
    s.append(clip("caption", P["caption"], caption()))
    for n in range(4):
        s.append(clip(f"dust{n}", P[f"dust{n}"], dust(n)))
    for k in range(2):
        s.append(clip(f"snort{k}", P[f"snort{k}"], snort(k)))
    return "".join(s)
