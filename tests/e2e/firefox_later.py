"""The files of Firefox 3 to 52 go with their categories, in olvex and in the Firefox
window, and nothing of a running Firefox's profile is touched.

    python3 tests/e2e/firefox_later.py VERSION      (winxp win2k)

Firefox: profiles.ini lists three profiles of later versions, each with its cache in the local
part: `old` as 3.6 leaves it (Cache with sub-folders, signons.sqlite, downloads.sqlite, a
cookies.sqlite with its rollback journal), `new` as 45 does (cache2 and startupCache,
cookies.sqlite with -wal and -shm, logins.json, formhistory.sqlite), and `busy`, whose
Firefox runs: the driver holds its parent.lock shared with nobody. Every profile also holds
key3.db, permissions.sqlite, places.sqlite and prefs.js, which no category takes. Two links
lead out of the prefix: `old`'s logins.json to a file, a folder in `new`'s cache2 to a folder.
1. olvex cleans the six Firefox categories: each later file is gone, the four others stay,
   `busy` keeps everything and each of its rows is refused with "Firefox is running" (exit 1),
   history and downloads say that the rows inside places.sqlite stay, and what the links
   lead to is untouched.
2. The Firefox window, every box ticked and both questions answered Yes, on `new` seeded
   afresh: the same files go, and its parent.lock, which nobody holds, stays.
"""

import os

import browsers
import cleaning_kit as kit
import harness

FIREFOX_IDS = ["firefox-cache", "firefox-cookies", "firefox-passwords", "firefox-forms",
               "firefox-history", "firefox-downloads"]
PROFILES_INI = ("[General]\r\nStartWithLastProfile=1\r\n\r\n"
                "[Profile0]\r\nName=old\r\nIsRelative=1\r\nPath=Profiles/o1d.old\r\n\r\n"
                "[Profile1]\r\nName=new\r\nIsRelative=1\r\nPath=Profiles/n3w.new\r\n\r\n"
                "[Profile2]\r\nName=busy\r\nIsRelative=1\r\nPath=Profiles/b5y.busy\r\n")
KEPT = ["key3.db", "permissions.sqlite", "places.sqlite", "prefs.js"]
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


def seed_profile(s, name, going):
    roaming, local = roots(s)
    files, cached = going
    for item in files + KEPT:
        s.make_file(roaming + name + "/" + item, "data of " + item)
    for item in cached:
        s.make_file(local + name + "/" + item, "cached")


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
    places = [line for line in text.splitlines()
              if "n3w.new\\places.sqlite" in line and "not cleared" in line]
    checks.equal(len(places), 2, "history and downloads say places.sqlite stays:\n" + text)
    for path in outside:
        checks.equal(os.path.exists(path), True, "outside the prefix: " + path)


def window_clean(s, checks):
    seed_profile(s, "n3w.new", GOING["n3w.new"])
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


def firefox(version):
    with harness.Scenario(version) as s:
        checks = harness.Checks("Firefox 3 to 52 on %s" % version, s)
        outside = seed(s)
        s.install(harness.console_path())
        console_clean(s, checks, outside)
        window_clean(s, checks)
        checks.finish()


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win2k"):
        raise harness.HarnessError("usage: firefox_later.py winxp|win2k")
    firefox(argv[0])


if __name__ == "__main__":
    harness.main_of(scenario)
