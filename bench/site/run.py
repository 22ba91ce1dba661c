"""Loads rodeo-site on SQLite and on PostgreSQL (a throw-away server of its own),
loopback only, each phase bounded in requests and seconds, and prints a table:
requests per second and p50/p99 latency for registrations, the submission page
and the ranking page.

    run.py RODEO_SITE SITE_LOAD [REQUESTS [CONNECTIONS [SECONDS]]]
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "site"))
from sitefixture import Postgres, SiteServer  # noqa: E402

SITE, LOAD = sys.argv[1], sys.argv[2]
REQUESTS = sys.argv[3] if len(sys.argv) > 3 else "3000"
CONNECTIONS = sys.argv[4] if len(sys.argv) > 4 else "8"
SECONDS = sys.argv[5] if len(sys.argv) > 5 else "15"
PHASES = ["register", "submission", "page"]  # registrations first: the pages then have entries


def measure(db):
    site = SiteServer(SITE, db, "--registrations-per-minute", "1000000", "--threads", "8").start()
    try:
        out = {}
        for phase in PHASES:
            line = subprocess.run([LOAD, str(site.port), phase, REQUESTS, CONNECTIONS, SECONDS], check=True,
                                  stdout=subprocess.PIPE, text=True).stdout.split()
            out[phase] = dict(zip(["requests", "errors", "rps", "p50", "p99"], line[1:]))
        return out
    finally:
        site.stop()


def main():
    tmp = tempfile.mkdtemp(prefix="rodeo-site-bench-")
    results = {"SQLite": measure("sqlite:" + os.path.join(tmp, "bench.db"))}
    pg = Postgres().start()
    try:
        results["PostgreSQL"] = measure(pg.new_database())
    finally:
        pg.stop()
    print("rodeo-site on 127.0.0.1: %s requests or %s s per phase, %s connections, 8 server threads"
          % (REQUESTS, SECONDS, CONNECTIONS))
    print("%-12s %-11s %9s %7s %9s %9s %9s" % ("phase", "store", "requests", "errors", "req/s", "p50 ms", "p99 ms"))
    for phase in PHASES:
        for store, r in results.items():
            p = r[phase]
            print("%-12s %-11s %9s %7s %9s %9s %9s" % (phase, store, p["requests"], p["errors"], p["rps"],
                                                        p["p50"], p["p99"]))


if __name__ == "__main__":
    main()
