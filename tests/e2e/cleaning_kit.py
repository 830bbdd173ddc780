"""What the cleaning scenarios share: setting the ticks of a main window, pressing "Empty
Selected" and reading its completion message, seeding files with Windows attributes from the
Linux side, the Recycle Bin, the URL cache (through seedcache.exe) and the list of files the
program asked to delete at the next restart.
"""

import csv
import io
import os
import re

import harness

# The main window of each family and its category boxes, in the order a run tests them.
NT = "Form1"
WIN98 = "Form6"
BOXES = {
    NT: ["Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9",
         "Check10"],
    WIN98: ["Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check8"],
}
FAMILY = {"winxp": NT, "win2k": NT, "nt40": NT, "win98": WIN98, "winme": WIN98}

DONE_TITLE = "Done"
DONE_NT = re.compile(r"Done Cleaning!! OLVEX CLEANER has freed [0-9]+ bytes\Z")
DONE_98 = "Done Cleaning!! "

CONSOLE_EXE = "C:\\olvex\\olvex.exe"

# How long a run may take before its completion message; a run that hangs fails.
RUN_TIMEOUT_MS = 60000

SESSION_MANAGER = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager"
PENDING = "PendingFileRenameOperations"

# Windows attributes the Linux side can give a file under Wine.
READ_ONLY = "read-only"  # the write bits
HIDDEN = "hidden"  # user.DOSATTRIB 0x2
SYSTEM = "system"  # user.DOSATTRIB 0x4


# --- files ------------------------------------------------------------------------------

def write_file(s, windows_path, content, attributes=()):
    """(Re)creates a file with that content and those attributes; returns its Linux path."""
    full = s.path(windows_path)
    if os.path.lexists(full):
        os.chmod(full, 0o644)
        os.unlink(full)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(content.encode("utf-8") if isinstance(content, str) else content)
    set_attributes(full, attributes)
    return full


def set_attributes(full, attributes):
    dos = 0
    if HIDDEN in attributes:
        dos |= 0x2
    if SYSTEM in attributes:
        dos |= 0x4
    if dos:
        os.setxattr(full, "user.DOSATTRIB", b"0x%x" % dos)
    if READ_ONLY in attributes:
        os.chmod(full, 0o444)


def read_file(s, windows_path):
    """The file's content, or None when it is gone."""
    try:
        with open(s.path(windows_path), "rb") as f:
            return f.read().decode("utf-8", "replace")
    except FileNotFoundError:
        return None


def make_deep_tree(top, depth, name="d", bottom_mode=0o644):
    """Nests `depth` folders called `name` under the Linux folder top, with a file at the
    bottom, one level at a time relative to the last (the whole path may be longer than
    the system takes in one piece)."""
    os.makedirs(top, exist_ok=True)
    fd = os.open(top, os.O_RDONLY | os.O_DIRECTORY)
    try:
        for _ in range(depth):
            os.mkdir(name, dir_fd=fd)
            inner = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
            os.close(fd)
            fd = inner
        os.close(os.open("bottom.tmp", os.O_CREAT | os.O_WRONLY, bottom_mode, dir_fd=fd))
    finally:
        os.close(fd)


def outside_state(target):
    """What a link's target holds: a file's bytes, or a folder's files (relative path ->
    bytes) and subfolders (relative path + "/" -> None); "(gone)" when it is missing."""
    if os.path.isfile(target):
        with open(target, "rb") as f:
            return f.read()
    if not os.path.isdir(target):
        return "(gone)"
    found = {}
    for top, dirs, files in os.walk(target):
        for name in dirs:
            found[os.path.relpath(os.path.join(top, name), target) + "/"] = None
        for name in files:
            with open(os.path.join(top, name), "rb") as f:
                found[os.path.relpath(os.path.join(top, name), target)] = f.read()
    return found


