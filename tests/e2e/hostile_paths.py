"""Links and names that would lead a delete elsewhere: whatever they lead to stays.

    python3 tests/e2e/hostile_paths.py VERSION      (winxp win98)

Every link leads out of the prefix, to a folder or file beside it, which must keep every
byte; the links themselves stay. Three of the folders are also the roots of drive letters
of their own (G:, H:, I:), as Wine names a folder by the drive whose root it is: a link to a
drive's root is refused like any other. One start of the program, four runs:

1. Main window, Windows Temp, Cookies and Java Cache ticked (on winxp also Current User
   Temp, Prefetch and All Users Temp):
   - Cookies' folder is a link: nothing in what it leads to goes. On winxp "Local
     Settings" (on Current User Temp's path) is a link, and All Users Temp meets a profile
     folder that is one, to the root of H:.
   - Windows Temp holds names the path parser would change: x\\..\\..\\..\\canary.txt (it
     would climb to C:\\canary.txt), a hidden "h" beside "h.", a read-only "r" beside
     "r ", COM1, aux.log and CON. They all stay as they are, nothing else appears, and none
     is registered for deletion at restart; only "r" is, on winxp (the cookie purge lists
     the cookies only, so the content entries' index is not mapped, and goes). The ordinary files
     beside them go. Then zz_stop, a subfolder holding a link to a folder: the link stays
     and the sweep ends there, so zz_tail.tmp stays.
   - Java Cache holds a folder named a\\..\\..\\.., which would climb to Deployment: what
     Deployment holds stays, the cache's ordinary files go.
   - winxp: the profiles folder C:\\users holds one named a\\..\\..\\important, which All
     Users Temp would read as C:\\important: what C:\\important holds in the places the
     category sweeps in a profile stays, and so does what the oddly named folder holds.
   - winxp: Windows Temp's link.txt leads to a file: link and file stay, nothing is
     registered. Windows 98's ANSI calls cannot tell a link to a file from a file (nor do
     its volumes hold any), so it has none. Prefetch with TEMP and TMP naming a missing
     folder: its layout.ini keeps its content, the rest goes.
2. Java Cache alone, with the Sun folder on its path now a link to the root of G: nothing it
   leads to goes.
3. Firefox, with Cache, Cookies and Form History ticked: one listed profile is a link (to
   the root of I:), the
   other's Cache is (and on winxp its Cookies.txt leads to a file); what they lead to stays,
   the other profile's own files go. A third profile's path climbs out of the Firefox
   folder with "..": what it would reach, a folder at the root of C:, stays.
4. Windows Temp again: a subfolder listed as a folder is swapped for a link to a folder
   outside while the sweep removes the one before it: what the link leads to stays.
Every run ends with its completion message.

Not here: Application Data on a network share. Wine's shell cannot make an item list of a
UNC path (its Network Places folder does not parse one), so the program, which asks for the
folder's item list, finds no Application Data at all.
"""

import os
import threading
import time

import harness
import browsers
import cleaning_kit as kit
from cleaning_kit import HIDDEN, READ_ONLY

WINDOWS_TEMP = "windows/temp/"
CLIMB_FILE = "x\\..\\..\\..\\canary.txt"
CLIMB_FOLDER = "a\\..\\..\\.."
# A profile folder of C:\users whose name climbs to C:\important, and what All Users Temp
# sweeps in a profile (as Wine lays a profile out).
CLIMB_PROFILE = "a\\..\\..\\important"
PROFILE_PLACES = ["AppData/temp/t.tmp", "AppData/Local/Microsoft/Windows/INetCache/i.dat",
                  "AppData/Local/Microsoft/Windows/INetCache/content.ie5/c.dat",
                  "cookies/k.txt"]
# Names Windows Temp keeps; "h" and "r" are hidden and read-only.
ODD_NAMES = ["COM1", "aux.log", "CON", "h", "h.", "r", "r ", CLIMB_FILE]
MISSING_TEMP = "C:\\olvex-no-temp"

# version: the Cookies folder and the application data folder
PLACES = {"winxp": ("users/root/Cookies", "users/root/AppData/Roaming/"),
          "win98": ("windows/Cookies", "windows/Application Data/")}

# The folder removed first in the swap run, big enough that the swap surely lands while it
# is being removed.
SWAP_FILES = 5000

FIREFOX_INI = ("[General]\r\nStartWithLastProfile=1\r\n\r\n"
               "[Profile0]\r\nName=own\r\nIsRelative=1\r\nPath=Profiles/aaaa.own\r\n\r\n"
               "[Profile1]\r\nName=linked\r\nIsRelative=1\r\nPath=Profiles/bbbb.linked\r\n"
               "\r\n[Profile2]\r\nName=climbing\r\nIsRelative=1\r\nPath=%s\r\n")
# Where the climbing profile's path leads: a folder at the root of C:.
FIREFOX_CLIMBED = "climbed"
FIREFOX_BOXES = ["Check1", "Check2", "Check4"]  # Cache, Cookies.txt, formhistory.dat


