"""places.sqlite of Firefox 3.0 and 45, made from tests/data/places (the SQL the unit tests
make theirs from, its pages described there) with Python's sqlite3, and read back.

After the history and the downloads are both cleared, only the bookmark's and the keyword's
pages may stay (and in 45 the one it counts as used elsewhere), with every bookmark as it was.
"""

import os
import sqlite3

from browser_db import ask

DATA = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "data",
                    "places")
BOOKMARKS = "SELECT id, type, fk, parent, position, title, keyword_id FROM moz_bookmarks"
LEFT_PAGES = {"3": [(1,), (5,)], "45": [(1,), (5,), (7,)]}


def script(version, more=""):
    parts = ("firefox-%s-tables.sql" % version, "pages.sql", "firefox-%s-pages.sql" % version)
    text = ""
    for part in parts:
        with open(os.path.join(DATA, part), encoding="utf-8") as f:
            text += f.read()
    return text + more


def make(path, version, more=""):
    """Writes the database of that version at path, with the SQL more run after. 45 keeps it
    in write-ahead-log mode, as Firefox 4 on does: SQLite then works through places.sqlite-wal
    and -shm beside it."""
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.executescript(script(version, more))
    if version == "45":
        db.execute("PRAGMA journal_mode=WAL")
    db.commit()
    db.close()


def cleared_problems(path, version):
    """What is wrong with a places.sqlite of that version whose history and downloads were
    both cleared."""
    made = sqlite3.connect(":memory:")
    made.executescript(script(version))
    bookmarks = made.execute(BOOKMARKS).fetchall()
    made.close()
    problems = []
    for query, expected in (
            ("PRAGMA integrity_check", [("ok",)]),
            (BOOKMARKS, bookmarks),
            ("SELECT id FROM moz_places ORDER BY id", LEFT_PAGES[version]),
            ("SELECT count(*) FROM moz_historyvisits", [(0,)]),
            ("SELECT id FROM moz_annos", [(5,)]),  # the bookmarked page's own
            ("SELECT count(*) FROM moz_inputhistory", [(0,)]),
            ("SELECT id FROM moz_favicons", [(1,)])):
        found = ask(path, query)
        if found != expected:
            problems.append("%s: %s, not %s" % (query, found, expected))
    return problems
