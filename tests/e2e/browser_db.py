"""The browsers' databases, made from tests/data (the SQL the unit tests make theirs from) with
Python's sqlite3, and read back: Chrome 49's four, and Firefox 45's cookies.sqlite."""

import os
import sqlite3

DATA = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "data")
# file name in the profile: (SQL file, a query that counts each table a category clears)
DATABASES = {
    "Cookies": ("chrome/cookies.sql", "SELECT 'cookies', count(*) FROM cookies"),
    "History": ("chrome/history.sql", "SELECT 'urls', count(*) FROM urls UNION ALL "
                "SELECT 'visits', count(*) FROM visits UNION ALL "
                "SELECT 'downloads', count(*) FROM downloads UNION ALL "
                "SELECT 'chains', count(*) FROM downloads_url_chains"),
    "Login Data": ("chrome/login-data.sql", "SELECT 'logins', count(*) FROM logins"),
    "Web Data": ("chrome/web-data.sql", "SELECT 'autofill', count(*) FROM autofill UNION ALL "
                 "SELECT 'engines', count(*) FROM keywords"),
}
FULL = {"cookies": 5, "urls": 3, "visits": 4, "downloads": 1, "chains": 2, "logins": 2,
        "autofill": 2, "engines": 1}
# What every category of Chrome leaves: the search engines only.
CLEARED = dict.fromkeys(FULL, 0) | {"engines": 1}


def make_from(path, script):
    """The database at path, made anew by the SQL file script of tests/data."""
    if os.path.exists(path):
        os.remove(path)
    with open(os.path.join(DATA, script), encoding="utf-8") as f:
        text = f.read()
    db = sqlite3.connect(path)
    db.executescript(text)
    db.commit()
    db.close()


def ask(path, query):
    """The rows of a query, read without changing the file."""
    db = sqlite3.connect("file:%s?immutable=1" % path, uri=True)
    try:
        return db.execute(query).fetchall()
    finally:
        db.close()


def make(folder):
    """Chrome's four databases in the profile folder."""
    for name, (script, _) in DATABASES.items():
        make_from(os.path.join(folder, name), script)


def census(folder):
    """The rows of each table in the profile's databases, read without changing them, and
    "integrity" for any that SQLite does not find whole."""
    rows = {}
    for name, (_, query) in DATABASES.items():
        db = sqlite3.connect("file:%s?immutable=1" % os.path.join(folder, name), uri=True)
        try:
            if db.execute("PRAGMA integrity_check").fetchall() != [("ok",)]:
                rows["integrity"] = name
            rows.update(dict(db.execute(query).fetchall()))
        finally:
            db.close()
    return rows


def cookie_hosts(folder):
    """The hosts of the Chrome profile's cookies, sorted."""
    return [h for (h,) in ask(os.path.join(folder, "Cookies"),
                              "SELECT host_key FROM cookies ORDER BY host_key")]
