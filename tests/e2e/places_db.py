"""places.sqlite as Firefox 3.6 and 45 write it, made and read back with Python's sqlite3.

Each holds a bookmarked page, a keyword's page, pages visited only, a download (its visit, and
from 26 on its annotations), typed input and icons. After the history and the downloads are
cleared, only the bookmark's and the keyword's pages may stay, with every bookmark as it was.
"""

import sqlite3

COMMON = """
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
  parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT,
  dateAdded INTEGER, lastModified INTEGER);
CREATE TABLE moz_favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR UNIQUE, data BLOB,
  mime_type VARCHAR(32), expiration LONG);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL,
  anno_attribute_id INTEGER, mime_type VARCHAR(32) DEFAULT NULL, content LONGVARCHAR,
  flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
  dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL,
  use_count INTEGER, PRIMARY KEY (place_id, input));
CREATE INDEX moz_places_hostindex ON moz_places (rev_host);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
"""

PLACES = """CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,
  rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL,
  typed INTEGER DEFAULT 0 NOT NULL, favicon_id INTEGER, frecency INTEGER DEFAULT -1 NOT NULL,
  last_visit_date INTEGER%s);"""

SCHEMAS = {
    "3.6": PLACES % "" + """
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE);
""" + COMMON,
    "45": PLACES % ", guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL" + """
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE,
  place_id INTEGER, post_data TEXT);
CREATE TABLE moz_hosts (id INTEGER PRIMARY KEY, host TEXT NOT NULL UNIQUE, frecency INTEGER,
  typed INTEGER NOT NULL DEFAULT 0, prefix TEXT);
""" + COMMON,
}

ROWS = """
INSERT INTO moz_favicons (id, url) VALUES (1, 'http://www.kept.example/favicon.ico'),
  (2, 'http://visited.example/favicon.ico');
INSERT INTO moz_places (id, url, rev_host, visit_count, typed, favicon_id) VALUES
  (1, 'http://www.kept.example/', 'elpmaxe.tpek.www.', 1, 1, 1),
  (2, 'http://kw.example/?q=%s', 'elpmaxe.wk.', 0, 0, NULL),
  (3, 'http://dl.example/setup.exe', 'elpmaxe.ld.', 0, 0, NULL);
WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 1500)
  INSERT INTO moz_places (id, url, rev_host, visit_count, favicon_id)
  SELECT i, 'http://visited.example/page' || i, 'elpmaxe.detisiv.', 2, 2 FROM n;
WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 1500)
  INSERT INTO moz_historyvisits (place_id, visit_date, visit_type)
  SELECT i, 1300000000000000 + i, 1 FROM n UNION ALL SELECT i, 1300000000000001 + i, 2 FROM n;
INSERT INTO moz_historyvisits (place_id, visit_date, visit_type) VALUES
  (1, 1300000000000000, 2), (3, 1300000000000000, 7);
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title) VALUES
  (1, 2, NULL, 0, 0, ''), (2, 2, NULL, 1, 0, 'Bookmarks Menu'), (3, 1, 1, 2, 0, 'Kept'),
  (4, 1, 2, 2, 1, 'Search');
INSERT INTO moz_anno_attributes (id, name) VALUES (1, 'downloads/destinationFileURI');
INSERT INTO moz_annos (place_id, anno_attribute_id, content) VALUES
  (3, 1, 'file:///C:/setup.exe');
INSERT INTO moz_inputhistory (place_id, input, use_count) VALUES (1, 'kep', 1), (4, 'vis', 1);
"""

KEYWORDS = {
    "3.6": "INSERT INTO moz_keywords (id, keyword) VALUES (1, 'kw');"
           "UPDATE moz_bookmarks SET keyword_id = 1 WHERE id = 4;",
    "45": "INSERT INTO moz_keywords (id, keyword, place_id) VALUES (1, 'kw', 2);"
          "UPDATE moz_places SET foreign_count = 1 WHERE id IN (1, 2);"
          "INSERT INTO moz_hosts (host) VALUES ('kept.example'), ('visited.example');",
}


def make(path, version):
    """Writes the database of that version at path. 45 keeps it in write-ahead-log mode, as
    Firefox 4 on does: SQLite then works through places.sqlite-wal and -shm beside it."""
    db = sqlite3.connect(path)
    db.executescript(SCHEMAS[version] + ROWS + KEYWORDS[version])
    if version == "45":
        db.execute("PRAGMA journal_mode=WAL")
    db.commit()
    db.close()


def ask(path, query):
    """The rows of a query, read without changing the file."""
    db = sqlite3.connect("file:%s?immutable=1" % path, uri=True)
    try:
        return db.execute(query).fetchall()
    finally:
        db.close()


BOOKMARKS = "SELECT id, type, fk, parent, position, title, keyword_id FROM moz_bookmarks"


def cleared_problems(path, bookmarks):
    """What is wrong with a places.sqlite whose history and downloads were both cleared."""
    problems = []
    if ask(path, "PRAGMA integrity_check") != [("ok",)]:
        problems.append("integrity check: %s" % ask(path, "PRAGMA integrity_check"))
    if ask(path, BOOKMARKS) != bookmarks:
        problems.append("bookmarks changed")
    for query, expected in (
            ("SELECT id FROM moz_places ORDER BY id", [(1,), (2,)]),
            ("SELECT count(*) FROM moz_historyvisits", [(0,)]),
            ("SELECT count(*) FROM moz_annos", [(0,)]),
            ("SELECT count(*) FROM moz_inputhistory", [(0,)]),
            ("SELECT id FROM moz_favicons", [(1,)])):
        found = ask(path, query)
        if found != expected:
            problems.append("%s: %s, not %s" % (query, found, expected))
    return problems
