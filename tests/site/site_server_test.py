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
import signal
import socket
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sitefixture import (DAY, WEDNESDAY_NOON_JST, Postgres, SiteServer, make_submission,  # noqa: E402
                         wait_until)

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
        self.assertRegex(row, r"2026-12-09 12:\d\d JST", "times say their time zone")
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
        # The same time under another name corrects the entry's name, in every period, and says so.
        me_renamed, result, location = self.register_ok(submission(10000, 7), "訂正")
        self.assertEqual((me_renamed, result), (me, "renamed"))
        self.assertIn("名前を変更しました", self.site.get(location.split("#")[0])[2])
        # A worse time renames nothing.
        self.assertEqual(self.register_ok(submission(5000, 7), "悪い記録")[1], "kept")
        for period in ("all", "week", "today"):
            data = self.ranking(period)
            self.assertEqual(data["total"], 1)
            self.assertEqual((data["entries"][0]["scoreMs"], data["entries"][0]["name"]), (10000, "訂正"), period)
        # The submission page tells the player what is on record for them.
        self.assertIn("登録済みのあなたの記録：10.000 秒（訂正）", self.site.get(RDIV + "?" + submission(5000, 7))[2])

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
                 "a\nb": "制御文字", "x" * 200: "長すぎます", "\u3000" * 8: "空白だけ", " \u3000 ": "空白だけ",
                 "\ue000": "外字", "ポ\uf8ffム": "外字"}
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
        for name, data in (("screenshots/ride.png", b"\x89PNG"), ("rodeo.exe", b"MZ"), ("rodeo-1.0.0.zip", b"PK"),
                           ("rodeo-1.2.0.zip", b"PK")):
            with open(os.path.join(files, name), "wb") as f:
                f.write(data)
        self.site.extra += ["--files", files]
        self.start()
        home = self.site.get("/")[2]
        self.assertIn('<img src="&#x2F;files&#x2F;screenshots&#x2F;ride.png"', home)
        # The release package, the newest one, is what the home page offers.
        self.assertIn('href="&#x2F;files&#x2F;rodeo-1.2.0.zip"', home)
        self.assertNotIn("準備中", home)
        self.assertEqual(self.site.get("/files/rodeo.exe")[:1], (200,))
        status, headers, _ = self.site.get("/files/rodeo-1.2.0.zip")
        self.assertEqual((status, headers["Content-Type"]), (200, "application/zip"))
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


def connect(port, source="127.0.0.1"):
    s = socket.create_connection(("127.0.0.1", port), timeout=15, source_address=(source, 0))
    return s


def read_until_closed(sock, seconds):
    """What the server sends until it closes the connection (b"" when it only closes)."""
    sock.settimeout(seconds)
    data = b""
    try:
        while True:
            chunk = sock.recv(65536)
            if not chunk:
                return data
            data += chunk
    except ConnectionResetError:
        return data


def closed_within(sock, seconds):
    try:
        read_until_closed(sock, seconds)
        return True
    except socket.timeout:
        return False


