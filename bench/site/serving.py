"""The site under hostile and ordinary connections, the earlier server (one thread per
connection) and the event-driven one side by side, in one run. Loopback only; every
phase is bounded in connections and seconds (about four minutes in all).

    serving.py BEFORE_RODEO_SITE AFTER_RODEO_SITE MAKE_SUBMISSION

Attacking connections come from many loopback addresses (127.1.x.y and up), so that
the per-address connection limit does not hide what the server does with them; the
visitor being measured comes from 127.0.0.1 in a process of its own.
"""

import asyncio
import json
import os
import re
import resource
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "site"))
from sitefixture import WEDNESDAY_NOON_JST, make_submission  # noqa: E402

RDIV = "/cgi-bin/ranking/rdiv.cgi"
CAP = 15.0  # seconds a visitor waits for a page before it counts as "none"


class Server:
    def __init__(self, binary, tmp, extra=()):
        self.binary, self.tmp, self.extra = binary, tmp, list(extra)

    def start(self):
        self.db = os.path.join(self.tmp, "bench-%d.db" % time.monotonic_ns())
        args = [self.binary, "--listen", "127.0.0.1:0", "--db", "sqlite:" + self.db,
                "--registrations-per-minute", "1000000", "--pretend-time", str(WEDNESDAY_NOON_JST)] + self.extra
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.proc.stdout.readline()
        self.port = int(line.split("http://127.0.0.1:")[1].split("/")[0])
        return self

    def rss_mb(self):
        try:
            with open("/proc/%d/status" % self.proc.pid) as f:
                return int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1)) / 1024
        except (OSError, AttributeError):
            return 0.0

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
        self.proc.stdout.close()


class RssWatch:
    """The largest resident size of the server while it runs."""

    def __init__(self, server):
        self.server, self.peak, self.done = server, server.rss_mb(), threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        while not self.done.wait(0.1):
            self.peak = max(self.peak, self.server.rss_mb())

    def stop(self):
        self.done.set()
        self.thread.join()
        return self.peak


# --- plain HTTP, blocking, for the visitor
def http(port, method, path, body=None, headers=None, timeout=CAP, sock=None):
    """(status, headers dict lower-case, body, seconds); status 0 when nothing came in time."""
    start = time.monotonic()
    own = sock is None
    try:
        if own:
            sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
        sock.settimeout(max(0.01, timeout - (time.monotonic() - start)))
        head = "%s %s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n" % (method, path, port)
        for k, v in (headers or {}).items():
            head += "%s: %s\r\n" % (k, v)
        data = body.encode() if body else b""
        if body is not None:
            head += "Content-Length: %d\r\n" % len(data)
        if own:
            head += "Connection: close\r\n"
        sock.sendall(head.encode() + b"\r\n" + data)
        raw = b""
        while b"\r\n\r\n" not in raw:
            chunk = sock.recv(65536)
            if not chunk:
                return 0, {}, "", time.monotonic() - start
            raw += chunk
        top, rest = raw.split(b"\r\n\r\n", 1)
        lines = top.decode("latin-1").split("\r\n")
        status = int(lines[0].split()[1])
        hdrs = {l.split(":", 1)[0].lower(): l.split(":", 1)[1].strip() for l in lines[1:] if ":" in l}
        length = int(hdrs.get("content-length", "0"))
        while len(rest) < length:
            chunk = sock.recv(65536)
            if not chunk:
                break
            rest += chunk
        return status, hdrs, rest.decode("utf-8", "replace"), time.monotonic() - start
    except OSError:
        return 0, {}, "", time.monotonic() - start
    finally:
        if own and sock:
            sock.close()


def register(port, query, name, headers=None):
    """As a browser: open the submission's page, send its form (with its token, if any)."""
    page = http(port, "GET", RDIV + "?" + query)[2]
    token = re.search(r'name="t" value="([^"]*)"', page)
    fields = {"z": query, "name": name}
    if token:
        fields["t"] = token.group(1)
    return http(port, "POST", RDIV, urllib.parse.urlencode(fields),
                dict({"Content-Type": "application/x-www-form-urlencoded"}, **(headers or {})))


def page_wait(port):
    status, _, _, seconds = http(port, "GET", "/ranking?period=all")
    return "none in %.0f s" % CAP if status != 200 else "%.2f s" % seconds


