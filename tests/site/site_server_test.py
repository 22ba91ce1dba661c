"""The running site against one store, SQLite or PostgreSQL (the test starts its own
PostgreSQL server): submit, register, better and worse results, repeats, the three
periods, paging, the error pages, the rate limit, and the data through a restart and
a kill -9 in the middle of a burst of registrations.

    site_server_test.py sqlite|postgresql RODEO_SITE MAKE_SUBMISSION
"""

import json
import os
import re
import shutil
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sitefixture import DAY, WEDNESDAY_NOON_JST, Postgres, SiteServer, make_submission  # noqa: E402

STORE, SITE, MAKE = sys.argv[1], sys.argv[2], sys.argv[3]
RDIV = "/cgi-bin/ranking/rdiv.cgi"
postgres = None


def new_db_url(tmp):
    if STORE == "postgresql":
        return postgres.new_database()
    return "sqlite:" + os.path.join(tmp, "site.db")


def submission(ms, installation, code=None, text=None):
    return make_submission(MAKE, ms, installation, 1765000000, code, text)


class SiteTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="rodeo-site-test-")
        self.site = SiteServer(SITE, new_db_url(self.tmp), "--registrations-per-minute", "100000")

    def tearDown(self):
        errors = self.site.stop()
        shutil.rmtree(self.tmp, ignore_errors=True)
        self.assertEqual(errors, "", "the server reported errors")

    def start(self, when=WEDNESDAY_NOON_JST):
        self.assertEqual(self.site.stop(), "", "the server reported errors")
        return self.site.start("--pretend-time", str(when))

    def ranking(self, period="all", page=None, me=None):
        q = {"period": period}
        if page:
            q["page"] = page
        if me:
            q["me"] = me
        status, _, body = self.site.get("/api/ranking?" + urllib.parse.urlencode(q))
        self.assertEqual(status, 200, body)
        return json.loads(body)

    def register_ok(self, query, name):
        status, headers, body = self.site.register(query, name)
        self.assertEqual(status, 303, body)
        location = headers["Location"]
        me = int(re.search(r"me=(\d+)", location).group(1))
        result = re.search(r"result=(\w+)", location).group(1)
        return me, result, location

    def test_submit_and_register(self):
        self.start()
        q = submission(12345, 1)
        status, headers, body = self.site.get(RDIV + "?" + q)
        self.assertEqual(status, 200)
        self.assertIn("12.345", body)
        self.assertIn("総合 1 位", body)
        self.assertIn('name="z" value="%s"' % q, body)
        self.assertEqual(headers.get("Referrer-Policy"), "no-referrer")
        self.assertEqual(self.ranking()["total"], 0, "showing a submission stores nothing")

        me, result, location = self.register_ok(q, "ポムル")
        self.assertEqual(result, "new")
        status, _, page = self.site.get(location.split("#")[0])
        self.assertEqual(status, 200)
        self.assertIn("ランキングに登録しました", page)
        row = re.search(r'<tr class="me" id="me">(.*?)</tr>', page).group(1)
        self.assertIn("ポムル", row)
        self.assertIn("12.345", row)
        entry = self.ranking(me=me)["entries"][0]
        self.assertEqual((entry["name"], entry["scoreMs"], entry["scoreText"], entry["rank"], entry.get("me")),
                         ("ポムル", 12345, " 12.345", 1, True))

        # A second installation below: its page offers rank 2 and highlights its own row.
        q2 = submission(9000, 2)
        self.assertIn("総合 2 位", self.site.get(RDIV + "?" + q2)[2])
        me2, _, location2 = self.register_ok(q2, "ロデオ")
        page2 = self.site.get(location2.split("#")[0])[2]
        self.assertIn("ロデオ", re.search(r'<tr class="me" id="me">(.*?)</tr>', page2).group(1))
        self.assertEqual(page2.count('class="me"'), 1)

    def test_better_worse_and_repeats(self):
        self.start()
        me, result, _ = self.register_ok(submission(10000, 7), "最初")
        self.assertEqual(result, "new")
        self.assertEqual(self.register_ok(submission(10000, 7), "最初")[1], "same")
        self.assertEqual(self.register_ok(submission(10000, 7), "別の名前")[1], "renamed")
        self.assertEqual(self.register_ok(submission(5000, 7), "悪い記録")[1], "kept")
        data = self.ranking()
        self.assertEqual(data["total"], 1)
        self.assertEqual((data["entries"][0]["scoreMs"], data["entries"][0]["name"]), (10000, "別の名前"))
        # The submission page tells the player what is on record for them.
        self.assertIn("登録済みのあなたの記録：10.000 秒（別の名前）", self.site.get(RDIV + "?" + submission(5000, 7))[2])

        me2, result, _ = self.register_ok(submission(20000, 7), "更新")
        self.assertEqual((me2, result), (me, "improved"))
        data = self.ranking()
        self.assertEqual(data["total"], 1)
        self.assertEqual((data["entries"][0]["scoreMs"], data["entries"][0]["name"]), (20000, "更新"))

    def test_three_periods_through_restarts(self):
        self.start(WEDNESDAY_NOON_JST - 7 * DAY)       # last week
        self.register_ok(submission(30000, 1), "先週")
        self.start(WEDNESDAY_NOON_JST - DAY)           # Tuesday of this week
        self.register_ok(submission(20000, 2), "火曜")
        self.register_ok(submission(5000, 1), "先週")  # worse than its best, but its best this week
        self.start(WEDNESDAY_NOON_JST)                 # today
        self.register_ok(submission(10000, 3), "今日")

        def names(period):
            return [(e["name"], e["scoreMs"]) for e in self.ranking(period)["entries"]]

        self.assertEqual(names("all"), [("先週", 30000), ("火曜", 20000), ("今日", 10000)])
        self.assertEqual(names("week"), [("火曜", 20000), ("今日", 10000), ("先週", 5000)])
        self.assertEqual(names("today"), [("今日", 10000)])
        # The following Monday begins a new week and a new day.
        self.start(WEDNESDAY_NOON_JST + 5 * DAY)
        self.assertEqual(names("week"), [])
        self.assertEqual(names("all"), [("先週", 30000), ("火曜", 20000), ("今日", 10000)])
        status, _, page = self.site.get("/ranking?period=today")
        self.assertEqual(status, 200)
        self.assertIn("この期間の記録はまだありません", page)

    def test_paging(self):
        self.start()
        ids = []
        for i in range(120):  # pairs share a time
            ids.append(self.register_ok(submission(100000 - 10 * (i // 2), 100 + i), "p%03d" % i)[0])
        p1, p3 = self.ranking(page=1), self.ranking(page=3)
        self.assertEqual((p1["total"], p1["pageCount"], len(p1["entries"]), len(p3["entries"])), (120, 3, 50, 20))
        self.assertEqual([e["rank"] for e in p1["entries"][:4]], [1, 1, 3, 3])
        self.assertEqual(p3["entries"][-1]["rank"], 119)
        # me= without page opens the page that holds the player, row highlighted.
        status, _, html = self.site.get("/ranking?period=all&me=%d" % ids[105])
        self.assertEqual(status, 200)
        self.assertIn("3 / 3 ページ", html)
        self.assertIn("p105", re.search(r'<tr class="me" id="me">(.*?)</tr>', html).group(1))
        self.assertIn("あなたの順位：<strong>105 位</strong>", html)
        self.assertIn("前の50件", html)
        html2 = self.site.get("/ranking?period=all&page=2")[2]
        self.assertEqual(html2.count("<tr><td class=\"rank\">"), 50)
        self.assertIn("次の50件", html2)
        self.assertEqual(self.site.get("/ranking?period=all&page=4")[0], 404)

    def test_error_pages_store_nothing(self):
        self.start()
        good = submission(12345, 1)
        bad_digit = good[:20] + ("1" if good[20] == "0" else "0") + good[21:]
        refused = {
            "": "記録が送られていません",
            "Zgarbage": "壊れています",
            bad_digit: "壊れています",
            good[:-2]: "壊れています",
            good.lower(): "記録が送られていません",
            submission(12345, 1, "QM101"): "このゲームの記録ではありません",
            submission(12345, 1, "QM100", " 99.999"): "一致しません",
            submission(0, 1): "ありえないタイム",
            submission(1000000, 1): "ありえないタイム",
            "Z" + "A" * 400: "長すぎます",
        }
        for query, message in refused.items():
            status, headers, body = self.site.get(RDIV + ("?" + query if query else ""))
            self.assertEqual(status, 400, query)
            self.assertIn(message, body, query)
            self.assertIn('<html lang="ja">', body)
            self.assertTrue(headers["Content-Type"].startswith("text/html"))
            status, _, body = self.site.register(query, "ポムル")
            self.assertEqual(status, 400, query)
            self.assertIn(message, body, query)

        names = {"": "名前を入力", "あいうえおかきくけ": "長すぎます", "😀": "使えない文字",
                 "a\nb": "制御文字", "x" * 200: "長すぎます"}
        for name, message in names.items():
            status, _, body = self.site.register(good, name)
            self.assertEqual(status, 400, name)
            self.assertIn(message, body, name)
            self.assertIn('<form class="register"', body, "the form comes back with the reason")

        # GET never stores, whatever it carries; POST needs a form.
        self.site.get(RDIV + "?" + good + "&name=x")
        self.site.get("/cgi-bin/ranking/rdiv.cgi?z=%s&name=x" % good)
        self.assertEqual(self.site.request("POST", RDIV, body=json.dumps({"z": good}),
                                           headers={"Content-Type": "application/json"})[0], 415)
        big = self.site.post_form(RDIV, {"z": good, "name": "x" * 10000})
        self.assertEqual(big[0], 413)
        self.assertEqual(self.ranking()["total"], 0)

        for path, status in {"/ranking?period=year": 400, "/ranking?page=0": 400, "/ranking?page=x": 400,
                             "/ranking?me=-1": 400, "/api/ranking?period=x": 400, "/nothing": 404}.items():
            code, headers, body = self.site.get(path)
            self.assertEqual(code, status, path)
            if path.startswith("/api/"):
                self.assertIn("error", json.loads(body))
            else:
                self.assertIn('<html lang="ja">', body, path)

    def test_home_page_and_files(self):
        self.start()
        status, headers, home = self.site.get("/")
        self.assertEqual(status, 200)
        self.assertIn("遊び方", home)
        self.assertIn("スクリーンショットは準備中です", home)
        self.assertIn("ダウンロードは準備中です", home)
        self.assertIn("default-src 'none'", headers["Content-Security-Policy"])

        files = os.path.join(self.tmp, "files")
        os.makedirs(os.path.join(files, "screenshots"))
        for name, data in (("screenshots/ride.png", b"\x89PNG"), ("rodeo.exe", b"MZ")):
            with open(os.path.join(files, name), "wb") as f:
                f.write(data)
        self.site.extra += ["--files", files]
        self.start()
        home = self.site.get("/")[2]
        self.assertIn('<img src="&#x2F;files&#x2F;screenshots&#x2F;ride.png"', home)
        self.assertIn('href="&#x2F;files&#x2F;rodeo.exe"', home)
        self.assertEqual(self.site.get("/files/rodeo.exe")[:1], (200,))
        status, _, body = self.site.get("/files/../site.db")
        self.assertEqual(status, 404)
        self.assertNotIn("SQLite format", body)

    def test_several_servers_on_one_store(self):
        # Started together on an empty store: all open it and run the migrations at once.
        others = [SiteServer(SITE, self.site.db, "--pretend-time", str(WEDNESDAY_NOON_JST)) for _ in range(4)]
        starters = [threading.Thread(target=o.start) for o in others]
        for t in starters:
            t.start()
        for t in starters:
            t.join()
        a, b = others[:2]
        try:
            self.assertTrue(all(o.proc for o in others), "every server started")
            self.assertEqual(a.register(submission(10000, 9), "一台目")[0], 303)
            self.assertEqual(b.register(submission(12000, 9), "二台目")[0], 303)
            entries = json.loads(a.get("/api/ranking")[2])["entries"]
            self.assertEqual([(e["name"], e["scoreMs"]) for e in entries], [("二台目", 12000)])
        finally:
            self.assertEqual("".join(o.stop() for o in others), "", "the servers reported errors")

    def test_rate_limit(self):
        self.site.extra = ["--registrations-per-minute", "3"]
        self.start()
        for i in range(3):
            self.register_ok(submission(1000 + i, 50 + i), "n%d" % i)
        status, headers, body = self.site.register(submission(9999, 60), "over")
        self.assertEqual(status, 429)
        self.assertEqual(headers.get("Retry-After"), "60")
        self.assertIn("しばらくお待ちください", body)
        self.assertEqual(self.ranking()["total"], 3)
        # Looking is not limited.
        self.assertEqual(self.site.get(RDIV + "?" + submission(9999, 60))[0], 200)

    def test_kill9_during_a_burst_of_registrations(self):
        self.start()
        acknowledged = {}  # installation -> best time the server confirmed
        statuses = []
        lock = threading.Lock()
        stop = threading.Event()

        def writer(first):
            inst, ms = first, 1000
            while not stop.is_set():
                try:
                    status, _, _ = self.site.register(submission(ms, inst), "書き込み%d" % inst)
                except OSError:
                    return
                with lock:
                    statuses.append(status)
                    if status == 303:
                        acknowledged[inst] = ms
                ms += 7
                if ms > 1100:  # a new installation every fifteen registrations
                    inst, ms = inst + 4, 1000

        threads = [threading.Thread(target=writer, args=(1000 + t,)) for t in range(4)]
        for t in threads:
            t.start()
        time.sleep(1.5)
        self.site.kill9()
        stop.set()
        for t in threads:
            t.join()
        self.assertGreater(len(acknowledged), 0)
        self.assertEqual(set(statuses), {303}, "every registration before the kill succeeded")

        self.start()
        stored = {}
        for period in ("all", "week", "today"):
            rows, page = [], 1
            while True:
                data = self.ranking(period, page=page)
                rows += data["entries"]
                if page >= data["pageCount"]:
                    break
                page += 1
            stored[period] = {e["name"]: e["scoreMs"] for e in rows}
        # One transaction per registration: the three periods agree entry for entry.
        self.assertEqual(stored["all"], stored["week"])
        self.assertEqual(stored["all"], stored["today"])
        for inst, ms in acknowledged.items():
            self.assertGreaterEqual(stored["all"].get("書き込み%d" % inst, -1), ms, "confirmed, then lost")
        print("kill -9 burst (%s): %d registrations confirmed for %d installations, %d stored" %
              (STORE, len(statuses), len(acknowledged), len(stored["all"])))


if __name__ == "__main__":
    if STORE == "postgresql":
        postgres = Postgres().start()
    try:
        result = unittest.main(argv=sys.argv[:1], exit=False, verbosity=2).result
    finally:
        if postgres:
            postgres.stop()
    sys.exit(0 if result.wasSuccessful() else 1)
