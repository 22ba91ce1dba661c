"""The deployment in site/deploy/, tried on loopback: rodeo-site started with the
systemd unit's own command line, behind Debian's nginx running the shipped
configuration (only its ports changed). The site's limit on registrations per
client address must count each client through one proxy and through two, and a
client that reaches the site without the proxy must not choose its address with a
forged X-Forwarded-For. Clients speak from their own loopback addresses
(127.0.0.11, ...), which Linux routes like 127.0.0.1.

    site_proxy_test.py RODEO_SITE MAKE_SUBMISSION SITE_SOURCE_DIR
"""

import html.parser
import http.client
import os
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sitefixture import WEDNESDAY_NOON_JST, SiteServer, free_port, make_submission, wait_until  # noqa: E402

SITE, MAKE, SOURCE = sys.argv[1], sys.argv[2], sys.argv[3]
DEPLOY = os.path.join(SOURCE, "deploy")
RDIV = "/cgi-bin/ranking/rdiv.cgi"
PER_MINUTE = 3


class FormFields(html.parser.HTMLParser):
    """The hidden fields of the page's form, whatever the site puts there."""

    def __init__(self):
        super().__init__()
        self.fields = {}

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "input" and a.get("type") == "hidden" and a.get("name"):
            self.fields[a["name"]] = a.get("value") or ""


def request(port, source, method, path, body=None, headers=None):
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=15, source_address=(source, 0))
    try:
        conn.request(method, path, body=body, headers=headers or {})
        res = conn.getresponse()
        return res.status, res.read().decode("utf-8", "replace")
    finally:
        conn.close()


def register(port, source, installation, forwarded_for=None, origin=None):
    """Opens the game's address and sends its form, as a browser at `source` would
    (with `origin`: as one that names the page the form came from)."""
    query = make_submission(MAKE, 10000 + installation, installation, 1765000000)
    headers = {"X-Forwarded-For": forwarded_for} if forwarded_for else {}
    status, page = request(port, source, "GET", RDIV + "?" + query, headers=headers)
    assert status == 200, (status, page)
    form = FormFields()
    form.feed(page)
    fields = dict(form.fields, z=query, name="p%d" % installation)
    headers["Content-Type"] = "application/x-www-form-urlencoded"
    if origin:
        headers["Origin"] = origin
    return request(port, source, "POST", RDIV, urllib.parse.urlencode(fields), headers)


class Nginx:
    """Debian's nginx with a prefix of its own, running nginx-site.conf on loopback."""

    def __init__(self, upstream_port, real_ip_from=None):
        self.dir = tempfile.mkdtemp(prefix="rodeo-site-nginx-")
        os.chmod(self.dir, 0o755)  # the workers run as an unprivileged user
        self.port = free_port()
        with open(os.path.join(DEPLOY, "nginx-site.conf")) as f:
            site = f.read()
        for old, new in [("listen 80;", "listen 127.0.0.1:%d;" % self.port),
                         ("127.0.0.1:8080", "127.0.0.1:%d" % upstream_port)]:
            assert old in site, old
            site = site.replace(old, new)
        if real_ip_from:
            site = site.replace("# set_real_ip_from 192.0.2.10;", "set_real_ip_from %s;" % real_ip_from)
            site = site.replace("# real_ip_", "real_ip_")
        with open(os.path.join(self.dir, "site.conf"), "w") as f:
            f.write(site)
        d = self.dir
        with open(os.path.join(d, "nginx.conf"), "w") as f:
            f.write("pid %s/nginx.pid;\nerror_log %s/error.log;\nworker_processes 1;\n"
                    "events { worker_connections 128; }\n"
                    "http {\n  access_log %s/access.log;\n  client_body_temp_path %s/client_body;\n"
                    "  proxy_temp_path %s/proxy;\n  fastcgi_temp_path %s/fastcgi;\n  uwsgi_temp_path %s/uwsgi;\n"
                    "  scgi_temp_path %s/scgi;\n  include %s/site.conf;\n}\n" % ((d,) * 9))
        self.proc = subprocess.Popen(["nginx", "-p", d, "-c", os.path.join(d, "nginx.conf"), "-g", "daemon off;"],
                                     stderr=subprocess.PIPE, text=True)
        if not wait_until(self.listening, 10):
            self.stop()
            raise RuntimeError("nginx did not start: " + self.errors)

    def listening(self):
        try:
            request(self.port, "127.0.0.1", "GET", "/style.css")
            return True
        except OSError:
            return self.proc.poll() is None and False

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGQUIT)
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.errors = self.proc.stderr.read()
        self.proc.stderr.close()
        shutil.rmtree(self.dir, ignore_errors=True)


