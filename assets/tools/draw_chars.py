"""Pomul the rider and the cow, drawn as SVG fragments.

Pomul is drawn in 'seat' coordinates: the origin is the point where Pomul
sits (bottom middle of the body), up is negative y. The cow is drawn in the
coordinates of its standing frame (216 x 195)."""
import math

from layout import (ANCHOR, COW_FRAME_H, COW_FRAME_W, COW_PITCH, COW_REST,
                    HAND, POSE, ROPE_PATCH)

INK = "#3b2416"          # outline colour everywhere (never pure black)
ROPE = "#eba63a"         # rope colour: also the 3x3 rope-dot patch
ROPE_DARK = "#b8741f"

# Pomul
CREAM, CREAM_SH, BELLY = "#fff1c6", "#efd29a", "#fffbea"
BLUSH = "#ff9c94"
HAT, HAT_SH, HAT_BAND = "#d99a52", "#b4733a", "#d8433a"
SCARF = "#e04a3c"
BOOT = "#8a5530"
EYE = "#2e1c12"
TONGUE = "#e8605a"
SWEAT = "#8fd3ff"

# Cow
COWC, COW_SH, COW_DK = "#fbf9f4", "#e2ded6", "#cfc9bf"
PATCH = "#3c3436"
COW_CREAM, NOSE, HORN, HOOF = "#f6e0b8", "#f2a6a0", "#f7f0da", "#4b3427"
BELL = "#f2c232"
SHADOW = "#c9a266"


