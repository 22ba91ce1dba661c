"""Runs a store test program against a PostgreSQL server of its own: starts the
server, makes a database, and passes its address in RODEO_SITE_TEST_DB.

    store_on_postgres.py PROGRAM [ARGS...]
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sitefixture import Postgres  # noqa: E402


def main():
    pg = Postgres().start()
    try:
        env = dict(os.environ, RODEO_SITE_TEST_DB=pg.new_database())
        return subprocess.run(sys.argv[1:], env=env).returncode
    finally:
        pg.stop()


if __name__ == "__main__":
    sys.exit(main())
