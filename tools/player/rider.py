#!/usr/bin/env python3
"""Plays rodeo.exe from its pictures, as a person at the screen would: grabs the
400 x 300 game view off the X display, finds the rider's pose in it by comparing a
sample of the rider sheet's pixels (assets/out/pack/pomul.bmp, cut and placed by
assets/tools/layout.py) with the screen, and answers a lean with a click against
it (a right press pushes the rider to the positive side, a left press to the
negative one), through xdotool.

    rider.py --display :193 --view X,Y [--seconds 12] [--click X,Y] [--log FILE]

keeps the rider up for the given time, then stops clicking and waits for the
fall. Prints one line at the end: "rider: N s kept up, C clicks, F frames read".
Used by the end-to-end test and by scripts/demo.sh.
"""
import argparse
import ctypes
import os
import random
import struct
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "assets", "tools"))
import layout  # noqa: E402  (the sheet rectangles and the rider's placement)

VIEW_W, VIEW_H = 400, 300


def read_bmp8(path):
    """An 8-bit bitmap: (width, height, rows top-down of indices, palette of (r, g, b))."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 8:
        raise ValueError("%s: %d bits per pixel, not 8" % (path, bits))
    header = struct.unpack_from("<I", data, 14)[0]
    palette = [(data[14 + header + 4 * i + 2], data[14 + header + 4 * i + 1], data[14 + header + 4 * i])
               for i in range(256)]
    stride = (width + 3) & ~3
    rows = [data[offset + (height - 1 - y) * stride: offset + (height - 1 - y) * stride + width]
            for y in range(abs(height))]
    return width, abs(height), rows, palette


def screen_colour(rgb, depth):
    """The pixel value the X server holds for a palette colour that the game drew
    (the game's own conversion: 24 bits keep it, with black as 1, 1, 1, since 0 is
    the colour key; 16 bits round each channel up by 8 and cut it to 5-6-5)."""
    r, g, b = rgb
    if depth == 16:
        def reduce(v, shift):
            return (v + 8 if v < 247 else v) >> shift
        return reduce(r, 3) << 11 | reduce(g, 2) << 5 | reduce(b, 3)
    if (r, g, b) == (0, 0, 0):
        r = g = b = 1
    return r << 16 | g << 8 | b


# The twenty static colours of a Windows system palette (entries 0-9 and 246-255).
STATIC_COLOURS = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0,
                  0xA6CAF0, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF,
                  0x00FFFF, 0xFFFFFF]


def _distance(a, b):
    return sum((((a >> s) & 255) - ((b >> s) & 255)) ** 2 for s in (0, 8, 16))


def _nearest(colour, table):
    return min(table, key=lambda c: _distance(c, colour))


# Wine's 8-bit window picture: a fixed colour table, the static colours around a
# 3-3-2 cube (README, "8-bit displays under Wine").
_WINE_TABLE = STATIC_COLOURS[:10] + [((k & 7) << 5) << 16 | ((k & 0x38) << 2) << 8 | (k & 0xC0)
                                     for k in range(10, 246)] + STATIC_COLOURS[10:]


def shown_colour(rgb, depth):
    """What the X screen shows (as 0xRRGGBB) where the game drew a palette colour:
    the colour itself at 24 bits, its 5-6-5 value at 16, and at 8 bits the static
    colour nearest to the entry of Wine's fixed table nearest to it."""
    if depth == 16:
        p = screen_colour(rgb, 16)
        r, g, b = p >> 11, (p >> 5) & 63, p & 31
        return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2)
    if depth == 8:
        colour = rgb[0] << 16 | rgb[1] << 8 | rgb[2]
        return _nearest(_nearest(colour, _WINE_TABLE), STATIC_COLOURS)
    return screen_colour(rgb, 24)


