"""Which Win32 functions olvex.exe, the console program, calls on each family, and what its
preview asks of the system: it looks, and changes nothing.

    python3 tests/e2e/console_calls.py VERSION      (win98 winxp)

The prefix is seeded as cleaning.py and browsers.py seed it (every category of the family,
URL cache entries, Firefox and Opera with their profiles), with a link in the Recycle Bin to
a file outside the prefix (system_calls.py tells why), a file that another program holds open
without sharing its deletion, and a file named with a character that the ANSI code page has
and the OEM code page lacks. Then, as a script runs them, both under Wine's relay trace:

1. `olvex.exe /preview all /details /csv`: no file of drive C:, no URL cache entry and no
   restart registration changes, and the trace shows no call that deletes, removes, moves,
   purges, registers or empties anything. Every open only opens (never creates, never
   deletes on close); the deletions are probed by the family's own open (on NT, a native
   open asking for the right to delete; on 9x, an ANSI open for reading that nobody else may
   share). The file in use would stay, "in use".
2. `olvex.exe /clean all /log:FILE`: deletions through handles on NT and by path on 9x; the
   file in use stays for the reason the preview gave; the link in the Recycle Bin and the
   file it leads to stay; the log (named outside ASCII) is written.

Both traces are held to system_calls.py's rules for the family (no W function real 9x lacks;
no ANSI function given a path or user text on NT), load libraries by their full path only,
and give back every handle they take.

Last, the output: run from a batch file through `cmd /c`, it is UTF-8 and the script sees
the exit code in ERRORLEVEL; in a console window (a pseudo-terminal, where Wine gives the
program a console) the NT family shows the name as it is, and the 9x family in the OEM code
page, where the character it lacks shows as "?".
"""

import collections
import csv
import io
import os

import harness
import cleaning
import cleaning_kit as kit
import console_preview
import system_calls

VERSIONS = ("win98", "winxp")
NINE_X = ("win98",)

# In the ANSI code page (1252) of the prefix but not in its OEM code page (437), which has
# the other letters.
NAMED = "windows/temp/Grüße€.tmp"
NAMED_IN_OEM = "Grüße?.tmp"
BUSY = "windows/temp/busy.tmp"
LOG = "C:\\olvex\\Protokoll-ä.csv"
# Long enough for both traced runs; the scenario's end ends it anyway.
HOLD_MS = 120000

# Calls that change files, the cache index, the restart list or the Recycle Bin.
CHANGING = {"DeleteFileA", "DeleteFileW", "RemoveDirectoryA", "RemoveDirectoryW",
            "MoveFileA", "MoveFileW", "MoveFileExA", "MoveFileExW", "NtSetInformationFile",
            "DeleteUrlCacheEntryA", "DeleteUrlCacheEntryW", "SHEmptyRecycleBinA",
            "SHEmptyRecycleBinW", "SHFileOperationA", "SHFileOperationW",
            "SetFileAttributesA", "SetFileAttributesW", "WritePrivateProfileStringA",
            "WritePrivateProfileStringW", "ClearHistory"}

DELETE_ACCESS = 0x00010000
GENERIC_READ = 0x80000000
FILE_OPEN = 1  # NtCreateFile's dispositions
FILE_CREATE = 2
OPEN_EXISTING = 3  # CreateFile's
FILE_DELETE_ON_CLOSE = 0x00001000


def trailing_numbers(call, count):
    """The last count arguments of a relay line as numbers (the first ones may be strings
    holding commas)."""
    return [int(a, 16) for a in call.args.rsplit(",", count)[-count:]]


def opens(calls):
    """(NtCreateFile as (access, share, disposition, options), CreateFileA/W as (access,
    share, disposition))."""
    native = [tuple(trailing_numbers(c, 10)[i] for i in (0, 5, 6, 7))
              for c in calls if c.function == "NtCreateFile"]
    paths = [tuple(trailing_numbers(c, 6)[i] for i in (0, 1, 3))
             for c in calls if c.function in ("CreateFileA", "CreateFileW")]
    return native, paths