def tree_entries(top):
    """Number of entries below the Linux folder top (0 when it is empty or missing)."""
    code, out, err = harness.run(["find", top, "-mindepth", "1", "-printf", "."], dict(os.environ),
                                 check=False)
    if code != 0 and os.path.exists(top):
        raise harness.HarnessError("find %s failed: %s" % (top, err.strip()))
    return len(out)


# --- the Recycle Bin ($XDG_DATA_HOME/Trash, as Wine's shell keeps it) ---------------------

def trash_folder(s):
    return os.path.join(s.env["XDG_DATA_HOME"], "Trash")


def _trash_record(s, name):
    """The trash's record of name (under info/); returns the Linux path name takes under
    files/."""
    trash = trash_folder(s)
    os.makedirs(os.path.join(trash, "files"), exist_ok=True)
    os.makedirs(os.path.join(trash, "info"), exist_ok=True)
    with open(os.path.join(trash, "info", name + ".trashinfo"), "w") as f:
        f.write("[Trash Info]\nPath=%s\nDeletionDate=2024-01-02T03:04:05\n"
                % os.path.join(s.env["HOME"], name))
    return os.path.join(trash, "files", name)


def trash_file(s, name, content):
    """Puts a file into the Recycle Bin the way a desktop trashes it: the file under files/
    and its record under info/."""
    with open(_trash_record(s, name), "w") as f:
        f.write(content)


def trash_link(s, name, target):
    """Puts a symbolic link to the Linux path target into the Recycle Bin, the way a Linux
    file manager trashes a link: as the link itself."""
    os.symlink(target, _trash_record(s, name))


def trashed(s, name):
    """Whether name (a file, or a link, wherever it leads) is in the Recycle Bin."""
    return os.path.lexists(os.path.join(trash_folder(s), "files", name))


# --- the URL cache ------------------------------------------------------------------------

class UrlCache:
    """The prefix's URL cache index, through seedcache.exe. Remembers what it last saw, so
    refilling the index costs a program start only when something is missing."""

    def __init__(self, s):
        self.s = s
        self.exe = s.install(harness.seedcache_path())
        self.seen = None

    def addresses(self):
        _, out, _ = self.s.wine(self.exe, "list")
        self.seen = set(out.splitlines())
        return self.seen

    def fill(self, urls):
        """Makes sure the index holds at least these addresses."""
        have = self.addresses() if self.seen is None else self.seen
        missing = [u for u in urls if u not in have]
        if missing:
            self.s.wine(self.exe, "add", *missing)
            self.seen = have | set(missing)


# --- deletion at restart ------------------------------------------------------------------

def pending_deletions(s):
    """The paths registered for deletion at the next restart, in the order registered (lower
    case, without the \\??\\ prefix), read from the running server: Wine carries them out,
    and forgets them, when the prefix's server starts again."""
    code, out, err = s.wine("reg", "query", SESSION_MANAGER, "/v", PENDING, check=False)
    if code != 0:
        return []  # no such value: nothing registered
    for line in out.splitlines():
        fields = line.strip().split(None, 2)
        if fields and fields[0] == PENDING:
            if len(fields) < 3:
                return []
            if fields[1] != "REG_MULTI_SZ":
                raise AssertionError("%s is %s, not REG_MULTI_SZ" % (PENDING, fields[1]))
            # reg shows the strings joined by \0: pairs of (file, new name), the new name
            # empty for a deletion.
            strings = fields[2].split("\\0")
            pairs = list(zip(strings[0::2], strings[1::2]))
            odd = [p for p in pairs if p[1] != ""]
            if odd:
                raise AssertionError("renames instead of deletions registered: %s" % odd)
            return [source[4:].lower() if source.startswith("\\??\\") else source.lower()
                    for source, _ in pairs]
    raise harness.HarnessError("unexpected reg output: %r" % out)


class PendingDeletions:
    """What each run adds to the list of deletions at restart (the list only grows while
    the server runs)."""

    def __init__(self, s):
        self.s = s
        self.known = pending_deletions(s)

    def added(self):
        now = pending_deletions(self.s)
        if now[:len(self.known)] != self.known:
            raise AssertionError("registered deletions went away: had %s, now %s"
                                 % (self.known, now))
        added, self.known = now[len(self.known):], now
        return added