class Screen:
    """Pictures of a rectangle of an X display, straight from the server (XGetImage)."""

    def __init__(self, display, window=None):
        """window: the X window whose colours an 8-bit picture is read in (Wine gives
        its windows a colormap of their own); the display's default otherwise."""
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = ctypes.c_void_p
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.c_void_p]
        x.XDefaultDepth.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x = x
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + display)
        self.root = x.XDefaultRootWindow(self.dpy)
        self.depth = x.XDefaultDepth(self.dpy, 0)
        self.window = window

    def grab(self, left, top, width, height):
        """Pixel values, row after row: 0xRRGGBB at 24 bits, the 5-6-5 word at 16,
        the colour index at 8."""
        image = self.x.XGetImage(self.dpy, self.root, left, top, width, height, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            raise RuntimeError("XGetImage failed")
        try:
            # XImage: width, height, xoffset, format (ints), data (pointer), byte_order,
            # bitmap_unit, bitmap_bit_order, bitmap_pad, depth, bytes_per_line, bits_per_pixel.
            head = ctypes.string_at(image, 16 + 8 + 7 * 4)
            data_ptr = struct.unpack_from("<Q", head, 16)[0]
            bytes_per_line, bits_per_pixel = struct.unpack_from("<ii", head, 24 + 5 * 4)
            raw = ctypes.string_at(data_ptr, bytes_per_line * height)
        finally:
            self.x.XDestroyImage(image)
        code = {32: "I", 16: "H", 8: "B"}[bits_per_pixel]
        per_line = bytes_per_line * 8 // bits_per_pixel
        words = memoryview(raw).cast(code)
        if per_line == width:
            pixels = list(words)
        else:
            pixels = []
            for y in range(height):
                pixels.extend(words[y * per_line: y * per_line + width])
        if bits_per_pixel == 32:
            pixels = [p & 0xFFFFFF for p in pixels]
        return pixels

    def grab_rgb(self, left, top, width, height):
        """The same as 0xRRGGBB colours as the screen shows them, at any depth."""
        pixels = self.grab(left, top, width, height)
        if self.depth == 16:
            def expand(p):
                r, g, b = p >> 11, (p >> 5) & 63, p & 31
                return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2)
            return [expand(p) for p in pixels]
        if self.depth == 8:
            table = self.colormap()
            return [table[p] for p in pixels]
        return pixels

    def colormap(self):
        """The 256 colours of the default colormap (an 8-bit display's pixel values)."""
        class XColor(ctypes.Structure):
            _fields_ = [("pixel", ctypes.c_ulong), ("red", ctypes.c_ushort), ("green", ctypes.c_ushort),
                        ("blue", ctypes.c_ushort), ("flags", ctypes.c_char), ("pad", ctypes.c_char)]
        colours = (XColor * 256)()
        for i in range(256):
            colours[i].pixel = i
        self.x.XDefaultColormap.restype = ctypes.c_ulong
        self.x.XDefaultColormap.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XQueryColors.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int]
        colormap = self.x.XDefaultColormap(self.dpy, 0)
        if self.window:
            class XWindowAttributes(ctypes.Structure):
                _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                            ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                            ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("class_", ctypes.c_int),
                            ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                            ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                            ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                            ("colormap", ctypes.c_ulong), ("rest", ctypes.c_char * 64)]
            attributes = XWindowAttributes()
            self.x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
            if self.x.XGetWindowAttributes(self.dpy, self.window, ctypes.byref(attributes)):
                colormap = attributes.colormap
        self.x.XQueryColors(self.dpy, colormap, colours, 256)
        return [(c.red >> 8) << 16 | (c.green >> 8) << 8 | (c.blue >> 8) for c in colours]