def f(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


def limb(x1, y1, x2, y2, w, fill, ink=INK):
    return (f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" '
            f'stroke="{ink}" stroke-width="{f(w + 3.5)}" stroke-linecap="round"/>'
            f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" '
            f'stroke="{fill}" stroke-width="{f(w)}" stroke-linecap="round"/>')


def ol(d, fill, w=2.4):
    return (f'<path d="{d}" fill="{fill}" stroke="{INK}" stroke-width="{w}" '
            f'stroke-linejoin="round"/>')


def rot(x, y, deg):
    a = math.radians(deg)
    c, s = math.cos(a), math.sin(a)
    return x * c - y * s, x * s + y * c


# ------------------------------------------------------------------ Pomul

def pomul_face(expr):
    """Eyes, blush and mouth. expr: happy, grin, worry, worry2, panic, panic2,
    dizzy, oops."""
    s = []
    # blush
    s.append(f'<ellipse cx="-16" cy="-45" rx="5.5" ry="3.2" fill="{BLUSH}"/>'
             f'<ellipse cx="21" cy="-45" rx="5.5" ry="3.2" fill="{BLUSH}"/>')
    if expr in ("happy", "grin", "worry", "worry2"):
        ry = 6.5 if expr != "grin" else 6.0
        for ex in (-8, 12):
            s.append(f'<ellipse cx="{ex}" cy="-56" rx="4.3" ry="{ry}" fill="{EYE}"/>'
                     f'<circle cx="{ex + 1.4}" cy="-58.6" r="1.9" fill="#fff"/>')
    if expr == "happy":
        s.append(f'<path d="M -3,-46 Q 2,-40 7,-46" fill="none" stroke="{INK}" '
                 f'stroke-width="2.2" stroke-linecap="round"/>')
    elif expr == "grin":
        s.append(ol("M -4,-47 Q 2,-36 8,-47 Z", TONGUE, 2.0))
    elif expr in ("worry", "worry2"):
        # slanted brows, wavy mouth, sweat drop
        s.append(f'<path d="M -13,-66 L -4,-68 M 8,-68 L 17,-66" stroke="{INK}" '
                 f'stroke-width="2.2" stroke-linecap="round"/>')
        s.append(f'<path d="M -3,-44 q 2.5,-3 5,0 q 2.5,3 5,0" fill="none" '
                 f'stroke="{INK}" stroke-width="2.1" stroke-linecap="round"/>')
        s.append(ol("M 27,-70 q 5,7 0,10 q -5,-3 0,-10 Z", SWEAT, 1.6))
        if expr == "worry2":
            s.append(ol("M -25,-62 q 4,6 0,9 q -4,-3 0,-9 Z", SWEAT, 1.6))
    elif expr in ("panic", "panic2"):
        # squeezed eyes > <, wide open mouth, flying sweat
        s.append(f'<path d="M -12,-61 L -5,-56 L -12,-51 M 16,-61 L 9,-56 L 16,-51" '
                 f'fill="none" stroke="{INK}" stroke-width="2.6" '
                 f'stroke-linecap="round" stroke-linejoin="round"/>')
        s.append(ol("M -4,-47 Q 2,-33 8,-47 Q 2,-50 -4,-47 Z", TONGUE, 2.0))
        s.append(ol("M 29,-72 q 6,8 0,11 q -6,-3 0,-11 Z", SWEAT, 1.6))
        s.append(ol("M -27,-66 q 5,7 0,10 q -5,-3 0,-10 Z", SWEAT, 1.6))
        if expr == "panic2":
            s.append(ol("M 33,-56 q 5,6 0,9 q -5,-3 0,-9 Z", SWEAT, 1.6))
            s.append(f'<path d="M -9,-51 q -2,5 0,8 M 13,-51 q 2,5 0,8" '
                     f'stroke="{SWEAT}" stroke-width="2.2" fill="none"/>')
    elif expr == "dizzy":
        for ex in (-8, 12):
            s.append(f'<path d="M {ex-4},-60 L {ex+4},-52 M {ex+4},-60 L {ex-4},-52" '
                     f'stroke="{INK}" stroke-width="2.4" stroke-linecap="round"/>')
        s.append(ol("M -2,-45 q 4,-4 8,0 q -4,5 -8,0 Z", TONGUE, 1.8))
    elif expr == "oops":
        for ex in (-8, 12):
            s.append(f'<circle cx="{ex}" cy="-56" r="5" fill="#fff" stroke="{INK}" '
                     f'stroke-width="2"/><circle cx="{ex}" cy="-56" r="2" fill="{EYE}"/>')
        s.append(f'<ellipse cx="2" cy="-43" rx="3.5" ry="4.5" fill="{TONGUE}" '
                 f'stroke="{INK}" stroke-width="2"/>')
    return "".join(s)


def pomul_hat(dx=0.0, dy=0.0, tilt=0.0):
    return (f'<g transform="translate({f(dx)},{f(dy)}) rotate({f(tilt)},2,-84)">'
            + ol("M -34,-83 C -36,-90 -30,-90 -27,-86 C -14,-80 18,-80 31,-86 "
                 "C 34,-90 40,-90 38,-83 C 34,-74 -30,-74 -34,-83 Z", HAT_SH)
            + ol("M -15,-83 C -17,-100 -13,-111 -6,-109 C -1,-105 5,-105 10,-109 "
                 "C 17,-111 21,-100 19,-83 C 8,-80 -4,-80 -15,-83 Z", HAT)
            + ol("M -16,-87 C -4,-84 8,-84 20,-87 L 19.5,-82 C 8,-79 -4,-79 -15.5,-82 Z",
                 HAT_BAND, 2.0)
            + f'<path d="M -9,-104 C -8,-96 -8,-92 -7,-88" stroke="#f0c080" '
              f'stroke-width="2.2" fill="none" stroke-linecap="round"/>'
            + '</g>')


def pomul_body(expr, hat=True):
    """Body, scarf, face and hat in seat coordinates (no limbs)."""
    s = [ol("M -26,-34 C -28,-72 -14,-88 2,-88 C 18,-88 32,-72 30,-34 "
            "C 29,-10 17,0 2,0 C -13,0 -25,-10 -26,-34 Z", CREAM, 2.6)]
    s.append(f'<path d="M 22,-70 C 29,-58 30,-40 26,-24 C 20,-10 10,-4 2,-3 '
             f'C 14,-12 24,-30 22,-70 Z" fill="{CREAM_SH}"/>')
    s.append(f'<ellipse cx="1" cy="-17" rx="13" ry="10" fill="{BELLY}"/>')
    s.append(f'<path d="M -18,-75 C -14,-81 -8,-83 -3,-83" stroke="#fff" '
             f'stroke-width="3" fill="none" stroke-linecap="round"/>')
    s.append(pomul_face(expr))
    s.append(ol("M -26,-31 Q 2,-23 30,-31 L 29,-24 Q 2,-16 -25,-24 Z", SCARF, 2.0))
    s.append(ol("M -5,-24 L 11,-24 L 3,-12 Z", SCARF, 2.0))
    s.append('<circle cx="-12" cy="-26" r="1.3" fill="#fff"/>'
             '<circle cx="16" cy="-26" r="1.3" fill="#fff"/>'
             '<circle cx="3" cy="-19" r="1.3" fill="#fff"/>')
    if hat:
        s.append(pomul_hat())
    return "".join(s)


def mitten(x, y, r=5.2):
    return (f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(r)}" fill="{CREAM}" '
            f'stroke="{INK}" stroke-width="2.4"/>')


