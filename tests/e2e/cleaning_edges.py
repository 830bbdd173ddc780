"""The folder sweep of a real cleaning run at its edges, on the NT family's main window.

    python3 tests/e2e/cleaning_edges.py winxp

One start of the program, four runs:
1. Windows Temp holding links to folders outside the prefix (one at the top, one inside a
   subfolder, one to an empty folder) and a tree deeper than MAX_PATH: every file and folder
   outside survives, the links stay, the deep tree goes.
2. Windows Temp, Current User Temp and Java Cache, each holding a subfolder with a read-only
   file: that category's sweep stops there (what comes later in name order stays), the run
   goes on with the next category, and the message still comes. Names outside the narrow
   code page (Cyrillic, Japanese) are deleted exactly: a name that a "?" pattern made of the
   Cyrillic one would also match lies after the stopping point and must stay.
3. and 4. Prefetch with and without a layout.ini of its own: the user's C:\\layout.ini is
   left exactly as it was; prefetch's layout.ini is back afterwards, and only if it was there.
"""

import os

import harness
import cleaning_kit as kit
from cleaning_kit import READ_ONLY

FORM = kit.NT
WINDOWS_TEMP = "windows/temp/"
USER_TEMP = "users/root/Local Settings/temp/"
JAVA = "users/root/AppData/Roaming/Sun/Java/Deployment/cache/javapi/"
PREFETCH = "windows/prefetch/"

# Path parts long enough that eight of them pass MAX_PATH (260) with room to spare.
LONG_PART = "a-folder-name-of-fifty-characters-to-pass-max-path"
LONG_LEVELS = 8


def empty_folder(s, windows_path):
    """Removes everything in a folder from the Linux side (links themselves, not their
    targets)."""
    folder = s.path(windows_path)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        harness.run(["rm", "-rf", "--", os.path.join(folder, name)], dict(os.environ))


class Run:
    """One press of "Empty Selected" and what it must leave behind."""

    def __init__(self, s, checks, window, title):
        self.s, self.checks, self.window, self.title = s, checks, window, title
        self.files = {}  # windows path -> content expected afterwards, None when gone

    def file(self, windows_path, stays, attributes=(), content=None):
        content = content or "seeded as %s\n" % windows_path
        kit.write_file(self.s, windows_path, content, attributes)
        self.files[windows_path] = content if stays else None

    def run(self, boxes, registered=()):
        ticked, text, after = self.window.empty_selected(set(boxes))
        kit.check_done_message(self.checks, FORM, text, self.title)
        self.checks.equal(after, ticked, "%s: ticks after the run" % self.title)
        self.checks.equal(self.s.running(), True, "%s: program still running" % self.title)
        for path, content in self.files.items():
            self.checks.equal(kit.read_file(self.s, path), content, "%s: C:/%s" % (self.title, path))
        self.checks.equal(sorted(self.s.pending.added()), sorted(registered),
                          "%s: files registered for deletion at restart" % self.title)


def links_and_long_paths(s, checks, window, outside):
    run = Run(s, checks, window, "links and long paths")
    run.file(WINDOWS_TEMP + "a.tmp", stays=False)
    long_dir = WINDOWS_TEMP + "long/" + "/".join([LONG_PART] * LONG_LEVELS) + "/"
    for level in range(1, LONG_LEVELS + 1):
        run.file(WINDOWS_TEMP + "long/" + "/".join([LONG_PART] * level) + "/f%d.tmp" % level,
                 stays=False)
    assert len("C:\\" + long_dir) > 260 + 100, "the long tree is not deeper than MAX_PATH"
    run.run(["Check1"])
    checks.equal(os.path.exists(s.path(WINDOWS_TEMP + "long")), False,
                 "links and long paths: the tree deeper than MAX_PATH is gone")
    for link, (target, before) in outside.items():
        checks.equal(os.path.islink(s.path(link)), True, "links and long paths: link C:/%s stays"
                     % link)
        checks.equal(kit.outside_state(target), before,
                     "links and long paths: what C:/%s leads to" % link)


