#!/usr/bin/env python3
"""The whole game as a player meets it: rodeo.exe in a Wine virtual desktop in Xvfb,
played with xdotool from what the screen shows.

main:   the opening (zoom, slide-in); a click starts a ride; the rider is kept up
        for more than 10 s by clicks against the pose read off the screen
        (tools/player/rider.py); the fall; the new-record dialog, a Japanese name
        typed; the table with the new row highlighted; Send with Ctrl+S held and the
        local ranking site's address typed into the path dialog; the address that
        reaches the browser (a stand-in handler registered in the prefix) opened in
        headless Chromium, the name registered there and found in the ranking; ESC;
        a second start: the table (F8) and the totals (About box, F10).
depth8, depth16: the title and a ride at X depths 8 and 16, a few known pixels of
        the view checked against the colours those displays give the game's.

    play_test.py --exe rodeo.exe --probe rodeo_probe.exe --dump record_dump.exe
                 --catcher url_catcher.exe --site-build NATIVE_BUILD --shots DIR [--only NAME]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")
sys.path.insert(0, os.path.join(ROOT, "tools", "player"))
sys.path.insert(0, os.path.join(ROOT, "tests", "site"))
from rider import Player, Screen, read_bmp8, shown_colour  # noqa: E402

TITLE = "ポムルのロデオ"
NAME = "ポムル太郎"
NEW_RECORD = "やったぜ！ハイスコア"
TABLE = "ハイスコア"
PATH_DIALOG = "select path"
ABOUT = "バージョン情報"
RECORD_KEY = r"HKCU\Software\ZUMRA-PELLO"
CLICK_AT = (24, 150)  # in the view: sky and fence, away from the rider, the cow and the dust

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(predicate, seconds, step=0.2):
    end = time.time() + seconds
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return None


class Game:
    """rodeo.exe at one X depth, in a Wine virtual desktop of 800 x 600 at the top
    left of the display, looked at with rodeo_probe.exe from inside that desktop."""

    def __init__(self, args, depth, extra_env=None):
        self.args, self.depth = args, depth
        base = int(os.environ.get("RODEO_X_BASE", "91"))
        self.display = ":%d" % (base + {8: 0, 16: 1, 24: 2}[depth])
        self.env = dict(os.environ, RODEO_X_DEPTH=str(depth), RODEO_DESKTOP="800x600", **(extra_env or {}))
        self.plain_env = {k: v for k, v in self.env.items() if k != "RODEO_DESKTOP"}
        self.out = os.path.join(args.shots, "probe-%d.txt" % depth)
        self.proc = None
        self.log = None
        self.desktop = None

    # --- Wine outside the desktop: the registry and the prefix
    def wine(self, *command):
        r = subprocess.run([WINE_RUN, *command], env=self.plain_env, capture_output=True, timeout=120)
        try:
            text = r.stdout.decode("utf-8")
        except UnicodeDecodeError:  # Wine's own programs may answer in the ANSI code page
            text = r.stdout.decode("cp932", "replace")
        return text.replace("\r", "")

    def prefix(self):
        return os.path.join(self.env["RODEO_WINE_HOME"], "prefix-%d" % self.depth)

    def forget_record(self):
        """A first start: no stored record, no stamp file."""
        self.wine("reg", "delete", RECORD_KEY, "/f")
        for name in ("wconf.ini", "WCONF.INI"):
            path = os.path.join(self.prefix(), "drive_c", "windows", name)
            if os.path.exists(path):
                os.remove(path)

    def stored_record(self):
        """The record as record_dump decodes it from the registry, names as text."""
        out = self.wine("reg", "query", RECORD_KEY + "\\" + TITLE + "\\mgInfo", "/v", "QM100")
        m = re.search(r"QM100\s+REG_SZ\s+(\S+)", out)
        if not m:
            return None
        r = subprocess.run([WINE_RUN, self.args.dump, m.group(1)], env=self.plain_env, capture_output=True,
                           timeout=60)
        return r.stdout.decode("cp932", "replace").replace("\r", "")

    # --- the game
    def start(self, name):
        self.log = open(os.path.join(self.args.shots, "wine-%s.log" % name), "w")
        self.proc = subprocess.Popen([WINE_RUN, self.args.exe], env=self.env, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        # The first program in a desktop makes it and keeps it: a probe started before
        # the game's desktop is there would be that keeper and never end.
        self.screen = self.wait_desktop()

    def x_window(self, name):
        r = subprocess.run(["xdotool", "search", "--name", name], env=dict(self.env, DISPLAY=self.display),
                           capture_output=True, text=True, timeout=30)
        return r.stdout.split()[0] if r.stdout.split() else None

    def wait_desktop(self, seconds=60):
        """The X window of Wine's desktop (at the display's top left), and a Screen
        of the display."""
        self.desktop = wait_until(lambda: self.x_window("Wine desktop"), seconds, 0.2)
        return Screen(self.display) if self.desktop else None

    def probe(self, what):
        if os.path.exists(self.out):
            os.remove(self.out)
        try:
            subprocess.run([WINE_RUN, self.args.probe, what, windows_path(self.out)], env=self.env,
                           capture_output=True, timeout=120)
        except subprocess.TimeoutExpired:
            return ""
        # Started by the desktop, the probe runs on its own: its file appears whole when it is done.
        if not wait_until(lambda: os.path.exists(self.out), 20, 0.1):
            return ""
        return open(self.out, encoding="utf-8", errors="replace").read().replace("\r", "")

    def find(self):
        """{"frame": (x, y, w, h), "view": (x, y), "buttons": n} or None."""
        text = self.probe("find")
        f = re.search(r"^frame=\S+ pid=\d+ x=(-?\d+) y=(-?\d+) w=(\d+) h=(\d+)$", text, re.M)
        v = re.search(r"^view x=(-?\d+) y=(-?\d+)$", text, re.M)
        b = re.search(r"^bar buttons=(\d+)$", text, re.M)
        if not (f and v and b):
            return None
        return {"frame": tuple(map(int, f.groups())), "view": tuple(map(int, v.groups())),
                "buttons": int(b.group(1))}

    def dialogs(self):
        """{caption: {"rect": (x, y, w, h), "controls": {id: {"rect", "text", "enabled"}}}}"""
        found, current = {}, None
        for line in self.probe("controls").splitlines():
            m = re.match(r"dialog: caption=(.*) x=(-?\d+) y=(-?\d+) w=(\d+) h=(\d+)$", line)
            if m:
                current = {"rect": tuple(map(int, m.groups()[1:])), "controls": {}}
                found[m.group(1)] = current
                continue
            m = re.match(r"control: id=(-?\d+) class=\S+ enabled=(\d) x=(-?\d+) y=(-?\d+) w=(\d+) h=(\d+) "
                         r"text=(.*)$", line)
            if m and current is not None:
                current["controls"][int(m.group(1))] = {
                    "enabled": m.group(2) == "1", "rect": tuple(map(int, m.groups()[2:6])), "text": m.group(7)}
        return found

    def wait_dialog(self, caption, seconds=30):
        return wait_until(lambda: self.dialogs().get(caption), seconds, 0.3)

    def wait_ready(self, seconds=120):
        """The window has shown and the bar has slid in: all seven buttons show."""
        return wait_until(lambda: (lambda f: f if f and f["buttons"] == 7 else None)(self.find()), seconds, 0.3)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=dict(self.env, DISPLAY=self.display), check=True, timeout=30)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", str(x), str(y), "click", str(button))

    def click_control(self, control, button=1):
        x, y, w, h = control["rect"]
        self.click(x + w // 2, y + h // 2, button)

    def key(self, *keys):
        self.xdotool("key", "--delay", "60", *keys)

    def focus_frame(self, found):
        """A click on the title bar: the frame takes the keys."""
        x, y, _, _ = found["frame"]
        self.click(x + 100, y + 10)
        time.sleep(0.5)

    def shot(self, name, rect=None, window=None):
        cmd = ["import", "-window", window or self.desktop or "root"]
        if rect:
            cmd += ["-crop", "%dx%d+%d+%d" % (rect[2], rect[3], rect[0], rect[1]), "+repage"]
        subprocess.run(cmd + [os.path.join(self.args.shots, name)], env=dict(self.env, DISPLAY=self.display),
                       timeout=60)

    def wait_gone(self, seconds=30):
        return wait_until(lambda: self.find() is None and "none" in self.probe("find"), seconds, 0.5)

    def escape(self, found):
        """ESC in the frame ends the game; a dialog that is still up is closed first."""
        for _ in range(3):
            if self.dialogs():
                self.key("Escape")
                time.sleep(1.0)
                continue
            self.focus_frame(found)
            self.key("Escape")
            if self.wait_gone(30):
                return True
        return False

    def stop(self):
        """Ends what is left of this run: the game if it is still there, then the runner."""
        if self.find():
            self.probe("close")
            self.wait_gone(20)
        if self.proc and self.proc.poll() is None:
            try:
                self.proc.wait(30)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        if self.log:
            self.log.close()


def frame_rect(found):
    return found["frame"]


# --- what the screen should show

class Sheet:
    """A picture sheet of the game with the palette, for colours to expect on screen."""

    def __init__(self, name):
        _, _, self.rows, self.palette = read_bmp8(os.path.join(ROOT, "assets", "out", "pack", name))

    def expected(self, rect, at, depth, step=1):
        """{(x, y) in the view: expected colour} for the opaque pixels of rect drawn at `at`."""
        left, top, right, bottom = rect
        out = {}
        for y in range(top, bottom, step):
            for x in range(left, right, step):
                i = self.rows[y][x]
                vx, vy = at[0] + x - left, at[1] + y - top
                if i and vx < 398 and vy < 298:
                    out[(vx, vy)] = shown_colour(self.palette[i], depth)
        return out


def matching(screen, view, expected):
    """The share of expected pixels that the screen shows as expected, and a few misses."""
    pixels = screen.grab_rgb(view[0], view[1], 398, 298)
    hits, misses = 0, []
    for (x, y), colour in expected.items():
        got = pixels[y * 398 + x]
        if got == colour:
            hits += 1
        elif len(misses) < 4:
            misses.append("%d,%d %06x for %06x" % (x, y, got, colour))
    return hits / max(1, len(expected)), misses


def table_rows(screen, picture):
    """Per row of the high-score picture: (yellow, white) pixel counts of its text
    (the highlighted row is drawn in yellow, the others in white)."""
    x0, y0, w, h = picture
    pixels = screen.grab_rgb(x0, y0, w, h)
    rows = []
    for i in range(10):
        yellow = white = 0
        for y in range(34 + 19 * i, min(h, 34 + 19 * i + 17)):
            for x in range(40, min(w, 345)):
                p = pixels[y * w + x]
                yellow += p == 0xFFFF00
                white += p == 0xFFFFFF
        rows.append((yellow, white))
    return rows


def type_into(game, caption, control_id, text, tries=3):
    """Types text into a field as a person would, reads it back and types again if
    the keyboard lost some of it (Wine can miss the first key of a new key mapping)."""
    for attempt in range(1, tries + 1):
        game.xdotool("type", "--delay", "80", text)
        got = wait_until(lambda: (lambda d: d and d["controls"][control_id]["text"] == text and d)(
            game.dialogs().get(caption)), 5, 0.3)
        if got:
            return attempt
        print("     (the field shows %r after typing %r; typing again)" % (
            (game.dialogs().get(caption) or {}).get("controls", {}).get(control_id, {}).get("text"), text))
        game.key("End", "shift+Home", "Delete")
    return 0


# --- the stand-in browser

class UrlCatcher:
    """url_catcher.exe registered in the prefix as the command that opens http and
    https addresses; it appends each address to a file. The registry is put back after."""

    KEYS = [r"HKLM\Software\Classes\%s\shell\open\command" % s for s in ("http", "https")]

    def __init__(self, game, catcher, folder):
        self.game = game
        self.file = os.path.join(folder, "urls.txt")
        if os.path.exists(self.file):
            os.remove(self.file)
        self.saved = {}
        for key in self.KEYS:
            m = re.search(r"\(\S+\)\s+REG_\w+\s+(.*)$", game.wine("reg", "query", key, "/ve"), re.M)
            self.saved[key] = m.group(1).strip() if m else None
            game.wine("reg", "add", key, "/ve", "/d", '"%s" "%%1"' % windows_path(catcher), "/f")

    def urls(self):
        if not os.path.exists(self.file):
            return []
        return [line.strip() for line in open(self.file, encoding="utf-8") if line.strip()]

    def restore(self):
        for key, value in self.saved.items():
            if value is None:
                self.game.wine("reg", "delete", key, "/ve", "/f")
            else:
                self.game.wine("reg", "add", key, "/ve", "/d", value, "/f")


def site_binary(native):
    """rodeo-site from the native build, brought up to date (configured if need be)."""
    if not os.path.exists(os.path.join(native, "build.ninja")):
        subprocess.run(["cmake", "-S", ROOT, "-B", native, "-G", "Ninja"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["ninja", "-C", native, "rodeo-site"], check=True, stdout=subprocess.DEVNULL)
    return os.path.join(native, "site", "rodeo-site")


# --- the runs

def test_main(args):
    from browser import Browser
    from sitefixture import SiteServer

    tmp = tempfile.mkdtemp(prefix="rodeo-play-")
    site = SiteServer(site_binary(args.site_build), "sqlite:" + os.path.join(tmp, "site.db")).start()
    base = "http://127.0.0.1:%d" % site.port
    catch_file = os.path.join(args.shots, "urls.txt")
    game = Game(args, 24, {"RODEO_URL_CATCH": windows_path(catch_file)})
    game.forget_record()
    catcher = UrlCatcher(game, args.catcher, args.shots)
    browser = None
    try:
        # The opening: the zoom, then the window, then the bar's slide-in.
        game.start("main")
        screen = game.screen
        opening = []
        t0 = time.time()

        def watch():
            while len(opening) < 15 and time.time() - t0 < 90 and not ready_seen:
                name = "01-opening-%02d.png" % len(opening)
                game.shot(name, (0, 0, 800, 600))
                opening.append(name)

        ready_seen = []
        watcher = threading.Thread(target=watch)
        watcher.start()
        first = wait_until(game.find, 120, 0.2)
        found = game.wait_ready()
        ready_seen.append(True)
        watcher.join()
        check(first is not None, "the window appears after the zoom")
        print("     (first seen with %s of 7 buttons; %d pictures of the opening in %s)" % (
            first and first["buttons"], len(opening), args.shots))
        if not check(found is not None, "the bar slides in: its seven buttons show"):
            return
        view = found["view"]
        game.xdotool("mousemove", "5", "590")  # the pointer off the view: nothing covers the title
        time.sleep(1.0)
        game.shot("02-title.png", frame_rect(found))
        cover = Sheet("parts.bmp").expected((0, 0, 400, 300), (0, 0), 24, step=7)
        share, misses = matching(screen, view, cover)
        check(share > 0.97, "the view shows the title picture (%.3f of %d pixels; %s)" % (share, len(cover), misses))

        # A ride, kept up from the rider's pose on the screen.
        clicks = 1
        game.click(view[0] + CLICK_AT[0], view[1] + CLICK_AT[1])
        player = Player(game.display, view, CLICK_AT, open(os.path.join(args.shots, "ride.log"), "w"))
        if not check(player.wait_for_rider(30), "a click starts a ride: the rider shows upright after GO"):
            return
        kept = player.keep_up(12.5)
        clicks += player.clicks
        game.shot("03-ride.png", frame_rect(found))
        check(kept >= 10.0, "the rider is kept up by %d clicks read from %d pictures for %.1f s" % (
            player.clicks, player.frames, kept))

        # No more clicks: the fall, the rider on the ground, the result.
        time.sleep(2.5)
        game.shot("04-fall.png", frame_rect(found))
        dialog = game.wait_dialog(NEW_RECORD, 60)
        if not check(dialog is not None, "after the fall the new-record dialog opens"):
            return
        game.shot("05-new-record.png", dialog["rect"])
        message = dialog["controls"][1019]["text"]
        m = re.match(r"ナイス！ *(\d+\.\d{3}) 秒ポムルで 1 位入賞！$", message)
        check(m is not None, "it says first place, with the time and the unit (%s)" % message)
        result_text = m.group(1) if m else "0"
        check(float(result_text) >= 10.0, "the ride lasted at least 10 s (%s s)" % result_text)
        check(dialog["controls"][1018]["text"] == "あなた", "the name field offers the default name (%s)" %
              dialog["controls"][1018]["text"])
        tries = type_into(game, NEW_RECORD, 1018, NAME)
        check(tries > 0, "a Japanese name typed reaches the field (%d tries)" % tries)
        game.shot("06-name.png", dialog["rect"])

        # The table, the new row highlighted.
        game.click_control(dialog["controls"][1])
        table = game.wait_dialog(TABLE, 30)
        if not check(table is not None, "ハイスコア opens the table"):
            return
        picture = table["controls"][1016]["rect"]
        rows = wait_until(lambda: (lambda r: r if r[0][0] > 50 else None)(table_rows(screen, picture)), 10, 0.2)
        rows = rows or table_rows(screen, picture)
        game.shot("07-table.png", table["rect"])
        check(rows[0][0] > 50 and rows[0][1] < 10, "the first row is highlighted in yellow (%s)" % (rows[0],))
        check(all(y == 0 and w < 10 for y, w in rows[1:]), "the other rows are empty (%s)" % rows[1:])

        # Send with Ctrl+S held: the path dialog takes the local site's address.
        send = table["controls"][1101]
        x, y, w, h = send["rect"]
        game.xdotool("mousemove", str(x + w // 2), str(y + h // 2), "keydown", "ctrl", "keydown", "s")
        time.sleep(0.3)
        game.xdotool("click", "1")
        time.sleep(0.5)
        game.xdotool("keyup", "s", "keyup", "ctrl")
        path_dialog = game.wait_dialog(PATH_DIALOG, 20)
        if not check(path_dialog is not None, "Send with Ctrl+S held opens the path dialog"):
            return
        address = base + "/cgi-bin/ranking/rdiv.cgi"
        check(type_into(game, PATH_DIALOG, 1023, address) > 0, "the site's address is typed into it")
        game.shot("08-path.png", path_dialog["rect"])
        game.click_control(path_dialog["controls"][1])
        urls = wait_until(lambda: [u for u in catcher.urls()], 30, 0.3) or []
        url = urls[0].strip('"') if urls else ""
        m = re.match(re.escape(address) + r"\?Z([0-9A-F]+)$", url)
        check(m is not None and len(m.group(1)) == 56,
              "the browser is handed the address with ?Z and 56 hex digits (%s)" % url)

        # The browser: the result on the site, the name registered, the ranking.
        browser = Browser(os.path.join(tmp, "profile"))
        browser.call("Page.enable")
        if url:
            browser.open(url)
            shown = browser.eval("(document.querySelector('.score .time') || {}).textContent") or ""
            browser.screenshot(os.path.join(args.shots, "09-site-result.png"))
            check(shown.strip() == result_text, "the site shows the result %s (%r)" % (result_text, shown))
            browser.eval("document.getElementById('name').focus()")
            browser.call("Input.insertText", text=NAME)
            browser.eval("document.querySelector('form.register button').click()")
            browser.wait_for("location.pathname === '/ranking' && document.readyState === 'complete'")
            browser.screenshot(os.path.join(args.shots, "10-site-ranking.png"))
            me = browser.eval("[...document.querySelectorAll('tr.me td')].map(td => td.textContent).join('|')")
            check(me is not None and NAME in me and result_text in me,
                  "the ranking shows the player's row with the name and the time (%s)" % me)

        # Back in the game: the table closes, ESC ends the program.
        game.click_control(table["controls"][1])
        check(wait_until(lambda: not game.dialogs(), 15, 0.3) is not None, "OK closes the table")
        game.focus_frame(found)
        game.key("Escape")
        check(game.wait_gone(30) is not None, "ESC ends the game")
        if game.proc.poll() is None:
            game.proc.wait(30)
        record = game.stored_record() or ""
        result_ms = int(round(float(result_text) * 1000))
        print("     (stored: %s)" % record.strip().replace("\n", "; "))
        check(re.search(r"^entry=1 ms=%d text= *%s name=%s$" % (result_ms, re.escape(result_text), NAME), record,
                        re.M) is not None, "the registry keeps the result with the name")
        check(re.search(r"^clicks=%d " % clicks, record, re.M) is not None,
              "the registry counts the %d clicks in the view" % clicks)

        # A second start: the table and the totals.
        game.start("again")
        found = game.wait_ready()
        if not check(found is not None, "the game starts again"):
            return
        game.focus_frame(found)
        game.key("F8")
        table = game.wait_dialog(TABLE, 30)
        if check(table is not None, "F8 opens the table"):
            picture = table["controls"][1016]["rect"]
            rows = wait_until(lambda: (lambda r: r if r[0][1] > 50 else None)(table_rows(screen, picture)), 10, 0.2)
            rows = rows or table_rows(screen, picture)
            game.shot("11-table-again.png", table["rect"])
            check(rows[0][1] > 50 and rows[0][0] == 0, "the result is the first row, not highlighted (%s)" % (
                rows[0],))
            check(all(y == 0 and w < 10 for y, w in rows[1:]), "and the only one (%s)" % rows[1:])
            game.click_control(table["controls"][1])
            wait_until(lambda: not game.dialogs(), 15, 0.3)
        game.focus_frame(found)
        game.key("F10")
        about = game.wait_dialog(ABOUT, 30)
        if check(about is not None, "F10 opens the About box"):
            game.shot("12-about.png", about["rect"])
            played = about["controls"][1020]["text"]
            counted = about["controls"][1021]["text"]
            check(counted == "%d回" % clicks, "it counts %d clicks (%s)" % (clicks, counted))
            m = re.match(r"(?:(\d+)分)?(\d+)秒$", played)
            seconds = int(m.group(1) or 0) * 60 + int(m.group(2)) if m else -1
            check(float(result_text) - 1 <= seconds <= float(result_text) + 40,
                  "its play time covers the ride of %s s (%s)" % (result_text, played))
            game.click_control(about["controls"][1])
            wait_until(lambda: not game.dialogs(), 15, 0.3)
        check(game.escape(found), "ESC ends the game again")
    finally:
        if browser:
            browser.close()
        game.stop()
        catcher.restore()
        site.stop()
        shutil.rmtree(tmp, ignore_errors=True)


def test_depth(args, depth):
    game = Game(args, depth)
    if depth == 8:
        # All 236 free colours for the game's palette (README, "8-bit displays under Wine").
        game.wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "PrivateColorMap", "/t", "REG_SZ",
                  "/d", "Y", "/f")
    try:
        game.start("depth%d" % depth)
        found = game.wait_ready()
        if not check(found is not None, "%d bits: the game starts" % depth):
            return
        # At 8 bits Wine gives its windows a colormap of their own: the frame's pixels
        # are read, and its pictures taken, in the frame's colours.
        frame = game.x_window("^%s$" % TITLE)
        screen = Screen(game.display, int(frame))
        check(screen.depth == depth, "%d bits: the display has that depth (%d)" % (depth, screen.depth))
        view = found["view"]
        game.xdotool("mousemove", "5", "590")
        time.sleep(1.0)
        game.shot("depth%d-1-title.png" % depth, window=frame)
        parts = Sheet("parts.bmp")
        cover = parts.expected((0, 0, 400, 300), (0, 0), depth, step=7)
        share, misses = matching(screen, view, cover)
        check(share > 0.97, "%d bits: the title's pixels show in the display's colours (%.3f; %s)" % (
            depth, share, misses))
        # The ride: the title gone, the caption, the digit row's fixed parts in sight.
        game.click(view[0] + CLICK_AT[0], view[1] + CLICK_AT[1])
        fixed = {}
        for rect, at in (((152, 483, 268, 499), (276, 279)),   # caption
                         ((278, 339, 334, 368), (267, 8)),     # "sec"
                         ((270, 339, 278, 368), (178, 8)),     # point
                         ((0, 301, 33, 338), (76, 1))):        # the hundreds digit, 0
            fixed.update(parts.expected(rect, at, depth))
        seen = wait_until(lambda: (lambda r: r if r[0] > 0.97 else None)(matching(screen, view, fixed)), 20, 0.2)
        share, misses = seen or matching(screen, view, fixed)
        check(seen is not None, "%d bits: a click starts a round: the caption and the digit row show in the "
                                "display's colours (%.3f of %d pixels; %s)" % (depth, share, len(fixed), misses))
        # GO: the ride timer runs, its tenths no longer 0.
        zero = parts.expected((0, 339, 26, 368), (186, 8), depth)
        riding = wait_until(lambda: matching(screen, view, zero)[0] < 0.8, 20, 0.1)
        game.shot("depth%d-2-ride.png" % depth, window=frame)
        check(riding is not None, "%d bits: the ride begins: the timer's digits run" % depth)
        share, misses = matching(screen, view, fixed)
        check(share > 0.97, "%d bits: during the ride the fixed parts of the digit row and the caption keep their "
                            "colours (%.3f; %s)" % (depth, share, misses))
        game.focus_frame(found)
        game.key("F7")  # the ride ends with no result
        check(game.escape(found), "%d bits: ESC ends the game" % depth)
    finally:
        game.stop()


TESTS = {"main": test_main, "depth8": lambda a: test_depth(a, 8), "depth16": lambda a: test_depth(a, 16)}


def main():
    p = argparse.ArgumentParser()
    for name in ("exe", "probe", "dump", "catcher", "site-build", "shots"):
        p.add_argument("--" + name, required=True)
    p.add_argument("--only", action="append")
    args = p.parse_args()
    for name in ("exe", "probe", "dump", "catcher", "site_build", "shots"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    os.makedirs(args.shots, exist_ok=True)
    for name, test in TESTS.items():
        if args.only and name not in args.only:
            continue
        print("== " + name, flush=True)
        test(args)
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