def boot(x, y, flip=1):
    """Boot whose sole bottom is at y, toe pointing by flip (+1 right)."""
    d = (f"M {f(x - 7 * flip)},{f(y - 9)} L {f(x + 3 * flip)},{f(y - 9)} "
         f"L {f(x + 3 * flip)},{f(y - 5)} C {f(x + 9 * flip)},{f(y - 6)} "
         f"{f(x + 10 * flip)},{f(y)} {f(x + 6 * flip)},{f(y - 0.6)} "
         f"L {f(x - 7 * flip)},{f(y - 0.6)} Z")
    return ol(d, BOOT, 2.0)


def pomul_legs(sx, sy):
    """Short legs splayed along the cow's back; soles on the seat line."""
    return (limb(sx - 8, sy - 8, sx - 20, sy - 5, 7.5, CREAM)
            + limb(sx + 11, sy - 8, sx + 23, sy - 5, 7.5, CREAM)
            + boot(sx - 24, sy - 1, -1) + boot(sx + 27, sy - 1, 1))


def pomul_rider(rect, seat, hand, lean_deg, expr, free_arm, hat_dx=0.0, hat_tilt=0.0):
    """One rider pose in sheet coordinates, clipped to its rectangle.
    The body leans about the seat; the holding hand ends exactly on `hand`."""
    l, t, r, b = rect
    sx, sy = seat
    cid = f"c{l}_{t}"
    shx, shy = rot(-20, -44, lean_deg)
    fax, fay = free_arm
    frx, fry = rot(24, -46, lean_deg)
    hx, hy = hand
    body = (f'<g transform="translate({sx + 0.5},{sy + 0.5}) rotate({f(lean_deg)})">'
            + pomul_body(expr, hat=False)
            + pomul_hat(hat_dx, 0, hat_tilt)
            + '</g>')
    free = (limb(sx + 0.5 + frx, sy + 0.5 + fry, sx + 0.5 + fax, sy + 0.5 + fay, 7.5, CREAM)
            + mitten(sx + 0.5 + fax, sy + 0.5 + fay, 5))
    hold = (limb(sx + 0.5 + shx, sy + 0.5 + shy, hx + 0.5, hy + 0.5, 7.5, CREAM)
            + mitten(hx + 0.5, hy + 0.5)
            + f'<path d="M {f(hx - 3)},{f(hy + 1)} q 3,2 6,0" stroke="{INK}" '
              f'stroke-width="1.4" fill="none"/>')
    return (f'<clipPath id="{cid}"><rect x="{l}" y="{t}" width="{r - l}" '
            f'height="{b - t}"/></clipPath><g clip-path="url(#{cid})">'
            + pomul_legs(sx + 0.5, sy + 1.0) + body + free + hold + '</g>')


def pomul_whole(expr, arms="up", hat=True):
    """Whole Pomul in seat coordinates, for falling and lying pictures."""
    s = [pomul_legs(0, 0)]
    s.append(pomul_body(expr, hat=hat))
    if arms == "up":
        s.append(limb(-20, -46, -34, -70, 7.5, CREAM) + mitten(-34, -70, 5))
        s.append(limb(24, -46, 38, -70, 7.5, CREAM) + mitten(38, -70, 5))
    else:
        s.append(limb(-20, -40, -34, -30, 7.5, CREAM) + mitten(-34, -30, 5))
        s.append(limb(24, -40, 38, -30, 7.5, CREAM) + mitten(38, -30, 5))
    return "".join(s)


