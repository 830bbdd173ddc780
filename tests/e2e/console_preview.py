"""The console program's preview names exactly what its clean then deletes, and neither
reaches anything outside the categories' folders.

    python3 tests/e2e/console_preview.py VERSION      (winxp win98)

Two prefixes, each with a preview and then a clean of the same categories, as a script would
run them (olvex.exe from C:\\olvex, output redirected):

1. Every category of both families seeded as cleaning.py and browsers.py seed them (files
   that go, read-only, hidden and system files that stay, files beside the folders that must
   stay, URL cache entries, both browsers installed with their profiles), plus a file whose
   name is not ASCII. `/preview all firefox-passwords opera-passwords /details /csv`
   changes no file and no cache entry, says why the read-only and hidden files stay, and
   shows the non-ASCII name in UTF-8. The clean of the same with `/log:` and `/quiet`
   prints nothing, writes a log that starts with a byte-order mark, and then: what the
   preview listed as going = what the log lists as deleted or removed = what is gone from
   the disk; the URL cache entries the preview would purge = those purged = those gone.
   Both exit with 1: things stay (the Recycle Bin fails under Wine, see system_calls.py).
2. The deletion layer's hostile cases (hostile_paths.py's links at and below the start
   folders, names that climb, a profile path that climbs): every path the preview lists as
   going is an entry that exists inside the prefix, not through a link; after the clean,
   what the links lead to and every file that must stay are untouched, and again preview =
   log = gone.

On winxp with every category, All Users Temp meets the cache index, which the program's own
purge of the content entries holds open and mapped from then on. An open for deletion would succeed on it, and only the deletion
is refused; the preview's second open, which shares nothing, tells it is in use, so both
register it for restart.
"""

import collections
import csv
import io
import os

import harness
import browsers
import cleaning
import cleaning_kit as kit
import hostile_paths

LOG = "C:\\olvex\\clean.csv"
NON_ASCII = "windows/temp/Grüße.tmp"
GOING = {"would delete", "would remove"}
GONE = {"deleted", "removed"}
BOM = "\ufeff"
# The log's columns: time,computer,user,category,action,path,bytes,reason.
LOG_ACTION = 4


def key(windows_path):
    """A Windows path below C:\\ as the snapshot names it."""
    path = windows_path.lower()
    if not path.startswith("c:\\"):
        return "(not on c:) " + path
    return path[3:].replace("\\", "/")


def snapshot(s):
    """Every entry below C:\\, not through links: folder -> None, file -> its bytes, link ->
    where it leads; keys in lower case."""
    found = {}
    for top, dirs, files in os.walk(s.drive_c):
        for name in dirs + files:
            full = os.path.join(top, name)
            rel = os.path.relpath(full, s.drive_c).lower()
            if os.path.islink(full):
                found[rel] = "-> " + os.readlink(full)
            elif os.path.isdir(full):
                found[rel] = None
            else:
                with open(full, "rb") as f:
                    found[rel] = f.read()
    return found


def rows(text, action_column):
    return [r for r in csv.reader(io.StringIO(text)) if len(r) > action_column + 1]


def paths(rows_, action_column, actions):
    return sorted(r[action_column + 1] for r in rows_ if r[action_column] in actions
                  and r[action_column + 1])


