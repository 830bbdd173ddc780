"""Chrome 1 to 49, installed for the user alone: the profiles its Local State lists go, in
olvex and in the Chrome window, and nothing of a running Chrome's is touched.

    python3 tests/e2e/chrome.py winxp

User Data holds Local State, which lists "Default", "Profile 1" and "..", and the folder
"Profile 9", which it does not list. Each profile holds the four databases of Chrome 49
(browser_db), its caches, the history's files, and Bookmarks, Preferences and Favicons, which
no category takes. "Google/Chrome/Cache/precious", where ".." would lead, must stay. Two links
lead out of the prefix: a folder in "Profile 1"'s Cache, and "Default"'s Login Data-journal, so
that Default's Login Data must stay byte for byte.
1. olvex previews every Chrome category, keeping news.test's cookies: no byte of User Data
   changes, it counts the rows that would go and the cookie that would stay, and says
   Default's Login Data stays (exit 1).
2. A running Chrome holds User Data's lockfile to write: olvex cleans every category, exit 1,
   each row refused with "Chrome is running", and no byte changes.
3. The Chrome window, reached from the main window's menu, every box ticked and both questions
   answered Yes, once the lockfile is gone, olvex.ini beside the program keeping Mail.Example's
   cookies: each listed profile keeps only its search engines, those cookies, and the files no
   category takes; "Profile 9", the file ".." leads to and what the links
   lead to are untouched.
"""

import hashlib
import os
import time

import browsers
import browser_db
import cleaning_kit as kit
import harness

CHROME_IDS = ["chrome-cache", "chrome-cookies", "chrome-passwords", "chrome-forms",
              "chrome-history", "chrome-downloads"]
LOCAL_STATE = ('{"profile": {"info_cache": {"Default": {"name": "Jo"}, '
               '"Profile 1": {"name": "Work"}, "..": {"name": "odd"}}, '
               '"last_used": "Default"}}')
GOING = ["Cache/data_0", "Cache/f_000001", "Media Cache/f_000002", "GPUCache/data_1",
         "Application Cache/Cache/index", "Archived History", "History Index 2015-01",
         "Visited Links", "Top Sites", "Top Sites-journal", "Thumbnails"]
KEPT = ["Bookmarks", "Preferences", "Favicons"]
LISTED = ["Default", "Profile 1"]


def user_data(s):
    return browsers.user_folder(s) + "/AppData/Local/Google/Chrome/User Data/"


def seed_profile(s, profile):
    folder = user_data(s) + profile + "/"
    for name in GOING + KEPT:
        s.make_file(folder + name, "data of " + name)
    browser_db.make(s.path(folder))


def seed(s):
    s.make_dir(browsers.user_folder(s) + "/AppData/Local/Google/Chrome/Application")
    s.make_file(user_data(s) + "Local State", LOCAL_STATE)
    s.make_file(user_data(s) + "../Cache/precious", "not a profile's\n")
    for profile in LISTED + ["Profile 9"]:
        seed_profile(s, profile)
    outside = s.make_link_outside(user_data(s) + "Profile 1/Cache/doomed", "doomed")
    with open(os.path.join(outside, "precious.bin"), "w") as f:
        f.write("outside\n")
    journal = s.make_link_outside(user_data(s) + "Default/Login Data-journal", "journal",
                                  content="someone's journal\n")
    return [os.path.join(outside, "precious.bin"), journal]


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def fingerprint(s):
    """Every file under Chrome's folder, with a digest of its bytes."""
    root = s.path(user_data(s) + "..")
    return {os.path.join(folder, name): digest(os.path.join(folder, name))
            for folder, _, names in os.walk(root) for name in names
            if not os.path.islink(os.path.join(folder, name))}