def unit_arguments():
    """rodeo-site's options as the systemd unit starts it, less the address and the store."""
    with open(os.path.join(DEPLOY, "rodeo-site.service")) as f:
        line = next(l for l in f if l.startswith("ExecStart="))
    args = shlex.split(line[len("ExecStart="):])[1:]
    out = []
    while args:
        a = args.pop(0)
        if a in ("--listen", "--db"):
            args.pop(0)
        else:
            out.append(a)
    return out


class ProxyTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="rodeo-site-proxy-")
        cls.site = SiteServer(SITE, "sqlite:" + os.path.join(cls.tmp, "site.db"), *unit_arguments(),
                              "--registrations-per-minute", str(PER_MINUTE),
                              "--pretend-time", str(WEDNESDAY_NOON_JST)).start()
        cls.proxies = []
        try:
            cls.one = cls.started(Nginx(cls.site.port))
            # Two proxies: the outer one forwards to an inner one that believes it.
            cls.inner = cls.started(Nginx(cls.site.port, real_ip_from="127.0.0.1"))
            cls.outer = cls.started(Nginx(cls.inner.port))
        except Exception:
            cls.tearDownClass()
            raise

    @classmethod
    def started(cls, proxy):
        cls.proxies.append(proxy)
        return proxy

    @classmethod
    def tearDownClass(cls):
        for p in cls.proxies:
            p.stop()
        cls.errors = cls.site.stop()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def assertLimitedOnItsOwn(self, port, client, other, first_installation, forge=None):
        """`client` gets its share and then the site's 429; `other` is still served."""
        for i in range(PER_MINUTE):
            forged = forge(i) if forge else None
            self.assertEqual(register(port, client, first_installation + i, forged)[0], 303, client)
        status, body = register(port, client, first_installation + 10, forge(99) if forge else None)
        self.assertEqual(status, 429, body)
        self.assertIn("しばらくお待ちください", body, "the site's own limit, not the proxy's")
        if other:
            self.assertEqual(register(port, other, first_installation + 20)[0], 303, other)

    def test_through_one_proxy(self):
        self.assertLimitedOnItsOwn(self.one.port, "127.0.0.11", "127.0.0.12", 1100)
        # The access log names the client as the site trusts it, not the proxy.
        self.assertTrue(wait_until(lambda: " 127.0.0.11 POST " in self.site.access_log(), 10))

    def test_through_two_proxies(self):
        self.assertLimitedOnItsOwn(self.outer.port, "127.0.0.21", "127.0.0.22", 1200)

    def test_forged_address_through_the_proxy(self):
        self.assertLimitedOnItsOwn(self.one.port, "127.0.0.31", "127.0.0.32", 1300,
                                   forge=lambda i: "198.51.100.%d" % (i + 1))

    def test_origin_through_the_proxy(self):
        # The form's page was the proxy's: the Host it passes on, port included, matches.
        own = "http://127.0.0.1:%d" % self.one.port
        self.assertEqual(register(self.one.port, "127.0.0.51", 1500, origin=own)[0], 303)
        status, body = register(self.one.port, "127.0.0.52", 1510, origin="http://elsewhere.example")
        self.assertEqual(status, 403, body)

    def test_forged_address_without_the_proxy(self):
        # Straight to the site, a new made-up address each time: still one client.
        self.assertLimitedOnItsOwn(self.site.port, "127.0.0.41", None, 1400,
                                   forge=lambda i: "127.0.0.%d" % (100 + i))
        self.assertTrue(wait_until(lambda: " 127.0.0.41 POST " in self.site.access_log(), 10))
        self.assertNotIn(" 127.0.0.100 ", self.site.access_log())
        # Nor can it spend another client's share by naming it.
        for i in range(PER_MINUTE + 1):
            register(self.site.port, "127.0.0.43", 1450 + i, "127.0.0.44")
        self.assertEqual(register(self.one.port, "127.0.0.44", 1460)[0], 303)


def main():
    ok = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result.wasSuccessful()
    if ProxyTest.errors:
        print("rodeo-site reported errors:\n" + ProxyTest.errors)
        ok = False
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