class PoseReader:
    """Finds the rider in a view picture: which of the upright frames and eight lean
    poses it shows, wherever the cow's pitch has moved it."""

    def __init__(self, depth, sheet=None, seed=1):
        sheet = sheet or os.path.join(ROOT, "assets", "out", "pack", "pomul.bmp")
        _, _, rows, palette = read_bmp8(sheet)
        rng = random.Random(seed)
        self.candidates = []  # (lean, frame, samples [(dx, dy, value)], positions [(x, y)])
        poses = [(0, 0), (0, 1)] + [(lean, 0) for lean in (1, 2, 3, 4, -1, -2, -3, -4)]
        for lean, frame in poses:
            left, top, w, h, _, _ = layout.POSE[layout.pose_row(lean)]
            if lean == 0:
                left = 72 * frame
            # Pixels of the pose that differ from their neighbour to the right or below:
            # outlines and features, which tell one pose and one place from another
            # (plain areas match a shifted copy just as well).
            edges = []
            for y in range(h - 1):
                row, below = rows[top + y], rows[top + y + 1]
                for x in range(w - 1):
                    i = row[left + x]
                    if i and (row[left + x + 1] != i or below[left + x] != i) and \
                            row[left + x + 1] and below[left + x]:
                        edges.append((x, y, screen_colour(palette[i], depth)))
            rng.shuffle(edges)
            positions = set()
            for step in range(-75, 76):
                pitch = step * 0.05
                fx, fy = layout.rider_pos(lean, pitch)
                positions.add((int(fx), int(fy)))
            self.candidates.append((lean, frame, edges[:160], sorted(positions)))

    @staticmethod
    def _score(pixels, samples, x0, y0):
        hits = total = 0
        for dx, dy, value in samples:
            x, y = x0 + dx, y0 + dy
            if 0 <= x < VIEW_W and 0 <= y < VIEW_H:
                total += 1
                hits += pixels[y * VIEW_W + x] == value
        return hits / total if total else 0.0

    def read(self, pixels):
        """(lean, share of the sample that matched) for the best pose; the share is
        near 1 when the rider is in plain sight, low when it is not (title, fall)."""
        coarse = []
        for lean, frame, samples, positions in self.candidates:
            few = samples[:24]
            for x, y in positions:
                coarse.append((self._score(pixels, few, x, y), lean, frame, x, y))
        coarse.sort(reverse=True)
        best = (0.0, 0)
        for _, lean, frame, x, y in coarse[:8]:
            samples = next(c[2] for c in self.candidates if c[0] == lean and c[1] == frame)
            share = self._score(pixels, samples, x, y)
            if share > best[0]:
                best = (share, lean)
        return best[1], best[0]


class Player:
    """Keeps the rider up: reads the pose, clicks against a lean, waits for the
    picture to follow, and so on."""

    def __init__(self, display, view, click, log=None):
        self.display, self.view, self.click_at = display, view, click
        self.screen = Screen(display)
        self.reader = PoseReader(self.screen.depth)
        self.log = log
        self.clicks = 0
        self.frames = 0

    def look(self):
        pixels = self.screen.grab(self.view[0], self.view[1], VIEW_W, VIEW_H)
        self.frames += 1
        return self.reader.read(pixels)

    def click(self, button):
        env = dict(os.environ, DISPLAY=self.display)
        subprocess.run(["xdotool", "mousemove", str(self.view[0] + self.click_at[0]),
                        str(self.view[1] + self.click_at[1]), "click", str(button)], env=env, check=True)
        self.clicks += 1

    def wait_for_rider(self, seconds=30, confidence=0.8):
        """Until the rider shows upright in plain sight (the ride has begun)."""
        end = time.time() + seconds
        while time.time() < end:
            lean, share = self.look()
            if lean == 0 and share >= confidence:
                return True
            time.sleep(0.05)
        return False

    def keep_up(self, seconds, confidence=0.6):
        """Rides for `seconds`; returns the seconds the rider was seen riding."""
        start = time.time()
        last_seen = start
        while time.time() - start < seconds:
            lean, share = self.look()
            now = time.time()
            if share >= confidence:
                last_seen = now
                if self.log:
                    self.log.write("%.3f lean %+d share %.2f\n" % (now - start, lean, share))
                if lean:
                    # Right pushes to the positive side, left to the negative one.
                    self.click(1 if lean > 0 else 3)
                    time.sleep(0.09)  # the game applies it on its next step and draws it
                    continue
            elif now - last_seen > 3.0:
                break  # no rider in sight for a while: fallen, or the game went away
            time.sleep(0.02)
        return last_seen - start


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--display", required=True)
    p.add_argument("--view", required=True, help="the view's top left on the screen: X,Y")
    p.add_argument("--seconds", type=float, default=12.0)
    p.add_argument("--click", default="24,150", help="where in the view to click: X,Y")
    p.add_argument("--wait", type=float, default=30.0, help="seconds to wait for the ride to begin")
    p.add_argument("--log")
    args = p.parse_args()
    view = tuple(int(v) for v in args.view.split(","))
    click = tuple(int(v) for v in args.click.split(","))
    log = open(args.log, "w") if args.log else None
    player = Player(args.display, view, click, log)
    if not player.wait_for_rider(args.wait):
        print("rider: the rider never showed")
        return 1
    kept = player.keep_up(args.seconds)
    print("rider: %.1f s kept up, %d clicks, %d frames read" % (kept, player.clicks, player.frames))
    return 0


if __name__ == "__main__":
    sys.exit(main())
