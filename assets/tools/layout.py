"""Where everything sits on the four sheets, as the game code cuts them.
Rectangles are (left, top, right, bottom), right and bottom exclusive.
The art, the previews and the checks all read this one table."""

SHEETS = {          # pack name -> (width, height)
    "parts.bmp": (400, 599),
    "cow.bmp": (400, 1959),
    "bg.bmp": (400, 1050),
    "pomul.bmp": (400, 708),
}

PARTS = {
    "title": (0, 0, 400, 300),
    **{f"big{d}": (34 * d, 301, 34 * d + 33, 338) for d in range(10)},
    **{f"small{d}": (27 * d, 339, 27 * d + 26, 368) for d in range(10)},
    "point": (270, 339, 278, 368),
    "sec": (278, 339, 334, 368),
    "ready": (0, 369, 364, 425),
    "go": (0, 426, 364, 482),
    "cursor": (0, 483, 16, 499),
    "cursor_down": (17, 483, 33, 499),
    "caption": (152, 483, 268, 499),
    **{f"dust{n}": (77 * n, 500, 77 * n + 76, 563) for n in range(4)},
    **{f"snort{k}": (48 * k, 564, 48 * k + 47, 599) for k in range(2)},
}

COW_FRAME_W, COW_FRAME_H, COW_PITCH = 216, 195, 196
COW = {f"cow{k}": (0, COW_PITCH * k, COW_FRAME_W, COW_PITCH * k + COW_FRAME_H)
       for k in range(10)}
ROPE_PATCH = (94, 1302, 97, 1305)          # rope colour, inside cow frame 6
COW_REST = (105, 100)                      # cow sprite position at rest

BG = {f"panel{i}": (0, 350 * i, 400, 350 * i + 350) for i in range(3)}

# Rider poses: left, top, width, height, seatX, seatY (sheet coordinates).
POSE = [
    (0, 0, 71, 120, 31, 119),
    (72, 0, 71, 120, 103, 119),
    (144, 0, 82, 118, 169, 117),
    (227, 0, 82, 118, 251, 117),
    (0, 121, 93, 108, 17, 228),
    (94, 121, 93, 108, 111, 228),
    (89, 230, 88, 114, 150, 343),
    (0, 230, 88, 114, 61, 343),
    (282, 230, 103, 102, 365, 331),
    (178, 230, 103, 102, 261, 331),
]
HAND = [(2, 75), (73, 75), (148, 53), (231, 53), (13, 160), (106, 160),
        (100, 298), (11, 298), (308, 302), (203, 301)]
# Rope anchor on the cow relative to its rest position, per pitch index.
ANCHOR = [(90, 68), (90, 69), (83, 79), (85, 80), (77, 94), (67, 92),
          (68, 93), (60, 97), (61, 97)]

FALL_POS = [(0, 345, 122, 441), (123, 345, 245, 441), (246, 345, 368, 441)]
LIE_POS = (0, 442, 122, 538)
FALL_NEG = [(0, 539, 122, 623), (123, 539, 245, 623), (246, 539, 368, 623)]
LIE_NEG = (0, 624, 122, 708)

POMUL = {f"pose{r}": (p[0], p[1], p[0] + p[2], p[1] + p[3])
         for r, p in enumerate(POSE)}
POMUL.update({f"fallpos{n}": r for n, r in enumerate(FALL_POS)})
POMUL.update({f"fallneg{n}": r for n, r in enumerate(FALL_NEG)})
POMUL["liepos"] = LIE_POS
POMUL["lieneg"] = LIE_NEG

RECTS = {"parts.bmp": PARTS, "cow.bmp": COW, "bg.bmp": BG, "pomul.bmp": POMUL}


def pose_row(lean):
    if lean == 0:
        return 0
    return lean + 1 if lean > 0 else 5 - lean


def rider_pos(lean, pitch):
    """Sprite position (float) of the rider for a lean and a cow pitch."""
    left, top, w, h, sx, sy = POSE[pose_row(lean)]
    x = 205 + (103 - w) // 2 - (sx - left) + 2.3 * pitch
    y = 195 + (120 - h) // 2 - (sy - top) - 5.0 * abs(pitch)
    return x, y


def seat_on_screen(lean, pitch):
    left, top, w, h, sx, sy = POSE[pose_row(lean)]
    x, y = rider_pos(lean, pitch)
    return int(x) + sx - left, int(y) + sy - top


def cow_frame_for_pitch(pitch, stand_frame=0):
    if pitch > 0:
        return 2 + int(pitch)
    if pitch < 0:
        return 6 + int(-pitch)
    return stand_frame


def anchor_for_pitch(pitch):
    p = min(8, max(0, int(4.0 - pitch)))
    ax, ay = ANCHOR[p]
    return ax + COW_REST[0], ay + COW_REST[1]
