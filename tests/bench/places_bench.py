"""What clearing a large Firefox history costs olvex.exe under Wine, in time and memory. Not a
test: it prints figures and judges them against the aims below.

    python3 tests/bench/places_bench.py [--runs N]

A winxp prefix with one Firefox 45 profile. Each round plants afresh:
  history  a places.sqlite (places_db's tables, in write-ahead-log mode) of 5,000 bookmarked
           pages and --pages visited-only pages with two visits each (100,000 visits by
           default), timed for `olvex /clean firefox-history`. Afterwards the bookmarks must be
           all there, no visit left, and SQLite must find the file whole.
  cookies  a cookies.sqlite of 10,000 rows, timed for `olvex /clean firefox-cookies`.
  memory   the same history with a tenth of the pages: the peak resident memory of olvex.exe
           for both sizes (console_bench's peak_of_run), which must not grow with the rows.
Aims: each clean under a few seconds under Wine (3 s), and the larger history's peak within
4 MB of the smaller's. The SQL alone, natively, is timed by build/native/tests/bench/
places_sql (aim: under a second).
"""

import argparse
import os
import sqlite3
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

import browsers  # noqa: E402
import harness  # noqa: E402
import places_db  # noqa: E402
from console_bench import peak_of_run  # noqa: E402
from sweep_bench import judged  # noqa: E402

PROFILES_INI = "[Profile0]\r\nName=b\r\nIsRelative=1\r\nPath=Profiles/b.bench\r\n"
BOOKMARKS = 5000
TIME_AIM_S = 3.0
MEMORY_AIM_KB = 4096


def profile(s):
    home = browsers.user_folder(s) + "/AppData/Roaming/Mozilla/Firefox"
    return s.path(home + "/Profiles/b.bench"), s.path(home)


def make_history(path, pages):
    """places.sqlite with BOOKMARKS bookmarked pages, then pages visited twice each."""
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.executescript(places_db.SCHEMAS["45"])
    db.execute("""WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)
        INSERT INTO moz_places (id, url, rev_host, visit_count, foreign_count)
        SELECT i, 'http://site' || (i % 500) || '.example/page' || i,
               'elpmaxe.' || (i % 500) || 'etis.', 2, i <= ? FROM n""",
               (BOOKMARKS + pages, BOOKMARKS))
    db.execute("""WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)
        INSERT INTO moz_bookmarks (type, fk, parent, position, title)
        SELECT 1, i, 1, i, 'bookmark ' || i FROM n""", (BOOKMARKS,))
    db.execute("""INSERT INTO moz_historyvisits (place_id, visit_date, visit_type)
        SELECT id, 1300000000000000 + id, 1 FROM moz_places WHERE id > ?
        UNION ALL SELECT id, 1300000000000001 + id, 2 FROM moz_places WHERE id > ?""",
               (BOOKMARKS, BOOKMARKS))
    db.execute("PRAGMA journal_mode=WAL")
    db.commit()
    db.close()


def make_cookies(path, rows):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute("CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, name TEXT, value TEXT, "
               "host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, isSecure INTEGER, "
               "isHttpOnly INTEGER)")
    db.execute("""WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?)
        INSERT INTO moz_cookies (name, value, host, path, expiry)
        SELECT 'c' || i, hex(randomblob(16)), '.site' || (i % 700) || '.example', '/',
               2000000000 FROM n""", (rows,))
    db.commit()
    db.close()


def check_history(path):
    problems = []
    if places_db.ask(path, "PRAGMA integrity_check") != [("ok",)]:
        problems.append("not whole")
    if places_db.ask(path, "SELECT count(*) FROM moz_bookmarks") != [(BOOKMARKS,)]:
        problems.append("bookmarks lost")
    if places_db.ask(path, "SELECT count(*) FROM moz_historyvisits") != [(0,)]:
        problems.append("visits left")
    if problems:
        raise AssertionError("after the clean: " + ", ".join(problems))


def timed(s, *args):
    started = time.monotonic()
    code, _, err = s.wine(harness.WIN_CONSOLE, *args, check=False, timeout=600)
    seconds = time.monotonic() - started
    if code != 0:
        raise AssertionError("olvex %s exited with %s: %s" % (" ".join(args), code, err))
    return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--pages", type=int, default=50000)
    args = parser.parse_args()
    with harness.Scenario("winxp") as s:
        folder, firefox = profile(s)
        os.makedirs(folder, exist_ok=True)
        os.makedirs(s.path("Program Files/Mozilla Firefox"), exist_ok=True)
        with open(os.path.join(firefox, "profiles.ini"), "w") as f:
            f.write(PROFILES_INI)
        s.install(harness.console_path())
        places = os.path.join(folder, "places.sqlite")
        history, cookies, startup = [], [], []
        for r in range(args.runs):
            make_history(places, args.pages)
            make_cookies(os.path.join(folder, "cookies.sqlite"), 10000)
            history.append(timed(s, "/clean", "firefox-history"))
            check_history(places)
            cookies.append(timed(s, "/clean", "firefox-cookies"))
            startup.append(timed(s, "/list"))
            print("  round %d: history %.2f s, cookies %.2f s (start-up %.2f s)"
                  % (r + 1, history[-1], cookies[-1], startup[-1]))
        peaks = {}
        for pages in (args.pages // 10, args.pages):
            make_history(places, pages)
            try:
                code, peak, _ = peak_of_run(s, ["/clean", "firefox-history"], s.path("out.txt"))
            except AssertionError as error:
                # Where 32-bit programs run under an emulator, the process is the emulator's.
                print("  memory not measured: %s" % error)
                break
            if code != 0:
                raise AssertionError("olvex exited with %s" % code)
            peaks[pages] = peak
            print("  %d visits: peak %d KB" % (2 * pages, peak))
        print(judged("history of %d visits, median" % (2 * args.pages),
                     "%.2f s" % statistics.median(history), "%.1f s" % TIME_AIM_S,
                     statistics.median(history) < TIME_AIM_S))
        print(judged("cookies of 10,000 rows, median", "%.2f s" % statistics.median(cookies),
                     "%.1f s" % TIME_AIM_S, statistics.median(cookies) < TIME_AIM_S))
        if len(peaks) < 2:
            return
        growth = peaks[args.pages] - peaks[args.pages // 10]
        print(judged("peak growth for ten times the visits", "%d KB" % growth,
                     "%d KB" % MEMORY_AIM_KB, growth < MEMORY_AIM_KB))


if __name__ == "__main__":
    main()
