"""Pictures and icons of the program window: control-bar buttons (24 x 24,
magenta FF00FF transparent), logo, About picture, high-score board, the three
slide-in pictures (black transparent) and the icons."""
import os
import subprocess

import numpy as np
from PIL import Image

import common as C
from draw_chars import (BELL, BLUSH, CREAM, EYE, HAT, INK, ROPE, SCARF, cow_standing,
                        f, ol, pomul_hat, pomul_rider, POSE_STYLE)
from draw_scene import FONT, SKY, panorama_svg, txt
from layout import HAND, POSE

FACE = (212, 208, 200)       # button face the edges are blended towards
MAGENTA = (255, 0, 255)


def save_bmp(name, rgb):
    Image.fromarray(rgb.astype(np.uint8), "RGB").save(os.path.join(C.SHELL, name))


def keyed(rgba, key, under):
    """Opaque where alpha >= 1/2 (edges blended over `under`), else `key`."""
    a = rgba[..., 3:4].astype(np.float64) / 255.0
    rgb = rgba[..., :3] * a + np.array(under) * (1 - a)
    rgb = np.round(rgb).astype(np.uint8)
    out = np.where(a >= 0.5, rgb, np.array(key, np.uint8))
    if key != (0, 0, 0):
        # a drawn pixel must never equal the key colour by accident
        clash = (out == np.array(key)).all(2) & (a[..., 0] >= 0.5)
        out[clash] = (254, 0, 254)
    return out


# ---------------------------------------------------------------- buttons

def disc(fill, hot):
    ring = (f'<circle cx="12" cy="12" r="11.2" fill="#fff4a8"/>' if hot else "")
    return ring + (f'<circle cx="12" cy="12" r="9.6" fill="{fill}" stroke="{INK}" stroke-width="1.6"/>'
                   f'<path d="M 6.5,9 A 6.5,6.5 0 0 1 12,5.2" stroke="#ffffff" stroke-width="1.6" '
                   f'fill="none" stroke-linecap="round" opacity="0.8"/>')


def btn_start(state):
    fill = {"n": "#5cc45a", "h": "#7fe07a", "d": "#b9b9b9"}[state]
    mark = "#ffffff" if state != "d" else "#ececec"
    return disc(fill, state == "h") + ol("M 9.5,7.5 L 17,12 L 9.5,16.5 Z", mark, 1.3)


def btn_stop(state):
    fill = {"n": "#f3a13a", "h": "#ffc15a", "d": "#b9b9b9"}[state]
    mark = "#ffffff" if state != "d" else "#ececec"
    return (disc(fill, state == "h") + ol("M 8.5,7.5 L 11,7.5 L 11,16.5 L 8.5,16.5 Z", mark, 1.2)
            + ol("M 13,7.5 L 15.5,7.5 L 15.5,16.5 L 13,16.5 Z", mark, 1.2))


def btn_reset(state):
    fill = {"n": "#4fa3e0", "h": "#74c2f6", "d": "#b9b9b9"}[state]
    mark = "#ffffff" if state != "d" else "#ececec"
    arc = "M 16.6,10 A 5,5 0 1 0 16.4,14.6"
    return (disc(fill, state == "h")
            + f'<path d="{arc}" stroke="{INK}" stroke-width="4.2" fill="none" stroke-linecap="round"/>'
            + f'<path d="{arc}" stroke="{mark}" stroke-width="2" fill="none" stroke-linecap="round"/>'
            + ol("M 14.2,6.6 L 18.6,7.2 L 17.4,11.6 Z", mark, 1.1))


def btn_hiscore(state):
    hot = state == "h"
    gold = "#ffd23f" if not hot else "#ffe680"
    s = f'<circle cx="12" cy="11" r="11" fill="#fff4a8"/>' if hot else ""
    s += ol("M 7,4 L 17,4 L 17,9 C 17,13 14.5,15 12,15 C 9.5,15 7,13 7,9 Z", gold, 1.4)
    s += (f'<path d="M 7,6 C 3,6 3,11 7.5,11.5 M 17,6 C 21,6 21,11 16.5,11.5" stroke="{INK}" '
          f'stroke-width="2.6" fill="none"/><path d="M 7,6 C 3,6 3,11 7.5,11.5 M 17,6 C 21,6 21,11 16.5,11.5" '
          f'stroke="{gold}" stroke-width="1.1" fill="none"/>')
    s += ol("M 10.5,15 L 13.5,15 L 14,18 L 10,18 Z", gold, 1.2)
    s += ol("M 7,18 L 17,18 L 17,21.5 L 7,21.5 Z", "#b5743a", 1.3)
    s += '<path d="M 9.5,6.5 L 9.5,10" stroke="#ffffff" stroke-width="1.4" stroke-linecap="round"/>'
    return s


