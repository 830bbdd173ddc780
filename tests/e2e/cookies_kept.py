"""The cookies a user keeps, in Internet Explorer, Firefox and Opera, through olvex and the
Firefox window, on both families.

    python3 tests/e2e/cookies_kept.py VERSION      (winxp win98)

olvex.ini beside the program keeps mail.example's cookies. The index holds cookie entries of
mail.example, news.test and badmail.example (seedcache). profiles.ini lists two Firefox
profiles: `one`, whose Cookies.txt (1.x) holds a comment and the cookies of mail.example,
www.mail.example, badmail.example, mail.example.evil.test and news.test; and `two`, which holds
the same Cookies.txt and, on winxp, Firefox 45's cookies.sqlite of the same hosts
(tests/data/firefox). Opera's cookies4.dat holds every cookie in one file. In `two`,
Cookies.txt.olvex-new, the name a rewritten Cookies.txt is written under, is a link out of the
prefix.
1. olvex previews the cookies with /keepcookies:news.test: no byte changes, no entry goes, and
   it says what would stay.
2. olvex cleans them: the entries of mail.example and news.test stay with their files, the
   other goes; `one`'s Cookies.txt holds the comment and the kept lines only, and no new file
   is left beside it; `two`'s stays byte for byte, the link in the way, and so does what the
   link leads to; cookies.sqlite holds the kept hosts' rows only; cookies4.dat stays whole and
   says why (exit 1); the log's run-end counts the kept cookies by host.
3. The Firefox window, Cookies ticked, on `one` seeded afresh: olvex.ini's host alone is kept.
"""

import os

import browser_db
import browsers
import cleaning_kit as kit
import harness

KEPT_TEXT = ("# Netscape HTTP Cookie File\r\n"
             ".mail.example\tTRUE\t/\tFALSE\t0\tSID\ts1\r\n"
             "www.mail.example\tFALSE\t/\tFALSE\t0\tpref\tp\r\n")
NEWS = "news.test\tFALSE\t/\tFALSE\t0\tseen\t1\r\n"
COOKIES_TXT = (KEPT_TEXT + ".badmail.example\tTRUE\t/\tFALSE\t0\ttrack\tt\r\n"
               "mail.example.evil.test\tFALSE\t/\tFALSE\t0\ttrack\tt\r\n" + NEWS)
PROFILES_INI = ("[General]\r\nStartWithLastProfile=1\r\n\r\n"
                "[Profile0]\r\nName=one\r\nIsRelative=1\r\nPath=Profiles/one\r\n\r\n"
                "[Profile1]\r\nName=two\r\nIsRelative=1\r\nPath=Profiles/two\r\n")
ENTRIES = ["Cookie:root@mail.example/", "Cookie:root@news.test/", "Cookie:root@badmail.example/"]
IDS = ["cookies", "firefox-cookies", "opera-cookies"]


def profile(s, version, name):
    return browsers.firefox_roots(s, version)[0][0] + "/Profiles/" + name + "/"


def opera_cookies(s, version):
    folder = browsers.opera_profile(s, version)
    return folder + ("/Cookies4.dat" if version == "win98" else "/../cookies4.dat")


def read(s, path):
    with open(s.path(path), "rb") as f:
        return f.read()


def seed(s, version):
    s.make_dir("Program Files/Mozilla Firefox")
    s.make_dir("Program Files/Opera")
    s.make_file(harness.WIN_DIR[3:] + "/olvex.ini", "[Cookies]\r\nKeep=mail.example\r\n")
    s.make_file(browsers.firefox_roots(s, version)[0][0] + "/profiles.ini", PROFILES_INI)
    for name in ("one", "two"):
        s.make_file(profile(s, version, name) + "Cookies.txt", COOKIES_TXT)
    if version == "winxp":
        browser_db.make_from(s.path(profile(s, version, "two") + "cookies.sqlite"),
                          "firefox/cookies.sql")
    s.make_file(opera_cookies(s, version), "binary cookies")
    return s.make_link_outside(profile(s, version, "two") + "Cookies.txt.olvex-new",
                               "olvex-new", content="someone's file\n")