# Lean angle, expression, free-arm end (relative to seat, sheet axes) and hat
# for each PoseTable row. Rows 2-5 lean to the positive side (right on
# screen, away from the cow's head), rows 6-9 to the negative side.
POSE_STYLE = {
    0: (0, "happy", (37, -72), 0, 0),
    1: (0, "grin", (34, -80), 0, -6),
    2: (10, "worry", (46, -70), 2, 6),
    3: (12, "worry2", (50, -60), 3, 10),
    4: (28, "panic", (72, -40), 4, 12),
    5: (30, "panic2", (70, -22), 5, 16),
    6: (-14, "worry", (6, -100), -2, -6),
    7: (-16, "worry2", (14, -98), -3, -10),
    8: (-30, "panic", (18, -90), -4, -14),
    9: (-32, "panic2", (12, -94), -5, -18),
}


def pomul_sheet_svg():
    parts = []
    for row, (l, t, w, h, sx, sy) in enumerate(POSE):
        lean, expr, (fax, fay), hdx, htilt = POSE_STYLE[row]
        parts.append(pomul_rider((l, t, l + w, t + h), (sx, sy), HAND[row], lean,
                                 expr, (fax, fay), hdx, htilt))
    parts.append(falling_svg())
    return "".join(parts)


def _placed(rect, inner, cx, cy, deg, scale, mirror=False):
    l, t, r, b = rect
    cid = f"c{l}_{t}"
    m = " scale(-1,1)" if mirror else ""
    return (f'<clipPath id="{cid}"><rect x="{l}" y="{t}" width="{r - l}" '
            f'height="{b - t}"/></clipPath><g clip-path="url(#{cid})">'
            f'<g transform="translate({f(l + cx)},{f(t + cy)}){m} rotate({f(deg)}) '
            f'scale({f(scale)}) translate(-2,55)">{inner}</g></g>')


def stars(cx, cy, n=3, r=16):
    s = []
    for i in range(n):
        a = math.radians(90 * i + 20)
        x, y = cx + r * math.cos(a) * 1.4, cy + r * 0.5 * math.sin(a)
        pts = " ".join(f"{f(x + (5 if k % 2 == 0 else 2.2) * math.cos(math.radians(k * 36 - 90)))},"
                       f"{f(y + (5 if k % 2 == 0 else 2.2) * math.sin(math.radians(k * 36 - 90)))}"
                       for k in range(10))
        s.append(f'<polygon points="{pts}" fill="#ffe14a" stroke="{INK}" '
                 f'stroke-width="1.3" stroke-linejoin="round"/>')
    return "".join(s)


def lying(rect, mirror, ground):
    """Face down, bottom up, hat beside: the upper half (the raised bottom)
    is what the game stretches for its 'pu'."""
    l, t, r, b = rect
    cid = f"c{l}_{t}"
    # body seen from the side, lying along the ground, bottom raised
    g = []
    g.append(f'<ellipse cx="61" cy="{ground - 1}" rx="50" ry="4" fill="{SHADOW}"/>')
    g.append(f'<g transform="translate(24,{ground + 50}) rotate(-12) scale(0.66)">'
             + pomul_hat() + '</g>')
    # legs trailing flat behind the raised bottom
    g.append(limb(84, ground - 8, 102, ground - 6, 7.5, CREAM))
    g.append(boot(104, ground, 1))
    g.append(ol(f"M 20,{ground - 4} C 16,{ground - 22} 34,{ground - 30} 52,{ground - 30} "
                f"C 62,{ground - 48} 86,{ground - 50} 90,{ground - 30} "
                f"C 94,{ground - 16} 88,{ground - 4} 76,{ground - 3} "
                f"L 26,{ground - 2} Z", CREAM, 2.6))
    g.append(f'<path d="M 60,{ground - 38} C 68,{ground - 44} 80,{ground - 44} 84,{ground - 36}" '
             f'stroke="#fff" stroke-width="3" fill="none" stroke-linecap="round"/>')
    # little tail tuft on the bottom
    g.append(ol(f"M 72,{ground - 46} q 4,-7 9,-3 q -3,5 -9,3 Z", CREAM_SH, 1.8))
    # scarf tail and arms flat on the ground
    g.append(limb(22, ground - 6, 8, ground - 4, 7.0, CREAM) + mitten(6, ground - 4, 4.5))
    g.append(ol(f"M 34,{ground - 28} L 44,{ground - 31} L 40,{ground - 20} Z", SCARF, 1.8))
    # face squashed into the dust: only a cheek and a closed eye show
    g.append(f'<ellipse cx="27" cy="{ground - 12}" rx="5" ry="3" fill="{BLUSH}"/>')
    g.append(f'<path d="M 30,{ground - 19} q 4,3 8,0" stroke="{INK}" stroke-width="2.2" '
             f'fill="none" stroke-linecap="round"/>')
    g.append(stars(28, ground - 30, 2, 9))
    m = f'transform="translate({l + 122},{t}) scale(-1,1)"' if mirror else f'transform="translate({l},{t})"'
    return (f'<clipPath id="{cid}"><rect x="{l}" y="{t}" width="{r - l}" height="{b - t}"/>'
            f'</clipPath><g clip-path="url(#{cid})"><g {m}>{"".join(g)}</g></g>')