class Fixture:
    """Seeded files and links, and what must be left of them. Paths are below C:\\ with
    "/" between names; a backslash is part of a name, as Linux allows."""

    def __init__(self, s):
        self.s, self.files, self.links = s, {}, {}

    def path(self, rel):
        return os.path.join(self.s.drive_c, rel)

    def file(self, rel, stays, attributes=()):
        content = ("seeded as C:/%s\n" % rel).encode()
        full = self.path(rel)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(content)
        kit.set_attributes(full, attributes)
        self.files[rel] = content if stays else None

    def link(self, rel, name, files=(), content=None):
        """rel becomes a link to the folder `name` beside the prefix, holding `files`, or
        with content to a file holding that."""
        target = self.s.make_link_outside(rel, name, content)
        for inner in files:
            os.makedirs(os.path.dirname(os.path.join(target, inner)), exist_ok=True)
            with open(os.path.join(target, inner), "w") as f:
                f.write("outside, %s/%s\n" % (name, inner))
        self.links[rel] = (target, kit.outside_state(target))

    def check(self, checks, what):
        for rel, content in sorted(self.files.items()):
            try:
                with open(self.path(rel), "rb") as f:
                    found = f.read()
            except FileNotFoundError:
                found = None
            checks.equal(found, content, "%s: C:/%s" % (what, rel))
        for rel, (target, before) in sorted(self.links.items()):
            checks.equal(os.path.islink(self.path(rel)), True, "%s: link C:/%s stays" % (what, rel))
            checks.equal(kit.outside_state(target), before, "%s: what C:/%s leads to" % (what, rel))


def seed_main_run(s, version):
    """The files of the first run; returns them and the ids of its categories."""
    cookies, app_data = PLACES[version]
    fx = Fixture(s)
    for name in ODD_NAMES:
        fx.file(WINDOWS_TEMP + name, True, {"h": [HIDDEN], "r": [READ_ONLY]}.get(name, ()))
    fx.file("canary.txt", True)
    for name in ("a.tmp", "y.tmp", "zz_stop/a.tmp"):
        fx.file(WINDOWS_TEMP + name, False)
    fx.link(WINDOWS_TEMP + "zz_stop/link", "stop", ["f.txt", "sub/g.txt"])
    fx.file(WINDOWS_TEMP + "zz_tail.tmp", True)
    fx.link(cookies, "cookies", ["root@example[1].txt", "sub/k.txt"])
    java = app_data + "Sun/Java/Deployment/"
    fx.file(java + "deployment.properties", True)
    fx.file(java + "cache/javapi/" + CLIMB_FOLDER + "/inner.tmp", True)
    fx.file(java + "cache/javapi/cache.idx", False)
    fx.file(java + "cache/javapi/v1.0/x.jar", False)
    categories = {"windows-temp", "cookies", "java-cache"}
    if version == "winxp":
        fx.link(WINDOWS_TEMP + "link.txt", "linked.txt", content=b"a file outside\r\n")
        fx.link("users/root/Local Settings", "local-settings", ["temp/u.tmp", "temp/sub/v.tmp"])
        # The root of a drive of its own: Wine names a folder by the drive whose root it is,
        # as it names a folder a drive letter is mapped onto.
        s.make_drive_outside("h", "profile")
        fx.link("users/linked", "profile", ["AppData/temp/t.tmp", "cookies/k.txt"])
        fx.file("users/root/AppData/temp/t.tmp", False)
        for place in PROFILE_PLACES:
            fx.file("important/" + place, True)
            fx.file("users/%s/%s" % (CLIMB_PROFILE, place), True)
        fx.file("windows/prefetch/layout.ini", True)
        fx.file("windows/prefetch/A.pf", False)
        fx.file("windows/prefetch/sub/B.pf", False)
        for name in ("TEMP", "TMP"):
            s.wine("reg", "add", "HKCU\\Environment", "/v", name, "/d", MISSING_TEMP, "/f")
        categories |= {"user-temp", "prefetch", "all-users-temp"}
    return fx, categories


def seed_firefox(s, version):
    roots, local = browsers.firefox_roots(s, version)
    # Back out of Profiles, then up from the Firefox folder (on winxp the local one too, as
    # deep) to C:\.
    climb = "Profiles/../" + "../" * len(roots[0].split("/")) + FIREFOX_CLIMBED
    s.make_file(roots[0] + "/profiles.ini", FIREFOX_INI % climb)
    own = roots[0] + "/Profiles/aaaa.own/"
    fx = Fixture(s)
    for name in ("Cookies.txt", "formhistory.dat", "Cache/0A1B2C3D", "Cache/Sub/keep.bin"):
        fx.file(FIREFOX_CLIMBED + "/" + name, True)
    fx.file(own + "formhistory.dat", False)
    fx.link(own + "Cache", "firefox-cache", ["0A1B2C3D", "Sub/keep.bin"])
    s.make_drive_outside("i", "firefox-profile")
    fx.link(roots[0] + "/Profiles/bbbb.linked", "firefox-profile",
            ["Cookies.txt", "formhistory.dat", "Cache/0A1B2C3D"])
    if version == "winxp":
        fx.link(own + "Cookies.txt", "cookies.txt", content=b"# cookies outside\n")
        fx.file(local[0] + "/Profiles/aaaa.own/Cache/0A1B2C3D", False)
    else:
        fx.file(own + "Cookies.txt", False)
    return fx


