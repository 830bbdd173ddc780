"""The console program run the way a logon script or a scheduled task runs it: from a batch
file through `cmd /c`, checking %ERRORLEVEL% and a log named after the computer on a share,
then the summary of the fleet's logs.

    python3 tests/e2e/console_script.py VERSION      (winxp win98)

The batch file runs, in turn:
- olvex with no arguments: the help, exit 2; an unknown id: exit 2, nothing deleted;
- a preview of Opera's cache, Opera not installed: none of it can run, exit 3;
- with /strict, a clean naming a category of the other Windows family: exit 3, nothing
  deleted, its run-start and run-end (exit 3, and why) in the computer's log;
- a log behind a link (C:\\linked leads out of the prefix), a log that is a link to a batch
  file outside, and one that is a link leading nowhere: exit 3, nothing deleted, what they
  lead to untouched, nothing made where the last one leads;
- a preview logging to a log left ending inside its last line: its lines start on a fresh
  line, and the log ends on a whole one;
- a clean of Windows Temp, Opera's cache and the other family's category, files older than 7
  days only, C:\\windows\\temp\\KeepDir excluded, logging to C:\\logs\\%COMPUTERNAME%.csv:
  the two others are skipped and said so, the old files go, the young one and KeepDir stay
  (KeepDir2 does not), a read-only file stays, not registered for restart: exit 1;
- a clean of the Java cache and of a category where nothing is left to look into (winxp:
  Prefetch, whose layout.ini stays by design; win98: Temp, whose folder is not there): exit 0,
  its lines appended to the same log, framed by run-start and run-end, with no second
  byte-order mark and no second header;
- a clean of Cookies, whose folder is a link: refused, exit 1, the reason on standard error;
- a preview and a clean of Windows Temp as CSV into files, logging into Windows Temp itself:
  the preview names what the clean deletes, a pipe of the host (winxp) stays in both; the log
  stays, told as the run's own, never registered; the CSV starts with a byte-order mark, and
  its item rows add up to its total;
- /? and /list /csv /details into files: exit 0, the exit codes documented, every id of the
  family, Opera's not available, Windows Temp's folder present;
- /summary of C:\\logs, with another computer's log, a copy of it cut short in its last line,
  a CSV that is no log and, as the Group Policy recipe writes them, notes in %COMPUTERNAME%.txt:
  a row per computer, the fleet's totals, the cut line and the CSV named and skipped (exit 1),
  the notes left out; its page, rendered by headless Chromium, shows both computers' rows and
  a bar each; as CSV with /stale:1, this computer's run is 0 days old and PC-07's, a week
  older, stale; a page asked for in place of the batch file's link is refused (exit 3).
A file named like a spreadsheet formula after a semicolon comes out disarmed in the log.
Two cleans started together on one log each write whole lines, both runs framed.
"""

import csv
import io
import os
import re
import subprocess
import time

import harness
import cleaning
import cleaning_kit as kit
import page_check
from cleaning_kit import READ_ONLY

BATCH = r"""@echo off
C:\olvex\olvex.exe > NUL
echo bare=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp no-such-id
echo unknown=%ERRORLEVEL%
C:\olvex\olvex.exe /preview opera-cache
echo unavailable=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp {other} /strict /log:C:\logs\%COMPUTERNAME%.csv
echo strict=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp java-cache /log:C:\linked\x.csv 2> C:\olvex\linked.txt
echo loglink=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp java-cache /log:C:\olvex\evil.csv
echo logfilelink=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp java-cache /log:C:\olvex\dangling.csv
echo logdangling=%ERRORLEVEL%
C:\olvex\olvex.exe /preview java-cache /quiet /log:C:\olvex\taken.csv
echo taken=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp opera-cache {other} /olderthan:7 /exclude:C:\windows\temp\KeepDir /log:C:\logs\%COMPUTERNAME%.csv /quiet
echo clean=%ERRORLEVEL%
C:\olvex\olvex.exe -CLEAN Java-Cache {second} /log:C:\logs\%COMPUTERNAME%.csv /quiet
echo java=%ERRORLEVEL%
C:\olvex\olvex.exe /clean cookies /quiet 2> C:\logs\refused.txt
echo refused=%ERRORLEVEL%
C:\olvex\olvex.exe /preview windows-temp /details /csv /log:C:\windows\temp\own.csv > C:\olvex\preview.csv
echo preview=%ERRORLEVEL%
C:\olvex\olvex.exe /clean windows-temp /details /csv /log:C:\windows\temp\own.csv > C:\olvex\report.csv
echo report=%ERRORLEVEL%
C:\olvex\olvex.exe /? > C:\logs\help.txt
echo help=%ERRORLEVEL%
C:\olvex\olvex.exe /list /csv /details > C:\logs\list.csv
echo list=%ERRORLEVEL%
echo %DATE% %TIME% some items stayed>> C:\logs\%COMPUTERNAME%.txt
C:\olvex\olvex.exe /summary:C:\logs /html:C:\olvex\fleet.html > C:\olvex\summary.txt 2> C:\olvex\skipped.txt
echo summary=%ERRORLEVEL%
C:\olvex\olvex.exe /summary:C:\logs /csv /stale:1 > C:\olvex\summary.csv 2> NUL
echo summarycsv=%ERRORLEVEL%
C:\olvex\olvex.exe /summary:C:\logs /html:C:\olvex\evil.csv > NUL 2> NUL
echo pagelink=%ERRORLEVEL%
"""