def stopping_points(s, checks, window):
    """A read-only file inside a subfolder ends the sweep of its category only."""
    for folder in (WINDOWS_TEMP, USER_TEMP, JAVA):
        empty_folder(s, folder)
    run = Run(s, checks, window, "read-only files in subfolders")
    # Windows Temp: a read-only file at the top stays and is registered; inside m_sub the
    # files before the read-only one go, the folder and everything after it stay.
    run.file(WINDOWS_TEMP + "a_first.tmp", stays=False)
    run.file(WINDOWS_TEMP + "b_ro.tmp", stays=True, attributes=[READ_ONLY])
    run.file(WINDOWS_TEMP + "m_sub/m1.tmp", stays=False)
    run.file(WINDOWS_TEMP + "m_sub/n_ro.tmp", stays=True, attributes=[READ_ONLY])
    run.file(WINDOWS_TEMP + "m_sub/z.tmp", stays=True)
    run.file(WINDOWS_TEMP + "z_after.tmp", stays=True)
    run.file(WINDOWS_TEMP + "z_sub/x.tmp", stays=True)
    # Current User Temp: Cyrillic names; six characters outside the code page would read
    # "??????.tmp" as narrow text, a pattern "€€€€€€.tmp" matches too. It sorts after the
    # stopping folder, so only a wildcard delete of the Cyrillic name could take it.
    run.file(USER_TEMP + "a.tmp", stays=False)
    run.file(USER_TEMP + "привет.tmp", stays=False)
    run.file(USER_TEMP + "шstop/ro.tmp", stays=True, attributes=[READ_ONLY])
    run.file(USER_TEMP + "€€€€€€.tmp", stays=True)
    # Java Cache, the last category of the run: Japanese names, a file and a folder.
    run.file(JAVA + "日本語.tmp", stays=False)
    run.file(JAVA + "日本語フォルダ/子.tmp", stays=False)
    run.run(["Check1", "Check2", "Check10"], registered=["c:\\windows\\temp\\b_ro.tmp"])
    for path, stays in ((WINDOWS_TEMP + "m_sub", True), (JAVA + "日本語フォルダ", False)):
        checks.equal(os.path.isdir(s.path(path)), stays,
                     "read-only files in subfolders: folder C:/%s there" % path)


def prefetch(s, checks, window, with_layout):
    title = "prefetch %s layout.ini" % ("with" if with_layout else "without")
    empty_folder(s, PREFETCH)
    run = Run(s, checks, window, title)
    run.file("layout.ini", stays=True, content="the user's own layout.ini\n")
    user_layout = s.path("layout.ini")
    os.utime(user_layout, ns=(1_000_000_000_000_000_000, 1_000_000_000_000_000_000))
    stamp = os.stat(user_layout).st_mtime_ns
    if with_layout:
        run.file(PREFETCH + "layout.ini", stays=True, content="[OptimalLayoutFile]\nVersion=1\n")
    else:
        run.files[PREFETCH + "layout.ini"] = None
    run.file(PREFETCH + "APP.EXE-12345678.pf", stays=False)
    run.file(PREFETCH + "sub/B.pf", stays=False)
    run.run(["Check6"])
    checks.equal(os.stat(user_layout).st_mtime_ns, stamp, "%s: C:/layout.ini not rewritten" % title)
    checks.equal(sorted(os.listdir(s.path(PREFETCH))), ["layout.ini"] if with_layout else [],
                 "%s: what is left in prefetch" % title)


def scenario(argv):
    if argv != ["winxp"]:
        raise harness.HarnessError("usage: cleaning_edges.py winxp")
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("cleaning edges on %s" % argv[0], s)
        outside = {}
        for link, name, files in (
                (WINDOWS_TEMP + "link", "target", {"f1.txt": "one\n", "sub/f2.txt": "two\n"}),
                (WINDOWS_TEMP + "link_empty", "empty", {}),
                (WINDOWS_TEMP + "m_sub/zlink", "target2", {"f3.txt": "three\n"})):
            target = s.make_link_outside(link, name)
            for rel, content in files.items():
                os.makedirs(os.path.dirname(os.path.join(target, rel)), exist_ok=True)
                with open(os.path.join(target, rel), "w") as f:
                    f.write(content)
            outside[link] = (target, kit.outside_state(target))
        s.make_file(WINDOWS_TEMP + "m_sub/inner.tmp", "inside the subfolder with a link\n")
        s.pending = kit.PendingDeletions(s)
        s.start()
        window = kit.MainWindow(s, FORM)
        s.driver("wait-visible", FORM)
        links_and_long_paths(s, checks, window, outside)
        stopping_points(s, checks, window)
        prefetch(s, checks, window, with_layout=True)
        prefetch(s, checks, window, with_layout=False)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