def check_family_rules(checks, version, calls, what):
    names = collections.Counter(call.function for call in calls)
    checks.equal(len(calls) > 100, True, "%s: the trace shows the program at work (%d calls)"
                 % (what, len(calls)))
    if version in NINE_X:
        checks.equal(system_calls.listing(system_calls.nine_x_offences(calls)), [],
                     "%s: W functions (calls) that real Windows 9x only has as failing stubs"
                     % what)
    else:
        forbidden, unknown = system_calls.nt_offences(calls)
        checks.equal(system_calls.listing(forbidden), [],
                     "%s: ANSI functions (calls) given a path or user text on NT" % what)
        checks.equal(system_calls.listing(unknown), [], "%s: ANSI functions (calls) not "
                     "classified in system_calls.py" % what)
    loads = [call for call in calls if call.function in ("LoadLibraryA", "LoadLibraryW")]
    checks.equal([call.args for call in loads if "system" not in call.args.lower()], [],
                 "%s: libraries loaded by their bare names" % what)
    owned = system_calls.taken_and_given_back(calls)
    checks.equal({kind: n for kind, n in owned.items() if n[0] != n[1]}, {},
                 "%s: kinds of handle taken [times] and given back [times] by the end" % what)
    checks.equal(names["SHEmptyRecycleBinA"] + names["SHEmptyRecycleBinW"] +
                 names["SHQueryRecycleBinA"] + names["SHQueryRecycleBinW"], 0,
                 "%s: calls to the Recycle Bin, which Wine's shell empties through links" % what)
    return names


def csv_rows(text, action_column):
    return [r for r in csv.reader(io.StringIO(text)) if len(r) > action_column + 1]


def verdicts(rows, action_column, reason_column, path):
    """(action, reason) of every row naming path."""
    wanted = "c:\\" + path.replace("/", "\\").lower()
    return [(r[action_column], r[reason_column]) for r in rows
            if r[action_column + 1].lower() == wanted]