# Another computer's log, as a run there wrote it, and one cut short inside its last line.
OTHER_LOG = ("\ufeff" + "time,computer,user,category,action,path,bytes,reason\r\n"
             "2026-12-01 08:00:00,<b>PC-07</b>,ann,,run-start,,,version=1.0.0.0; windows=Windows"
             " XP; command=/clean all\r\n"
             "2026-12-01 08:00:01,<b>PC-07</b>,ann,windows-temp,deleted,C:\\WINDOWS\\temp\\x.tmp,"
             "900,\r\n"
             "2026-12-01 08:00:02,<b>PC-07</b>,ann,,run-end,,900,mode=clean; exit=0; files=1; "
             "folders=0; bytes=900; stayed=0; freed=900; failed=\r\n")
CUT_LOG = OTHER_LOG[:-9]

HEADER = ["time", "computer", "user", "category", "action", "path", "bytes", "reason"]
COOKIES = {"winxp": "users/root/Cookies", "win98": "windows/Cookies"}
OTHER = {"winxp": "temp", "win98": "user-temp"}
IDS = {"winxp": ["windows-temp", "user-temp", "cookies", "ie-cache", "ie-history", "prefetch",
                 "recycle-bin", "all-users-temp", "java-cache"],
       "win98": ["windows-temp", "cookies", "temp", "ie-cache", "ie-history", "recycle-bin",
                 "java-cache"]}
BROWSER_IDS = ["firefox-cache", "firefox-cookies", "firefox-passwords", "firefox-forms",
               "firefox-history", "firefox-downloads", "opera-cache", "opera-cookies",
               "opera-passwords", "opera-history", "opera-downloads", "opera-visited-links"]
# Chrome never ran on the 98 family.
CHROME_IDS = {"winxp": ["chrome-cache", "chrome-cookies", "chrome-passwords", "chrome-forms",
                        "chrome-history", "chrome-downloads"], "win98": []}
DAY = 24 * 60 * 60
# A name a spreadsheet splitting on ";" would read a formula in; the log disarms it with a '.
FORMULA = "windows/temp/f;=1+1;b.tmp"


def aged(s, path, content, days, attributes=()):
    full = kit.write_file(s, path, content, attributes)
    when = time.time() - days * DAY
    os.utime(full, (when, when))


def log_lines(raw):
    """The lines of a log after its byte-order mark, as fields."""
    return [r for r in csv.reader(io.StringIO(raw[3:].decode("utf-8"))) if r]


