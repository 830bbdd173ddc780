"""Where the shell names none of the user's folders, the environment names the profile and
the folder library Program Files; the profile so named is the user's own, whatever it is
called, and laid out as NT 4.0 lays it out.

    python3 tests/e2e/profile_fallback.py nt40

NT 4.0's shell knows neither the profile folder nor Program Files; Wine's knows every folder
at every version setting. But Wine's shell names a user's folders after the user's name and
names none that does not exist: so the program runs as the user "jo" (USER), who has no
folder C:\\users\\jo, and the shell names none of his folders, while the folder library
(shfolder.dll) still names Program Files, and the Internet cache, cookies and history,
which the scenario puts in the profile as NT 4.0 has them. The environment's USERPROFILE
(from HKCU\\Volatile Environment) names C:\\users\\jo.DOMAIN, as a domain user's profile is
often called; C:\\users\\root is another user's profile. As on NT 4.0, jo.DOMAIN has no Local
Settings folder, and his TEMP is the folder Temp in his profile.

One start of the program: the Firefox menu is on, Firefox's folder being in Program Files.
One run with Current User Temp, Cookies and All Users Temp ticked:
- jo.DOMAIN's Temp (which TEMP names, inside his profile) and Cookies are emptied of what
  can go; of the read-only files that stay, the temporary one and the cookie are each
  registered for deletion at restart once (the cookie is met by Cookies and by All Users
  Temp, which takes jo.DOMAIN for the user's own, and a path listed already is not added
  again);
- root's cookies are swept by All Users Temp, and its read-only cookie is not registered;
  root's Local Settings\\temp is left: Current User Temp is jo.DOMAIN's, and with the cache
  directly in the profile, as on NT 4.0, All Users Temp knows no local-settings folder;
- nothing outside those folders goes, and nothing else is registered but the cookies' index,
  which the program's own cookie purge keeps open.
"""

import os

import harness
import cleaning_kit as kit
from cleaning_kit import READ_ONLY

FORM = kit.NT
BOXES = {"Check2", "Check3", "Check9"}
USER = "jo"
PROFILE = "users/jo.DOMAIN/"
OTHER = "users/root/"
# The Internet library keeps its indexes in these folders, and makes them where they are
# missing: put in the profile, as on NT 4.0, rather than in C:\\users\\jo, which would make
# the shell's profile folder.
SHELL_FOLDERS = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"
INTERNET_FOLDERS = {"Cache": PROFILE + "Temporary Internet Files", "Cookies": PROFILE + "Cookies",
                   "History": PROFILE + "History"}

# path: (gone after the run, times registered for deletion at restart); the files named
# ro.* are read-only
FILES = {
    PROFILE + "Temp/a.tmp": (True, 0),
    PROFILE + "Temp/sub/b.tmp": (True, 0),
    PROFILE + "Temp/ro.tmp": (False, 1),
    PROFILE + "Cookies/jo@example[1].txt": (True, 0),
    PROFILE + "Cookies/ro.txt": (False, 1),
    OTHER + "Cookies/root@example[1].txt": (True, 0),
    OTHER + "Cookies/ro.txt": (False, 0),
    OTHER + "Local Settings/temp/keep.tmp": (False, 0),
    PROFILE + "Documents/keep.txt": (False, 0),
    "windows/temp/keep.tmp": (False, 0),
}
# The index the Internet library keeps open for the cookie purge: registered, in the user's
# own profile. (The content entries' index, which no purge of this run opens, goes.)
INDEXES = {PROFILE + "Cookies/index.dat": 1}


def content_of(rel):
    return "seeded as C:/%s\n" % rel


def windows_path(rel):
    return "c:\\" + rel.replace("/", "\\").lower()


def scenario(argv):
    if argv != ["nt40"]:
        raise harness.HarnessError("usage: profile_fallback.py nt40")
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("profile without the shell on %s" % argv[0], s)
        s.wine("reg", "add", "HKCU\\Volatile Environment", "/v", "USERPROFILE", "/d",
               "C:\\" + PROFILE.rstrip("/").replace("/", "\\"), "/f")
        s.env["USER"] = USER
        s.wine("reg", "add", "HKCU\\Environment", "/v", "TEMP", "/d",
               windows_path(PROFILE + "Temp"), "/f")
        for rel in FILES:
            read_only = rel.rsplit("/", 1)[1].startswith("ro.")
            kit.write_file(s, rel, content_of(rel), [READ_ONLY] if read_only else [])
        s.make_dir("Program Files/Mozilla Firefox")
        for name, rel in INTERNET_FOLDERS.items():
            s.wine("reg", "add", SHELL_FOLDERS, "/v", name, "/t", "REG_EXPAND_SZ", "/d",
                   windows_path(rel), "/f")
        s.pending = kit.PendingDeletions(s)
        s.start()
        checks.equal(s.driver("wait-visible", FORM, "--", "menu-state", FORM, "mnuFirefox"),
                     ["enabled"], "Form1.mnuFirefox with Program Files from the folder library")

        window = kit.MainWindow(s, FORM)
        _, text, _ = window.empty_selected(BOXES)
        kit.check_done_message(checks, FORM, text, "the run")
        for rel, (gone, _) in sorted(FILES.items()):
            checks.equal(kit.read_file(s, rel), None if gone else content_of(rel),
                         "after the run: C:/%s" % rel)
        checks.equal(os.path.lexists(s.path("users/" + USER)), False,
                     "C:/users/%s, which the shell would name, after the run" % USER)
        counts = {}
        for path in s.pending.added():
            counts[path] = counts.get(path, 0) + 1
        expected = dict(INDEXES, **{rel: times for rel, (_, times) in FILES.items()})
        for rel, times in sorted(expected.items()):
            checks.equal(counts.pop(windows_path(rel), 0), times,
                         "times C:/%s is registered for deletion at restart" % rel)
        checks.equal(counts, {}, "other files registered for deletion at restart")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
