"""The console program run the way a logon script or a scheduled task runs it: from a batch
file through `cmd /c`, checking %ERRORLEVEL% and a log named after the computer.

    python3 tests/e2e/console_script.py VERSION      (winxp win98)

The batch file runs, in turn:
- a clean naming an unknown id: exit 2, nothing deleted;
- a preview of Opera's cache, Opera not installed: exit 3;
- a clean of Windows Temp logging to C:\\logs\\%COMPUTERNAME%.csv: exit 1, since a read-only
  file stays; the ordinary file is gone, and the log (UTF-8 with a byte-order mark) has a
  line for each, with the time, the category, the action, the path, the bytes and why;
- a clean of the Java cache, where everything goes, and of a category where nothing is left
  to look into (winxp: Prefetch, whose layout.ini stays by design; win98: Temp, whose
  folder is not there): exit 0, and its lines are appended to the same log after the first
  run's, with no second byte-order mark;
- a clean of Cookies, whose folder is a link: refused, exit 1, the reason on standard error;
- /? into a file: exit 0, and it documents the exit codes;
- /list /csv into a file: exit 0, every id of the family, Opera's not available.
"""

import csv
import io
import re

import harness
import cleaning
import cleaning_kit as kit
from cleaning_kit import READ_ONLY

BATCH = r"""@echo off
C:\olvex\olvex.exe /clean windows-temp no-such-id
echo unknown=%ERRORLEVEL%
C:\olvex\olvex.exe /preview opera-cache
echo unavailable=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp /log:C:\logs\%COMPUTERNAME%.csv /quiet
echo clean=%ERRORLEVEL%
C:\olvex\olvex.exe -CLEAN Java-Cache {second} /log:C:\logs\%COMPUTERNAME%.csv /quiet
echo java=%ERRORLEVEL%
C:\olvex\olvex.exe /clean cookies /quiet 2> C:\logs\refused.txt
echo refused=%ERRORLEVEL%
C:\olvex\olvex.exe /? > C:\logs\help.txt
echo help=%ERRORLEVEL%
C:\olvex\olvex.exe /list /csv > C:\logs\list.csv
echo list=%ERRORLEVEL%
"""

HEADER = ["time", "computer", "user", "category", "action", "path", "bytes", "reason"]
COOKIES = {"winxp": "users/root/Cookies", "win98": "windows/Cookies"}
IDS = {"winxp": ["windows-temp", "user-temp", "cookies", "ie-cache", "ie-history", "prefetch",
                 "recycle-bin", "all-users-temp", "java-cache"],
       "win98": ["windows-temp", "cookies", "temp", "ie-cache", "ie-history", "recycle-bin",
                 "java-cache"]}
BROWSER_IDS = ["firefox-cache", "firefox-cookies", "firefox-passwords", "firefox-forms",
               "firefox-history", "firefox-downloads", "opera-cache", "opera-cookies",
               "opera-passwords", "opera-history", "opera-downloads", "opera-visited-links"]