def scenario(argv):
    if len(argv) != 1 or argv[0] not in VERSIONS:
        raise harness.HarnessError("usage: console_calls.py %s" % "|".join(VERSIONS))
    version = argv[0]
    nt = version not in NINE_X
    with harness.Scenario(version) as s:
        checks = harness.Checks("console program's calls on %s" % version, s)
        console_preview.seed_every_category(s, version)
        s.pending = kit.PendingDeletions(s)
        kit.write_file(s, NAMED, "named outside the OEM code page\n")
        kit.write_file(s, BUSY, "held open by another program\n")
        linked = s.make_outside("linked from the trash.txt", system_calls.LINKED_CONTENT)
        kit.trash_link(s, system_calls.TRASHED_LINK, linked)
        s.hold("C:\\" + BUSY.replace("/", "\\"), HOLD_MS)
        s.install(harness.console_path())

        # The preview.
        before = cleaning.drive_c_listing(s)
        contents = {p: kit.read_file(s, p) for p in before if os.path.isfile(s.path(p))}
        addresses = s.url_cache.addresses()
        code, out, err = s.console("/preview", "all", "/details", "/csv", relay=True)
        calls = s.own_calls(harness.console_path())
        checks.equal(code, 1, "preview: exit code, things stay (stderr %r)" % err[-300:])
        checks.equal(sorted(cleaning.drive_c_listing(s) ^ before), [],
                     "preview: entries of drive C: that came or went")
        checks.equal(sorted(p for p, c in contents.items() if kit.read_file(s, p) != c), [],
                     "preview: files whose content changed")
        checks.equal(s.url_cache.addresses(), addresses, "preview: URL cache entries")
        checks.equal(s.pending.added(), [], "preview: deletions registered for restart")
        names = check_family_rules(checks, version, calls, "preview")
        checks.equal(sorted(f for f in CHANGING if names[f]), [],
                     "preview: calls that change something")
        native, by_path = opens(calls)
        if nt:
            checks.equal(sorted({d for _, _, d, _ in native} - {FILE_OPEN}), [],
                         "preview: native opens with another disposition than open")
            checks.equal([o for _, _, _, o in native if o & FILE_DELETE_ON_CLOSE], [],
                         "preview: native opens deleting on close")
            checks.equal(sum(1 for a, _, _, _ in native if a & DELETE_ACCESS) > 0, True,
                         "preview: deletions probed by opens asking for the right to delete")
        else:
            checks.equal(native, [], "preview: native opens on 9x")
            # Deletions are probed unshared; whether a Firefox runs is read sharing reading
            # and writing (98 takes no FILE_SHARE_DELETE), which leaves its lock as it is.
            reads = {(GENERIC_READ, 0, OPEN_EXISTING), (GENERIC_READ, 3, OPEN_EXISTING)}
            checks.equal(sorted(set(by_path) - reads), [],
                         "preview: opens other than for reading, of what exists")
            checks.equal(sum(1 for _, share, _ in by_path if share == 0) > 0, True,
                         "preview: deletions probed by unshared opens")
        preview = csv_rows(out.decode("utf-8"), 1)
        stays = "would register" if nt else "would stay"
        checks.equal(verdicts(preview, 1, 5, BUSY), [(stays, "in use")],
                     "preview: the file in use")
        checks.equal(verdicts(preview, 1, 5, NAMED), [("would delete", "")],
                     "preview: the file named outside the OEM code page, in UTF-8")

        # The clean.
        code, out, err = s.console("/clean", "all", "/log:" + LOG, relay=True)
        calls = s.own_calls(harness.console_path())
        checks.equal(code, 1, "clean: exit code, things stay (stderr %r)" % err[-300:])
        names = check_family_rules(checks, version, calls, "clean")
        by_path = names["DeleteFileA"] + names["DeleteFileW"] + names["RemoveDirectoryA"] + \
            names["RemoveDirectoryW"]
        by_handle = names["NtSetInformationFile"]
        checks.equal(by_path if nt else by_handle, 0, "clean: deletions the other way than the "
                     "family's")
        checks.equal((by_handle if nt else by_path) > 0, True, "clean: the trace shows deletions")
        checks.equal(names["GetPrivateProfileStringA"] + names["GetPrivateProfileStringW"] > 0,
                     True, "clean: the trace shows profiles.ini read")
        native, _ = opens(calls)
        checks.equal(any(d == FILE_CREATE for _, _, d, _ in native) if nt
                     else names["CreateFileA"] > 0, True,
                     "clean: the log made by the family's call (a native create, which follows "
                     "no link, on NT)")
        checks.equal(kit.read_file(s, NAMED), None, "clean: the file named outside the OEM "
                     "code page is gone")
        checks.equal(kit.read_file(s, BUSY), "held open by another program\n",
                     "clean: the file in use stays")
        checks.equal(kit.outside_state(linked), system_calls.LINKED_CONTENT,
                     "clean: the file a link in the Recycle Bin leads to")
        checks.equal(kit.trashed(s, system_calls.TRASHED_LINK), True,
                     "clean: the link in the Recycle Bin")
        try:
            with open(s.path(LOG[3:]), "rb") as f:
                log = f.read()
        except FileNotFoundError:
            log = b""
        checks.equal(log[:3], b"\xef\xbb\xbf", "clean: the log, opened by a name outside "
                     "ASCII, starts with its byte-order mark")
        log_rows = csv_rows(log[3:].decode("utf-8", "replace"), 4)
        checks.equal(verdicts(log_rows, 4, 7, BUSY),
                     [("registered" if nt else "stayed", "in use")],
                     "clean: the log's line for the file in use")

        # What a console window shows, against what a script's redirected output gets.
        kit.write_file(s, NAMED, "named outside the OEM code page\n")
        level, out, _ = s.console_errorlevel("/preview", "windows-temp", "/details")
        checks.equal(level, 1, "in a batch file: ERRORLEVEL of a preview where things stay")
        checks.equal("Grüße€.tmp" in out.decode("utf-8", "replace"), True,
                     "in a batch file: the name in UTF-8 (%r)" % out[-400:])
        code, shown = s.console_in_window("/preview", "windows-temp", "/details")
        shown = shown.decode("utf-8", "replace")
        expected = "Grüße€.tmp" if nt else NAMED_IN_OEM
        checks.equal(expected in shown, True, "console window: the name shows as %r (%r)"
                     % (expected, shown[-400:]))
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