def btn_help(state):
    fill = {"n": "#9b7fe0", "h": "#b9a2f5"}[state]
    return disc(fill, state == "h") + txt(12, 17, 14, "?", "#ffffff", INK, 2.4)


def btn_version(state):
    """Pomul's face in its hat."""
    hot = state == "h"
    s = f'<circle cx="12" cy="13" r="11.2" fill="#fff4a8"/>' if hot else ""
    s += f'<g transform="translate(12,23) scale(0.17)">'
    s += ol("M -42,-10 C -44,-60 -22,-84 2,-84 C 26,-84 48,-60 46,-10 C 44,6 24,10 2,10 "
            "C -20,10 -40,6 -42,-10 Z", CREAM, 8)
    s += (f'<ellipse cx="-14" cy="-36" rx="7" ry="10" fill="{EYE}"/>'
          f'<ellipse cx="18" cy="-36" rx="7" ry="10" fill="{EYE}"/>'
          f'<ellipse cx="-26" cy="-18" rx="8" ry="5" fill="{BLUSH}"/>'
          f'<ellipse cx="30" cy="-18" rx="8" ry="5" fill="{BLUSH}"/>'
          f'<path d="M -6,-18 Q 2,-8 10,-18" stroke="{INK}" stroke-width="5" fill="none" stroke-linecap="round"/>')
    s += f'<g transform="translate(0,20) scale(1.15)">{pomul_hat()}</g>'
    s += '</g>'
    return s


def btn_exit(state):
    fill = {"n": "#e0523f", "h": "#f77a66"}[state]
    return (disc(fill, state == "h")
            + f'<path d="M 8.5,8.5 L 15.5,15.5 M 15.5,8.5 L 8.5,15.5" stroke="{INK}" stroke-width="4.4" stroke-linecap="round"/>'
            + f'<path d="M 8.5,8.5 L 15.5,15.5 M 15.5,8.5 L 8.5,15.5" stroke="#ffffff" stroke-width="2.2" stroke-linecap="round"/>')


# file name, resource id, drawing
BUTTONS = [
    ("bar_exit_hot.bmp", 132, btn_exit, "h"), ("bar_exit.bmp", 133, btn_exit, "n"),
    ("bar_hiscore_hot.bmp", 134, btn_hiscore, "h"), ("bar_hiscore.bmp", 135, btn_hiscore, "n"),
    ("bar_reset_hot.bmp", 136, btn_reset, "h"), ("bar_reset.bmp", 137, btn_reset, "n"),
    ("bar_start_hot.bmp", 138, btn_start, "h"), ("bar_start.bmp", 139, btn_start, "n"),
    ("bar_stop_hot.bmp", 140, btn_stop, "h"), ("bar_stop.bmp", 141, btn_stop, "n"),
    ("bar_version_hot.bmp", 142, btn_version, "h"), ("bar_version.bmp", 143, btn_version, "n"),
    ("bar_reset_off.bmp", 144, btn_reset, "d"), ("bar_start_off.bmp", 145, btn_start, "d"),
    ("bar_stop_off.bmp", 146, btn_stop, "d"),
    ("bar_help_hot.bmp", 156, btn_help, "h"), ("bar_help.bmp", 157, btn_help, "n"),
]


# --------------------------------------------------------------- pictures