def swap_during_sweep(s, checks, window, firefox):
    """Windows Temp holds a (many files) and b; once a starts to go, b is moved aside and a
    link to a folder outside takes its place. The sweep, which listed b as a folder, must
    not empty what the link leads to, and stops there: zz.tmp after it stays."""
    fx = Fixture(s)
    first = s.make_dir(WINDOWS_TEMP + "a")
    for i in range(SWAP_FILES):
        open(os.path.join(first, "%05d.tmp" % i), "w").close()
    fx.file(WINDOWS_TEMP + "b/inner.tmp", True)
    fx.file(WINDOWS_TEMP + "zz.tmp", True)
    target = os.path.join(s.root, "outside", "swapped")
    os.makedirs(target)
    with open(os.path.join(target, "precious.doc"), "w") as f:
        f.write("outside\n")
    swapped, stop = [], threading.Event()

    def swap():
        while os.path.exists(os.path.join(first, "00000.tmp")):
            if stop.wait(0.001):
                return
        os.rename(fx.path(WINDOWS_TEMP + "b"), s.make_dir("aside") + "/b")
        os.symlink(target, fx.path(WINDOWS_TEMP + "b"))
        # Still there, so the sweep had not got past a to b yet.
        swapped.append(os.path.exists(os.path.join(first, "%05d.tmp" % (SWAP_FILES - 1))))

    s.driver("menu", firefox, "mnuMain", "--", "wait-visible", window.form)
    watcher = threading.Thread(target=swap)
    watcher.start()
    try:
        _, text, _ = window.empty_selected({"Check1"})
    finally:
        stop.set()
        watcher.join()
    kit.check_done_message(checks, window.form, text, "swap")
    checks.equal(swapped, [True],
                 "swap: b replaced by a link while a was still being emptied")
    checks.equal(os.listdir(target), ["precious.doc"], "swap: what the link leads to")
    checks.equal(os.path.exists(fx.path(WINDOWS_TEMP + "zz.tmp")), True, "swap: zz.tmp stays")
    checks.equal(os.path.exists(fx.path("aside/b/inner.tmp")), True, "swap: b's own file")


def check_run(s, checks, form, text, fx, title, registered=()):
    kit.check_done_message(checks, form, text, title)
    fx.check(checks, title)
    checks.equal(s.pending.added(), list(registered),
                 "%s: files registered for deletion at restart" % title)


def scenario(argv):
    if len(argv) != 1 or argv[0] not in PLACES:
        raise harness.HarnessError("usage: hostile_paths.py %s" % "|".join(PLACES))
    version = argv[0]
    main, firefox, _, _ = browsers.WINDOWS[version]
    _, app_data = PLACES[version]
    with harness.Scenario(version) as s:
        checks = harness.Checks("hostile paths on %s" % version, s)
        s.make_dir("Program Files/Mozilla Firefox")
        first, categories = seed_main_run(s, version)
        browser = seed_firefox(s, version)
        s.make_drive_outside("g", "sun")  # where run 2's link leads: the root of G:
        s.pending = kit.PendingDeletions(s)
        s.start()
        s.driver("wait-visible", main)
        window = kit.MainWindow(s, main)

        _, text, _ = window.empty_selected(window.boxes_of(categories))
        check_run(s, checks, main, text, first, "first run",
                  ["c:\\windows\\temp\\r"] if version == "winxp" else [])
        left = ODD_NAMES + ["zz_stop", "zz_tail.tmp"]
        left += ["link.txt"] if version == "winxp" else []
        checks.equal(sorted(os.listdir(first.path(WINDOWS_TEMP))), sorted(left),
                     "first run: what is left in C:/windows/temp")

        harness.run(["rm", "-rf", "--", s.path(app_data + "Sun")], dict(os.environ))
        second = Fixture(s)
        second.link(app_data + "Sun", "sun", ["Java/Deployment/deployment.properties",
                                              "Java/Deployment/cache/javapi/j.idx",
                                              "Java/Deployment/cache/javapi/v1.0/j.jar"])
        _, text, _ = window.empty_selected(window.boxes_of({"java-cache"}))
        check_run(s, checks, main, text, second, "Java Cache through a link")

        browsers.firefox_boxes_run(s, checks, version, FIREFOX_BOXES)
        browser.check(checks, "Firefox")
        checks.equal(s.pending.added(), [], "Firefox: files registered for deletion at restart")
        swap_during_sweep(s, checks, window, firefox)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
