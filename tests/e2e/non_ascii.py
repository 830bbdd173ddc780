"""Names outside ASCII, from the shell's folders and profiles.ini to the files deleted.

    python3 tests/e2e/non_ascii.py VERSION      (winxp win98)

winxp: the user's Application Data folder (CSIDL 26) is moved to a folder with letters
outside the ANSI code page, C:\\users\\José Öberg Жанна\\AppData\\Roaming. A Windows run with
Java Cache ticked sweeps the Java cache there (not the one in the old folder). Its
Mozilla\\Firefox\\profiles.ini names Profiles/ключ.default in UTF-8 and Profiles/café.default
in the ANSI code page's bytes, as older Firefox versions wrote it; a Firefox run with Cache,
Cookies and Form History ticked empties both profiles of those, and their caches under the
local application data folder too.

win98: profiles.ini under C:\\windows\\Application Data names Profiles/Öberg.default in
UTF-8 and Profiles/café.default in the ANSI code page; the same Firefox run empties both. A
Windows run with Windows Temp and Temp ticked deletes files and folders named in the ANSI
code page from C:\\windows\\temp and C:\\Temp.

Both: profiles.ini also names, in the ANSI code page, a profile path of 140 characters, most
of them é: 270 bytes in UTF-8, yet within the 255 characters a value may have, so that profile
is emptied as the others are.

Both: whatever lies outside the cleaned files stays: the profiles' unticked files and cache
sub-folders, files beside the swept folders, and the folders a wrongly decoded profile name
would lead to (UTF-8 bytes read in the code page, code-page bytes read as UTF-8 with the bad
byte replaced).
"""

import os

import harness
import browsers
import cleaning_kit as kit

# Wine's ANSI code page under the harness's LANG=C.UTF-8 is 1252 (HKLM\System\
# CurrentControlSet\Control\Nls\CodePage, ACP); Debian 12 offers no other locale by
# default. The names below are chosen for it.
ACP = "cp1252"
CODE_PAGES = "HKLM\\System\\CurrentControlSet\\Control\\Nls\\CodePage"

SHELL_FOLDERS = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
MOVED_APPDATA = "C:\\users\\José Öberg Жанна\\AppData\\Roaming"
OLD_APPDATA = "users/root/AppData/Roaming/"

FIREFOX = {"winxp": MOVED_APPDATA[3:].replace("\\", "/") + "/Mozilla/Firefox/",
           "win98": "windows/Application Data/Mozilla/Firefox/"}
LOCAL_FIREFOX = "users/root/AppData/Local/Mozilla/Firefox/"  # winxp's second cache root
# The profile written in UTF-8 (outside the code page on winxp, inside it on win98) and the
# one written in the code page's bytes.
UTF8_PROFILE = {"winxp": "Profiles/ключ.default", "win98": "Profiles/Öberg.default"}
ACP_PROFILE = "Profiles/café.default"
LONG_PROFILE = "Profiles/" + "é" * 65 + "/" + "é" * 65
CACHE_NAME = {"winxp": "Жанна.bin", "win98": "Straße.bin"}

# Firefox boxes ticked: Cache, Cookies.txt, formhistory.dat (no password question).
FIREFOX_BOXES = ["Check1", "Check2", "Check4"]
FIREFOX_GONE = ["Cookies.txt", "formhistory.dat"]
FIREFOX_KEPT = ["signons.txt", "history.dat", "downloads.rdf"]


def profiles_ini(version):
    utf8 = "[Profile0]\r\nName=utf8\r\nIsRelative=1\r\nPath=%s\r\n\r\n" % UTF8_PROFILE[version]
    acp = "[Profile1]\r\nName=acp\r\nIsRelative=1\r\nPath=%s\r\n\r\n" % ACP_PROFILE
    longest = "[Profile2]\r\nName=long\r\nIsRelative=1\r\nPath=%s\r\n" % LONG_PROFILE
    return (b"[General]\r\nStartWithLastProfile=1\r\n\r\n" + utf8.encode("utf-8")
            + acp.encode(ACP) + longest.encode(ACP))


def misread(profile):
    """The name a profile path in UTF-8 would give if its bytes were taken as the code page."""
    return profile.encode("utf-8").decode(ACP)