def scenario(argv):
    if len(argv) != 1 or argv[0] not in IDS:
        raise harness.HarnessError("usage: console_script.py winxp|win98")
    version = argv[0]
    nt = version == "winxp"
    java = (cleaning.JAVA if nt else cleaning.JAVA98) + "cache/javapi/"
    java_folder = "c:\\" + (java + "v1.0").replace("/", "\\").lower()
    java_file = java_folder + "\\x.jar"
    with harness.Scenario(version) as s:
        checks = harness.Checks("the console program in a script on %s" % version, s)
        s.make_dir("Program Files/Mozilla Firefox")
        s.make_dir("logs")
        s.pending = kit.PendingDeletions(s)
        aged(s, "windows/temp/a.tmp", "12345", 30)
        aged(s, "windows/temp/ro.tmp", "1234567", 30, [READ_ONLY])
        aged(s, "windows/temp/young.tmp", "young", 1)
        aged(s, FORMULA, "formula", 1)
        aged(s, "windows/temp/KeepDir/k.tmp", "kept", 30)
        aged(s, "windows/temp/KeepDir2/k2.tmp", "gone", 30)
        if nt:
            os.mkfifo(s.path("windows/temp/pipe.tmp"))
        kit.write_file(s, java + "v1.0/x.jar", "jar")
        s.install(harness.console_path())
        second = "prefetch" if nt else "temp"
        if nt:
            kit.write_file(s, "windows/prefetch/layout.ini", "layout")
            kit.write_file(s, "windows/prefetch/A.pf", "prefetch")
        s.make_link_outside(COOKIES[version], "cookies", None)
        linked = s.make_link_outside("linked", "linked-logs", None)
        evil = s.make_link_outside("olvex/evil.csv", "evil.bat", "@echo off\r\n")
        nowhere = s.make_link_outside("olvex/dangling.csv", "dangling.csv", "")
        os.unlink(nowhere)
        kit.write_file(s, "logs/PC-07.csv", OTHER_LOG)
        kit.write_file(s, "logs/cut.csv", CUT_LOG)
        kit.write_file(s, "olvex/taken.csv", CUT_LOG)
        s.make_file("olvex/script.bat",
                    BATCH.format(second=second, other=OTHER[version]).replace("\n", "\r\n"))
        _, name, _ = s.wine("cmd", "/c", "echo %COMPUTERNAME%")
        name = name.strip()
        log_path = "logs/%s.csv" % name

        code, out, err = s.wine("cmd", "/c", "C:\\olvex\\script.bat", check=False)
        codes = dict(re.findall(r"^(\w+)=(\d+)\r?$", out, re.M))
        checks.equal(codes, {"bare": "2", "unknown": "2", "unavailable": "3", "strict": "3",
                             "loglink": "3", "logfilelink": "3", "logdangling": "3",
                             "taken": "0", "clean": "1",
                             "java": "0", "refused": "1", "preview": "1", "report": "1",
                             "help": "0", "list": "0", "summary": "1", "summarycsv": "1",
                             "pagelink": "3"},
                     "exit codes (stderr %r)" % err)
        checks.equal(("link or junction" in (kit.read_file(s, "olvex/linked.txt") or ""),
                      os.listdir(linked), kit.outside_state(evil), os.path.lexists(nowhere)),
                     (True, [], b"@echo off\r\n", False), "the logs and the page behind and as "
                     "links: what they lead to is untouched, nothing is made where one leads")
        refused = kit.read_file(s, "logs/refused.txt") or ""
        checks.equal(("refused" in refused, "link or junction" in refused), (True, True),
                     "why Cookies was refused, on standard error (%r)" % refused)

        with open(s.path(log_path), "rb") as f:
            raw = f.read()
        checks.equal(raw[:3], b"\xef\xbb\xbf", "the log starts with a byte-order mark")
        checks.equal(raw.count(b"\xef\xbb\xbf"), 1, "one byte-order mark, however many runs")
        lines = log_lines(raw)
        checks.equal(lines[0], HEADER, "the log's header, once")
        lines = lines[1:]
        checks.equal([r[4] for r in lines if r[4].startswith("run-")],
                     ["run-start", "run-end"] * 3,
                     "each run starts and ends in the log, the one /strict refused too")
        checks.equal(all(len(r) == 8 and r[1] == name and r[2] == "root" for r in lines), True,
                     "every line names the computer and the user")
        checks.equal(all(re.match(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\Z", r[0]) for r in lines),
                     True, "every line starts with the local time")
        ends = [r[7] for r in lines if r[4] == "run-end"]
        strict = ends.pop(0)
        checks.equal((strict.startswith("mode=clean; exit=3; files=0;"),
                      "; why=with /strict" in strict, OTHER[version] in strict), (True,) * 3,
                     "the refused run's last line: its code and why (%r)" % strict)
        lines = lines[lines.index(next(r for r in lines if r[4] == "run-end")) + 1:]
        checks.equal([re.sub(r"; freed=-?\d+", "", e) for e in ends],
                     ["mode=clean; exit=1; files=2; folders=1; bytes=9; stayed=1; failed=",
                      "mode=clean; exit=0; files=%d; folders=1; bytes=%d; stayed=0; failed="
                      % ((2, 11) if nt else (1, 3))], "the runs' last lines")
        first = lines[:lines.index(next(r for r in lines if r[4] == "run-end"))]
        found = sorted((r[3], r[4], r[5].lower(), r[7]) for r in first if r[4] != "run-start")
        # Under /olderthan a file whose age its own handle did not tell is left to no restart.
        other_why = "not a category of " + ("Windows XP" if nt else "Windows 98 SE")
        checks.equal(found, sorted([
            ("windows-temp", "deleted", "c:\\windows\\temp\\a.tmp", ""),
            ("windows-temp", "deleted", "c:\\windows\\temp\\keepdir2\\k2.tmp", ""),
            ("windows-temp", "removed", "c:\\windows\\temp\\keepdir2", ""),
            ("windows-temp", "stayed", "c:\\windows\\temp\\ro.tmp", "read-only"),
            ("windows-temp", "stayed", "c:\\windows\\temp\\young.tmp",
             "written in the last 7 days"),
            ("windows-temp", "stayed", "c:\\windows\\temp\\f;'=1+1;b.tmp",
             "written in the last 7 days"),
            ("windows-temp", "stayed", "c:\\windows\\temp\\keepdir", "excluded"),
            ("opera-cache", "skipped", "", "Opera is not installed"),
            (OTHER[version], "skipped", "", other_why)] +
            ([("windows-temp", "stayed", "c:\\windows\\temp\\pipe.tmp",
               "written in the last 7 days")] if nt else [])),
            "the first clean's lines: filters, skipped categories")
        second_lines = {"winxp": [("prefetch", "deleted", "c:\\windows\\prefetch\\a.pf"),
                                  ("prefetch", "stayed", "c:\\windows\\prefetch\\layout.ini")],
                        "win98": [("temp", "not there", "c:\\temp")]}[version]
        second_run = lines[len(first) + 2:]
        checks.equal(sorted((r[3], r[4], r[5].lower()) for r in second_run
                            if not r[4].startswith("run-")),
                     sorted([("java-cache", "deleted", java_file),
                             ("java-cache", "removed", java_folder)] + second_lines),
                     "the second clean's lines, appended")

        # A log left ending inside a line: the next run starts on a fresh one, and the log
        # ends on a whole line.
        with open(s.path("olvex/taken.csv"), "rb") as f:
            taken = f.read()
        cut = CUT_LOG.encode("utf-8")
        added = [r for r in csv.reader(io.StringIO(taken[len(cut) + 2:].decode("utf-8"))) if r]
        checks.equal((taken[:len(cut) + 2] == cut + b"\r\n", taken.endswith(b"\r\n"),
                      [r[4] for r in added if r[4].startswith("run-")],
                      all(len(r) == 8 for r in added)),
                     (True, True, ["run-start", "run-end"], True),
                     "a log cut inside a line, taken up on a fresh line (%r)" % taken[len(cut):])

        # The preview and the clean as CSV files, logging inside the folder they clean.
        preview = list(csv.reader(io.StringIO(kit.read_file(s, "olvex/preview.csv") or "")))
        with open(s.path("olvex/report.csv"), "rb") as f:
            report_raw = f.read()
        checks.equal(report_raw[:3], b"\xef\xbb\xbf", "CSV to a file starts with a byte-order mark")
        report = list(csv.reader(io.StringIO(report_raw[3:].decode("utf-8"))))
        checks.equal(report[0], ["category", "action", "path", "items", "bytes", "reason", "kind"],
                     "the CSV's columns")
        going = sorted(r[2].lower() for r in preview[1:] if r[1] in ("would delete",
                                                                       "would remove") and r[2])
        gone = sorted(r[2].lower() for r in report[1:] if r[1] in ("deleted", "removed") and r[2])
        checks.equal(going, gone, "the preview names what the clean deletes")
        checks.equal("c:\\windows\\temp\\young.tmp" in gone, True, "no filter: the young file goes")
        items = sum(int(r[4]) for r in report[1:] if r[1] == "deleted" and r[6] == "item")
        total = [int(r[4]) for r in report[1:] if r[1] == "deleted" and r[6] == "total" and not r[0]]
        checks.equal(total, [items], "the item rows add up to the total over all categories")
        own = [(r[1], r[5]) for r in report[1:] if r[2].lower() == "c:\\windows\\temp\\own.csv"]
        checks.equal(own, [("stayed", "the run's own log")], "the log in the cleaned folder")
        checks.equal((kit.read_file(s, "windows/temp/own.csv") or "").count("run-end"), 2,
                     "it stays, with both runs' lines")
        checks.equal([p for p in s.pending.added() if "own.csv" in p.lower()], [],
                     "the run's own log is never registered for restart")
        if nt:
            pipe = [(r[0], r[1], r[5]) for r in preview[1:] + report[1:]
                    if r[2].lower().endswith("pipe.tmp")]
            checks.equal(pipe, [("windows-temp", "would stay", "a device, pipe or socket, not a "
                                 "file"), ("windows-temp", "stayed", "a device, pipe or socket, "
                                           "not a file")], "a pipe of the host, as both treat it")
            checks.equal(os.path.exists(s.path("windows/temp/pipe.tmp")), True, "the pipe stays")

        help_text = kit.read_file(s, "logs/help.txt") or ""
        for code_line in ("0  every selected category done", "2  bad usage", "3  not possible",
                          "4  stopped"):
            checks.equal(code_line in help_text, True, "/? documents %r" % code_line)
        listed = [r for r in csv.reader(io.StringIO(kit.read_file(s, "logs/list.csv") or ""))]
        checks.equal(sorted({r[0] for r in listed[1:]}), sorted(IDS[version] + BROWSER_IDS + CHROME_IDS[version]),
                     "/list ids")
        checks.equal({r[0]: r[2] for r in listed[1:]}.get("opera-cache"), "no",
                     "Opera is not installed")
        checks.equal([(r[4].lower(), r[5]) for r in listed[1:] if r[0] == "windows-temp"],
                     [("c:\\windows\\temp", "present")], "/list /details: Windows Temp's folder")

        summary = kit.read_file(s, "olvex/summary.txt") or ""
        skipped = kit.read_file(s, "olvex/skipped.txt") or ""
        checks.equal((name in summary, "<b>PC-07</b>" in summary,
                      "Fleet: 2 computers (2 exit 0)" in summary),
                     (True, True, True), "the summary's rows and totals (%r)" % summary)
        checks.equal(("cut.csv line 4: cut short" in skipped, "list.csv: not a log" in skipped,
                      ".txt" in skipped), (True, True, False),
                     "a cut line and a CSV that is no log skipped, and why; the notes beside "
                     "the logs left out (%r)" % skipped)
        rows = {r[0]: r for r in csv.reader(io.StringIO(kit.read_file(s, "olvex/summary.csv")
                                                         or ""))}
        here = rows.get(name, [""] * 12)
        other = rows.get("<b>PC-07</b>", [""] * 5 + ["0"] + [""] * 6)
        checks.equal(((here[3], here[5], here[11]), int(other[5]) >= 7, other[11]),
                     (("clean", "0", ""), True, "stale"),
                     "ages from the logs' local times against the system's clock: this "
                     "computer's run just now, PC-07's a week or more before, stale after a day "
                     "(%r)" % rows)
        page_check.check_fleet_page(checks, s.path("olvex/fleet.html"), [name, "<b>PC-07</b>"])

        # Two cleans at once on one log: each waits its turn, and every line is whole.
        s.make_dir("logs/both")
        both = "C:\\logs\\both\\both.csv"
        runs = [subprocess.Popen(["wine", kit.CONSOLE_EXE, "/clean", "windows-temp",
                                  "/log:" + both], env=s.env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL) for _ in range(2)]
        checks.equal(sorted(r.wait(timeout=120) in (0, 1) for r in runs), [True, True],
                     "two runs on one log both run")
        with open(s.path("logs/both/both.csv"), "rb") as f:
            shared = log_lines(f.read())
        checks.equal((shared[0], sorted(r[4] for r in shared[1:] if r[4].startswith("run-")),
                      all(len(r) == 8 for r in shared)),
                     (HEADER, ["run-end", "run-end", "run-start", "run-start"], True),
                     "the shared log: one header, both runs framed, whole lines")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
