"""What clearing a large Firefox history costs olvex.exe under Wine. Not a test: it prints
figures and judges them against the aim.

    python3 tests/bench/places_bench.py [--runs N] [--pages N]

A winxp prefix with one Firefox 45 profile. Each round plants afresh a places.sqlite of Firefox
45 (places_db, in write-ahead-log mode) with the benchmarks' large history of
tests/data/places/history-bulk.sql: 5,000 bookmarked pages and --pages pages visited twice
(100,000 visits by default), and times `olvex /clean firefox-history`; afterwards every bookmark
must be there, no visit left but the downloads', and SQLite must find the file whole. Aim: under a few seconds
(3 s). Its memory, and the time natively, are measured by build/bench/tests/bench/places_sql.
"""

import argparse
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

import browsers  # noqa: E402
import harness  # noqa: E402
import places_db  # noqa: E402
from sweep_bench import judged  # noqa: E402

AIM_S = 3.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--pages", type=int, default=50000)
    args = parser.parse_args()
    with open(os.path.join(places_db.DATA, "history-bulk.sql"), encoding="utf-8") as f:
        bulk = f.read().replace("PAGES", str(args.pages))
    with harness.Scenario("winxp") as s:
        firefox = browsers.user_folder(s) + "/AppData/Roaming/Mozilla/Firefox"
        s.make_dir("Program Files/Mozilla Firefox")
        s.make_file(firefox + "/profiles.ini", "[Profile0]\r\nPath=Profiles/b.bench\r\n")
        s.make_dir(firefox + "/Profiles/b.bench")
        places = s.path(firefox + "/Profiles/b.bench/places.sqlite")
        s.install(harness.console_path())
        seconds = []
        for r in range(args.runs):
            places_db.make(places, "45", bulk)
            started = time.monotonic()
            code, _, err = s.wine(harness.WIN_CONSOLE, "/clean", "firefox-history",
                                  check=False, timeout=600)
            seconds.append(time.monotonic() - started)
            if code != 0:
                raise AssertionError("olvex exited with %s: %s" % (code, err))
            for query, expected in (("PRAGMA integrity_check", [("ok",)]),
                                    # the two downloads' visits of the base pages stay
                                    ("SELECT count(*) FROM moz_historyvisits", [(2,)]),
                                    ("SELECT count(*) FROM moz_bookmarks", [(5002,)])):
                if places_db.ask(places, query) != expected:
                    raise AssertionError("after the clean, %s: %s" % (query,
                                                                      places_db.ask(places, query)))
            print("  round %d: %.2f s" % (r + 1, seconds[-1]))
        median = statistics.median(seconds)
        print(judged("history of %d visits, median" % (2 * args.pages), "%.2f s" % median,
                     "%.1f s" % AIM_S, median < AIM_S))


if __name__ == "__main__":
    main()
