#!/usr/bin/env python3
"""rodeo.exe under Wine in Xvfb, driven with xdotool as a player would, looked at
with window_probe.exe (from beside it, in the same prefix) and with screenshots
written to --shots for a person to open.

    rodeo_driven_test.py --exe build/windows/shell/rodeo.exe \
        --probe build/windows/tests/shell/window_probe.exe --shots DIR [--only NAME]
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, "..", "..", "tools", "wine-run")
TITLE = "ポムルのロデオ"

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def env():
    e = dict(os.environ)
    e.setdefault("RODEO_X_BASE", "91")
    return e


def display():
    return ":%d" % (int(env()["RODEO_X_BASE"]) + 2)


def xdotool(*args):
    e = env()
    e["DISPLAY"] = display()
    return subprocess.run(["xdotool", *args], env=e, capture_output=True, text=True, timeout=30).stdout


def screenshot(path, crop=None):
    e = env()
    e["DISPLAY"] = display()
    cmd = ["import", "-window", "root"]
    if crop:
        cmd += ["-crop", crop]
    subprocess.run(cmd + [path], env=e, timeout=30)


def prefix():
    return os.path.join(env()["RODEO_WINE_HOME"], "prefix-24")


def temp_files():
    root = os.path.join(prefix(), "drive_c", "users")
    found = []
    for dirpath, _, files in os.walk(root):
        found += [os.path.join(dirpath, f) for f in files if f.lower().startswith("mgr") and f.lower().endswith(".tmp")]
    return found


def stored_state(probe):
    # What a run of the game may store: its registry key, and every "wconf.ini" of
    # the prefix (the Windows folder's, the user's) with its content and time.
    drive = os.path.join(prefix(), "drive_c")
    folders = [os.path.join(drive, "windows")] + glob.glob(os.path.join(drive, "users", "*", "AppData", "Roaming", "*"))
    ini = {}
    for folder in folders:
        for name in os.listdir(folder) if os.path.isdir(folder) else []:
            if name.lower() == "wconf.ini":
                path = os.path.join(folder, name)
                with open(path, "rb") as f:
                    ini[path] = (f.read(), os.stat(path).st_mtime_ns)
    return probe.run("registry"), ini


def stored_changes(before, after):
    # What differs between two stored_state()s, briefly: "" when nothing.
    lines = lambda state: set(state[0].splitlines()) | {"%s %r" % item for item in state[1].items()}
    gone, new = sorted(lines(before) - lines(after)), sorted(lines(after) - lines(before))
    return "; ".join(["- " + l[:90] for l in gone] + ["+ " + l[:90] for l in new])


class Probe:
    def __init__(self, exe):
        self.exe = exe

    def run(self, *args, timeout=60):
        r = subprocess.run([WINE_RUN, self.exe, *args], env=env(), capture_output=True, text=True, timeout=timeout)
        return r.stdout.strip()

    def state(self):
        words = self.run("state").split()
        out = {}
        i = 0
        while i + 1 < len(words):
            out[words[i]] = words[i + 1]
            i += 2
        return out

    def wait(self, cond, seconds=20, what="condition"):
        end = time.time() + seconds
        s = {}
        while time.time() < end:
            s = self.state()
            if cond(s):
                return s
            time.sleep(0.2)
        print("     (waited for %s, last state %s)" % (what, s))
        return None


class Rodeo:
    """One run of rodeo.exe in the background."""

    def __init__(self, exe, desktop=None):
        e = env()
        if desktop:
            e["RODEO_DESKTOP"] = desktop
        self.proc = subprocess.Popen([WINE_RUN, exe], env=e, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.started = time.time()

    def wait(self, seconds):
        try:
            return self.proc.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def window_id():
    ids = [w for w in xdotool("search", "--name", TITLE).split() if w]
    return ids[0] if ids else None


def key(name):
    wid = window_id()
    if wid:
        xdotool("windowfocus", "--sync", wid)
    xdotool("key", name)


def click_view(button=1):
    # The view is the window's client area below the 36-pixel bar.
    wid = window_id()
    xdotool("mousemove", "--window", wid, "200", "180", "click", str(button))


def ready(s):
    return s.get("buttons") == "7"


def running(s):
    return s.get("start") == "0" and s.get("stop") == "1" and s.get("checked") == "0"


def paused(s):
    return s.get("stop") == "1" and s.get("checked") == "1"


def resumed(s):
    # Going on after a pause: the Stop button no longer checked. On a busy machine
    # the ride may have run out meanwhile (some 12 s of play end it), which also
    # shows that it went on.
    return s.get("checked") == "0"


def end_ride(probe):
    # F7 ends a ride; one that ran out by itself may have opened the result's
    # dialog, which is cancelled. True once the game is idle with no dialog.
    key("F7")
    if probe.wait(idle, 10, "idle") is None:
        return False
    if dialog(probe):
        print("     (the ride had run out: the result's dialog is cancelled)")
        probe.run("cancel")
        return wait_dialog_gone(probe)
    return True


def idle(s):
    return s.get("start") == "1" and s.get("stop") == "0" and s.get("reset") == "0"


def end_cleanly(rodeo, probe, how, what):
    before = rodeo.proc.poll()
    how()
    code = rodeo.wait(20)
    check(before is None and code == 0, "%s: rodeo.exe ends with exit code 0 (got %s)" % (what, code))
    check(temp_files() == [], "%s: no temporary asset file is left (%s)" % (what, temp_files()))


def test_main(args, probe):
    rodeo = Rodeo(args.exe)
    try:
        s = probe.wait(lambda s: s.get("found") == "1", what="the window")
        check(s is not None, "the main window appears")
        if s is None:
            return
        # During the slide-in: no buttons yet, and the keys do nothing.
        check(s.get("buttons") == "0", "no button shows before the slide-in has ended (%s)" % s.get("buttons"))
        key("F5")
        # The key has been handled by now (the loop never waits); it fell into the
        # slide-in if the buttons are still hidden. On a slow machine the slide-in
        # may have ended before that could be seen: then this sample says nothing.
        within = probe.state().get("buttons") == "0"
        screenshot(os.path.join(args.shots, "01_slide_in.png"))
        if not within:
            print("     (the slide-in ended before F5 could be seen inside it: not checked this time)")
        s = probe.wait(ready, what="the buttons")
        check(s is not None, "the seven buttons show after the slide-in")
        if s is None:
            return
        check(s["client"] == "400x336", "the client area is 400 x 336 (%s)" % s["client"])
        check(s["title"] == TITLE, "the title is the game's (%s)" % s["title"])
        check(s["sizable"] == "0" and s["maximizable"] == "0", "the window can be neither sized nor maximised")
        if within:
            check(idle(s), "F5 during the slide-in started nothing (%s)" % s)
        time.sleep(1.0)
        screenshot(os.path.join(args.shots, "02_title.png"), "400x336+312+225")

        # A click in the view starts a ride.
        click_view(1)
        check(probe.wait(running, 10, "a ride") is not None, "a click in the view starts a ride")
        screenshot(os.path.join(args.shots, "03_ride.png"), "400x336+312+225")

        key("F6")
        check(probe.wait(paused, 10, "the pause") is not None, "F6 pauses the ride and checks the Stop button")
        screenshot(os.path.join(args.shots, "04_paused.png"), "400x336+312+225")
        key("F6")
        check(probe.wait(resumed, 10, "the ride again") is not None, "F6 again resumes the ride")
        check(end_ride(probe), "F7 resets the game to idle")

        # The system's own loops (moving the window, its menu) stop the game's loop:
        # a ride pauses before they start and goes on when they end. Each on a ride
        # of its own.
        for loop, what in (("move", "moving the window"), ("menu", "the system menu")):
            key("F5")
            if not check(probe.wait(running, 10, "a ride") is not None, "F5 starts a ride"):
                break
            out = probe.run("sysloop", loop).split()
            said = dict(zip(out[2::2], out[3::2]))
            check(said.get("entered") == "1" and said.get("paused") == "1", "%s pauses the ride (%s)"
                  % (what, " ".join(out)))
            check(said.get("ended") == "1" and said.get("resumed") == "1", "after %s the ride goes on (%s)"
                  % (what, " ".join(out)))
            end_ride(probe)

        # Losing the activation pauses a running ride; regaining it resumes. A ride
        # ends by itself after some 12 s of play, so the other window is started
        # ahead and takes the front at a sign: no program start eats into the ride.
        go = os.path.join(args.shots, "elsewhere_go")
        for f in (go, go + ".armed"):
            if os.path.exists(f):
                os.remove(f)
        other = subprocess.Popen([WINE_RUN, args.probe, "elsewhere", "120000", go], env=env())
        end = time.time() + 60
        while time.time() < end and not os.path.exists(go + ".armed"):
            time.sleep(0.1)
        key("F5")
        check(probe.wait(running, 10, "a ride") is not None, "F5 starts a ride")
        open(go, "w").close()
        check(probe.wait(paused, 10, "the pause by deactivation") is not None,
              "another window in front pauses the ride")
        probe.run("closeelsewhere")
        other.wait(150)
        probe.run("foreground")
        check(probe.wait(resumed, 10, "the ride again") is not None, "back in front, the ride resumes")
        end_ride(probe)
        key("F5")
        check(probe.wait(running, 10, "a ride") is not None, "F5 starts a ride")
        # A ride paused by hand stays paused.
        key("F6")
        check(probe.wait(paused, 10, "the pause") is not None, "F6 pauses again")
        other = subprocess.Popen([WINE_RUN, args.probe, "elsewhere", "2000"], env=env())
        other.wait(60)
        probe.run("foreground")
        # Once in front the activation has been handled: the ride must still be paused.
        s = probe.wait(lambda s: s.get("front") == "frame", 10, "the window in front")
        check(s is not None and paused(s), "a ride paused by hand stays paused across the activation (%s)" % s)
        check(end_ride(probe), "F7 resets the paused ride")

        # The hover label names a button 250 ms after the pointer came to rest on it:
        # the probe moves the pointer itself and measures from that moment, so the
        # label may show no earlier than 250 ms after it (a few ms for the clock's grain).
        wid = window_id()
        hover = probe.run("hover", "1000").split()
        after = float(hover[4]) if len(hover) == 5 and hover[2] == "1" else None
        screenshot(os.path.join(args.shots, "05_hover.png"), "420x380+302+215")
        check(after is not None, "resting on the Start button shows its label (%s)" % " ".join(hover))
        check(after is not None and after >= 240, "the label shows no earlier than 250 ms after the pointer "
              "came (after %s ms)" % after)
        xdotool("mousemove", "--window", wid, "200", "200")

        # F9 with the help document beside the exe: the shell gets its path.
        opened = os.path.join(args.shots, "opened.txt")
        if os.path.exists(opened):
            os.remove(opened)
        probe_win = subprocess.run(["winepath", "-w", args.probe], env=dict(env(), WINEPREFIX=prefix()),
                                   capture_output=True, text=True).stdout.strip()
        opened_win = subprocess.run(["winepath", "-w", opened], env=dict(env(), WINEPREFIX=prefix()),
                                    capture_output=True, text=True).stdout.strip()
        reg = ["wine", "reg"]
        reg_env = dict(env(), WINEPREFIX=prefix(), WINEDEBUG="-all")
        subprocess.run(reg + ["add", r"HKCR\.html", "/ve", "/d", "RodeoTestHtml", "/f"],
                       env=reg_env, capture_output=True)
        subprocess.run(reg + ["add", r"HKCR\RodeoTestHtml\shell\open\command", "/ve", "/d",
                              '"%s" record "%s" "%%1"' % (probe_win, opened_win), "/f"], env=reg_env, capture_output=True)
        try:
            key("F9")
            end = time.time() + 20
            while time.time() < end and not os.path.exists(opened):
                time.sleep(0.2)
            got = open(opened, encoding="utf-8").read() if os.path.exists(opened) else ""
            exe_win = subprocess.run(["winepath", "-w", args.exe], env=reg_env, capture_output=True,
                                     text=True).stdout.strip()
            want = exe_win[: exe_win.rfind(".")] + ".html"
            check(got.lower() == want.lower(), "F9 opens the help document through the shell (%r, want %r)" % (got, want))
            check(idle(probe.state()), "after F9 the game is idle as before")
        finally:
            subprocess.run(reg + ["delete", r"HKCR\.html", "/f"], env=reg_env, capture_output=True)
            subprocess.run(reg + ["delete", r"HKCR\RodeoTestHtml", "/f"], env=reg_env,
                           capture_output=True)

        # A second copy brings the first to the front, restores it when minimised,
        # ends and leaves nothing: no temporary file, the record and the stamp as they were.
        files_before = sorted(temp_files())
        check(len(files_before) == 9, "the running game has its nine assets unpacked (%d)" % len(files_before))
        stored_before = stored_state(probe)
        probe.run("minimize")
        check(probe.wait(lambda s: s.get("iconic") == "1", 10, "minimised") is not None, "the window minimises")
        second = Rodeo(args.exe)
        code = second.wait(60)
        check(code == 0, "a second copy ends by itself (%s)" % code)
        check(probe.wait(lambda s: s.get("iconic") == "0", 10, "restored") is not None,
              "the second copy restored the minimised first one")
        check(sorted(temp_files()) == files_before, "the second copy made no temporary file")
        changes = stored_changes(stored_before, stored_state(probe))
        check(not changes, "the second copy left the registry and wconf.ini as they were %s" % changes)
        # Another window in front. Without a window manager only programs move the
        # front, so the second copy's call must be the last to do so: wait until the
        # other window has taken the front for good (it names itself then), and keep
        # it open until the check is done (its going would move the front again).
        other = subprocess.Popen([WINE_RUN, args.probe, "elsewhere", "120000"], env=env())
        try:
            check(probe.wait(lambda s: s.get("front") == "elsewhere", 30, "another window in front") is not None,
                  "another window is in front")
            second = Rodeo(args.exe)
            code = second.wait(60)
            check(code == 0, "a second copy ends by itself again (%s)" % code)
            check(probe.wait(lambda s: s.get("front") == "frame", 20, "the first in front") is not None,
                  "the second copy brought the first to the front")
            changes = stored_changes(stored_before, stored_state(probe))
            check(not changes, "again the registry and wconf.ini are as they were %s" % changes)
        finally:
            probe.run("closeelsewhere")
            other.wait(150)
        probe.run("foreground")

        # ESC ends the program.
        end_cleanly(rodeo, probe, lambda: key("Escape"), "ESC")
    finally:
        rodeo.kill()


def test_no_help(args, probe):
    # The exe alone in a folder of its own: F9 says that the help is missing.
    folder = os.path.join(args.shots, "nohelp")
    os.makedirs(folder, exist_ok=True)
    exe = os.path.join(folder, "rodeo.exe")
    shutil.copy(args.exe, exe)
    rodeo = Rodeo(exe)
    try:
        check(probe.wait(ready, 30, "the buttons") is not None, "the copy without help starts")
        time.sleep(0.5)
        key("F9")
        box = ""
        end = time.time() + 15
        while time.time() < end and not box.startswith("box 1"):
            box = probe.run("messagebox")
            time.sleep(0.2)
        screenshot(os.path.join(args.shots, "06_no_help.png"))
        check(box == "box 1 caption %s text ヘルプファイルが見つかりません。" % TITLE,
              "F9 without the document says so (%s)" % box)
        xdotool("key", "Return")
        time.sleep(0.5)
        check(probe.run("messagebox") == "box 0", "Return closes the box")
        end_cleanly(rodeo, probe, lambda: probe.run("closebox"), "the close box's command")
    finally:
        rodeo.kill()


def test_close_box(args, probe):
    # Inside a Wine virtual desktop the window has its frame; click its close box.
    rodeo = Rodeo(args.exe, desktop="800x600")
    try:
        out = os.path.join(args.shots, "rect.txt")
        # Wine's desktop first: a probe started before it would become the desktop itself.
        end = time.time() + 30
        while time.time() < end and not [w for w in xdotool("search", "--name", "rodeo").split() if w]:
            time.sleep(0.2)
        time.sleep(1.0)
        rect = []
        end = time.time() + 30
        while time.time() < end and len(rect) != 5:
            if os.path.exists(out):
                os.remove(out)
            subprocess.run([WINE_RUN, args.probe, "rect", out], env=dict(env(), RODEO_DESKTOP="800x600"),
                           capture_output=True, timeout=60)
            time.sleep(0.5)
            rect = open(out).read().split() if os.path.exists(out) else []
        if not check(len(rect) == 5, "the game starts in a virtual desktop (%s)" % rect):
            return
        time.sleep(3.0)  # the slide-in
        top, right = int(rect[2]), int(rect[3])
        screenshot(os.path.join(args.shots, "07_desktop.png"), "800x600+0+0")
        # The desktop's window sits at the screen's top left; the close box is the
        # caption's rightmost button.
        xdotool("mousemove", str(right - 12), str(top + 11), "click", "1")
        # (Inside a desktop, wine-run returns at once: the window's going is the sign.)
        gone = False
        end = time.time() + 20
        while time.time() < end and not gone:
            if os.path.exists(out):
                os.remove(out)
            subprocess.run([WINE_RUN, args.probe, "rect", out], env=dict(env(), RODEO_DESKTOP="800x600"),
                           capture_output=True, timeout=60)
            time.sleep(0.5)
            gone = not os.path.exists(out)
        check(gone, "the close box closes the window")
        time.sleep(1.0)
        check(temp_files() == [], "the close box: no temporary asset file is left (%s)" % temp_files())
    finally:
        # wine-run returned at once; the game itself may still run inside the desktop.
        subprocess.run([WINE_RUN, args.probe, "close"], env=dict(env(), RODEO_DESKTOP="800x600"),
                       capture_output=True, timeout=60)
        rodeo.kill()


def test_close_during_slide_in(args, probe):
    # A probe that is up before the game closes the window as soon as it shows,
    # still sliding in, and times the close until the window has gone (Wine's own
    # start and end of processes, seconds on a busy machine, are left out).
    seen = os.path.join(args.shots, "close_seen")
    if os.path.exists(seen):
        os.remove(seen)
    watch = subprocess.Popen([WINE_RUN, args.probe, "closesliding", seen, "60000"], env=env(),
                             stdout=subprocess.PIPE, text=True)
    end = time.time() + 60
    while time.time() < end and not os.path.exists(seen) and watch.poll() is None:
        time.sleep(0.05)
    rodeo = Rodeo(args.exe)
    try:
        closed = watch.communicate(timeout=120)[0].split()
        said = dict(zip(closed[1::2], closed[2::2]))
        check(said.get("sliding") == "1", "the window shows, still sliding in (%s)" % " ".join(closed))
        code = rodeo.wait(60)
        took = float(said["after"]) if said.get("closed") == "1" and "after" in said else None
        check(code == 0 and took is not None and took < 5000, "closing during the slide-in ends promptly (%s, %s)"
              % (code, " ".join(closed)))
        check(temp_files() == [], "nothing was unpacked")
    finally:
        rodeo.kill()


# --- the stored record and the dialogs ----------------------------------------------

RECORD_KEY = r"HKCU\Software\ZUMRA-PELLO"


def reg(*args):
    return subprocess.run(["wine", "reg", *args], env=dict(env(), WINEPREFIX=prefix(), WINEDEBUG="-all"),
                          capture_output=True, text=True, errors="replace")


def forget_record():
    # Every start after this one is a first run: the defaults, the window centred.
    reg("delete", RECORD_KEY, "/f")


def stored_record():
    # The encoded record as the registry holds it (the profile's own key names are
    # Japanese, which reg prints as '?': look for the value by its name).
    for line in reg("query", RECORD_KEY, "/s").stdout.splitlines():
        words = line.split()
        if len(words) == 3 and words[0] == "QM100" and words[1] == "REG_SZ":
            return words[2]
    return ""


def dialog(probe):
    # {"caption": ..., "rect": [l, t, r, b], "items": {id: (enabled, [l, t, r, b], text)}} or None.
    lines = probe.run("dialog").splitlines()
    if not lines or not lines[0].startswith("dialog 1"):
        return None
    head = lines[0].split(" ")
    out = {"caption": " ".join(head[3:-5]), "rect": list(map(int, head[-4:])), "items": {}}
    for line in lines[1:]:
        w = line.split(" ", 7)
        if len(w) >= 7 and w[0] == "item":
            out["items"][int(w[1])] = (w[2] == "1", list(map(int, w[3:7])), w[7] if len(w) > 7 else "")
    return out


def wait_dialog(probe, caption, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        d = dialog(probe)
        if d and d["caption"] == caption:
            return d
        time.sleep(0.2)
    return None


def wait_dialog_gone(probe, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        if dialog(probe) is None:
            return True
        time.sleep(0.2)
    return False


def click_item(d, item):
    l, t, r, b = d["items"][item][1]
    xdotool("mousemove", str((l + r) // 2), str((t + b) // 2), "click", "1")


def close_dialog(probe, d, item):
    # Clicks the button; true once that dialog has gone. Under Wine without a window
    # manager a click can fall into the moment a window takes the focus: a player
    # would click again, and so does this, up to three times.
    for _ in range(3):
        click_item(d, item)
        end = time.time() + 4
        while time.time() < end:
            now = dialog(probe)
            if not now or now["caption"] != d["caption"]:
                return True
            time.sleep(0.2)
    return False


def row_colours(path, picture):
    # Counts the yellow and the white pixels where the table's first row is drawn
    # (name and score, right of the place badges), in a screenshot of the screen.
    l, t = picture[0], picture[1]
    crop = "300x24+%d+%d" % (l + 42, t + 32)
    txt = subprocess.run(["/usr/bin/convert", path, "-crop", crop, "+repage", "-depth", "8", "txt:-"],
                         capture_output=True, text=True).stdout
    yellow = white = 0
    for line in txt.splitlines()[1:]:
        rgb = line.split("(", 1)[1].split(")", 1)[0].split(",")[:3]
        r, g, b = (float(v) for v in rgb)
        if r > 230 and g > 230:
            if b < 60:
                yellow += 1
            elif b > 230:
                white += 1
    return yellow, white


def about_totals(probe):
    d = wait_dialog(probe, "バージョン情報")
    if not d:
        return None, None, None
    # 1021 the clicks, 1020 the play time.
    return d, d["items"].get(1021, (0, 0, None))[2], d["items"].get(1020, (0, 0, None))[2]


def start_watched(args, probe, shot):
    # rodeo.exe with a probe that follows the start-up zoom; a screenshot as the zoom shows.
    seen = os.path.join(args.shots, "zoom_seen")
    if os.path.exists(seen):
        os.remove(seen)
    watch = subprocess.Popen([WINE_RUN, args.probe, "watchzoom", seen, "40000"], env=env(),
                             stdout=subprocess.PIPE, text=True)

    def says(word):
        return os.path.exists(seen) and word in open(seen).read()

    end = time.time() + 40
    while time.time() < end and not says("watching") and watch.poll() is None:
        time.sleep(0.05)  # the probe is up before the game's window
    rodeo = Rodeo(args.exe)
    end = time.time() + 40
    while time.time() < end and not says("zoom") and watch.poll() is None:
        time.sleep(0.02)
    if says("zoom"):
        time.sleep(0.15)
        screenshot(os.path.join(args.shots, shot))
    out = watch.communicate(timeout=60)[0].split()
    print("     (%s)" % " ".join(out))
    zoom = {"seen": out[1] == "1", "rect": list(map(int, out[3:7])), "hidden": out[8] == "1",
            "frame": list(map(int, out[10:14]))} if len(out) == 14 else {"seen": False}
    return rodeo, zoom


def test_record(args, probe):
    forget_record()
    rodeo, zoom = start_watched(args, probe, "08_zoom.png")
    try:
        # The zoom plays before the window shows, on a square around its rectangle.
        check(zoom["seen"] and zoom["hidden"], "the zoom plays before the window shows (%s)" % zoom)
        if zoom["seen"]:
            l, t, r, b = zoom["frame"]
            w, h = r - l, b - t
            side = max(w * 3 // 2, h * 3 // 2)
            want = [l - (side - w) // 2, t - (side - h) // 2]
            want += [want[0] + side, want[1] + side]
            check(zoom["rect"] == want, "the zoom covers the square around the window (%s, want %s)"
                  % (zoom["rect"], want))
        if not check(probe.wait(ready, 30, "the buttons") is not None, "the game starts after the zoom"):
            return
        first_place = [int(v) for v in probe.run("rect").split()[1:3]]

        # A ride into an empty table ranks: the name is asked, "あなた" offered.
        time.sleep(0.5)
        click_view(1)
        d = wait_dialog(probe, "やったぜ！ハイスコア", 60)
        if not check(d is not None, "the ride ends and the new-record dialog opens"):
            return
        message = d["items"].get(1019, (0, 0, ""))[2]
        # The game's "%7.3f": space-padded on the left.
        score = message[len("ナイス！"):].split(" 秒ポムルで")[0].strip() if message.startswith("ナイス！") else ""
        check(message == "ナイス！%7s 秒ポムルで 1 位入賞！" % score and score.replace(".", "").isdigit(),
              "the dialog names the result and place 1 (%s)" % message)
        check(d["items"].get(1018, (0, 0, ""))[2] == "あなた", "the name box offers あなた (%s)" % (d["items"].get(1018),))
        check(idle(probe.state()), "the game is idle behind it")
        # Typing replaces the selected name.
        xdotool("windowfocus", "--sync", xdotool("search", "--name", "やったぜ").split()[0])
        xdotool("type", "--delay", "60", "Wire")
        time.sleep(0.5)
        d = dialog(probe)
        check(d and d["items"].get(1018, (0, 0, ""))[2] == "Wire", "the typed name replaces it (%s)"
              % ((d and d["items"].get(1018)),))
        screenshot(os.path.join(args.shots, "09_new_record.png"), "500x400+262+180")
        # "ハイスコア" (id 1) goes on to the table, the new row highlighted.
        check(close_dialog(probe, d, 1), "ハイスコア closes the new-record dialog")
        table = wait_dialog(probe, "ハイスコア")
        if not check(table is not None, "the table follows"):
            return
        time.sleep(1.0)  # the reveal
        shot = os.path.join(args.shots, "10_table_new_row.png")
        screenshot(shot)
        yellow, white = row_colours(shot, table["items"][1016][1])
        check(yellow > 50 and white < yellow // 4, "the new row is yellow (%d yellow, %d white pixels)" % (yellow, white))
        check(close_dialog(probe, table, 1), "OK closes the table")
        check(idle(probe.state()), "the game is idle again")

        # F8: the table, nothing highlighted.
        key("F8")
        table = wait_dialog(probe, "ハイスコア")
        if check(table is not None, "F8 opens the table"):
            time.sleep(1.0)
            shot = os.path.join(args.shots, "11_table_f8.png")
            screenshot(shot)
            yellow, white = row_colours(shot, table["items"][1016][1])
            check(white > 50 and yellow < white // 4, "F8: the row is white (%d white, %d yellow pixels)" % (white, yellow))
            check(close_dialog(probe, table, 1), "OK closes it")

        # F10: the About box with the totals: the one click and the ride's time.
        key("F10")
        d, clicks, play = about_totals(probe)
        if check(d is not None, "F10 opens the About box"):
            screenshot(os.path.join(args.shots, "12_about.png"), "400x400+312+190")
            seconds = int(play[:-1]) if play and play[:-1].isdigit() else -1
            check(clicks == "1回", "the About box counts the one click (%s)" % clicks)
            check(float(score or 0) <= seconds < float(score or 0) + 15, "the play time covers the ride (%s, ride %s)"
                  % (play, score))
            check(close_dialog(probe, d, 1), "OK closes it")

        # ESC saves the record with the window's position.
        probe.run("move", "150", "100")
        time.sleep(0.5)
        end_cleanly(rodeo, probe, lambda: key("Escape"), "ESC with a record")
        check(len(stored_record()) == 2 * 364 + 4, "the record is in the registry (%d characters)" % len(stored_record()))
    finally:
        rodeo.kill()

    # The next start finds it: the position (the zoom plays there), the table, the totals.
    rodeo, zoom = start_watched(args, probe, "13_zoom_again.png")
    try:
        check(zoom["seen"] and zoom["frame"][:2] == [150, 100], "the next start: the window where it was left (%s, "
              "first at %s)" % (zoom.get("frame"), first_place))
        if not check(probe.wait(ready, 30, "the buttons") is not None, "the game starts again"):
            return
        key("F8")
        table = wait_dialog(probe, "ハイスコア")
        if check(table is not None, "F8 opens the table"):
            frame = [int(v) for v in probe.run("rect").split()[1:5]]
            centre = lambda r: ((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
            dx, dy = (a - b for a, b in zip(centre(table["rect"]), centre(frame)))
            check(abs(dx) <= 1 and abs(dy) <= 1, "the table is centred over the window (%s over %s)"
                  % (table["rect"], frame))
            time.sleep(1.0)
            shot = os.path.join(args.shots, "14_table_next_start.png")
            screenshot(shot)
            yellow, white = row_colours(shot, table["items"][1016][1])
            check(white > 50, "the row is still there (%d white pixels)" % white)
            # Closed by its OK command, as the About box below: under Wine the first press
            # in the view after a dialog was closed by a click gets lost.
            probe.run("dismiss")
            time.sleep(1.0)
            check(dialog(probe) is None, "the table closes")
        key("F10")
        d, clicks, play = about_totals(probe)
        check(clicks == "1回", "the totals are still there (%s, %s)" % (clicks, play))
        probe.run("dismiss")
        time.sleep(1.0)
        check(dialog(probe) is None, "the About box closes")

        # The end of the session saves it too: a click, a move, the session ends and
        # the process goes without WM_DESTROY.
        # (Under Wine the first press in the view after the table was open can get
        # lost before it reaches the view, which then counts nothing: press again.)
        click_view(1)
        if probe.wait(running, 5, "a ride") is None:
            print("     (the first press was lost; again)")
            click_view(1)
        check(probe.wait(running, 10, "a ride") is not None, "a click starts a ride")
        key("F7")
        probe.wait(idle, 10, "idle")
        probe.run("move", "200", "130")
        time.sleep(0.5)
        check(probe.run("endsession") == "endsession 1 query 1", "the frame takes the end of the session")
        # WM_ENDSESSION has returned: the process may end now, and nothing after it
        # would delete the unpacked files.
        check(temp_files() == [], "the end of the session leaves no temporary asset file (%s)" % temp_files())
        probe.run("kill")
        rodeo.wait(20)
        for leftover in temp_files():
            os.remove(leftover)  # only after a failed check above, so later checks see their own
    finally:
        rodeo.kill()

    rodeo, zoom = start_watched(args, probe, "15_zoom_after_session_end.png")
    try:
        check(zoom["seen"] and zoom["frame"][:2] == [200, 130], "after the session's end: the window where it was "
              "(%s)" % zoom.get("frame"))
        if check(probe.wait(ready, 30, "the buttons") is not None, "the game starts after the session's end"):
            key("F10")
            d, clicks, play = about_totals(probe)
            check(clicks == "2回", "the click of the ended session counts (%s)" % clicks)
            check(d is not None and close_dialog(probe, d, 1), "OK closes the About box")
            end_cleanly(rodeo, probe, lambda: key("Escape"), "ESC")
    finally:
        rodeo.kill()
        forget_record()


def test_fatal(args, probe):
    # A fatal error in the engine: its box, the failing call's return, then the
    # close, the shutdown and the module's deletion, in that order.
    for mode, boxes, order in (
        ("init", ["Error", TITLE], ["init", "init returns", "module deleted", "exit 0"]),
        ("tick", ["Error"], ["init", "tick returns", "shutdown", "module deleted", "exit 0"]),
    ):
        run = subprocess.Popen([WINE_RUN, args.fatal, mode], env=env(), stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True)
        try:
            seen = []
            for caption in boxes:
                box = ""
                end = time.time() + 30
                while time.time() < end and not box.startswith("box 1"):
                    box = probe.run("dismiss")
                    time.sleep(0.3)
                seen.append(box)
                time.sleep(0.5)
            check(seen[0] == "box 1 caption Error text %s : made to fail" % ("Init" if mode == "init" else "Tick"),
                  "%s: the error box (%s)" % (mode, seen[0]))
            if mode == "init":
                check(seen[1] == "box 1 caption %s text DirectX の初期化に失敗しました。" % TITLE,
                      "init: then the frame's box (%s)" % seen[1])
            try:
                out, _ = run.communicate(timeout=30)
            except subprocess.TimeoutExpired:
                run.kill()
                out, _ = run.communicate()
            lines = [l for l in out.splitlines() if l in order or l == "tick after the error" or l == "shutdown"]
            check(lines == order and run.returncode == 0,
                  "%s: error box, the call returns, then the close (%s, exit %s)" % (mode, lines, run.returncode))
        finally:
            if run.poll() is None:
                run.kill()


# --- Japanese on a Windows of another display language ---------------------------

def rgb_crop(path, box):
    # The pixels of box [l, t, r, b] of a screenshot: rows of (r, g, b).
    l, t, r, b = box
    w, h = r - l, b - t
    if w <= 0 or h <= 0:
        return []
    raw = subprocess.run(["/usr/bin/convert", path, "-crop", "%dx%d+%d+%d" % (w, h, l, t), "+repage", "-depth", "8",
                          "rgb:-"], capture_output=True, timeout=30).stdout
    if len(raw) != w * h * 3:
        return []
    return [[tuple(raw[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]


def glyph_shapes(rows, ink):
    # The text's pieces, cut at the columns without ink, each as its ink pattern:
    # characters drawn from a font that has them give as many different shapes as
    # the text has different characters; a font without them draws each as the same
    # box (or nothing), which gives one shape however many characters there are.
    if not rows:
        return []
    marks = [[ink(p) for p in row] for row in rows]
    used = [y for y, row in enumerate(marks) if any(row)]
    if not used:
        return []
    marks = marks[used[0]:used[-1] + 1]
    pieces, start = [], None
    for x in range(len(marks[0]) + 1):
        inked = x < len(marks[0]) and any(row[x] for row in marks)
        if inked and start is None:
            start = x
        elif not inked and start is not None:
            pieces.append(tuple(tuple(row[start:x]) for row in marks))
            start = None
    return pieces


def dark(p):
    # Darker than the dialogs' face, the smoothed edges of a drawn box included.
    return sum(p) < 3 * 200


def is_box(piece):
    # A piece drawn as empty frames, one or several side by side: what a font
    # without the characters shows (the bottom line may be cut off by a control's
    # edge). Its top line is whole, and each column is a side or empty below it.
    rows = [y for y, row in enumerate(piece) if any(row)]
    piece = piece[rows[0]:rows[-1] + 1]
    h, w = len(piece), len(piece[0])
    if h < 5 or w < 4 or sum(piece[0]) < 0.9 * w:
        return False
    for x in range(w):
        below = sum(piece[y][x] for y in range(1, h - 1))
        if 0.1 * (h - 2) < below < 0.9 * (h - 2):
            return False
    return piece[1][0] and piece[1][-1]


def check_drawn(path, box, text, what, ink=dark):
    # Enough different shapes for the text's Japanese characters, beyond those of
    # its other characters (which any font draws), and no empty frame among them.
    japanese = {c for c in text if ord(c) > 0x7F}
    other = {c for c in text if ord(c) <= 0x7F and not c.isspace()}
    shapes = glyph_shapes(rgb_crop(path, box), ink)
    # (Boxes are all one shape, and boxes side by side make one piece.)
    want = len(other) + (len(japanese) if len(japanese) < 2 else max(2, -(-len(japanese) // 2)))
    boxes = sum(1 for p in shapes if is_box(p))
    return check(len(set(shapes)) >= want and boxes == 0,
                 "%s: %r is drawn as characters (%d different shapes in %d pieces, want %d; %d empty frames)"
                 % (what, text, len(set(shapes)), len(shapes), want, boxes))


def dialog_items(probe):
    # Every control of the open dialog: (id, [l, t, r, b], text), statics included.
    items = []
    for line in probe.run("dialog").splitlines()[1:]:
        w = line.split(" ", 7)
        if len(w) >= 7 and w[0] == "item":
            items.append((int(w[1]), list(map(int, w[3:7])), w[7] if len(w) > 7 else ""))
    return items


def check_dialog_texts(probe, shot, what, inset=None, skip=()):
    # Each control with Japanese text shows it as characters. inset: per control,
    # a function of its width giving what is left out at its left, top, right and
    # bottom (borders, a button's picture); 0 by default.
    inset = inset or {}
    screenshot(shot)
    n = 0
    for item, (l, t, r, b), text in dialog_items(probe):
        if not any(ord(c) > 0x7F for c in text) or text.startswith("\uffff") or item in skip:
            continue  # no Japanese, or a picture's resource number
        dl, dt, dr, db = inset[item](r - l) if item in inset else (0, 0, 0, 0)
        check_drawn(shot, [l + dl, t + dt, r - dr, b - db], text, "%s, control %d" % (what, item))
        n += 1
    return n


def border(w):
    return (4, 4, 4, 4)


def hover_label_box(path, x, y):
    # The hover label's inside, near the pointer: the label's left edge is the
    # pointer's x, and its frame is a line of one colour along its top and down its
    # left side (the first such corner below the pointer).
    rows = rgb_crop(path, [x, y, x + 300, y + 60])
    for top in range(len(rows) - 4):
        row, c = rows[top], rows[top][0]
        run = 0
        while run < len(row) and row[run] == c:
            run += 1
        if run < 20 or rows[top + 1][0] != c or rows[top + 1][1] == c:
            continue
        bottom = top + 1
        while bottom < len(rows) and rows[bottom][0] == c:
            bottom += 1
        return [x + 1, y + top + 1, x + run - 1, y + bottom - 1]
    return None


def test_english(args, probe):
    # The main path in a prefix of an English Windows with Japanese fonts installed
    # and no font settings of ours: every Japanese text must show as characters.
    locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower().split()
    if not check("en_us.utf8" in locales, "the en_US.UTF-8 locale is there (scripts/install-deps.sh makes it)"):
        return
    # The prefix is this test's own: a game left running by an interrupted run
    # (which a second copy would bring to the front) is ended first.
    subprocess.run(["wineserver", "-k"], env=dict(env(), WINEPREFIX=prefix()), capture_output=True, timeout=60)
    forget_record()
    rodeo = Rodeo(args.exe)
    try:
        if not check(probe.wait(ready, 60, "the buttons") is not None, "English prefix: the game starts"):
            return
        time.sleep(0.5)
        # The bar's labels: resting on Start, then on the high-score button.
        wid = window_id()
        for x, label in ((20, "スタート (F5)"), (131, "ハイスコア (F8)")):
            xdotool("mousemove", "--window", wid, "200", "200")
            time.sleep(0.3)
            xdotool("mousemove", "--window", wid, str(x), "17")
            end = time.time() + 5
            while time.time() < end and probe.run("label") != "label 1":
                time.sleep(0.1)
            time.sleep(0.2)
            shot = os.path.join(args.shots, "en_01_label_%d.png" % x)
            screenshot(shot)
            loc = dict(kv.split(":") for kv in xdotool("getmouselocation").split()[:2])
            box = hover_label_box(shot, int(loc["x"]), int(loc["y"]))
            if check(box is not None, "the label %s shows" % label):
                check_drawn(shot, box, label, "the bar's label")
        xdotool("mousemove", "--window", wid, "200", "200")

        # A ride that ranks; a Japanese name typed into the name box.
        click_view(1)
        d = wait_dialog(probe, "やったぜ！ハイスコア", 60)
        if not check(d is not None, "the ride ends and the new-record dialog opens"):
            return
        xdotool("windowfocus", "--sync", xdotool("search", "--name", "やったぜ").split()[0])
        time.sleep(0.3)
        xdotool("key", "BackSpace")  # the offered name is selected
        # One character at a time: xdotool lends a key the character's symbol for each
        # one, and a character typed before Wine has seen the change can get lost:
        # each is typed again until the box shows it.
        typed = ""
        for ch in "牛若丸":
            for _ in range(4):
                xdotool("type", "--delay", "100", ch)
                end = time.time() + 2
                while time.time() < end:
                    d = dialog(probe)
                    if d and d["items"].get(1018, (0, 0, ""))[2] != typed:
                        break
                    time.sleep(0.1)
                now = d and d["items"].get(1018, (0, 0, ""))[2]
                if now == typed + ch:
                    typed = now
                    break
                print("     (typed %r, the box holds %r; again)" % (ch, now))
                if now and now != typed:
                    xdotool("key", "BackSpace")
        d = dialog(probe)
        check(d and d["items"].get(1018, (0, 0, ""))[2] == "牛若丸", "the typed Japanese name is in the box (%s)"
              % ((d and d["items"].get(1018)),))
        n = check_dialog_texts(probe, os.path.join(args.shots, "en_02_new_record.png"), "new record",
                               {1018: border, 1: border})
        check(n >= 4, "the new-record dialog's Japanese texts were looked at (%d)" % n)
        screenshot(os.path.join(args.shots, "en_02_new_record_crop.png"), "500x400+262+180")
        check(close_dialog(probe, d, 1), "ハイスコア closes the new-record dialog")

        # The table: its label, and the name in the first row.
        table = wait_dialog(probe, "ハイスコア")
        if check(table is not None, "the table follows"):
            time.sleep(1.0)  # the reveal
            shot = os.path.join(args.shots, "en_03_table.png")
            # (Send's caption shares its line with its picture, which would count as
            # glyphs: it is drawn in the dialog's font, which the label shows.)
            n = check_dialog_texts(probe, shot, "table", skip={1101})
            check(n >= 1, "the table's Japanese label was looked at (%d)" % n)
            l, t = table["items"][1016][1][:2]
            bright = lambda p: p[0] > 230 and p[1] > 230
            check_drawn(shot, [l + 1 + 40, t + 1 + 33, l + 1 + 196, t + 1 + 53], "牛若丸", "the table's first name",
                        bright)
            check(close_dialog(probe, table, 1), "OK closes the table")

        # The About box: the title line, the slogan, the totals and their labels.
        key("F10")
        d = wait_dialog(probe, "バージョン情報")
        if check(d is not None, "F10 opens the About box"):
            time.sleep(0.3)
            n = check_dialog_texts(probe, os.path.join(args.shots, "en_04_about.png"), "About")
            check(n >= 7, "the About box's Japanese texts were looked at (%d)" % n)
            screenshot(os.path.join(args.shots, "en_04_about_crop.png"), "400x400+312+190")
            check(close_dialog(probe, d, 1), "OK closes it")

        # The name is stored in code page 932 and shown again after a new start.
        end_cleanly(rodeo, probe, lambda: key("Escape"), "ESC")
        if args.dump:
            out = subprocess.run([WINE_RUN, args.dump, stored_record()], env=env(), capture_output=True,
                                 timeout=60).stdout
            name = "牛若丸".encode("cp932")
            check(re.search(b"name=" + re.escape(name) + b"\r?\n", out) is not None,
                  "the record holds the name in code page 932 (%r)" % out)
    finally:
        rodeo.kill()

    rodeo = Rodeo(args.exe)
    try:
        if check(probe.wait(ready, 60, "the buttons") is not None, "the game starts again"):
            key("F8")
            table = wait_dialog(probe, "ハイスコア")
            if check(table is not None, "F8 opens the table"):
                time.sleep(1.0)
                shot = os.path.join(args.shots, "en_05_table_again.png")
                screenshot(shot)
                l, t = table["items"][1016][1][:2]
                white = lambda p: min(p) > 230
                check_drawn(shot, [l + 1 + 40, t + 1 + 33, l + 1 + 196, t + 1 + 53], "牛若丸",
                            "the stored name in the table again", white)
                probe.run("dismiss")
                time.sleep(0.5)
            end_cleanly(rodeo, probe, lambda: key("Escape"), "ESC again")
    finally:
        rodeo.kill()
        forget_record()


TESTS = {"main": test_main, "nohelp": test_no_help, "closebox": test_close_box, "slidein": test_close_during_slide_in,
         "fatal": test_fatal, "record": test_record}


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--exe", required=True)
    p.add_argument("--probe", required=True)
    p.add_argument("--shots", required=True)
    p.add_argument("--fatal", required=True, help="fatal_module.exe")
    p.add_argument("--only", action="append")
    p.add_argument("--english", action="store_true",
                   help="only the main path in a prefix of its own, English, without our font settings")
    p.add_argument("--dump", help="record_dump.exe, to read the stored record")
    args = p.parse_args()
    if args.english:
        # Kept apart from the Japanese prefix: wine-run refuses one with our settings.
        os.environ["RODEO_WINE_HOME"] = os.environ["RODEO_WINE_HOME"].rstrip("/") + "-english"
        os.environ["RODEO_WINE_LANG"] = "en_US.UTF-8"
        os.environ["RODEO_NO_FONT_REPLACEMENTS"] = "1"
    args.exe, args.probe, args.shots, args.fatal = map(os.path.abspath, (args.exe, args.probe, args.shots, args.fatal))
    args.dump = args.dump and os.path.abspath(args.dump)
    os.makedirs(args.shots, exist_ok=True)
    probe = Probe(args.probe)
    # The display and the prefix first: on a fresh checkout making the prefix takes
    # a minute or more, which no later step waits for.
    probe.run("state", timeout=600)
    for leftover in temp_files():
        os.remove(leftover)  # from a run that was killed
    forget_record()  # the window where the screenshots expect it
    tests = {"english": test_english} if args.english else TESTS
    for name, test in tests.items():
        if args.only and name not in args.only:
            continue
        print("== " + name, flush=True)
        test(args, probe)
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