def falling_svg():
    from layout import FALL_NEG, FALL_POS, LIE_NEG, LIE_POS
    s = []
    # positive side: tumbling off to the right, turning clockwise
    for n, (deg, expr) in enumerate([(55, "oops"), (115, "panic"), (165, "dizzy")]):
        arms = "up" if n < 2 else "down"
        s.append(_placed(FALL_POS[n], pomul_whole(expr, arms, hat=(n == 0)),
                         61, 50, deg, 0.8))
    s.append(lying(LIE_POS, False, 72))
    for n, (deg, expr) in enumerate([(55, "oops"), (115, "panic"), (165, "dizzy")]):
        arms = "up" if n < 2 else "down"
        s.append(_placed(FALL_NEG[n], pomul_whole(expr, arms, hat=(n == 0)),
                         61, 44, deg, 0.74, mirror=True))
    s.append(lying(LIE_NEG, True, 70))
    return "".join(s)


# -------------------------------------------------------------------- cow

PIVOT = (110.0, 97.0)          # point of the back under the rider
REAR_DEG = [9, 15, 21, 26]
KICK_DEG = [-5, -10, -17, -24]


def cow_transform(k):
    """(degrees, tx, ty) of cow frame k: rotation about PIVOT, then a lift.
    The lift follows the rider's rise of 2.3 x pitch, 5 x |pitch| at the
    middle of each level, so the back stays under the seat."""
    if k < 2:
        return 0.0, 0.0, 0.0
    if k < 6:
        h = k - 2
        return REAR_DEG[h], 2.3 * (h + 0.5), -5.0 * (h + 0.5)
    h = k - 6
    return KICK_DEG[h], -2.3 * (h + 0.5), -5.0 * (h + 0.5)


def cow_apply(k, x, y):
    deg, tx, ty = cow_transform(k)
    rx, ry = rot(x - PIVOT[0], y - PIVOT[1], deg)
    return rx + PIVOT[0] + tx, ry + PIVOT[1] + ty


def cow_unapply(k, x, y):
    deg, tx, ty = cow_transform(k)
    rx, ry = rot(x - PIVOT[0] - tx, y - PIVOT[1] - ty, -deg)
    return rx + PIVOT[0], ry + PIVOT[1]


def frame_anchor(k):
    """Rope anchor in frame coordinates, as the game reads it for frame k."""
    if k < 2:
        p = 4
    elif k < 6:
        p = 3 - (k - 2)
    else:
        p = 4 + (k - 6)
    return ANCHOR[p]


# The girth rope goes round the chest through the rope-dot patch of frame 6.
_PATCH_LOCAL = cow_unapply(6, (ROPE_PATCH[0] + ROPE_PATCH[2]) / 2,
                           (ROPE_PATCH[1] + ROPE_PATCH[3]) / 2 - 6 * COW_PITCH)
GIRTH_X = _PATCH_LOCAL[0] - 0.5 * (_PATCH_LOCAL[1] - 128) * 0.12


def girth_x_at(y):
    return GIRTH_X + 0.12 * (y - 128)


TORSO = ("M 58,104 C 60,90 68,83 76,84 C 86,85 92,95 100,100 "
         "C 103,102 106,94 118,93 L 168,92 C 190,92 204,104 205,126 "
         "C 206,146 198,160 182,162 L 84,164 C 66,164 54,152 54,136 "
         "C 54,122 56,112 58,104 Z")