def scenario(argv):
    if len(argv) != 1 or argv[0] not in IDS:
        raise harness.HarnessError("usage: console_script.py winxp|win98")
    version = argv[0]
    java = (cleaning.JAVA if version == "winxp" else cleaning.JAVA98) + "cache/javapi/"
    java_folder = "c:\\" + (java + "v1.0").replace("/", "\\").lower()
    java_file = java_folder + "\\x.jar"
    with harness.Scenario(version) as s:
        checks = harness.Checks("the console program in a script on %s" % version, s)
        s.make_dir("Program Files/Mozilla Firefox")
        s.make_dir("logs")
        kit.write_file(s, "windows/temp/a.tmp", "12345")
        kit.write_file(s, "windows/temp/ro.tmp", "1234567", [READ_ONLY])
        kit.write_file(s, java + "v1.0/x.jar", "jar")
        s.install(harness.console_path())
        second = "prefetch" if version == "winxp" else "temp"
        if version == "winxp":
            kit.write_file(s, "windows/prefetch/layout.ini", "layout")
            kit.write_file(s, "windows/prefetch/A.pf", "prefetch")
        s.make_link_outside(COOKIES[version], "cookies", None)
        s.make_file("olvex/script.bat", BATCH.format(second=second).replace("\n", "\r\n"))
        _, name, _ = s.wine("cmd", "/c", "echo %COMPUTERNAME%")
        log_path = "logs/%s.csv" % name.strip()

        code, out, err = s.wine("cmd", "/c", "C:\\olvex\\script.bat", check=False)
        codes = dict(re.findall(r"^(\w+)=(\d+)\r?$", out, re.M))
        checks.equal(codes, {"unknown": "2", "unavailable": "3", "clean": "1", "java": "0",
                             "refused": "1", "help": "0", "list": "0"},
                     "exit codes (stderr %r)" % err)
        refused = kit.read_file(s, "logs/refused.txt") or ""
        checks.equal(("refused" in refused, "link or junction" in refused), (True, True),
                     "why Cookies was refused, on standard error (%r)" % refused)

        checks.equal(kit.read_file(s, "windows/temp/a.tmp"), None, "the ordinary file is gone")
        checks.equal(kit.read_file(s, "windows/temp/ro.tmp"), "1234567", "the read-only one stays")
        checks.equal(kit.read_file(s, java + "v1.0/x.jar"), None, "the Java cache is emptied")
        with open(s.path(log_path), "rb") as f:
            raw = f.read()
        checks.equal(raw[:3], b"\xef\xbb\xbf", "the log starts with a byte-order mark")
        checks.equal(raw.count(b"\xef\xbb\xbf"), 1, "one byte-order mark, however many runs")
        lines = [r for r in csv.reader(io.StringIO(raw[3:].decode("utf-8"))) if r]
        checks.equal(lines[0], HEADER, "the log's header")
        lines = lines[1:]
        checks.equal([r[4] for r in lines if r[4].startswith("run-")],
                     ["run-start", "run-end", "run-start", "run-end"],
                     "each run starts and ends in the log")
        summary = [(r[3], r[4], r[5].lower(), r[6], r[7]) for r in lines
                   if not r[4].startswith("run-")]
        stay = "registered" if version == "winxp" else "stayed"
        checks.equal(sorted(summary[:2]),
                     sorted([("windows-temp", "deleted", "c:\\windows\\temp\\a.tmp", "5", ""),
                             ("windows-temp", stay, "c:\\windows\\temp\\ro.tmp", "7",
                              "read-only")]), "the log's lines of the first clean")
        second_lines = {"winxp": [("prefetch", "deleted", "c:\\windows\\prefetch\\a.pf"),
                                  ("prefetch", "stayed", "c:\\windows\\prefetch\\layout.ini")],
                        "win98": [("temp", "not there", "c:\\temp")]}[version]
        checks.equal(sorted(r[:3] for r in summary[2:]),
                     sorted([("java-cache", "deleted", java_file),
                             ("java-cache", "removed", java_folder)] + second_lines),
                     "the log's lines of the second clean, appended")
        checks.equal(all(re.match(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\Z", r[0]) for r in lines),
                     True, "every line starts with the local time")

        help_text = kit.read_file(s, "logs/help.txt") or ""
        for code_line in ("0  every selected category done", "2  bad usage", "3  not possible"):
            checks.equal(code_line in help_text, True, "/? documents %r" % code_line)
        listed = [r for r in csv.reader(io.StringIO(kit.read_file(s, "logs/list.csv") or ""))]
        checks.equal([r[0] for r in listed[1:]], IDS[version] + BROWSER_IDS, "/list ids")
        checks.equal({r[0]: r[2] for r in listed[1:]}.get("opera-cache"), "no",
                     "Opera is not installed")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