class ServingTest(unittest.TestCase):
    """What one client can and cannot do to the server: its limits, its stop, its log and
    health answer, and the registration form's proof of origin."""

    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="rodeo-site-serving-")
        self.site = SiteServer(SITE, new_db_url(self.tmp), "--registrations-per-minute", "100000",
                               "--pretend-time", str(WEDNESDAY_NOON_JST))
        self.expected_errors = False

    def tearDown(self):
        errors = self.site.stop()
        shutil.rmtree(self.tmp, ignore_errors=True)
        if not self.expected_errors:
            self.assertEqual(errors, "", "the server reported errors")

    @unittest.skipUnless(STORE == "sqlite", "the connection limits do not depend on the store")
    def test_refusals(self):
        self.site.extra += ["--connections-per-address", "3", "--trusted-proxy", "127.0.0.3"]
        port = self.site.start().port

        # Endless header lines: 431 once the connection's memory is used up, never growth.
        endless = connect(port)
        endless.sendall(b"GET / HTTP/1.1\r\nHost: x\r\n")

        def flood():
            try:
                for i in range(20000):
                    endless.sendall(b"X-Filler-%d: %s\r\n" % (i, b"a" * 40))
            except OSError:
                pass
        flooder = threading.Thread(target=flood)
        flooder.start()
        answer = read_until_closed(endless, 15)
        flooder.join()
        endless.close()
        self.assertTrue(answer.startswith(b"HTTP/1.1 431"), answer[:80])

        # A body over 4 KiB: 413 before it is read.
        big = connect(port)
        big.sendall(b"POST " + RDIV.encode() + b" HTTP/1.1\r\nHost: x\r\n"
                    b"Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 100000\r\n\r\n")
        self.assertTrue(read_until_closed(big, 15).startswith(b"HTTP/1.1 413"))
        big.close()

        # Connections per address: the fourth from 127.0.0.1 is closed unanswered, while
        # another address, and a trusted proxy beyond the limit, are served; silent ones
        # are closed once idle.
        silent = [connect(port) for _ in range(3)]
        fourth = connect(port)
        fourth.sendall(b"GET / HTTP/1.1\r\nHost: x\r\n\r\n")
        self.assertEqual(read_until_closed(fourth, 15), b"")
        fourth.close()
        other = connect(port, "127.0.0.2")
        other.sendall(b"GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
        self.assertTrue(read_until_closed(other, 15).startswith(b"HTTP/1.1 200"))
        other.close()
        # A trusted proxy brings many clients' connections: it is not limited per address.
        proxied = [connect(port, "127.0.0.3") for _ in range(4)]
        proxied[-1].sendall(b"GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
        self.assertTrue(read_until_closed(proxied[-1], 15).startswith(b"HTTP/1.1 200"))
        for sock in proxied:
            sock.close()
        for sock in silent:
            self.assertTrue(closed_within(sock, 15), "an idle connection stays open")
            sock.close()

        # A slow client, one header line a second: never idle, yet closed once its
        # time to send a request is up, with nothing answered.
        slow = connect(port)
        slow.sendall(b"GET / HTTP/1.1\r\n")
        slow.settimeout(1)
        closed, start = False, time.time()
        while not closed and time.time() - start < 20:
            try:
                slow.sendall(b"X-Slow: 1\r\n")
                closed = slow.recv(100) == b""
            except socket.timeout:
                pass
            except OSError:
                closed = True
        self.assertTrue(closed, "a slow client kept its connection for 20 s")
        slow.close()
        self.assertEqual(self.site.get("/")[0], 200)

    @unittest.skipUnless(STORE == "sqlite", "the stop does not depend on the store")
    def test_sigterm_finishes_what_is_in_flight(self):
        port = self.site.start().port
        query = submission(15000, 77)
        body = urllib.parse.urlencode({"z": query, "name": "停止中", "t": self.site.form_token(query)}).encode()
        slow = connect(port)
        slow.sendall(b"GET / HTTP/1.1\r\nHost: x\r\n")  # a slow client, never finishing
        # A registration in flight: the server has its headers (and says "100 Continue").
        flight = connect(port)
        flight.sendall(b"POST " + RDIV.encode() + b" HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\n"
                       b"Content-Type: application/x-www-form-urlencoded\r\nContent-Length: %d\r\n\r\n"
                       % len(body))
        self.assertTrue(flight.recv(100).startswith(b"HTTP/1.1 100"))
        start = time.time()
        self.site.proc.send_signal(signal.SIGTERM)

        def refused():
            # Refused outright, or reset: a connection still in the listening socket's
            # queue when the server let go of it was never accepted either.
            try:
                connect(port).close()
                return False
            except (ConnectionRefusedError, ConnectionResetError):
                return True
        self.assertTrue(wait_until(refused, 4), "still accepting after SIGTERM")
        flight.sendall(body)
        answer = read_until_closed(flight, 5)
        self.assertTrue(answer.startswith(b"HTTP/1.1 303"), answer[:80])
        self.assertEqual(self.site.proc.wait(timeout=10), 0)
        self.assertLess(time.time() - start, 5.0)
        self.assertTrue(closed_within(slow, 1))
        slow.close()
        flight.close()
        self.assertEqual(self.site.stop(), "")
        self.site.start()
        self.assertEqual(json.loads(self.site.get("/api/ranking")[2])["entries"][0]["name"], "停止中")

    def test_health_and_a_frozen_store(self):
        self.site.start()
        self.assertEqual(self.site.get("/healthz")[::2], (200, "ok\n"))
        if STORE != "postgresql":
            return
        # PostgreSQL frozen (its postmaster and backends stopped): 503 within 5 s, then back.
        pids = postgres.pids()
        self.expected_errors = True
        for pid in pids:
            os.kill(pid, signal.SIGSTOP)
        try:
            for path in ("/healthz", "/ranking?period=all", "/healthz"):
                start = time.time()
                status = self.site.get(path)[0]
                self.assertEqual(status, 503, path)
                self.assertLess(time.time() - start, 5.0, path)
        finally:
            for pid in pids:
                os.kill(pid, signal.SIGCONT)
        self.assertTrue(wait_until(lambda: self.site.get("/healthz")[0] == 200, 15))
        self.assertEqual(self.site.get("/ranking?period=all")[0], 200)

    def test_access_log_leaves_the_payload_out(self):
        self.site.start()
        query = submission(23456, 31)
        self.site.get(RDIV + "?" + query)            # the form (and its token)
        status, _, _ = self.site.register(query, "ログ")  # another form and the post
        self.assertEqual(status, 303)
        self.site.get("/ranking?period=week&page=1")
        self.site.get("/nothing")
        line = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ 127\.0\.0\.1 (GET|POST) (\S+) (\d{3}) (\d+) \d+\.\dms$")
        self.assertTrue(wait_until(lambda: len(self.site.access_log().splitlines()) >= 5))
        log = self.site.access_log()
        seen = [line.match(text).groups() for text in log.splitlines()]
        # Lines are written as answers complete, on several threads: their order is not the requests'.
        self.assertEqual(sorted((m, p, s) for m, p, s, _ in seen),
                         sorted([("GET", RDIV, "200"), ("GET", RDIV, "200"), ("POST", RDIV, "303"),
                                 ("GET", "/ranking?period=week&page=1", "200"), ("GET", "/nothing", "404")]))
        self.assertEqual([int(b) > 0 for _, _, s, b in seen], [s != "303" for _, _, s, _ in seen])
        self.assertNotIn(query[1:12], log)
        self.assertNotIn("%E3%83%AD", log)  # the name, as the form sent it

    def test_registration_only_from_the_sites_own_form(self):
        port = self.site.start().port
        query = submission(34567, 41)
        token = self.site.form_token(query)
        fields = {"z": query, "name": "よそ", "t": token}
        refused = [
            ({"Origin": "http://evil.example"}, fields),
            ({"Origin": "null"}, fields),
            ({"Sec-Fetch-Site": "cross-site", "Origin": "http://127.0.0.1:%d" % port}, fields),
            ({"Sec-Fetch-Site": "same-site"}, fields),
            ({}, dict(fields, t="")),
            ({}, dict(fields, t=token[:-1] + ("0" if token[-1] != "0" else "1"))),
            ({}, dict(fields, t=self.site.form_token(submission(34567, 42)))),  # another submission's
            ({}, dict(fields, t=str(WEDNESDAY_NOON_JST - 86400) + token[token.index("."):])),
        ]
        for headers, form in refused:
            status, _, body = self.site.post_form(RDIV, form, headers)
            self.assertEqual(status, 403, headers)
            self.assertIn("登録できません", body)
        self.assertEqual(json.loads(self.site.get("/api/ranking")[2])["total"], 0)
        # The site's own page, as a browser posts it.
        own = {"Origin": "http://127.0.0.1:%d" % port, "Sec-Fetch-Site": "same-origin"}
        self.assertEqual(self.site.post_form(RDIV, fields, own)[0], 303)
        self.assertEqual(self.site.post_form(RDIV, fields, {"Origin": "http://127.0.0.1:%d" % port})[0], 303)


if __name__ == "__main__":
    if STORE == "postgresql":
        postgres = Postgres().start()
    try:
        result = unittest.main(argv=sys.argv[:1], exit=False, verbosity=2).result
    finally:
        if postgres:
            postgres.stop()
    sys.exit(0 if result.wasSuccessful() else 1)
