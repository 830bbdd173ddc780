"""The files of Firefox 3 to 52 go with their categories, in olvex and in the Firefox
window, and nothing of a running Firefox's profile is touched.

    python3 tests/e2e/firefox_later.py VERSION      (winxp win2k)

Firefox: profiles.ini lists three profiles of later versions, each with its cache in the local
part: `old` as 3.6 leaves it (Cache with sub-folders, signons.sqlite, downloads.sqlite, a
cookies.sqlite with its rollback journal), `new` as 45 does (cache2 and startupCache,
cookies.sqlite with -wal and -shm, logins.json, formhistory.sqlite), and `busy`, whose
Firefox runs: the driver holds its parent.lock shared with nobody. Every profile also holds
key3.db, permissions.sqlite and prefs.js, which no category takes, and a places.sqlite with
the tables of 3.0 (`old`) or 45 (places_db), 45's in write-ahead-log mode. Two links lead out of the prefix: `old`'s
logins.json to a file, a folder in `new`'s cache2 to a folder.
1. olvex previews the history and the downloads: it counts rows in both places.sqlite and
   changes no byte of any file of any profile.
2. olvex cleans the six Firefox categories: each later file is gone, the three others stay,
   `busy` keeps everything and each of its rows is refused with "Firefox is running" (exit 1),
   and what the links lead to is untouched. Inside both places.sqlite only the bookmark's and
   the keyword's pages stay, every bookmark as it was, and SQLite finds them whole; no
   write-ahead log is left beside them.
3. The Firefox window, every box ticked and both questions answered Yes, on `new` seeded
   afresh: the same files go, and its parent.lock, which nobody holds, stays. `old`'s history
   is cleared again from a fresh places.sqlite; `new`'s places.sqlite-journal is a link out of
   the prefix, so its places.sqlite stays byte for byte, and the file the link leads to too.
"""

import hashlib
import os

import browsers
import cleaning_kit as kit
import harness
import places_db

FIREFOX_IDS = ["firefox-cache", "firefox-cookies", "firefox-passwords", "firefox-forms",
               "firefox-history", "firefox-downloads"]
PROFILES_INI = ("[General]\r\nStartWithLastProfile=1\r\n\r\n"
                "[Profile0]\r\nName=old\r\nIsRelative=1\r\nPath=Profiles/o1d.old\r\n\r\n"
                "[Profile1]\r\nName=new\r\nIsRelative=1\r\nPath=Profiles/n3w.new\r\n\r\n"
                "[Profile2]\r\nName=busy\r\nIsRelative=1\r\nPath=Profiles/b5y.busy\r\n")
KEPT = ["key3.db", "permissions.sqlite", "prefs.js"]
PLACES_VERSION = {"o1d.old": "3", "n3w.new": "45", "b5y.busy": "45"}
# profile: (files in the profile that go, files in its local part that go)
GOING = {
    "o1d.old": (["cookies.sqlite", "cookies.sqlite-journal", "signons.sqlite",
                 "downloads.sqlite", "formhistory.sqlite"],
                ["Cache/_CACHE_MAP_", "Cache/0/AB/CDEF01d01", "OfflineCache/index.sqlite"]),
    "n3w.new": (["cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite-shm", "logins.json",
                 "formhistory.sqlite"],
                ["cache2/entries/0123ABCD", "cache2/index", "startupCache/startupCache.4.little"]),
}
BUSY = "b5y.busy"


def roots(s):
    home = browsers.user_folder(s)
    return (home + "/AppData/Roaming/Mozilla/Firefox/Profiles/",
            home + "/AppData/Local/Mozilla/Firefox/Profiles/")


def places(s, profile):
    return s.path(roots(s)[0] + profile + "/places.sqlite")


def seed_places(s, profile):
    places_db.make(places(s, profile), PLACES_VERSION[profile])


def seed_profile(s, name, going):
    roaming, local = roots(s)
    files, cached = going
    for item in files + KEPT:
        s.make_file(roaming + name + "/" + item, "data of " + item)
    for item in cached:
        s.make_file(local + name + "/" + item, "cached")
    seed_places(s, name)


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def fingerprint(s):
    """Every file under the profiles, roaming and local, with a digest of its bytes."""
    return {os.path.join(folder, name): digest(os.path.join(folder, name))
            for root in roots(s) for folder, _, names in os.walk(s.path(root))
            for name in names if not os.path.islink(os.path.join(folder, name))}


def console_preview(s, checks):
    before = fingerprint(s)
    code, text, err = kit.olvex(s, "/preview", "firefox-history", "firefox-downloads",
                                "/details")
    checks.equal(code, 0, "olvex /preview exit code: " + err)
    checks.equal(fingerprint(s) == before, True, "the preview changed no byte of any profile")
    for profile in ("o1d.old", "n3w.new"):
        counted = [line for line in text.splitlines()
                   if "would clear" in line and profile + "\\places.sqlite" in line
                   and " rows)" in line and "(0 rows)" not in line]
        checks.equal(len(counted), 2, "history and downloads count rows of %s:\n%s"
                     % (profile, text))


