"""Where the shell names none of the user's folders, the environment names the profile and
the folder library Program Files; the profile so named is the user's own, whatever it is
called and wherever it lies, and All Users Temp cleans the profiles where the system keeps
them.

    python3 tests/e2e/profile_fallback.py VERSION      (nt40 winxp)

Wine's shell names a user's folders after the user's name and names none that does not
exist: so the program runs as a user (USER) who has no folder in C:\\users, and the shell
names none of his folders, while the folder library (shfolder.dll) still names Program
Files, and the Internet cache, cookies and history, which the scenario puts in the profile.
The environment's USERPROFILE (from HKCU\\Volatile Environment) names the profile. C:\\users
(where the system's profile library says the profiles are) holds root's, another user's.

- nt40: the user "jo" with the profile C:\\users\\jo.DOMAIN, as a domain user's is often
  called, laid out as NT 4.0 lays it out: the cache in the profile itself, no Local Settings
  folder, and TEMP the folder Temp in the profile.
- winxp: the system account, as a task scheduled to run as SYSTEM has it: the profile
  C:\\windows\\system32\\config\\systemprofile, with its Local Settings, nowhere near the
  users' profiles. The folder above it holds other folders, which are no profiles.

One start of the program: the Firefox menu is on, Firefox's folder being in Program Files.
One run with Current User Temp, Cookies and All Users Temp ticked:
- the user's temporary folder (nt40: the one TEMP names, inside his profile) and Cookies are
  emptied of what can go; of the read-only files that stay, the temporary one and the cookie
  are each registered for deletion at restart once (nt40: the cookie is met by Cookies and
  by All Users Temp, which takes jo.DOMAIN for the user's own, and a path listed already is
  not added again);
- root's cookies are swept by All Users Temp, and its read-only cookie is not registered;
  on winxp root's Local Settings\\temp is swept too, and on nt40 it is left: Current User
  Temp is jo.DOMAIN's, and with the cache directly in the profile, as on NT 4.0, All Users
  Temp knows no local-settings folder;
- nothing outside those folders goes (winxp: nothing beside the system account's profile),
  and nothing else is registered but the cookies' index, which the program's own cookie
  purge keeps open.
"""

import os

import harness
import cleaning_kit as kit
from cleaning_kit import READ_ONLY

FORM = kit.NT
BOXES = {"Check2", "Check3", "Check9"}
OTHER = "users/root/"
SHELL_FOLDERS = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"
SYSTEM_PROFILE = "windows/system32/config/systemprofile/"


class Account:
    """The user the program runs as, his profile, where the Internet library keeps its
    folders in it (it makes them where they are missing: put in the profile rather than in
    C:\\users\\USER, which would make the shell's profile folder), his TEMP, and the files
    seeded: path -> (gone after the run, times registered for deletion at restart); the
    files named ro.* are read-only."""

    def __init__(self, user, profile, internet, temp, files):
        self.user, self.profile, self.internet, self.temp = user, profile, internet, temp
        self.files = dict(files, **{OTHER + "Cookies/root@example[1].txt": (True, 0),
                                    OTHER + "Cookies/ro.txt": (False, 0),
                                    profile + "Documents/keep.txt": (False, 0),
                                    "windows/temp/keep.tmp": (False, 0)})
        # The index the Internet library keeps open for the cookie purge: registered, in
        # the user's own profile. (The content entries' index, which no purge of this run
        # opens, goes.)
        self.indexes = {profile + "Cookies/index.dat": 1}


def nt40():
    profile = "users/jo.DOMAIN/"
    return Account("jo", profile, {"Cache": profile + "Temporary Internet Files",
                                   "Cookies": profile + "Cookies", "History": profile + "History"},
                   profile + "Temp", {
                       profile + "Temp/a.tmp": (True, 0),
                       profile + "Temp/sub/b.tmp": (True, 0),
                       profile + "Temp/ro.tmp": (False, 1),
                       profile + "Cookies/jo@example[1].txt": (True, 0),
                       profile + "Cookies/ro.txt": (False, 1),
                       OTHER + "Local Settings/temp/keep.tmp": (False, 0),
                   })


def winxp():
    profile, config = SYSTEM_PROFILE, "windows/system32/config/"
    local = profile + "Local Settings/"
    return Account("SYSTEM", profile, {"Cache": local + "Temporary Internet Files",
                                       "Cookies": profile + "Cookies", "History": local + "History"},
                   local + "Temp", {
                       local + "temp/a.tmp": (True, 0),
                       local + "temp/ro.tmp": (False, 1),
                       profile + "Cookies/system@example[1].txt": (True, 0),
                       OTHER + "Local Settings/temp/other.tmp": (True, 0),
                       OTHER + "Local Settings/temp/ro.tmp": (False, 0),
                       config + "regback/Local Settings/temp/keep.tmp": (False, 0),
                       config + "regback/cookies/keep.txt": (False, 0),
                   })


ACCOUNTS = {"nt40": nt40, "winxp": winxp}


def content_of(rel):
    return "seeded as C:/%s\n" % rel


def windows_path(rel):
    return "c:\\" + rel.replace("/", "\\").lower()


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ACCOUNTS:
        raise harness.HarnessError("usage: profile_fallback.py nt40|winxp")
    account = ACCOUNTS[argv[0]]()
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("profile without the shell on %s" % argv[0], s)
        s.wine("reg", "add", "HKCU\\Volatile Environment", "/v", "USERPROFILE", "/d",
               windows_path(account.profile.rstrip("/")), "/f")
        s.wine("reg", "add", "HKCU\\Environment", "/v", "TEMP", "/d",
               windows_path(account.temp), "/f")
        s.env["USER"] = account.user
        for rel in account.files:
            read_only = rel.rsplit("/", 1)[1].startswith("ro.")
            kit.write_file(s, rel, content_of(rel), [READ_ONLY] if read_only else [])
        s.make_dir("Program Files/Mozilla Firefox")
        for name, rel in account.internet.items():
            s.wine("reg", "add", SHELL_FOLDERS, "/v", name, "/t", "REG_EXPAND_SZ", "/d",
                   windows_path(rel), "/f")
        s.pending = kit.PendingDeletions(s)
        s.start()
        checks.equal(s.driver("wait-visible", FORM, "--", "menu-state", FORM, "mnuFirefox"),
                     ["enabled"], "Form1.mnuFirefox with Program Files from the folder library")

        window = kit.MainWindow(s, FORM)
        _, text, _ = window.empty_selected(BOXES)
        kit.check_done_message(checks, FORM, text, "the run")
        for rel, (gone, _) in sorted(account.files.items()):
            checks.equal(kit.read_file(s, rel), None if gone else content_of(rel),
                         "after the run: C:/%s" % rel)
        checks.equal(os.path.lexists(s.path("users/" + account.user)), False,
                     "C:/users/%s, which the shell would name, after the run" % account.user)
        counts = {}
        for path in s.pending.added():
            counts[path] = counts.get(path, 0) + 1
        expected = dict(account.indexes,
                        **{rel: times for rel, (_, times) in account.files.items()})
        for rel, times in sorted(expected.items()):
            checks.equal(counts.pop(windows_path(rel), 0), times,
                         "times C:/%s is registered for deletion at restart" % rel)
        checks.equal(counts, {}, "other files registered for deletion at restart")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