def console(s, checks, version, cache, outside):
    before = {p: read(s, profile(s, version, p) + "Cookies.txt") for p in ("one", "two")}
    code, text, err = kit.olvex(s, "/preview", *IDS, "/keepcookies:news.test", "/details")
    checks.equal(code, 1, "olvex /preview exit code (cookies4.dat stays): " + err)
    checks.equal({p: read(s, profile(s, version, p) + "Cookies.txt") for p in before}, before,
                 "the preview changed no Cookies.txt")
    checks.equal(sorted(cache.addresses() & set(ENTRIES)), sorted(ENTRIES),
                 "the preview purged no entry")
    for said in ("would keep  Cookie:root@mail.example/", "(2 cookies of mail.example)"):
        checks.equal(said in text, True, "the preview says %r:\n%s" % (said, text))
    code, text, err = kit.olvex(s, "/clean", *IDS, "/keepcookies:news.test", "/log:C:\\k.csv")
    checks.equal(code, 1, "olvex /clean exit code (cookies4.dat stays): " + err)
    checks.equal(sorted(cache.addresses() & set(ENTRIES)), sorted(ENTRIES[:2]),
                 "the kept hosts' entries stay")
    checks.equal(read(s, profile(s, version, "one") + "Cookies.txt"),
                 (KEPT_TEXT + NEWS).encode(), "one's Cookies.txt: the comment and kept lines")
    checks.equal(os.path.lexists(s.path(profile(s, version, "one") + "Cookies.txt.olvex-new")),
                 False, "nothing left beside one's Cookies.txt")
    checks.equal(read(s, profile(s, version, "two") + "Cookies.txt"), before["two"],
                 "two's Cookies.txt, a link where its new file would be written")
    with open(outside) as f:
        checks.equal(f.read(), "someone's file\n", "outside the prefix: " + outside)
    if version == "winxp":
        hosts = browser_db.ask(s.path(profile(s, version, "two") + "cookies.sqlite"),
                                 "SELECT host FROM moz_cookies ORDER BY host")
        checks.equal(hosts, [(".mail.example",), ("news.test",), ("www.mail.example",)],
                     "cookies.sqlite keeps the kept hosts' rows")
    checks.equal(read(s, opera_cookies(s, version)), b"binary cookies", "cookies4.dat stays whole")
    log = kit.read_file(s, "k.csv") or ""
    checks.equal("every cookie is in this one file" in log, True, "the log says why: " + log)
    # The entries, one's Cookies.txt and, on winxp, cookies.sqlite: two's Cookies.txt stays.
    counts = (5, 3) if version == "winxp" else (3, 2)
    expected = "kept-cookies=mail.example:%d,news.test:%d" % counts
    checks.equal(expected in log, True, "the run-end counts kept cookies by host:\n" + log)


def window(s, checks, version):
    main, firefox, menu, _ = browsers.WINDOWS[version]
    s.make_file(profile(s, version, "one") + "Cookies.txt", COOKIES_TXT)
    s.start()
    s.driver("wait-visible", main, "--", "menu", main, menu, "--", "wait-visible", firefox,
             "--", "click", firefox, "Check2", "--", "click", firefox, "Command1")
    browsers.done_text(s, checks, version)
    checks.equal(read(s, profile(s, version, "one") + "Cookies.txt"), KEPT_TEXT.encode(),
                 "the window keeps olvex.ini's host only")


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win98"):
        raise harness.HarnessError("usage: cookies_kept.py winxp|win98")
    version = argv[0]
    with harness.Scenario(version) as s:
        checks = harness.Checks("cookies kept on %s" % version, s)
        outside = seed(s, version)
        s.install(harness.console_path())
        cache = kit.UrlCache(s)
        cache.fill(ENTRIES)
        console(s, checks, version, cache, outside)
        window(s, checks, version)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
