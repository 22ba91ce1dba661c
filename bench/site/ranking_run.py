"""The ranking page at 1,000 and 1,000,000 entries in one period, before and after
kept counts, on SQLite and on PostgreSQL (a throw-away server of its own): each
store is filled in one transaction in the old tables, the old site serves it, then
the new site migrates it and serves it. Three page kinds: the first page, a deep
page (the middle one) and a player's page (`me=`, the page opened at "your row").
Loopback only, each measure bounded in seconds.

    ranking_run.py OLD_SITE NEW_SITE FILL_STORE PAGE_LOAD [SECONDS]
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "site"))
from sitefixture import Postgres, SiteServer  # noqa: E402

OLD, NEW, FILL, LOAD = sys.argv[1:5]
SECONDS = sys.argv[5] if len(sys.argv) > 5 else "3"
SIZES = [1000, 1000000]
CONNECTIONS = "4"
KINDS = ["first page", "deep page", "your row"]


def paths(size):
    pages = (size + 49) // 50
    players = [size * k // 7 + 1 for k in range(1, 7)]  # spread over the ranking
    return {
        "first page": ["/ranking?period=all"],
        "deep page": ["/ranking?period=all&page=%d" % max(1, pages // 2)],
        "your row": ["/ranking?period=all&me=%d" % p for p in players],
    }


def measure(site_binary, db, size):
    started = time.time()
    site = SiteServer(site_binary, db, "--threads", "8", access_log=site_binary != OLD).start()
    startup = time.time() - started
    try:
        out = {}
        for kind, ps in paths(size).items():
            line = subprocess.run([LOAD, str(site.port), SECONDS, CONNECTIONS] + ps, check=True,
                                  stdout=subprocess.PIPE, text=True).stdout.split()
            out[kind] = dict(zip(["requests", "errors", "rps", "p50", "p99"], line))
        return out, startup
    finally:
        site.stop()


def run_store(name, new_db):
    results = {}
    for size in SIZES:
        db = new_db()
        t = time.time()
        subprocess.run([FILL, db, str(size)], check=True)
        fill = time.time() - t
        before, _ = measure(OLD, db, size)
        after, migrate = measure(NEW, db, size)  # its start migrates the store
        results[size] = (before, after)
        print("%s, %d entries: filled in %.1f s, the new site started (migration included) in %.1f s"
              % (name, size, fill, migrate), flush=True)
    return results


def main():
    tmp = tempfile.mkdtemp(prefix="rodeo-ranking-bench-")
    counter = iter(range(100))
    all_results = {}
    try:
        all_results["SQLite"] = run_store("SQLite", lambda: "sqlite:%s/s%d.db" % (tmp, next(counter)))
        pg = Postgres().start()
        try:
            all_results["PostgreSQL"] = run_store("PostgreSQL", pg.new_database)
        finally:
            pg.stop()
    finally:
        shutil.rmtree(tmp, ignore_errors=True)

    print()
    print("ranking page on 127.0.0.1: %s s per measure, %s connections, 8 server threads" % (SECONDS, CONNECTIONS))
    print("%-11s %-11s %9s | %10s %9s | %10s %9s" % ("store", "page", "entries", "before r/s", "p99 ms",
                                                    "after r/s", "p99 ms"))
    for store, results in all_results.items():
        for kind in KINDS:
            for size in SIZES:
                b, a = results[size][0][kind], results[size][1][kind]
                errors = "" if b["errors"] == a["errors"] == "0" else "  errors %s/%s" % (b["errors"], a["errors"])
                print("%-11s %-11s %9d | %10s %9s | %10s %9s%s" % (store, kind, size, b["rps"], b["p99"], a["rps"],
                                                                   a["p99"], errors))
    print()
    print("req/s at 1,000,000 entries as a share of req/s at 1,000 (goal: at least 50%)")
    for store, results in all_results.items():
        for kind in KINDS:
            share = [float(results[SIZES[1]][i][kind]["rps"]) / max(0.1, float(results[SIZES[0]][i][kind]["rps"]))
                     for i in (0, 1)]
            print("%-11s %-11s before %5.1f%%   after %5.1f%%" % (store, kind, 100 * share[0], 100 * share[1]))


if __name__ == "__main__":
    main()