def rider_on_cow(scale, x, y, expr="grin"):
    """Standing cow with Pomul on it; (x, y) is the cow frame's top left."""
    l, t, w, h, sx, sy = POSE[0]
    seat = (116, 95)
    rid = pomul_rider((l - 30, t - 30, l + w + 30, t + h + 10), (sx, sy), HAND[0], 0,
                      expr, (38, -84), 0, -6).replace("c-30_-30", f"cr{x}_{y}")
    hx, hy = HAND[0][0] - sx + seat[0], HAND[0][1] - sy + seat[1]
    rope = (f'<path d="M 78.5,95.5 Q {f((78 + hx) / 2)},{f(max(95, hy) + 6)} {hx},{hy + 2}" '
            f'stroke="{INK}" stroke-width="5" fill="none"/>'
            f'<path d="M 78.5,95.5 Q {f((78 + hx) / 2)},{f(max(95, hy) + 6)} {hx},{hy + 2}" '
            f'stroke="{ROPE}" stroke-width="3" fill="none"/>')
    return (f'<g transform="translate({f(x)},{f(y)}) scale({f(scale)})">{cow_standing(0)}{rope}'
            f'<g transform="translate({seat[0] - sx},{seat[1] - sy})">{rid}</g></g>')


def logo():
    s = (f'<rect x="0" y="0" width="125" height="27" fill="{SKY[2]}"/>'
         f'<rect x="0" y="18" width="125" height="9" fill="#93d46c"/>'
         f'<rect x="0" y="22" width="125" height="5" fill="#eed39e"/>')
    s += f'<g transform="translate(2,1) scale(0.12)">{cow_standing(0)}</g>'
    s += txt(76, 19, 15, "ポムルのロデオ", "#ffd43b", INK, 3.6)
    return s


def about():
    s = f'<g transform="translate(0,-70) scale(0.82)">{panorama_svg()}</g>'
    s += rider_on_cow(0.5, 14, 14)
    s += '<g transform="rotate(-4 234 50)">'
    s += txt(236, 58, 26, "ポムルのロデオ", INK, INK, 7)
    s += txt(234, 56, 26, "ポムルのロデオ", "#ffd43b", INK, 6)
    s += '</g>'
    s += ol("M 150,74 L 310,74 L 316,86 L 310,98 L 150,98 L 144,86 Z", SCARF, 2)
    s += txt(230, 91, 12, "暴れ牛にしがみつけ！", "#ffffff", INK, 2.6)
    return s


def hiscore_board():
    s = ['<rect x="0" y="0" width="350" height="232" fill="#4a2f1d"/>']
    for i, y in enumerate(range(0, 232, 29)):
        c = "#553622" if i % 2 == 0 else "#4e321f"
        s.append(f'<rect x="0" y="{y}" width="350" height="28" fill="{c}"/>'
                 f'<rect x="0" y="{y + 28}" width="350" height="1" fill="#3b2416"/>')
        s.append(f'<path d="M {20 + 70 * (i % 4)},{y + 9} q 20,-3 40,0" stroke="#5f3f29" stroke-width="1.2" fill="none"/>')
    s.append(f'<rect x="3" y="3" width="344" height="226" fill="none" stroke="#c98f56" stroke-width="3" rx="6"/>')
    for x, y in ((10, 10), (340, 10), (10, 222), (340, 222)):
        s.append(f'<circle cx="{x}" cy="{y}" r="2.6" fill="#d8c090" stroke="{INK}" stroke-width="1"/>')
    # header ribbon
    s.append(ol("M 95,4 L 255,4 L 262,16 L 255,28 L 95,28 L 88,16 Z", SCARF, 2))
    s.append(txt(175, 23, 16, "ハイスコア", "#ffffff", INK, 3.2))
    for x in (60, 290):
        s.append(f'<g transform="translate({x},16)">'
                 f'<path d="M -8,8 C -12,-4 -8,-10 0,-10 C 8,-10 12,-4 8,8" stroke="{INK}" stroke-width="6.5" fill="none" stroke-linecap="round"/>'
                 f'<path d="M -8,8 C -12,-4 -8,-10 0,-10 C 8,-10 12,-4 8,8" stroke="#c0c4cc" stroke-width="3.5" fill="none" stroke-linecap="round"/></g>')
    medal = {0: ("#ffd23f", "#b8860b"), 1: ("#d8dde6", "#8a93a0"), 2: ("#e09a5a", "#9a5a2a")}
    for i in range(10):
        y = 35 + 19 * i
        cy = y + 8
        if i in medal:
            fill, dark = medal[i]
            s.append(f'<circle cx="22" cy="{cy}" r="8.2" fill="{fill}" stroke="{INK}" stroke-width="1.6"/>')
            s.append(txt(22, cy + 4.5, 11.5, str(i + 1), dark, "none", 0))
        else:
            s.append(txt(22, cy + 5, 12, str(i + 1), "#d8b890", INK, 2.5))
        s.append(f'<path d="M 42,{y + 17.5} L 340,{y + 17.5}" stroke="#6a4630" stroke-width="1" stroke-dasharray="2 3"/>')
    return "".join(s)


