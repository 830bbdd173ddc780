"""A link in the Windows temp folder to the same path on another drive letter: what it leads
to stays.

    python3 tests/e2e/drive_alias.py winxp

The name the system reports for a handle starts below its volume, without the drive
letter, so a file reached through C:\\windows\\temp\\victim.txt that really is
D:\\windows\\temp\\victim.txt reports the very name the listing promised. Drive D: is a
folder beside the prefix holding windows\\temp\\victim.txt and a read-only ro_victim.txt;
C:\\windows\\temp holds file links of those names to them, between ordinary files. One run
of Windows Temp: the ordinary files go, the links stay, D:'s files keep their content and
nothing is registered for deletion at restart. After the program exits, D:'s files lose
their read-only bit (as their owner may do), `wineboot -r` carries out the restart list,
and D:'s files are still there.
"""

import os

import harness
import cleaning_kit as kit
from cleaning_kit import READ_ONLY

FORM = kit.NT
WINDOWS_TEMP = "windows/temp/"
ALIASED = {"victim.txt": (), "ro_victim.txt": [READ_ONLY]}
PLAIN = ["a_first.tmp", "z_after.tmp"]

EXIT_TIMEOUT = 15
RESTART_TIMEOUT = 120


def seed(s):
    """Returns D:'s files (Linux path -> content)."""
    drive = "drive-d"
    s.make_drive_outside("d", drive)
    victims = {}
    for name, attributes in ALIASED.items():
        content = "D:\\windows\\temp\\%s\n" % name
        target = s.make_link_outside(WINDOWS_TEMP + name, "%s/windows/temp/%s" % (drive, name),
                                     content)
        kit.set_attributes(target, attributes)
        victims[target] = content
    for name in PLAIN:
        kit.write_file(s, WINDOWS_TEMP + name, "an ordinary temporary file\n")
    return victims


def check_victims(checks, what, victims):
    for target, content in sorted(victims.items()):
        try:
            with open(target) as f:
                found = f.read()
        except FileNotFoundError:
            found = None
        checks.equal(found, content, "%s: D:'s %s" % (what, os.path.basename(target)))


def scenario(argv):
    if argv != ["winxp"]:
        raise harness.HarnessError("usage: drive_alias.py winxp")
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("a link to another drive letter on %s" % argv[0], s)
        victims = seed(s)
        s.pending = kit.PendingDeletions(s)
        s.start()
        window = kit.MainWindow(s, FORM)
        s.driver("wait-visible", FORM)
        _, text, _ = window.empty_selected({"Check1"})
        kit.check_done_message(checks, FORM, text, "Windows Temp")
        check_victims(checks, "Windows Temp", victims)
        for name in ALIASED:
            checks.equal(os.path.islink(s.path(WINDOWS_TEMP + name)), True,
                         "Windows Temp: link %s stays" % name)
        for name in PLAIN:
            checks.equal(kit.read_file(s, WINDOWS_TEMP + name), None, "Windows Temp: %s" % name)
        checks.equal(s.pending.added(), [], "Windows Temp: registered for deletion at restart")

        s.driver("click", FORM, "Command3")
        checks.equal(s.wait_exit(EXIT_TIMEOUT), 0, "exit code after Exit")
        # Wine's restart leaves read-only files; whoever owns D:'s file may clear the bit.
        for target in victims:
            if os.path.exists(target):
                os.chmod(target, 0o644)
        s.wine("wineboot", "-r", timeout=RESTART_TIMEOUT)
        check_victims(checks, "after the restart", victims)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