def seed(s):
    roaming, local = roots(s)
    s.make_dir("Program Files/Mozilla Firefox")
    s.make_file(roaming[:-len("Profiles/")] + "profiles.ini", PROFILES_INI)
    for name, going in GOING.items():
        seed_profile(s, name, going)
    seed_profile(s, BUSY, GOING["n3w.new"])
    # The links, and what they lead to, which must survive.
    outside_file = s.make_link_outside(roaming + "o1d.old/logins.json", "logins.json",
                                       content="someone's passwords\n")
    outside_folder = s.make_link_outside(local + "n3w.new/cache2/doomed", "doomed")
    with open(os.path.join(outside_folder, "precious.bin"), "w") as f:
        f.write("outside\n")
    return outside_file, os.path.join(outside_folder, "precious.bin")


def left(s, profile, names, local=False):
    """Those of names that are still in the profile (or its local part)."""
    roaming, local_root = roots(s)
    folder = (local_root if local else roaming) + profile + "/"
    return [n for n in names if os.path.lexists(s.path(folder + n))]


def check_cleaned(s, checks, profile, when):
    files, cached = GOING[profile]
    checks.equal(left(s, profile, files), [], "%s: files of %s left" % (when, profile))
    checks.equal(left(s, profile, cached, local=True), [],
                 "%s: cache of %s left" % (when, profile))
    checks.equal(left(s, profile, KEPT), KEPT, "%s: what no category takes in %s" % (when, profile))


def console_clean(s, checks, outside):
    busy_places = digest(places(s, BUSY))
    s.hold("C:\\" + roots(s)[0].replace("/", "\\") + BUSY + "\\parent.lock", 60000, shut=True)
    code, text, err = kit.olvex(s, "/clean", *FIREFOX_IDS, "/details")
    checks.equal(code, 1, "olvex exit code (a running Firefox leaves its files): " + err)
    check_cleaned(s, checks, "n3w.new", "olvex")
    files, cached = GOING["o1d.old"]
    checks.equal(left(s, "o1d.old", files + ["logins.json"]), ["logins.json"],
                 "olvex: files of o1d.old left (its logins.json is a link)")
    checks.equal(left(s, "o1d.old", cached, local=True), [], "olvex: cache of o1d.old left")
    files, cached = GOING["n3w.new"]
    checks.equal(left(s, BUSY, files + KEPT), files + KEPT, "olvex: files of the running Firefox")
    checks.equal(left(s, BUSY, cached, local=True), cached, "olvex: cache of the running Firefox")
    refusals = [line for line in text.splitlines() if BUSY in line and "Firefox is running" in line]
    checks.equal(len(refusals) >= len(FIREFOX_IDS), True,
                 "each category refuses the running Firefox's rows:\n" + text)
    for profile in ("o1d.old", "n3w.new"):
        checks.equal(places_db.cleared_problems(places(s, profile), PLACES_VERSION[profile]), [],
                     "olvex: places.sqlite of " + profile)
        checks.equal(left(s, profile, ["places.sqlite-wal", "places.sqlite-shm",
                                       "places.sqlite-journal"]), [],
                     "olvex: SQLite's files beside places.sqlite of " + profile)
    checks.equal(digest(places(s, BUSY)), busy_places, "the running Firefox's places")
    for path in outside:
        checks.equal(os.path.exists(path), True, "outside the prefix: " + path)


def window_clean(s, checks):
    seed_profile(s, "n3w.new", GOING["n3w.new"])
    seed_places(s, "o1d.old")
    journal = s.make_link_outside(roots(s)[0] + "n3w.new/places.sqlite-journal", "journal",
                                  content="someone's journal\n")
    linked_places = digest(places(s, "n3w.new"))
    s.make_file(roots(s)[0] + "n3w.new/parent.lock", "")
    s.start()
    s.driver("wait-visible", "Form1", "--", "menu", "Form1", "mnuFirefox", "--",
             "wait-visible", "Form3")
    browsers.select_all(s, checks, "Form3")
    s.driver("click", "Form3", "Command1")
    s.driver("answer", browsers.QUESTION, "yes")
    browsers.done_text(s, checks, "winxp")
    check_cleaned(s, checks, "n3w.new", "the window")
    checks.equal(left(s, "n3w.new", ["parent.lock"]), ["parent.lock"], "a lock nobody holds")
    checks.equal(places_db.cleared_problems(places(s, "o1d.old"), "3"), [],
                 "the window: places.sqlite of o1d.old")
    checks.equal(digest(places(s, "n3w.new")), linked_places,
                 "the window: a places.sqlite whose journal is a link stays as it was")
    with open(journal) as f:
        checks.equal(f.read(), "someone's journal\n", "outside the prefix: " + journal)


def firefox(version):
    with harness.Scenario(version) as s:
        checks = harness.Checks("Firefox 3 to 52 on %s" % version, s)
        outside = seed(s)
        s.install(harness.console_path())
        console_preview(s, checks)
        console_clean(s, checks, outside)
        window_clean(s, checks)
        checks.finish()


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win2k"):
        raise harness.HarnessError("usage: firefox_later.py winxp|win2k")
    firefox(argv[0])


if __name__ == "__main__":
    harness.main_of(scenario)