def slide(kind):
    if kind == 161:     # lasso loop, at the back
        return (f'<ellipse cx="85" cy="33" rx="80" ry="28" fill="none" stroke="{INK}" stroke-width="8"/>'
                f'<ellipse cx="85" cy="33" rx="80" ry="28" fill="none" stroke="{ROPE}" stroke-width="4.5"/>'
                f'<ellipse cx="85" cy="33" rx="80" ry="28" fill="none" stroke="#b8741f" stroke-width="1.2" '
                f'stroke-dasharray="3 5"/>')
    if kind == 160:     # red ribbon
        return ol("M 14,16 L 156,16 L 166,33 L 156,50 L 14,50 L 4,33 Z", SCARF, 2.6)
    return (txt(86, 42, 22, "ポムルのロデオ", "#5a2a14", "#5a2a14", 5)
            + txt(85, 40, 22, "ポムルのロデオ", "#ffd43b", INK, 4.5))


# ------------------------------------------------------------------ icons

def pomul_face_icon(size):
    if size <= 16:
        s = (ol("M 3,10 C 3,4 5,2 8,2 C 11,2 13,4 13,10 C 13,13 11,14.5 8,14.5 C 5,14.5 3,13 3,10 Z", CREAM, 1.1)
             + f'<rect x="5.2" y="7.5" width="1.6" height="2.4" fill="{EYE}"/><rect x="9.2" y="7.5" width="1.6" height="2.4" fill="{EYE}"/>'
             + f'<rect x="3.6" y="10.6" width="2" height="1.2" fill="{BLUSH}"/><rect x="10.4" y="10.6" width="2" height="1.2" fill="{BLUSH}"/>'
             + ol("M 0.8,5.2 L 15.2,5.2 L 13.5,6.6 L 2.5,6.6 Z", "#b4733a", 0.9)
             + ol("M 4.5,5.2 L 5,1 L 11,1 L 11.5,5.2 Z", HAT, 0.9))
        return s
    k = size / 48
    s = f'<g transform="scale({f(k)})">'
    s += f'<circle cx="24" cy="25" r="23" fill="{SKY[1]}" stroke="{INK}" stroke-width="1.5"/>'
    s += f'<g transform="translate(24,45) scale(0.38)">'
    s += ol("M -42,-10 C -44,-60 -22,-84 2,-84 C 26,-84 48,-60 46,-10 C 44,6 24,10 2,10 "
            "C -20,10 -40,6 -42,-10 Z", CREAM, 5)
    s += (f'<ellipse cx="-14" cy="-36" rx="6.5" ry="9.5" fill="{EYE}"/>'
          f'<ellipse cx="18" cy="-36" rx="6.5" ry="9.5" fill="{EYE}"/>'
          f'<circle cx="-12" cy="-40" r="2.8" fill="#fff"/><circle cx="20" cy="-40" r="2.8" fill="#fff"/>'
          f'<ellipse cx="-26" cy="-18" rx="8" ry="5" fill="{BLUSH}"/>'
          f'<ellipse cx="30" cy="-18" rx="8" ry="5" fill="{BLUSH}"/>'
          f'<path d="M -6,-18 Q 2,-6 10,-18" stroke="{INK}" stroke-width="4" fill="none" stroke-linecap="round"/>')
    s += f'<g transform="translate(0,8) scale(1.3)">{pomul_hat()}</g></g></g>'
    return s


def send_icon():
    return (ol("M 1,8 L 15,1.5 L 10.5,14.5 L 7.5,9.5 Z", "#ffffff", 1.1)
            + f'<path d="M 7.5,9.5 L 15,1.5" stroke="{INK}" stroke-width="0.9"/>'
            + ol("M 7.5,9.5 L 8.2,14 L 10.5,14.5 Z", "#8fd3ff", 0.9))