def cow_body(variant, k):
    """Cow without legs, in standing-frame coordinates."""
    s = []
    tail_end = (214, 150) if variant == 0 else (208, 161)
    tail = (f"M 200,110 C 212,116 {tail_end[0] - 2},{tail_end[1] - 24} "
            f"{tail_end[0]},{tail_end[1]}")
    s.append(f'<path d="{tail}" stroke="{INK}" stroke-width="6" fill="none" stroke-linecap="round"/>'
             f'<path d="{tail}" stroke="{COWC}" stroke-width="2.8" fill="none" stroke-linecap="round"/>')
    tx, ty = tail_end
    s.append(ol(f"M {tx - 4},{ty - 3} C {tx - 6},{ty + 6} {tx + 2},{ty + 12} {tx + 3},{ty + 4} "
                f"C {tx + 6},{ty + 8} {tx + 4},{ty - 2} {tx + 1},{ty - 4} Z", PATCH, 2.0))
    # torso: white with black patches
    s.append(ol(TORSO, COWC, 2.8))
    s.append(f'<clipPath id="torso{k}"><path d="{TORSO}"/></clipPath><g clip-path="url(#torso{k})">'
             f'<path d="M 60,142 C 70,162 90,160 120,160 L 182,159 C 196,156 203,144 203,128 '
             f'C 196,148 184,154 160,155 L 90,156 C 74,156 64,152 60,142 Z" fill="{COW_SH}"/>'
             f'<path d="M 132,90 C 138,106 160,112 178,104 C 186,100 190,94 190,90 Z" fill="{PATCH}"/>'
             f'<path d="M 138,124 C 140,114 156,110 166,118 C 176,126 170,142 156,142 '
             f'C 144,142 136,134 138,124 Z" fill="{PATCH}"/>'
             f'<path d="M 190,118 C 198,114 210,120 210,134 C 204,138 194,134 190,118 Z" fill="{PATCH}"/>'
             f'<path d="M 104,140 C 108,132 124,132 126,142 C 128,152 112,160 104,152 Z" fill="{PATCH}"/>'
             f'</g>')
    s.append(f'<path d="M 66,96 C 72,89 79,88 85,91" stroke="#ffffff" stroke-width="3" '
             f'fill="none" stroke-linecap="round"/>')
    # girth rope
    g0, g1 = girth_x_at(92), girth_x_at(165)
    s.append(f'<path d="M {f(g0)},92 L {f(g1)},165" stroke="{INK}" stroke-width="9.5"/>'
             f'<path d="M {f(g0)},92 L {f(g1)},165" stroke="{ROPE}" stroke-width="6.5"/>')
    for yy in range(98, 162, 7):
        xx = girth_x_at(yy)
        s.append(f'<path d="M {f(xx - 3)},{yy} l 6,3" stroke="{ROPE_DARK}" stroke-width="1.3"/>')
    # neck
    s.append(ol("M 60,100 C 48,108 40,120 38,136 L 70,150 C 76,140 78,120 72,104 Z", COWC, 2.8))
    s.append(f'<path d="M 62,104 C 58,116 60,128 66,138 C 72,128 72,114 68,104 Z" fill="{PATCH}"/>')
    # collar and bell
    s.append(f'<path d="M 46,150 C 54,158 64,158 72,150" stroke="{INK}" stroke-width="7" fill="none"/>'
             f'<path d="M 46,150 C 54,158 64,158 72,150" stroke="#d8433a" stroke-width="4" fill="none"/>')
    # horns and ears behind the head
    s.append(ol("M 26,126 C 18,122 12,112 14,102 C 20,110 26,114 34,116 Z", HORN, 2.2))
    s.append(ol("M 62,126 C 70,122 76,112 74,102 C 68,110 62,114 54,116 Z", HORN, 2.2))
    lear = "M 26,134 C 16,128 6,130 2,136 C 8,142 18,142 26,140 Z"
    rear = "M 62,134 C 72,128 82,130 86,136 C 80,142 70,142 62,140 Z"
    if variant == 1:
        lear = "M 26,134 C 16,124 6,122 2,126 C 6,136 16,140 26,140 Z"
    s.append(ol(lear, COWC, 2.2) + ol(rear, COWC, 2.2))
    s.append(f'<path d="M 24,136 C 16,133 10,134 7,136" stroke="{NOSE}" stroke-width="2.6" fill="none"/>'
             f'<path d="M 64,136 C 72,133 78,134 81,136" stroke="{NOSE}" stroke-width="2.6" fill="none"/>')
    # head, seen from the front
    head = ("M 44,118 C 58,118 66,126 66,142 C 66,154 64,162 62,166 "
            "L 26,166 C 24,162 22,154 22,142 C 22,126 30,118 44,118 Z")
    s.append(ol(head, COWC, 2.6))
    s.append(f'<clipPath id="head{k}"><path d="{head}"/></clipPath><g clip-path="url(#head{k})">'
             f'<path d="M 44,116 C 58,116 70,124 70,140 C 62,142 54,136 50,128 C 48,124 46,120 44,116 Z" '
             f'fill="{PATCH}"/></g>')
    s.append(ol("M 38,120 C 40,114 44,112 48,116 C 46,118 42,120 38,120 Z", PATCH, 1.6))
    # angry eyes
    for ex, sgn in ((34, 1), (54, -1)):
        s.append(f'<ellipse cx="{ex}" cy="146" rx="4.5" ry="5" fill="#fff" stroke="{INK}" stroke-width="1.8"/>'
                 f'<circle cx="{ex + sgn * 1.2}" cy="147" r="2.6" fill="{EYE}"/>')
    if k < 2:
        brow = "M 27,137 L 39,141 M 61,137 L 49,141"
    else:
        brow = "M 27,135 L 40,142 M 61,135 L 48,142"
    s.append(f'<path d="{brow}" stroke="{INK}" stroke-width="3.4" stroke-linecap="round"/>')
    # wide pink muzzle with nostrils
    s.append(ol("M 20,170 C 20,160 30,156 44,156 C 58,156 68,160 68,170 "
                "C 68,182 58,186 44,186 C 30,186 20,182 20,170 Z", NOSE, 2.4))
    s.append(f'<ellipse cx="35" cy="172" rx="3" ry="4" fill="{INK}"/>'
             f'<ellipse cx="53" cy="172" rx="3" ry="4" fill="{INK}"/>')
    s.append(f'<path d="M 38,181 q 6,3 12,0" stroke="{INK}" stroke-width="1.8" fill="none"/>')
    s.append(f'<path d="M 26,164 C 30,160 36,159 40,159" stroke="#ffd0cc" stroke-width="2.4" fill="none"/>')
    # cowbell under the chin
    s.append(ol("M 74,150 L 86,150 L 88,163 L 72,163 Z", BELL, 2.2))
    s.append(f'<circle cx="80" cy="165" r="2.4" fill="{INK}"/>'
             f'<path d="M 76,153 L 76,160" stroke="#fff3b0" stroke-width="2"/>')
    return "".join(s)


