"""The ranking page in a real browser (headless Chromium, driven over its DevTools
protocol): open the address the game builds for a result (its record's best entry and stamp,
the host swapped for the local server), type a Japanese name,
register, and find the player's row highlighted. Screenshots go to OUT_DIR.

    site_browser_test.py RODEO_SITE MAKE_SUBMISSION OUT_DIR
"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser  # noqa: E402
from sitefixture import WEDNESDAY_NOON_JST, SiteServer, make_submission  # noqa: E402

SITE, MAKE, OUT = sys.argv[1], sys.argv[2], sys.argv[3]
NAME = "ポムル太郎"
HIGHLIGHT = "rgb(255, 224, 102)"  # tr.me in style.css


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
        browser.screenshot(os.path.join(OUT, "site_home.png"))

        browser.open(base + path)
        assert "27.345" in browser.eval("document.querySelector('.score').textContent")
        assert "総合 3 位" in browser.eval("document.querySelector('.ranks').textContent")
        browser.eval("document.getElementById('name').focus()")
        browser.call("Input.insertText", text=NAME)  # as an input method commits it
        assert browser.eval("document.getElementById('name').value") == NAME
        browser.screenshot(os.path.join(OUT, "site_submission.png"))

        browser.eval("document.querySelector('form.register button').click()")
        browser.wait_for("location.pathname === '/ranking' && document.readyState === 'complete'")
        assert browser.eval("document.querySelector('tr.me td.name').textContent") == NAME
        assert browser.eval("document.querySelector('tr.me td.rank').textContent") == "3"
        assert browser.eval("getComputedStyle(document.querySelector('tr.me')).backgroundColor") == HIGHLIGHT
        assert browser.eval("document.querySelectorAll('tr.me').length") == 1
        assert "登録しました" in browser.eval("document.querySelector('.notice').textContent")
        # The hostile name above is shown as text.
        assert browser.eval("document.querySelector('td.name b')") is None
        browser.screenshot(os.path.join(OUT, "site_ranking.png"))
        print("browser: registered %s, highlighted at rank 3" % NAME)
    finally:
        if browser:
            browser.close()
        site.stop()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    main()