def console_preview(s, checks):
    before = fingerprint(s)
    code, text, err = kit.olvex(s, "/preview", *CHROME_IDS, "/keepcookies:news.test",
                                "/details")
    checks.equal(code, 1, "olvex /preview exit code (Default's Login Data stays, its journal "
                 "being a link): " + err)
    checks.equal(fingerprint(s) == before, True, "the preview changed no byte of User Data")
    for said in ("would clear", "(4 rows)"), ("would keep", "(1 cookie of news.test)"):
        lines = [line for line in text.splitlines()
                 if said[0] in line and "Profile 1\\Cookies" in line and said[1] in line]
        checks.equal(len(lines), 1, "the preview tells Profile 1's cookies: %s %s\n%s"
                     % (said + (text,)))


def console_while_running(s, checks):
    lockfile = "C:\\" + user_data(s).replace("/", "\\") + "lockfile"
    s.hold(lockfile, 8000, lockfile=True)
    before = fingerprint(s)
    code, text, err = kit.olvex(s, "/clean", *CHROME_IDS, "/details")
    checks.equal(code, 1, "olvex exit code (a running Chrome leaves its files): " + err)
    after = fingerprint(s)
    after.pop(s.path(user_data(s) + "lockfile"), None)
    before.pop(s.path(user_data(s) + "lockfile"), None)
    checks.equal(after == before, True, "no byte of a running Chrome's User Data changed")
    refusals = [line for line in text.splitlines() if "Chrome is running" in line]
    checks.equal(len(refusals) >= len(CHROME_IDS), True,
                 "each category refuses the running Chrome's rows:\n" + text)
    # The hold ends, and the lockfile goes with it, as when Chrome quits.
    deadline = time.monotonic() + 30
    while os.path.exists(s.path(user_data(s) + "lockfile")) and time.monotonic() < deadline:
        time.sleep(0.2)


def left(s, profile, names):
    return [n for n in names if os.path.lexists(s.path(user_data(s) + profile + "/" + n))]


def window_clean(s, checks, outside):
    linked_logins = digest(s.path(user_data(s) + "Default/Login Data"))
    s.make_file(harness.WIN_DIR[3:] + "/olvex.ini", "[Cookies]\r\nKeep=Mail.Example\r\n")
    s.start()
    s.driver("wait-visible", "Form1", "--", "menu", "Form1", "mnuChrome", "--",
             "wait-visible", "Form10")
    browsers.select_all(s, checks, "Form10")
    s.driver("click", "Form10", "Command1")
    s.driver("answer", browsers.QUESTION, "yes")
    browsers.done_text(s, checks, "winxp")
    for profile in LISTED:
        checks.equal(left(s, profile, GOING + KEPT), KEPT, "the window: files of " + profile)
        expected = dict(browser_db.CLEARED, cookies=2)
        if profile == "Default":  # its Login Data's journal is a link: the file stays
            expected["logins"] = browser_db.FULL["logins"]
        checks.equal(browser_db.census(s.path(user_data(s) + profile)), expected,
                     "the window: the databases of " + profile)
    checks.equal(browser_db.cookie_hosts(s.path(user_data(s) + "Profile 1")),
                 [".mail.example", "www.mail.example"], "the cookies olvex.ini keeps")
    checks.equal(digest(s.path(user_data(s) + "Default/Login Data")), linked_logins,
                 "a Login Data whose journal is a link stays as it was")
    checks.equal(left(s, "Profile 9", GOING + KEPT), GOING + KEPT, "the unlisted folder")
    checks.equal(browser_db.census(s.path(user_data(s) + "Profile 9")), browser_db.FULL,
                 "the unlisted folder's databases")
    checks.equal(os.path.exists(s.path(user_data(s) + "../Cache/precious")), True,
                 "the folder \"..\" would lead to")
    for path in outside:
        checks.equal(os.path.exists(path), True, "outside the prefix: " + path)


def chrome(version):
    with harness.Scenario(version) as s:
        checks = harness.Checks("Chrome 1 to 49 on %s" % version, s)
        outside = seed(s)
        s.install(harness.console_path())
        console_preview(s, checks)
        console_while_running(s, checks)
        window_clean(s, checks, outside)
        checks.finish()


def scenario(argv):
    if argv != ["winxp"]:
        raise harness.HarnessError("usage: chrome.py winxp")
    chrome(argv[0])


if __name__ == "__main__":
    harness.main_of(scenario)