def leg(jx, jy, fx, fy, color, knee=0.0):
    """Leg from a hip or shoulder joint to the bottom of its hoof."""
    mx, my = (jx + fx) / 2 + knee, (jy + fy) / 2
    d = f"M {f(jx)},{f(jy)} Q {f(mx)},{f(my)} {f(fx)},{f(fy - 6)}"
    ang = math.degrees(math.atan2(fx - mx, -(fy - 6 - my)))
    return (f'<path d="{d}" stroke="{INK}" stroke-width="17" fill="none" stroke-linecap="round"/>'
            f'<path d="{d}" stroke="{color}" stroke-width="13" fill="none" stroke-linecap="round"/>'
            f'<g transform="translate({f(fx)},{f(fy)}) rotate({f(-ang)})">'
            + ol("M -7.5,-8 L 7.5,-8 L 8,-0.8 L -8,-0.8 Z", HOOF, 2.0) + '</g>')


GROUND = 193.0
LEG_JOINTS = {"ff": (66, 146), "fn": (84, 150), "hf": (160, 146), "hn": (180, 148)}


def cow_legs(k, variant):
    deg, tx, ty = cow_transform(k)
    j = {n: cow_apply(k, *p) for n, p in LEG_JOINTS.items()}
    feet = {}
    if k < 2:
        feet = {"ff": (62, GROUND), "fn": (82, GROUND), "hf": (160, GROUND), "hn": (182, GROUND)}
        if variant == 1:        # pawing the ground
            feet["fn"] = (72, GROUND - 6)
        knees = {n: 0 for n in feet}
    elif k < 6:                 # rearing: hind hooves on the ground, front tucked
        h = k - 2
        for n in ("hf", "hn"):
            jx, jy = j[n]
            fy = min(GROUND, jy + 50)
            feet[n] = (jx - 4 - 3 * h, fy)
        for n, dx in (("ff", -14), ("fn", -4)):
            jx, jy = j[n]
            feet[n] = (jx + dx, jy + 34)
        knees = {"hf": 4, "hn": 4, "ff": -10, "fn": -12}
    else:                       # kicking: front hooves down, hind kicked back
        h = k - 6
        for n in ("ff", "fn"):
            jx, jy = j[n]
            fy = min(GROUND, jy + 50)
            feet[n] = (jx - 6 + 3 * h, fy)
        for n, dx, dy in (("hf", 30, 22), ("hn", 36, 12)):
            jx, jy = j[n]
            x, y = rot(dx, dy, -8 * h)
            feet[n] = (min(207, jx + x), jy + y)
        knees = {"ff": 3, "fn": 3, "hf": -6, "hn": -8}
    far = leg(*j["ff"], *feet["ff"], COW_DK, knees["ff"]) + leg(*j["hf"], *feet["hf"], COW_DK, knees["hf"])
    near = leg(*j["fn"], *feet["fn"], COW_SH, knees["fn"]) + leg(*j["hn"], *feet["hn"], COW_SH, knees["hn"])
    return far, near