def preview_then_clean(s, checks, what, ids):
    """Previews and cleans ids; checks preview = log = gone; returns (preview rows, log rows,
    snapshot before, snapshot after)."""
    before = snapshot(s)
    addresses = s.url_cache.addresses() if hasattr(s, "url_cache") else None
    code, out, err = kit.olvex(s, "/preview", *ids, "/details", "/csv")
    checks.equal(code, 1, "%s: preview exit code (stderr %r)" % (what, err))
    checks.equal(snapshot(s) == before, True, "%s: the preview changed no file" % what)
    if addresses is not None:
        checks.equal(s.url_cache.addresses(), addresses, "%s: the preview purged nothing" % what)
    preview = rows(out, 1)

    code, out, err = kit.olvex(s, "/clean", *ids, "/log:" + LOG, "/quiet")
    checks.equal(code, 1, "%s: clean exit code (stderr %r)" % (what, err))
    checks.equal(out, "", "%s: /quiet prints nothing" % what)
    with open(s.path(LOG), encoding="utf-8") as f:
        log_text = f.read()
    os.unlink(s.path(LOG))
    checks.equal(log_text[:1], BOM, "%s: the log starts with a byte-order mark" % what)
    log = rows(log_text[1:], LOG_ACTION)
    after = snapshot(s)

    listed = {key(p) for p in paths(preview, 1, GOING)}
    logged = {key(p) for p in paths(log, LOG_ACTION, GONE)}
    gone = set(before) - set(after) - {key(LOG)}
    checks.equal(sorted(listed), sorted(logged),
                 "%s: what the preview lists as going is what the log lists as gone" % what)
    checks.equal(sorted(logged), sorted(gone), "%s: what the log lists is what is gone" % what)
    # Each path comes once, however many steps reach it: All Users Temp empties a profile's
    # cache index folder, then the cache folder that holds it, and meets the user's own
    # temporary folder and cookies again; the cache purge deletes files the sweeps then meet.
    named = [r[2].lower() for r in preview if r[1] in GOING and r[2]]
    twice = [k for k, n in collections.Counter(named).items() if n > 1]
    checks.equal(sorted(twice), [], "%s: paths the preview names twice" % what)
    if s.version == "winxp" and ("all" in ids or "ie-cache" in ids):
        index = [(r[1], r[5]) for r in preview if r[2].lower().endswith("content.ie5\\index.dat")]
        checks.equal(("would register", "in use") in index, True,
                     "%s: the preview says the mapped cache index stays" % what)
        checks.equal([key(p) for p in paths(log, LOG_ACTION, {"registered"})
                      if p.lower().endswith("index.dat")] != [], True,
                     "%s: the clean registers it" % what)
    # Nothing is listed as going that is not a real entry inside the prefix.
    checks.equal(sorted(p for p in listed if p not in before or isinstance(before[p], str)), [],
                 "%s: listed paths that are no file or folder of the prefix" % what)
    if addresses is not None:
        would = set(paths(preview, 1, {"would purge"}))
        purged = set(paths(log, LOG_ACTION, {"purged"}))
        checks.equal(sorted(would), sorted(purged), "%s: cache entries previewed = purged" % what)
        checks.equal(sorted(s.url_cache.addresses()), sorted(addresses - purged),
                     "%s: cache entries left" % what)
    return preview, log


def seed_every_category(s, version):
    """Both browsers installed, and every category of both families seeded as cleaning.py
    and browsers.py seed them, URL cache entries included."""
    s.url_cache = kit.UrlCache(s)
    s.make_dir("Program Files/Mozilla Firefox")
    s.make_dir("Program Files/Opera")
    cleaning.seed(s)
    browsers.seed_firefox(s, version)
    browsers.seed_opera(s, version)


def every_category(version, checks):
    with harness.Scenario(version) as s:
        seed_every_category(s, version)
        kit.write_file(s, NON_ASCII, "not ASCII\n")
        s.install(harness.console_path())
        preview, log = preview_then_clean(s, checks, "every category",
                                          ["all", "firefox-passwords", "opera-passwords"])
        stays = {(r[2].lower(), r[5]) for r in preview if r[1] in ("would stay", "would register")}
        checks.equal(("c:\\windows\\temp\\hidden.tmp", "hidden") in stays, True,
                     "the preview says a hidden file stays")
        checks.equal(("c:\\windows\\temp\\ro.tmp", "read-only") in stays, True,
                     "the preview says a read-only file stays")
        checks.equal("c:\\" + NON_ASCII.replace("/", "\\").lower()
                     in {r[2].lower() for r in preview}, True, "the non-ASCII name, in UTF-8")
        categories = {r[0] for r in preview}
        expected = {"windows-temp", "cookies", "ie-cache", "ie-history", "recycle-bin",
                    "java-cache", "firefox-cache", "firefox-passwords", "opera-passwords"}
        expected |= {"temp"} if version == "win98" else {"user-temp", "prefetch",
                                                          "all-users-temp"}
        checks.equal(sorted(expected - categories), [], "categories the preview reports")


def hostile(version, checks):
    with harness.Scenario(version) as s:
        s.make_dir("Program Files/Mozilla Firefox")
        # Wine makes the cache's folders when the cache is first used: before the snapshot.
        s.url_cache = kit.UrlCache(s)
        s.url_cache.addresses()
        main, categories = hostile_paths.seed_main_run(s, version)
        firefox = hostile_paths.seed_firefox(s, version)
        s.install(harness.console_path())
        chosen = sorted(categories) + ["firefox-cache", "firefox-cookies", "firefox-forms"]
        preview_then_clean(s, checks, "hostile paths", chosen)
        main.check(checks, "hostile paths, main categories")
        firefox.check(checks, "hostile paths, Firefox")


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win98"):
        raise harness.HarnessError("usage: console_preview.py winxp|win98")
    checks = harness.Checks("console preview and clean on %s" % argv[0])
    every_category(argv[0], checks)
    hostile(argv[0], checks)
    checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