# --- hostile connections, asyncio
def source(group, i):
    return "127.%d.%d.%d" % (group, i // 200, i % 200 + 1)


async def open_conn(port, src):
    return await asyncio.open_connection("127.0.0.1", port, local_addr=(src, 0))


async def closed_within(reader, seconds):
    """True when the server closed the connection (or answered) within the time."""
    try:
        return await asyncio.wait_for(reader.read(4096), seconds) is not None
    except asyncio.TimeoutError:
        return False


CONNECTED = [0]  # slow clients connected so far


async def slow_lines(port, src, stop, every=4.0):
    """Sends a header line every few seconds, forever; reconnects when closed."""
    while not stop.is_set():
        try:
            r, w = await open_conn(port, src)
            CONNECTED[0] += 1
            w.write(b"GET /ranking HTTP/1.1\r\nHost: x\r\n")
            while not stop.is_set() and not await closed_within(r, every):
                w.write(b"X-Slow: 1\r\n")
                await w.drain()
            w.close()
        except OSError:
            await asyncio.sleep(0.5)


async def slow_bytes(port, src, stop):
    """Sends its headers a byte a second; reconnects when closed."""
    text = b"GET /ranking HTTP/1.1\r\nHost: x\r\nUser-Agent: " + b"s" * 100000
    while not stop.is_set():
        try:
            r, w = await open_conn(port, src)
            for b in text:
                if stop.is_set():
                    break
                w.write(bytes([b]))
                await w.drain()
                if await closed_within(r, 1.0):
                    break
            w.close()
        except OSError:
            await asyncio.sleep(0.5)


async def silent(port, src, stop, reconnect=True):
    """Connects and says nothing; reconnects when closed."""
    while not stop.is_set():
        try:
            r, w = await open_conn(port, src)
            while await r.read(4096):
                pass
            w.close()
        except OSError:
            await asyncio.sleep(0.5)
        if not reconnect:
            await asyncio.sleep(3600)


async def endless_headers(port, src, stop, limit_bytes, rate=None, once=False, counter=None):
    """Header lines without end (up to limit_bytes); rate: bytes a second, or flat out.
    Reconnects when closed, unless once."""
    sent = 0
    line = b"X-Filler: " + b"f" * 1000 + b"\r\n"
    while not stop.is_set() and sent < limit_bytes:
        try:
            r, w = await open_conn(port, src)
            w.write(b"GET / HTTP/1.1\r\nHost: x\r\n")
            while not stop.is_set() and sent < limit_bytes and not r.at_eof():
                w.write(line * 64)
                sent += len(line) * 64
                if counter is not None:
                    counter[0] = sent
                await w.drain()
                if rate:
                    await asyncio.sleep(len(line) * 64 / rate)
            w.close()
        except OSError:
            await asyncio.sleep(0.2)
        if once:
            break
    return sent


def with_attack(make_tasks, measure):
    """Runs the attackers in a thread's event loop while measure() runs here."""
    stop = threading.Event()
    loop = asyncio.new_event_loop()
    done = threading.Event()

    def run():
        asyncio.set_event_loop(loop)

        async def main():
            tasks = [asyncio.ensure_future(t) for t in make_tasks(stop)]
            while not stop.is_set():
                await asyncio.sleep(0.1)
            await asyncio.sleep(0.2)
            for t in tasks:
                t.cancel()
            await asyncio.gather(*tasks, return_exceptions=True)
        loop.run_until_complete(main())
        done.set()
    thread = threading.Thread(target=run, daemon=True)
    thread.start()
    try:
        return measure()
    finally:
        stop.set()
        thread.join(20)


# --- the rows
def wait_connected(count, seconds=10):
    end = time.monotonic() + seconds
    while CONNECTED[0] < count and time.monotonic() < end:
        time.sleep(0.05)
    time.sleep(0.5)  # and their first bytes sent


def row_slow8(port, server):
    CONNECTED[0] = 0

    def measure():
        wait_connected(8)
        return page_wait(port)
    return with_attack(lambda stop: [slow_lines(port, source(1, i), stop) for i in range(8)], measure)


def row_idle8(port, server):
    socks = []
    for i in range(8):
        s = socket.create_connection(("127.0.0.1", port), source_address=(source(1, i), 0), timeout=CAP)
        http(port, "GET", "/", headers={"Connection": "keep-alive"}, sock=s)
        socks.append(s)
    try:
        return page_wait(port)
    finally:
        for s in socks:
            s.close()


def row_silent400(port, server):
    def measure():
        time.sleep(2)
        return page_wait(port)
    return with_attack(lambda stop: [silent(port, source(1, i), stop, reconnect=False) for i in range(400)], measure)


def row_browsers24(port, server, seconds=10):
    """24 visitors, each on its own kept-open connection: a page, a second of reading, another."""
    times, lock = [], threading.Lock()
    end = time.monotonic() + seconds

    def visitor(i):
        try:
            s = socket.create_connection(("127.0.0.1", port), source_address=(source(2, i), 0), timeout=CAP)
        except OSError:
            return
        while time.monotonic() < end:
            status, hdrs, _, t = http(port, "GET", "/ranking?period=all", headers={"Connection": "keep-alive"},
                                      sock=s, timeout=CAP)
            if status != 200:
                break
            with lock:
                times.append(t)
            time.sleep(1)
        s.close()
    threads = [threading.Thread(target=visitor, args=(i,)) for i in range(24)]
    start = time.monotonic()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    times.sort()
    if not times:
        return "no pages"
    return "%.1f pages/s, slowest %.2f s" % (len(times) / (time.monotonic() - start), times[-1])


def row_header200mb(port, server):
    before = server.rss_mb()
    watch = RssWatch(server)
    loop = asyncio.new_event_loop()
    counter = [0]
    try:
        loop.run_until_complete(asyncio.wait_for(endless_headers(
            port, "127.4.0.1", threading.Event(), 200 * 1024 * 1024, once=True, counter=counter), 45))
    except asyncio.TimeoutError:
        pass
    loop.close()
    sent = counter[0]
    time.sleep(0.5)
    peak = watch.stop()
    return "%.0f -> %.0f MB, keeps %.0f MB (%.1f MB sent before it was stopped)" % (
        before, peak, server.rss_mb(), sent / (1024 * 1024))


def row_sigterm(port, server, cap=40):
    stop = threading.Event()
    loop = asyncio.new_event_loop()

    def run():
        asyncio.set_event_loop(loop)

        async def clients():
            await asyncio.gather(*[slow_lines(port, source(1, i), stop) for i in range(2)], return_exceptions=True)
        loop.run_until_complete(clients())
    CONNECTED[0] = 0
    thread = threading.Thread(target=run, daemon=True)
    thread.start()
    wait_connected(2)
    start = time.monotonic()
    server.proc.send_signal(signal.SIGTERM)
    try:
        code = server.proc.wait(timeout=cap)
        result = "exit %d after %.1f s" % (code, time.monotonic() - start)
    except subprocess.TimeoutExpired:
        result = "still running after %d s" % cap
    stop.set()
    thread.join(10)
    return result


def row_cross_site(port, server, make):
    q = make_submission(make, 34567, 9001, 1765000000)
    status = register(port, q, "よそ", {"Origin": "http://evil.example", "Sec-Fetch-Site": "cross-site"})[0]
    return {303: "accepted (303)", 403: "refused (403)"}.get(status, str(status))


def row_name(port, server, make, name, inst):
    status = register(port, make_submission(make, 12345, inst, 1765000000), name)[0]
    return {303: "accepted (303)", 400: "refused (400)"}.get(status, str(status))


def row_rename(port, server, make):
    q = make_submission(make, 22222, 9100, 1765000000)
    register(port, q, "たいぽ")
    status, hdrs, _, _ = register(port, q, "タイポ")
    if status == 400 or status == 409:
        return "refused (%d)" % status
    result = re.search(r"result=(\w+)", hdrs.get("location", ""))
    name = json.loads(http(port, "GET", "/api/ranking?period=all")[2])["entries"][0]["name"]
    return "%s, name now %s" % (result.group(1) if result else status, "corrected" if name == "タイポ" else "the typo")


def probe(port, seconds):
    """The well-behaved visitor of the goal: one ranking page after another, each on a new connection."""
    times, failures = [], 0
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        status, _, _, t = http(port, "GET", "/ranking?period=all", timeout=5)
        if status == 200:
            times.append(t)
        else:
            failures += 1
    print(json.dumps({"times": times, "failures": failures}))


def row_goal(port, server, seconds=20):
    def attackers(stop):
        tasks = [silent(port, source(10 + i // 1000, i % 1000), stop) for i in range(5000)]
        tasks += [slow_bytes(port, source(30, i), stop) for i in range(100)]
        tasks += [endless_headers(port, source(31, i), stop, 1 << 62, rate=100 * 1024) for i in range(20)]
        return tasks

    def measure():
        time.sleep(8)  # the connections pile up
        watch = RssWatch(server)
        out = subprocess.run([sys.executable, __file__, "--probe", str(port), str(seconds)], stdout=subprocess.PIPE,
                             text=True, timeout=seconds + 30).stdout
        peak = watch.stop()
        with open("/proc/net/tcp") as f:
            established = sum(1 for l in f if (":%04X " % port) in l.split()[1] + " " and l.split()[3] == "01")
        data = json.loads(out)
        t = sorted(data["times"])
        if not t:
            return "no page in %d s (%d failed); RSS %.0f MB" % (seconds, data["failures"], peak)
        p = lambda q: t[min(len(t) - 1, int(q * len(t)))] * 1000
        return "p50 %.0f ms, p99 %.0f ms, %d pages, %d failed; RSS peak %.0f MB; %d connections open at the end" % (
            p(0.5), p(0.99), len(t), data["failures"], peak, established)
    return with_attack(attackers, measure)


def main():
    if sys.argv[1] == "--probe":
        return probe(int(sys.argv[2]), float(sys.argv[3]))
    before_bin, after_bin, make = sys.argv[1], sys.argv[2], sys.argv[3]
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))
    tmp = tempfile.mkdtemp(prefix="rodeo-site-serving-")
    rows = [
        ("8 slow clients, a header line every 4 s: another visitor's wait", row_slow8),
        ("8 idle keep-alive connections: a page takes", row_idle8),
        ("400 connections that send nothing: a page takes", row_silent400),
        ("24 visitors keeping their connections open", row_browsers24),
        ("one connection sending 200 MB of header lines: RSS", row_header200mb),
        ("a registration posted from another site's page", lambda p, s: row_cross_site(p, s, make)),
        ("a name of eight ideographic spaces", lambda p, s: row_name(p, s, make, "\u3000" * 8, 9002)),
        ("a name of a private-use character", lambda p, s: row_name(p, s, make, "\ue000", 9003)),
        ("the same time sent again with a corrected name", lambda p, s: row_rename(p, s, make)),
        ("GOAL: 5,000 idle + 100 byte-a-second + 20 endless-header connections: "
         "a visitor's ranking page (p99 <= 100 ms, RSS < 128 MB)", row_goal),
        ("SIGTERM with 2 slow clients connected", row_sigterm),
    ]
    results = {}
    started = time.monotonic()
    for label, binary, extra in (("before", before_bin, ["--threads", "8"]), ("after", after_bin,
                                 ["--threads", "8", "--access-log", os.devnull])):
        for title, row in rows:
            server = Server(binary, tmp, extra).start()
            try:
                for i in range(40):  # a board to look at
                    register(server.port, make_submission(make, 5000 + 97 * i, 7000 + i, 1765000000), "p%02d" % i)
                results[(title, label)] = row(server.port, server)
            except Exception as e:  # a row that breaks is reported, the others still run
                results[(title, label)] = "error: %r" % e
            finally:
                server.stop()
            print("%-7s %-60.60s %s" % (label, title, results[(title, label)]), file=sys.stderr, flush=True)
    shutil.rmtree(tmp, ignore_errors=True)
    print("rodeo-site serving on 127.0.0.1 (SQLite, 8 workers; the visitor waits at most %.0f s), %.0f s in all"
          % (CAP, time.monotonic() - started))
    print("| what was tried | before (cpp-httplib, a thread per connection) | after (libmicrohttpd, epoll) |")
    print("|---|---|---|")
    for title, _ in rows:
        print("| %s | %s | %s |" % (title, results[(title, "before")], results[(title, "after")]))


if __name__ == "__main__":
    main()
