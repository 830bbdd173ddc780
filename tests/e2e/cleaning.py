""""Empty Selected" in the main window deletes what each category names, and nothing else.

    python3 tests/e2e/cleaning.py VERSION      (winxp win98)

The prefix is seeded with the folders of both families' categories in the older layout (the
Windows temp folder, "Local Settings\\temp" and "Cookies" in the user's profile, the prefetch
folder with its layout.ini, the Java cache, more profiles for All Users Temp, C:\\Temp and
\\Windows\\Cookies), with real URL cache entries and a file in the Recycle Bin. One start of
the program then runs every category alone, and at last Select All, seeding everything
afresh before each run. After each run: every seeded file is gone or still there, with its
content, exactly as the ticked categories say; the file in the Recycle Bin stays, since
under Wine the Recycle Bin category does nothing (system_calls.py shows why); read-only,
hidden and system files stay; on the NT family exactly the read-only files that stayed are
registered for deletion at restart, on Windows 98 none; no file appears that was not there;
the completion message has its text and title; the ticks are as they were; the program
still runs.
"""

import os

import harness
import cleaning_kit as kit
from cleaning_kit import HIDDEN, READ_ONLY, SYSTEM

# Categories by what they clean, and the box of each in the two main windows.
CATEGORY_BOXES = {
    kit.NT: {"windows_temp": "Check1", "user_temp": "Check2", "cookies": "Check3",
             "tif": "Check4", "history": "Check5", "prefetch": "Check6", "recycle": "Check8",
             "all_users": "Check9", "java": "Check10"},
    kit.WIN98: {"windows_temp": "Check1", "cookies98": "Check2", "temp98": "Check3",
                "tif": "Check4", "history": "Check5", "recycle": "Check6", "java98": "Check8"},
}


class Seed:
    """A file (or, with folder=True, a folder) of the fixture. gone_with: the categories whose
    run removes it; registered_with: those whose run leaves it and, on the NT family,
    registers it for deletion at restart."""

    def __init__(self, path, gone_with=(), attributes=(), registered_with=(), folder=False):
        self.path = path
        self.gone_with = set(gone_with)
        self.attributes = attributes
        self.registered_with = set(registered_with)
        self.folder = folder
        self.content = "seeded as C:/%s\n" % path

    def windows_path(self):
        return "c:\\" + self.path.replace("/", "\\").lower()


ROOT = "users/root/"
ROOT_CACHE = ROOT + "AppData/Local/Microsoft/Windows/INetCache/"
OTHER = "users/other/"
INDEX_FILE = "c:\\" + (ROOT_CACHE + "content.ie5/index.dat").replace("/", "\\").lower()
JAVA = ROOT + "AppData/Roaming/Sun/Java/Deployment/"
JAVA98 = "windows/Application Data/Sun/Java/Deployment/"
# The profile folder All Users Temp must reach although it is hidden and system.
HIDDEN_PROFILE = "users/hidden profile"