def cow_frame_svg(k, top):
    """Frame k of the cow sheet, placed at row `top`, clipped to its box."""
    variant = 1 if k == 1 else 0
    deg, tx, ty = cow_transform(k)
    far, near = cow_legs(k, variant)
    # shadow on the ground, smaller the higher the cow jumps
    lift = -ty
    shadow = (f'<ellipse cx="{f(118 + tx * 0.5)}" cy="190.5" rx="{f(84 - lift * 1.4)}" '
              f'ry="{f(4.5 - lift * 0.08)}" fill="{SHADOW}"/>')
    body = (f'<g transform="translate({f(PIVOT[0] + tx)},{f(PIVOT[1] + ty)}) rotate({f(deg)}) '
            f'translate({f(-PIVOT[0])},{f(-PIVOT[1])})">{cow_body(variant, k)}</g>')
    # bull-rope handle from the top of the girth to the anchor, and its ring
    ax, ay = frame_anchor(k)
    bx, by = cow_apply(k, girth_x_at(95), 95)
    handle = (f'<path d="M {f(bx)},{f(by)} Q {f((ax + bx) / 2)},{f(min(ay, by) - 4)} '
              f'{ax + 1.5},{ay + 1.5}" stroke="{INK}" stroke-width="6" fill="none" stroke-linecap="round"/>'
              f'<path d="M {f(bx)},{f(by)} Q {f((ax + bx) / 2)},{f(min(ay, by) - 4)} '
              f'{ax + 1.5},{ay + 1.5}" stroke="{ROPE}" stroke-width="3" fill="none" stroke-linecap="round"/>'
              f'<circle cx="{ax + 1.5}" cy="{ay + 1.5}" r="3.6" fill="{ROPE}" stroke="{INK}" stroke-width="1.8"/>')
    inner = shadow + far + near + body + handle
    return (f'<clipPath id="cow{k}"><rect x="0" y="{top}" width="{COW_FRAME_W}" '
            f'height="{COW_FRAME_H}"/></clipPath><g clip-path="url(#cow{k})">'
            f'<g transform="translate(0,{top})">{inner}</g></g>')


def cow_sheet_svg():
    return "".join(cow_frame_svg(k, COW_PITCH * k) for k in range(10))


def cow_standing(variant=0):
    """Standing cow in frame coordinates (for the title and shell pictures)."""
    far, near = cow_legs(variant, variant)
    shadow = f'<ellipse cx="118" cy="190.5" rx="84" ry="4.5" fill="{SHADOW}"/>'
    ax, ay = frame_anchor(0)
    return shadow + far + near + cow_body(variant, 0)