# --- the window ---------------------------------------------------------------------------

def olvex(s, *args):
    """Runs olvex.exe in the prefix (installed by the caller); (exit code, stdout, stderr)."""
    problems = harness.escape_routes(s.prefix, s._allowed_links)
    if problems:
        raise harness.HarnessError("the prefix leads outside itself: " + "; ".join(problems))
    return s.wine(CONSOLE_EXE, *args, check=False)


def category_captions(s):
    """{caption: id} of this system's categories as `olvex /list /csv` gives them; where two
    share a caption, the first listed (the Windows categories come before the browsers')."""
    s.install(harness.console_path())
    code, out, err = olvex(s, "/list", "/csv")
    if code != 0:
        raise AssertionError("olvex /list /csv: exit %d, %s" % (code, err))
    captions = {}
    for row in list(csv.reader(io.StringIO(out)))[1:]:
        captions.setdefault(row[1], row[0])
    return captions


class MainWindow:
    """A main window's category boxes and its "Empty Selected" button. Remembers the ticks it
    set, so that a whole run (ticking, the run itself, its message) is one driver start."""

    def __init__(self, s, form):
        self.s = s
        self.form = form
        self.boxes = BOXES[form]
        self.ticked = {box: 0 for box in self.boxes}  # as a freshly started program has them
        self._box_of_id = None

    def boxes_of(self, ids):
        """The boxes of the categories `ids`, found as a user finds them: by the caption on
        the window that the console's list gives each id."""
        if self._box_of_id is None:
            args = []
            for box in self.boxes:
                args += ["--", "text", self.form, box]
            shown = self.s.driver(*args[1:])
            id_of_caption = category_captions(self.s)
            self._box_of_id = {id_of_caption.get(text): box
                               for box, text in zip(self.boxes, shown)}
        missing = sorted(set(ids) - set(self._box_of_id))
        if missing:
            raise AssertionError("no box on %s shows %s" % (self.form, missing))
        return {self._box_of_id[i] for i in ids}

    def _reads(self):
        args = []
        for box in self.boxes:
            args += ["--", "checked", self.form, box]
        return args

    def _toggles(self, wanted):
        args = []
        for box in self.boxes:
            if self.ticked[box] != (1 if box in wanted else 0):
                args += ["--", "click", self.form, box]
        return args

    def empty_selected(self, wanted, select_all=False, timeout_ms=RUN_TIMEOUT_MS):
        """Ticks exactly the boxes in `wanted` (or, with select_all, none and then Select
        All), presses "Empty Selected", reads the completion message and closes it.
        Returns (ticks before the run, message text, ticks after the run)."""
        args = self._toggles(set() if select_all else wanted)
        if select_all:
            args += ["--", "click", self.form, "Check7"]
        args += self._reads()
        # The click returns once the run sits in its message (or the program is gone), so
        # only the click waits as long as the run may take.
        args += ["--", "click", self.form, "Command1", timeout_ms,
                 "--", "msgbox", DONE_TITLE, RUN_TIMEOUT_MS, "--", "answer", DONE_TITLE, "ok"]
        args += self._reads()
        lines = self.s.driver(*args[1:])
        n = len(self.boxes)
        if len(lines) != 2 * n + 1:
            raise AssertionError("driver printed %d lines, expected %d: %r"
                                 % (len(lines), 2 * n + 1, lines))
        before = dict(zip(self.boxes, (int(v) for v in lines[:n])))
        after = dict(zip(self.boxes, (int(v) for v in lines[n + 1:])))
        self.ticked = after
        return before, lines[n], after


def check_done_message(checks, form, text, what):
    if form == NT:
        checks.equal(bool(DONE_NT.match(text)), True,
                     "%s: completion message %r matches %r" % (what, text, DONE_NT.pattern))
    else:
        checks.equal(text, DONE_98, "%s: completion message" % what)