def record_icon():
    gold = "#ffd23f"
    return (ol("M 10,18 L 6,30 L 10,28 L 12,31 L 15,20 Z", "#4fa3e0", 1.2)
            + ol("M 22,18 L 26,30 L 22,28 L 20,31 L 17,20 Z", SCARF, 1.2)
            + f'<circle cx="16" cy="13" r="11" fill="{gold}" stroke="{INK}" stroke-width="1.6"/>'
            + f'<circle cx="16" cy="13" r="7.8" fill="none" stroke="#e0a820" stroke-width="1.4"/>'
            + '<polygon points="16,6.5 17.9,10.7 22.4,11 19,14 20,18.4 16,16.1 12,18.4 13,14 9.6,11 14.1,10.7" '
              f'fill="#fff7c2" stroke="{INK}" stroke-width="1" stroke-linejoin="round"/>')


def main():
    C.ensure_dirs()
    for name, rid, fn, st in BUTTONS:
        rgba = C.render_svg(C.svg_doc(24, 24, fn(st)), "btn_" + name[:-4])
        save_bmp(name, keyed(rgba, MAGENTA, FACE))
    pics = [("logo.bmp", 125, 27, logo()), ("about.bmp", 328, 121, about()),
            ("hiscore_board.bmp", 350, 232, hiscore_board())]
    for name, w, h, body in pics:
        rgba = C.render_svg(C.svg_doc(w, h, body), name[:-4])
        a = rgba[..., 3:4].astype(np.float64) / 255.0
        save_bmp(name, np.round(rgba[..., :3] * a + 255 * (1 - a)))
    for rid, name in ((159, "slide_title.bmp"), (160, "slide_ribbon.bmp"), (161, "slide_lasso.bmp")):
        rgba = C.render_svg(C.svg_doc(170, 66, slide(rid)), name[:-4])
        a = rgba[..., 3:4].astype(np.float64) / 255.0
        rgb = np.round(rgba[..., :3] * a).astype(np.uint8)       # over black
        drawn = a[..., 0] > 0.02
        rgb[drawn & (rgb.sum(2) == 0)] = (1, 1, 1)              # keep drawn pixels off the key
        rgb[~drawn] = 0
        save_bmp(name, rgb)
    # icons
    pngs = []
    for size in (48, 32, 16):
        rgba = C.render_svg(C.svg_doc(size, size, pomul_face_icon(size)), f"icon_{size}")
        pngs.append(os.path.join(C.BUILD, f"icon_{size}.png"))
    subprocess.run(["icotool", "-c", "-o", os.path.join(C.SHELL, "pomul.ico")] + pngs, check=True)
    C.render_svg(C.svg_doc(16, 16, send_icon()), "send_16")
    subprocess.run(["icotool", "-c", "-o", os.path.join(C.SHELL, "send.ico"),
                    os.path.join(C.BUILD, "send_16.png")], check=True)
    C.render_svg(C.svg_doc(32, 32, record_icon()), "record_32")
    subprocess.run(["icotool", "-c", "-o", os.path.join(C.SHELL, "record.ico"),
                    os.path.join(C.BUILD, "record_32.png")], check=True)
    # resource script fragment for the program's build
    with open(os.path.join(C.SHELL, "shell_art.rc"), "w") as fh:
        fh.write("// Pictures and icons of the program window (made by assets/render.sh).\n"
                 "// Paths are relative to this file's directory.\n")
        fh.write('128 ICON "pomul.ico"\n152 ICON "send.ico"\n154 ICON "record.ico"\n')
        rows = [(rid, name) for name, rid, _, _ in BUTTONS]
        rows += [(147, "logo.bmp"), (149, "about.bmp"), (155, "hiscore_board.bmp"),
                 (159, "slide_title.bmp"), (160, "slide_ribbon.bmp"), (161, "slide_lasso.bmp")]
        for rid, name in sorted(rows):
            fh.write(f'{rid} BITMAP "{name}"\n')
    print("shell: wrote buttons, pictures and icons")


if __name__ == "__main__":
    main()
