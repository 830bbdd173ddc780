"""What olvex /exclude and /log name is the folder or file Windows means, however it is
typed; a form that names no one existing file or folder stops the run before it deletes.

    python3 tests/e2e/console_exclude.py VERSION      (winxp win98)

Windows Temp holds Keep, Keep2, LongFolderName, Données, keep.tmp (each to be kept by another
form of its name), Gone and old.tmp (to go), and a link `out` to a folder outside the prefix.
1. Forms that name no one file or folder (a wildcard, a path not there, a device, the link,
   a literal \\\\?\\ form ending in a dot): each exits 2, nothing deleted.
2. One clean that keeps Keep (winxp: by the letter D: that names Windows Temp; win98: through
   a `..`), Keep2 (a trailing dot and blank), LongFolderName (its short name), Données (in
   capitals), keep.tmp (the literal \\\\?\\ form), logging into Windows Temp itself (winxp: by
   D:): what is kept is there, Gone and old.tmp are gone, the link and what it leads to are
   untouched, and the log is whole, its run framed.
3. /olderthan:7 by each file's own time: a file of 1975 and one a month ahead stay, told as
   times that tell nothing (exit 1); a month-old one goes, a new one stays.
"""

import os
import time

import harness
import cleaning_kit as kit

TEMP = "C:\\windows\\temp"
KEPT = ["Keep", "Keep2", "LongFolderName", "Données"]
# Wine's short name of LongFolderName: made from the long name alone (checked below).
SHORT = "LONG~NYX"


def seed(s):
    for folder in KEPT + ["Gone"]:
        s.make_file("windows/temp/%s/f.txt" % folder, "old\n")
    for name in ("old.tmp", "keep.tmp"):
        s.make_file("windows/temp/" + name, "old\n")
    outside = s.make_link_outside("windows/temp/out", "outside")
    with open(os.path.join(outside, "precious.txt"), "w") as f:
        f.write("outside\n")
    return outside


def refused_forms(s, checks):
    for form in (TEMP + "\\Ke*", TEMP + "\\Nowhere", TEMP + "\\nul.txt", TEMP + "\\out",
                 "\\\\?\\" + TEMP + "\\Keep."):
        code, out, err = kit.olvex(s, "/clean", "windows-temp", "/exclude:" + form)
        checks.equal(code, 2, "exit code of /exclude:%s (%s)" % (form, err.strip()))
        checks.equal(os.path.exists(s.path("windows/temp/old.tmp")), True,
                     "old.tmp after /exclude:%s" % form)


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win98"):
        raise harness.HarnessError("usage: console_exclude.py winxp|win98")
    version = argv[0]
    with harness.Scenario(version) as s:
        checks = harness.Checks("what /exclude and /log name, on %s" % version, s)
        outside = seed(s)
        letter = TEMP
        if version == "winxp":
            s.make_drive_inside("d", "windows/temp")
            letter = "D:"
        s.install(harness.console_path())
        code, out, _ = s.wine("cmd", "/c", "if exist %s\\%s\\f.txt echo yes" % (TEMP, SHORT),
                              check=False)
        checks.equal(out.strip(), "yes", "the short name %s reaches LongFolderName" % SHORT)
        refused_forms(s, checks)

        log = letter + "\\olvex.csv"
        keep = letter + "\\Keep" if version == "winxp" else TEMP + "\\Gone\\..\\Keep"
        code, out, err = kit.olvex(
            s, "/clean", "windows-temp", "/details", "/log:" + log, "/exclude:" + keep,
            "/exclude:" + TEMP + "\\Keep2. ", "/exclude:" + TEMP + "\\" + SHORT,
            "/exclude:C:\\WINDOWS\\TEMP\\DONNÉES", "/exclude:\\\\?\\" + TEMP + "\\keep.tmp")
        checks.equal(code, 1, "exit code of the clean (the link stays): %s" % err.strip())
        for folder in KEPT:
            checks.equal(os.path.exists(s.path("windows/temp/%s/f.txt" % folder)), True,
                         "%s kept" % folder)
        for name in ("keep.tmp", "olvex.csv", "out"):
            checks.equal(os.path.lexists(s.path("windows/temp/" + name)), True, name + " kept")
        for name in ("Gone", "old.tmp"):
            checks.equal(os.path.exists(s.path("windows/temp/" + name)), False, name + " gone")
        checks.equal(sorted(os.listdir(outside)), ["precious.txt"], "outside, through the link")
        log_path = s.path("windows/temp/olvex.csv")
        text = open(log_path, "rb").read().decode("utf-8") if os.path.exists(log_path) else ""
        checks.equal(text.startswith("\ufefftime,computer,user,"), True, "the log's header")
        checks.equal([line.split(",")[4] for line in text.splitlines()
                      if ",run-" in line], ["run-start", "run-end"], "the run's frame")
        ages(s, checks)
        checks.finish()


def ages(s, checks):
    """/olderthan judges the file's own time: one before 1980 or far ahead tells nothing and
    keeps the file (exit 1); an old one goes, a young one stays."""
    now = time.time()
    for name, written in (("ancient.tmp", 157766400), ("ahead.tmp", now + 30 * 86400),
                          ("aged.tmp", now - 30 * 86400), ("young.tmp", now)):
        os.utime(s.make_file("windows/temp/" + name, "x\n"), (written, written))
    code, out, err = kit.olvex(s, "/clean", "windows-temp", "/olderthan:7", "/details")
    checks.equal(code, 1, "exit code of the clean by age: %s" % err.strip())
    for name, stays in (("ancient.tmp", True), ("ahead.tmp", True), ("aged.tmp", False),
                        ("young.tmp", True)):
        checks.equal(os.path.exists(s.path("windows/temp/" + name)), stays, name + " stays")
    told = sorted(line.split()[1].rsplit("\\", 1)[-1] for line in out.splitlines()
                  if "its last-write time tells nothing" in line and "would" not in line
                  and line.startswith("    stayed"))
    checks.equal(told, ["ahead.tmp", "ancient.tmp"], "files whose time tells nothing")


if __name__ == "__main__":
    harness.main_of(scenario)
