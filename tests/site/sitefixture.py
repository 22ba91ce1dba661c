"""Starting rodeo-site and a throw-away PostgreSQL server for the tests and the
benchmark, and talking to the site over plain HTTP. Loopback only."""

import html
import http.client
import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import urllib.parse

PG_BIN = "/usr/lib/postgresql/15/bin"

# Wednesday 2026-12-09 12:00 in Japan (03:00 UTC).
WEDNESDAY_NOON_JST = 1796785200
DAY = 86400


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class SiteServer:
    """One rodeo-site process on a free loopback port."""

    def __init__(self, binary, db, *extra, access_log=True):
        # access_log=False: a build from before --access-log (the benchmarks' "before").
        self.binary, self.db, self.extra, self.with_access_log = binary, db, list(extra), access_log
        self.proc = None

    def start(self, *extra):
        # The access log goes to a file of its own, so that standard error holds errors only.
        self.log_file = tempfile.NamedTemporaryFile(prefix="rodeo-site-access-", suffix=".log", delete=False)
        self.log_file.close()
        args = [self.binary, "--listen", "127.0.0.1:0", "--db", self.db]
        if self.with_access_log:
            args += ["--access-log", self.log_file.name]
        args += self.extra + list(extra)
        # Errors go to a file, read when asked: a pipe nobody reads could stall the server.
        self.errors = tempfile.TemporaryFile(mode="w+")
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=self.errors, text=True)
        line = self.proc.stdout.readline()
        if "listening on" not in line:
            self.proc.wait()
            raise RuntimeError("rodeo-site did not start: %r %r" % (line, self.error_text()))
        self.port = int(line.split("http://127.0.0.1:")[1].split("/")[0])
        return self

    def error_text(self):
        self.errors.seek(0)
        return self.errors.read()

    def access_log(self):
        with open(self.log_file.name, encoding="utf-8", errors="replace") as f:
            return f.read()

    def stop(self):
        """Stops the server cleanly; returns what it wrote to its error output."""
        if not self.proc:
            return ""
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            self.proc.wait(timeout=15)
        errors = self.error_text()
        self._forget()
        return errors

    def kill9(self):
        self.proc.kill()
        self.proc.wait()
        self._forget()

    def _forget(self):
        if self.proc:
            self.proc.stdout.close()
            self.errors.close()
            os.unlink(self.log_file.name)
        self.proc = None

    # --- HTTP
    def request(self, method, path, body=None, headers=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=15)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            res = conn.getresponse()
            return res.status, dict(res.getheaders()), res.read().decode("utf-8", "replace")
        finally:
            conn.close()

    def get(self, path):
        return self.request("GET", path)

    def post_form(self, path, fields, headers=None):
        body = urllib.parse.urlencode(fields)
        h = {"Content-Type": "application/x-www-form-urlencoded"}
        h.update(headers or {})
        return self.request("POST", path, body=body, headers=h)

    def form_token(self, query):
        """The token of the form the site shows for a submission, as a browser gets it."""
        status, _, body = self.get("/cgi-bin/ranking/rdiv.cgi?" + query)
        found = re.search(r'name="t" value="([^"]*)"', body)
        return html.unescape(found.group(1)) if found else ""

    def register(self, query, name, headers=None):
        """Opens the submission's page and sends its form, as a browser does."""
        fields = {"z": query, "name": name, "t": self.form_token(query)}
        return self.post_form("/cgi-bin/ranking/rdiv.cgi", fields, headers)


def as_postgres_user(args, **kw):
    """PostgreSQL refuses to run as root: run its tools as the Debian package's user."""
    if os.geteuid() == 0:
        args = ["runuser", "-u", "postgres", "--"] + args
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kw)


class Postgres:
    """A PostgreSQL 15 server of its own in a temporary directory on a loopback port."""

    def start(self):
        self.dir = tempfile.mkdtemp(prefix="rodeo-site-pg-")
        if os.geteuid() == 0:
            shutil.chown(self.dir, "postgres", "postgres")
        self.data = os.path.join(self.dir, "data")
        self.port = free_port()
        as_postgres_user([PG_BIN + "/initdb", "-D", self.data, "-A", "trust", "-U", "postgres",
                          "-E", "UTF8", "--no-sync"])
        as_postgres_user([PG_BIN + "/pg_ctl", "-D", self.data, "-l", os.path.join(self.dir, "log"), "-w",
                          "-o", "-k %s -p %d -c listen_addresses=127.0.0.1 -c fsync=on" % (self.dir, self.port),
                          "start"])
        self.databases = 0
        return self

    def new_database(self):
        """A fresh, empty database; its address for --db."""
        self.databases += 1
        name = "site%d" % self.databases
        as_postgres_user(["psql", "-h", "127.0.0.1", "-p", str(self.port), "-U", "postgres", "-q",
                          "-c", "CREATE DATABASE %s" % name])
        return "postgresql://postgres@127.0.0.1:%d/%s" % (self.port, name)

    def pids(self):
        """The postmaster and every process it started."""
        with open(os.path.join(self.data, "postmaster.pid")) as f:
            postmaster = int(f.readline())
        pids = [postmaster]
        for entry in os.listdir("/proc"):
            if entry.isdigit():
                try:
                    with open("/proc/%s/stat" % entry) as f:
                        fields = f.read().rsplit(")", 1)[1].split()
                except OSError:
                    continue
                if int(fields[1]) == postmaster:
                    pids.append(int(entry))
        return pids

    def stop(self):
        try:
            as_postgres_user([PG_BIN + "/pg_ctl", "-D", self.data, "-m", "immediate", "stop"])
        finally:
            shutil.rmtree(self.dir, ignore_errors=True)


def make_submission(tool, ms, stamp0, stamp1, code=None, text=None):
    args = [tool, str(ms), str(stamp0), str(stamp1)]
    if code is not None:
        args.append(code)
        if text is not None:
            args.append(text)
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, text=True).stdout.strip()


def wait_until(predicate, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.05)
    return False