class Expect:
    """Seeded files and whether each must be gone after the runs."""

    def __init__(self, s):
        self.s = s
        self.files = {}

    def file(self, path, gone):
        self.s.make_file(path, "seeded as C:/%s\n" % path)
        self.files[path] = gone

    def check(self, checks, what):
        for path, gone in sorted(self.files.items()):
            checks.equal("there" if os.path.exists(self.s.path(path)) else "gone",
                         "gone" if gone else "there", "%s: C:/%s" % (what, path))


def seed_firefox(s, version, expect):
    s.make_file(FIREFOX[version] + "profiles.ini", profiles_ini(version))
    roots = [FIREFOX[version]] + ([LOCAL_FIREFOX] if version == "winxp" else [])
    for root in roots:
        for profile in (UTF8_PROFILE[version], ACP_PROFILE, LONG_PROFILE):
            folder = root + profile + "/"
            if root == FIREFOX[version]:
                for name in FIREFOX_GONE + FIREFOX_KEPT:
                    expect.file(folder + name, name in FIREFOX_GONE)
            expect.file(folder + "Cache/0A1B2C3D", True)
            expect.file(folder + "Cache/" + CACHE_NAME[version], True)
            # The profile's own cache is flat; the local part's is emptied at every depth.
            expect.file(folder + "Cache/Sub/keep.bin", root == LOCAL_FIREFOX)
    # Where wrong decoding leads: the UTF-8 name read as the code page, and the code-page
    # name read as UTF-8 with its bad byte replaced.
    expect.file(FIREFOX[version] + misread(UTF8_PROFILE[version]) + "/Cookies.txt", False)
    expect.file(FIREFOX[version] + ACP_PROFILE.replace("é", "\ufffd") + "/Cookies.txt", False)


def move_appdata(s):
    s.make_dir(MOVED_APPDATA)
    for key, kind in (("User Shell Folders", "REG_EXPAND_SZ"), ("Shell Folders", "REG_SZ")):
        s.wine("reg", "add", SHELL_FOLDERS + key, "/v", "AppData", "/t", kind,
               "/d", MOVED_APPDATA, "/f")


def seed_windows_run(s, version, expect):
    """The files of the Windows run; returns its boxes."""
    if version == "winxp":
        java = MOVED_APPDATA[3:].replace("\\", "/") + "/Sun/Java/Deployment/"
        expect.file(java + "cache/javapi/v1.0/jar/Жанна.jar", True)
        expect.file(java + "cache/javapi/café.idx", True)
        expect.file(java + "deployment.properties", False)
        expect.file(OLD_APPDATA + "Sun/Java/Deployment/cache/javapi/old.idx", False)
        return {"Check10"}
    expect.file("windows/temp/résumé.tmp", True)
    expect.file("windows/temp/Öl/Straße.tmp", True)
    expect.file("windows/café.ini", False)
    expect.file("Temp/naïve.tmp", True)
    expect.file("Temp/Ärger/ü.tmp", True)
    expect.file("Program Files/Öl/keep.txt", False)
    return {"Check1", "Check3"}


def scenario(argv):
    if len(argv) != 1 or argv[0] not in FIREFOX:
        raise harness.HarnessError("usage: non_ascii.py %s" % "|".join(FIREFOX))
    version = argv[0]
    main = browsers.WINDOWS[version][0]
    with harness.Scenario(version) as s:
        _, out, _ = s.wine("reg", "query", CODE_PAGES, "/v", "ACP")
        if out.split()[-1:] != [ACP[2:]]:
            raise harness.HarnessError("the names here are chosen for code page %s, Wine "
                                       "reports: %s" % (ACP[2:], out.strip()))
        checks = harness.Checks("names outside ASCII on %s" % version, s)
        if version == "winxp":
            move_appdata(s)
        s.make_dir("Program Files/Mozilla Firefox")
        expect = Expect(s)
        boxes = seed_windows_run(s, version, expect)
        seed_firefox(s, version, expect)
        s.start()

        s.driver("wait-visible", main)
        _, text, _ = kit.MainWindow(s, main).empty_selected(boxes)
        kit.check_done_message(checks, main, text, "Windows run")

        browsers.firefox_boxes_run(s, checks, version, FIREFOX_BOXES)

        expect.check(checks, "after the Windows and Firefox runs")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