SEEDS = [
    # Windows Temp (both families). A subfolder goes whole, hidden files in it too.
    Seed("windows/temp/a.tmp", {"windows_temp"}),
    Seed("windows/temp/hidden.tmp", (), [HIDDEN]),
    Seed("windows/temp/ro.tmp", (), [READ_ONLY], {"windows_temp"}),
    Seed("windows/temp/sub", {"windows_temp"}, folder=True),
    Seed("windows/temp/sub/c.tmp", {"windows_temp"}),
    Seed("windows/temp/sub/hidden.tmp", {"windows_temp"}, [HIDDEN]),
    Seed("windows/temp/sub/deeper/d.tmp", {"windows_temp"}),
    Seed("windows/temp/system.tmp", (), [SYSTEM]),
    # Current User Temp (NT): the older layout's folder in the user's profile.
    Seed(ROOT + "Local Settings/temp/u.tmp", {"user_temp"}),
    Seed(ROOT + "Local Settings/temp/ro.tmp", (), [READ_ONLY], {"user_temp"}),
    Seed(ROOT + "Local Settings/temp/sub/v.tmp", {"user_temp"}),
    # Cookies (NT); All Users Temp sweeps the same folder as <profile>\cookies.
    Seed(ROOT + "Cookies/root@example[1].txt", {"cookies", "all_users"}),
    Seed(ROOT + "Cookies/ro.txt", (), [READ_ONLY], {"cookies", "all_users"}),
    # The Internet cache folder: only All Users Temp sweeps it, never Temporary Internet Files.
    Seed(ROOT_CACHE + "a_plain.dat", {"all_users"}),
    Seed(ROOT_CACHE + "Content.IE5/a_plain.dat", {"all_users"}),
    # Prefetch (NT): layout.ini is back after the sweep; the user's own C:\layout.ini is
    # never touched.
    Seed("windows/prefetch/A.pf", {"prefetch"}),
    Seed("windows/prefetch/layout.ini"),
    Seed("windows/prefetch/ro.pf", (), [READ_ONLY], {"prefetch"}),
    Seed("windows/prefetch/sub/B.pf", {"prefetch"}),
    Seed("layout.ini"),
    # All Users Temp (NT): every profile folder, the hidden one and Public included.
    Seed(ROOT + "AppData/temp/t.tmp", {"all_users"}),
    Seed(ROOT + "AppData/temp/ro.tmp", (), [READ_ONLY], {"all_users"}),
    Seed(OTHER + "AppData/temp/o.tmp", {"all_users"}),
    Seed(OTHER + "AppData/Local/Microsoft/Windows/INetCache/content.ie5/c.dat", {"all_users"}),
    Seed(OTHER + "AppData/Local/Microsoft/Windows/INetCache/i.dat", {"all_users"}),
    Seed(OTHER + "cookies/k.txt", {"all_users"}),
    Seed("users/Public/AppData/temp/p.tmp", {"all_users"}),
    Seed(HIDDEN_PROFILE + "/AppData/temp/h.tmp", {"all_users"}),
    # ... and what lies beside those folders stays.
    Seed(ROOT + "AppData/Local/Other/keep.dat"),
    Seed(ROOT + "AppData/Local/Temp/keep.dat"),
    Seed(ROOT + "AppData/Roaming/keep.dat"),
    Seed(ROOT + "Temp/keep.dat"),
    Seed(OTHER + "AppData/Local/keep.dat"),
    Seed(OTHER + "Documents/keep.dat"),
    # Java Cache (NT), in the user's application data.
    Seed(JAVA + "cache/javapi/cache.idx", {"java"}),
    Seed(JAVA + "cache/javapi/v1.0/jar/x.jar", {"java"}),
    Seed(JAVA + "deployment.properties"),
    # Windows 98: Temp is C:\Temp, Cookies \Windows\Cookies, the Java cache under the Windows
    # folder. Nothing is registered for restart there.
    Seed("Temp/t98.tmp", {"temp98"}),
    Seed("Temp/ro98.tmp", (), [READ_ONLY]),
    Seed("Temp/sub/s98.tmp", {"temp98"}),
    Seed("windows/Cookies/root@example[1].txt", {"cookies98"}),
    Seed("windows/Cookies/ro.txt", (), [READ_ONLY]),
    Seed(JAVA98 + "cache/javapi/v1.0/x.jar", {"java98"}),
    Seed(JAVA98 + "deployment.properties"),
]

# URL cache entries and the categories that delete them: Temporary Internet Files deletes
# what does not contain "Cookie" (case matters), Cookies what does not contain "http".
# History cannot be cleared under Wine (ClearHistory is not implemented there), so its run
# must simply change nothing.
URLS = {
    "http://www.example.com/page.html": {"tif"},
    "http://www.example.com/cookie.html": {"tif"},
    "Cookie:root@example.com/": {"cookies", "cookies98"},
    "Visited:root@http://www.example.com/": {"tif"},
}

TRASHED = "trashed.txt"


def seed(s, with_cache=True):
    for item in SEEDS:
        if not item.folder:
            kit.write_file(s, item.path, item.content, item.attributes)
    os.makedirs(s.path(HIDDEN_PROFILE), exist_ok=True)
    kit.set_attributes(s.path(HIDDEN_PROFILE), [HIDDEN, SYSTEM])
    if with_cache:
        s.url_cache.fill(URLS)
    kit.trash_file(s, TRASHED, "in the Recycle Bin\n")


