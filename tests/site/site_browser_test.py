"""The ranking page in a real browser (headless Chromium, driven over its DevTools
protocol): open the address the game builds for a result (its record's best entry and stamp,
the host swapped for the local server), type a Japanese name,
register, and find the player's row highlighted. Screenshots go to OUT_DIR.

    site_browser_test.py RODEO_SITE MAKE_SUBMISSION OUT_DIR
"""

import base64
import itertools
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.request

import websocket

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sitefixture import WEDNESDAY_NOON_JST, SiteServer, make_submission, wait_until  # noqa: E402

SITE, MAKE, OUT = sys.argv[1], sys.argv[2], sys.argv[3]
NAME = "ポムル太郎"
HIGHLIGHT = "rgb(255, 224, 102)"  # tr.me in style.css


class Browser:
    def __init__(self, profile):
        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--disable-gpu", "--no-sandbox", "--no-first-run",
             "--remote-debugging-port=0", "--remote-debugging-address=127.0.0.1",
             "--user-data-dir=" + profile, "--window-size=900,1100", "--lang=ja", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(profile, "DevToolsActivePort")
        if not wait_until(lambda: os.path.exists(port_file) and open(port_file).read().strip(), 30):
            raise RuntimeError("Chromium did not open its DevTools port")
        port = int(open(port_file).read().split()[0])
        targets = json.load(urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port, timeout=10))
        page = next(t for t in targets if t["type"] == "page")
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30)
        self.ids = itertools.count(1)

    def call(self, method, **params):
        id = next(self.ids)
        self.ws.send(json.dumps({"id": id, "method": method, "params": params}))
        while True:
            msg = json.loads(self.ws.recv())
            if msg.get("id") == id:
                if "error" in msg:
                    raise RuntimeError("%s: %s" % (method, msg["error"]))
                return msg.get("result", {})

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        return result["result"].get("value")

    def wait_for(self, expression, seconds=15):
        if not wait_until(lambda: self.eval(expression), seconds):
            raise AssertionError("never became true: " + expression)

    def open(self, url):
        self.call("Page.navigate", url=url)
        self.wait_for("document.readyState === 'complete' && location.href.startsWith(%s)" % json.dumps(url))

    def screenshot(self, name):
        path = os.path.join(OUT, name)
        data = self.call("Page.captureScreenshot", format="png", captureBeyondViewport=True)["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
        print("screenshot:", path)

    def close(self):
        try:
            self.ws.close()
        finally:
            self.proc.terminate()
            self.proc.wait(timeout=15)


def main():
    os.makedirs(OUT, exist_ok=True)
    tmp = tempfile.mkdtemp(prefix="rodeo-site-browser-")
    site = SiteServer(SITE, "sqlite:" + os.path.join(tmp, "site.db"), "--pretend-time", str(WEDNESDAY_NOON_JST))
    site.start()
    browser = None
    try:
        # Others already on the board, above and below the player.
        for i, (ms, name) in enumerate([(45678, "カウボーイ"), (30123, "<b>太字</b>"), (25000, "ロデオ王"),
                                        (9876, "牛飼い"), (5432, "はじめて")]):
            site.register(make_submission(MAKE, ms, 500 + i, 1700000000), name)
        # The address exactly as the game builds it, its host swapped for the local server.
        game_url = subprocess.run([MAKE, "--game-url", "27345", str(0x1234ABCD), "1765000000"], check=True,
                                  stdout=subprocess.PIPE, text=True).stdout.strip()
        path = "/" + game_url.split("://", 1)[1].split("/", 1)[1]
        assert path.startswith("/cgi-bin/ranking/rdiv.cgi?Z"), game_url
        base = "http://127.0.0.1:%d" % site.port

        browser = Browser(os.path.join(tmp, "profile"))
        browser.call("Page.enable")
        browser.open(base + "/")
        browser.screenshot("site_home.png")

        browser.open(base + path)
        assert "27.345" in browser.eval("document.querySelector('.score').textContent")
        assert "総合 3 位" in browser.eval("document.querySelector('.ranks').textContent")
        browser.eval("document.getElementById('name').focus()")
        browser.call("Input.insertText", text=NAME)  # as an input method commits it
        assert browser.eval("document.getElementById('name').value") == NAME
        browser.screenshot("site_submission.png")

        browser.eval("document.querySelector('form.register button').click()")
        browser.wait_for("location.pathname === '/ranking' && document.readyState === 'complete'")
        assert browser.eval("document.querySelector('tr.me td.name').textContent") == NAME
        assert browser.eval("document.querySelector('tr.me td.rank').textContent") == "3"
        assert browser.eval("getComputedStyle(document.querySelector('tr.me')).backgroundColor") == HIGHLIGHT
        assert browser.eval("document.querySelectorAll('tr.me').length") == 1
        assert "登録しました" in browser.eval("document.querySelector('.notice').textContent")
        # The hostile name above is shown as text.
        assert browser.eval("document.querySelector('td.name b')") is None
        browser.screenshot("site_ranking.png")
        print("browser: registered %s, highlighted at rank 3" % NAME)
    finally:
        if browser:
            browser.close()
        site.stop()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    main()