def drive_c_listing(s):
    found = set()
    for top, dirs, files in os.walk(s.drive_c):
        for name in dirs + files:
            found.add(os.path.relpath(os.path.join(top, name), s.drive_c))
    return found


def check_files(s, checks, what, categories, before):
    """Every seeded file is gone or there, with its content, as the categories say."""
    for item in SEEDS:
        gone = bool(item.gone_with & categories)
        full = s.path(item.path)
        if item.folder:
            checks.equal(os.path.isdir(full), not gone, "%s: folder C:/%s there" % (what, item.path))
        else:
            checks.equal(kit.read_file(s, item.path), None if gone else item.content,
                         "%s: C:/%s" % (what, item.path))
    # Under Wine, where every scenario runs, the Recycle Bin is never emptied.
    checks.equal(kit.trashed(s, TRASHED), True, "%s: file in the Recycle Bin" % what)
    # Nothing new anywhere: no backup of layout.ini left behind, no file put back where
    # none was.
    checks.equal(sorted(drive_c_listing(s) - before), [], "%s: files that were not there" % what)


def run_categories(s, checks, window, categories, select_all=False, with_cache=True):
    """Seeds everything, runs `categories` and checks what the run left behind."""
    what = "run of %s" % ("Select All" if select_all else "+".join(sorted(categories)))
    seed(s, with_cache)
    before = drive_c_listing(s)
    boxes = {CATEGORY_BOXES[window.form][c] for c in categories}

    ticked, text, after = window.empty_selected(boxes, select_all)
    checks.equal(ticked, {b: int(b in boxes) for b in window.boxes}, "%s: ticks before" % what)
    kit.check_done_message(checks, window.form, text, what)
    checks.equal(after, ticked, "%s: ticks after the run" % what)
    checks.equal(s.running(), True, "%s: program still running" % what)
    if select_all:
        checks.equal(s.value("text", window.form, "Check7"), "Unselect All",
                     "%s: Check7 caption" % what)

    check_files(s, checks, what, categories, before)
    if with_cache:
        expected = {url for url, gone_with in URLS.items() if not gone_with & categories}
        checks.equal(s.url_cache.addresses(), expected, "%s: URL cache entries left" % what)
    registered = []
    if window.form == kit.NT:
        # In the order the run meets them (every category's folder listed by name).
        for item in SEEDS:
            if item.registered_with & categories:
                registered.append(item.windows_path())
        # The cache index, which the program's own cache purge keeps mapped from the first
        # purge of the content entries on, cannot be deleted while mapped (as on Windows): it
        # is registered.
        if "all_users" in categories:
            registered.append(INDEX_FILE)
    # A path the list holds already, from an earlier run or category, is not added again.
    listed = getattr(s, "registered_so_far", set())
    expected = [path for path in registered if path not in listed]
    checks.equal(sorted(s.pending.added()), sorted(expected),
                 "%s: files registered for deletion at restart" % what)
    s.registered_so_far = listed | set(registered)


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win98"):
        raise harness.HarnessError("usage: cleaning.py winxp|win98")
    version = argv[0]
    form = kit.FAMILY[version]
    categories = CATEGORY_BOXES[form]
    with harness.Scenario(version) as s:
        checks = harness.Checks("cleaning categories on %s" % version, s)
        s.url_cache = kit.UrlCache(s)
        s.pending = kit.PendingDeletions(s)
        s.start()
        window = kit.MainWindow(s, form)
        s.driver("wait-visible", form)
        for category in categories:
            if category != "all_users":
                run_categories(s, checks, window, {category})
        run_categories(s, checks, window, set(categories), select_all=True)
        # All Users Temp alone comes last: it sweeps the cache index's own folder, after
        # which the index takes no new entries until the prefix starts afresh. (What it
        # leaves of the index depends on whether the index file is open from an earlier
        # purge, so the index is not checked for it.)
        if "all_users" in categories:
            run_categories(s, checks, window, {"all_users"}, with_cache=False)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
