"""End-to-end harness: runs the real OlvexCleaner.exe (and olvex.exe, its console companion)
under Wine in a throw-away prefix.

One template prefix is built once (32-bit, null graphics driver, no way out to the Linux file
system); every scenario works in its own `cp -a` copy with its own wineserver, sets the Windows
version, starts the program and drives it with driver.exe. The program deletes files, so the
copy must hold nothing that leads outside it, and nothing here may touch the real home folder.

Locations come from the environment (ctest sets them):
  OLVEX_EXE       OlvexCleaner.exe   (default: <repo>/build/win32/OlvexCleaner.exe)
  OLVEX_DRIVER    driver.exe   (default: <repo>/build/win32/driver.exe)
  OLVEX_CONSOLE_EXE  olvex.exe, the console program   (default: beside OlvexCleaner.exe)
  OLVEX_E2E_ROOT  work folder for the prefixes   (default: <repo>/build/e2e)
  OLVEX_SEEDCACHE seedcache.exe, the URL cache seeder   (default: beside the driver)
  OLVEX_E2E_KEEP  set to 1 to keep a failed scenario's prefix for a look afterwards

Command line:
  python3 harness.py template                    build the template prefix if it is missing
  python3 harness.py try VERSION [driver args]   start the program, run the driver, clean up
"""

import collections
import fcntl
import os
import pty
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Bump when the way the template is made changes, so old templates are rebuilt.
TEMPLATE_FORMAT = "1"
STAMP = ".olvex-template"

# Windows paths of the two programs inside a scenario prefix; run by these, never through a
# drive mapped onto the Linux root (there is none).
WIN_DIR = "C:\\olvex"
WIN_EXE = WIN_DIR + "\\OlvexCleaner.exe"
WIN_DRIVER = WIN_DIR + "\\driver.exe"
WIN_CONSOLE = WIN_DIR + "\\olvex.exe"

# The scenario's server outlives its last process by this long: launches within a scenario
# stay cheap, and a server left behind by a killed run still ends on its own.
SERVER_LINGER_S = 30

# Generous outer limits; the driver's own time-outs are the ones that should fire.
SETUP_TIMEOUT = 180
COMMAND_TIMEOUT = 60
DRIVER_TIMEOUT_MS = 15000

# Wine's relay trace of one function call, e.g.
#   0024:Call KERNEL32.FindFirstFileW(0032f5a8 L"C:\\windows\\temp\\*",0032f35c) ret=0040abcd
# The arguments may hold anything a path holds, so the line is anchored at both ends.
RELAY_CALL = re.compile(r"^([0-9a-f]+):Call ([\w.-]+)\.(\w+)\((.*)\) ret=([0-9a-f]+)$")
# and its return, e.g.
#   0024:Ret  KERNEL32.FindFirstFileW() retval=00110ab8 ret=0040abcd
RELAY_RET = re.compile(r"^([0-9a-f]+):Ret  ([\w.-]+)\.(\w+)\(\) retval=([0-9a-f]+) ret=([0-9a-f]+)$")

# The server's socket lives at $TMPDIR/wine-XXXXXX/server-DEV-INODE/socket, and a Unix
# socket path may not exceed 107 bytes.
MAX_TMPDIR = 64


class HarnessError(Exception):
    """The test platform failed (as opposed to the program under test)."""


class DriverError(AssertionError):
    """A driver command failed: a control is missing, a wait timed out, ..."""

    def __init__(self, args, code, out, err):
        self.code, self.out, self.err = code, out, err
        what = "timed out" if code == 2 else "failed (exit %s)" % code
        so_far = ("\n  output so far: " + out.strip()) if out.strip() else ""
        super().__init__("driver %s %s: %s%s" % (" ".join(map(str, args)), what, err.strip(),
                                                   so_far))


def exe_path():
    return os.environ.get("OLVEX_EXE") or os.path.join(REPO, "build", "win32", "OlvexCleaner.exe")


def driver_path():
    return os.environ.get("OLVEX_DRIVER") or os.path.join(REPO, "build", "win32", "driver.exe")


def sqlite_path():
    """The SQLite library the programs load from their own folder."""
    return os.environ.get("OLVEX_SQLITE_DLL") or os.path.join(
        os.path.dirname(exe_path()), "OlvexSqlite.dll")


def console_path():
    return os.environ.get("OLVEX_CONSOLE_EXE") or os.path.join(
        os.path.dirname(exe_path()), "olvex.exe")


def seedcache_path():
    # The Windows build puts its programs side by side.
    return os.environ.get("OLVEX_SEEDCACHE") or os.path.join(
        os.path.dirname(driver_path()), "seedcache.exe")


def e2e_root():
    return os.path.abspath(os.environ.get("OLVEX_E2E_ROOT") or os.path.join(REPO, "build", "e2e"))


def wine_env(folder, prefix):
    """Environment for every wine command of one prefix: home, XDG folders, temp folder and
    server socket all inside `folder`; no display; no Mono/Gecko prompts; no desktop menu
    files."""
    home = os.path.join(folder, "home")
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("WINE", "XDG_", "LC_")) and k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update({
        "HOME": home,
        "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
        "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        "XDG_CACHE_HOME": os.path.join(home, ".cache"),
        "TMPDIR": os.path.join(folder, "tmp"),
        "WINEPREFIX": prefix,
        "WINEARCH": "win32",
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        "LANG": "C.UTF-8",
    })
    if len(env["TMPDIR"]) > MAX_TMPDIR:
        raise HarnessError("the wineserver socket path would be too long under %s; use a "
                           "shorter OLVEX_E2E_ROOT" % env["TMPDIR"])
    # The Recycle Bin is $XDG_DATA_HOME/Trash: its parent must exist, as on a desktop.
    for key in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR"):
        os.makedirs(env[key], exist_ok=True)
    return env


def run(cmd, env, timeout=COMMAND_TIMEOUT, check=True, cwd=None):
    """Runs a command to its end (or its time-out) and returns (code, stdout, stderr).
    Output goes through files, not pipes: wine leaves helper processes behind (and
    `wineserver -p` forks a daemon) that inherit the descriptors and would keep a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            code = subprocess.run(cmd, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=err, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            raise HarnessError("%s did not finish within %s s" % (" ".join(cmd), timeout))
        out.seek(0)
        err.seek(0)
        out_text = out.read().decode("utf-8", "replace")
        err_text = err.read().decode("utf-8", "replace")
    if check and code != 0:
        raise HarnessError("%s failed with %s: %s" % (" ".join(cmd), code, err_text.strip()))
    return code, out_text, err_text


def image_range(exe):
    """[start, end) of the exe's image in memory, and its entry point, from its PE header
    (ImageBase, SizeOfImage and AddressOfEntryPoint as `objdump -p` reports them)."""
    _, out, _ = run(["i686-w64-mingw32-objdump", "-p", exe], dict(os.environ))
    fields = dict(line.split(None, 1) for line in out.splitlines()
                  if line.startswith(("ImageBase", "SizeOfImage", "AddressOfEntryPoint")))
    try:
        base = int(fields["ImageBase"], 16)
        return (base, base + int(fields["SizeOfImage"], 16),
                base + int(fields["AddressOfEntryPoint"], 16))
    except (KeyError, ValueError):
        raise HarnessError("no ImageBase/SizeOfImage/AddressOfEntryPoint in objdump -p of %s"
                           % exe)


Call = collections.namedtuple("Call", "dll function args result", defaults=(None,))


def relay_calls(log_path, image):
    """The calls a relay log shows made from inside image ([start, end), entry point), in
    order, as Call(DLL upper case, function, argument text, return value as an int or None
    when the call never returned). Calls the system DLLs make on the program's behalf return
    elsewhere and are left out, and so are those of another program loaded at the same base
    (Wine's explorer.exe, started with the program's environment): a thread that starts at
    another program's entry point is not the program's."""
    calls = []
    open_calls = collections.defaultdict(list)  # thread -> indexes of calls not yet returned
    others = set()  # threads that started at another entry point
    with open(log_path, "rb") as log:
        for raw in log:
            line = raw.decode("utf-8", "replace").rstrip("\r\n")
            match = RELAY_CALL.match(line)
            if match and match.group(3) == "BaseThreadInitThunk":
                entry = match.group(4).split(",")
                started = int(entry[1], 16) if len(entry) > 1 else image[2]
                (others.discard if started == image[2] else others.add)(match.group(1))
            if match and match.group(1) in others:
                continue
            if match and image[0] <= int(match.group(5), 16) < image[1]:
                open_calls[match.group(1)].append(len(calls))
                calls.append(Call(match.group(2).upper(), match.group(3), match.group(4)))
                continue
            match = RELAY_RET.match(line)
            if not match or not image[0] <= int(match.group(5), 16) < image[1] or \
                    match.group(1) in others:
                continue
            pending = open_calls[match.group(1)]
            while pending:  # a call that never returned (the thread ended in it) is skipped
                index = pending.pop()
                if calls[index].function == match.group(3):
                    calls[index] = calls[index]._replace(result=int(match.group(4), 16))
                    break
    return calls


# --- the template -----------------------------------------------------------------------

def _stamp_text():
    _, version, _ = run(["wine", "--version"], dict(os.environ), timeout=30)
    return "format %s\n%s" % (TEMPLATE_FORMAT, version.strip())


def template_prefix(root=None):
    return os.path.join(root or e2e_root(), "template", "prefix")


def ensure_template(root=None):
    """Builds the template prefix under root unless a finished one with a matching stamp is
    there. Safe to call from several scenarios at once (a lock file)."""
    root = root or e2e_root()
    os.makedirs(root, exist_ok=True)
    final = os.path.join(root, "template")
    stamp_path = os.path.join(final, STAMP)
    stamp = _stamp_text()
    with open(os.path.join(root, "template.lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            with open(stamp_path) as f:
                if f.read() == stamp:
                    return os.path.join(final, "prefix")
        except FileNotFoundError:
            pass
        work = os.path.join(root, "template.new")
        _remove_tree(work)
        started = time.monotonic()
        _build_template(work)
        # Only the prefix is kept: the home and temp folders of the build served it alone.
        for leftover in ("home", "tmp"):
            _remove_tree(os.path.join(work, leftover))
        with open(os.path.join(work, STAMP), "w") as f:
            f.write(stamp)
        _remove_tree(final)
        os.rename(work, final)
        print("template prefix built in %.1f s: %s" % (time.monotonic() - started, final))
        return os.path.join(final, "prefix")


def _build_template(work):
    prefix = os.path.join(work, "prefix")
    env = wine_env(work, prefix)
    try:
        run(["wineboot", "-i"], env, timeout=SETUP_TIMEOUT)
        run(["wineserver", "-w"], env, timeout=SETUP_TIMEOUT)
        # No display in tests: windows, controls and message boxes still work without one.
        run(["wine", "reg", "add", "HKCU\\Software\\Wine\\Drivers", "/v", "Graphics",
             "/d", "null", "/f"], env)
        run(["wineserver", "-w"], env, timeout=SETUP_TIMEOUT)
    finally:
        run(["wineserver", "-k"], env, check=False)
    _seal(prefix)
    problems = escape_routes(prefix)
    if problems:
        raise HarnessError("template still leads outside itself: " + "; ".join(problems))


def _seal(prefix):
    """Cuts every way out of the prefix: the user folders Wine links to $HOME become empty
    real folders, and the z: drive (the whole Linux root) goes."""
    for top, dirs, files in os.walk(os.path.join(prefix, "drive_c")):
        for name in dirs + files:
            path = os.path.join(top, name)
            if os.path.islink(path):
                was_folder = os.path.isdir(path) or not os.path.exists(path)
                os.unlink(path)
                if was_folder:
                    os.mkdir(path)
                else:
                    open(path, "wb").close()
    dosdevices = os.path.join(prefix, "dosdevices")
    for name in os.listdir(dosdevices):
        if name.lower() != "c:" and len(name) >= 2 and name[1] == ":":
            os.unlink(os.path.join(dosdevices, name))


def escape_routes(prefix, allowed=None):
    """Lists whatever in the prefix could lead a deleting program outside it: symbolic links
    under drive_c and drive letters other than c: pointing at ../drive_c. `allowed` maps the
    links and drive letters a scenario made on purpose (path relative to the prefix, e.g.
    "drive_c/x" or "dosdevices/d:") to their targets; exactly those are let through."""
    allowed = allowed or {}
    found = []
    drive_c = os.path.join(prefix, "drive_c")
    # find, not os.walk: scenarios build trees thousands of levels deep, beyond Python's
    # recursion limit and beyond the longest path the system takes in one piece.
    _, out, _ = run(["find", drive_c, "-type", "l", "-printf", "%P\\0%l\\0"],
                    dict(os.environ), timeout=SETUP_TIMEOUT)
    fields = out.split("\0")
    for name, target in zip(fields[0::2], fields[1::2]):
        rel = os.path.join("drive_c", name)
        if allowed.get(rel) != target:
            found.append("link %s -> %s" % (rel, target))
    dosdevices = os.path.join(prefix, "dosdevices")
    for name in sorted(os.listdir(dosdevices)):
        path = os.path.join(dosdevices, name)
        if len(name) >= 2 and name[1] == ":":
            if os.path.islink(path) and allowed.get(os.path.join("dosdevices", name)) == \
                    os.readlink(path):
                continue
            if name.lower() != "c:" or os.path.realpath(path) != os.path.realpath(drive_c):
                target = os.readlink(path) if os.path.islink(path) else "(not a link)"
                found.append("drive %s -> %s" % (name, target))
    return found


def _remove_tree(path):
    if not os.path.lexists(path):
        return
    # rm, not shutil.rmtree: the latter recurses in Python and gives up on deep trees. rm
    # removes links themselves, never what they point at.
    for _ in range(2):
        code, _, err = run(["rm", "-rf", "--", path], dict(os.environ), timeout=SETUP_TIMEOUT,
                           check=False)
        if code == 0 and not os.path.lexists(path):
            return
        # A server that was just told to end may still be writing its registry files.
        time.sleep(0.5)
    raise HarnessError("could not remove %s: %s" % (path, err.strip()))


def _sweep_stale_runs(runs):
    """Removes the copies of scenarios whose script is gone (killed by a time-out, say),
    after ending that copy's own wineserver. Folders are named VERSION-PID-N."""
    if not os.path.isdir(runs):
        return
    for name in os.listdir(runs):
        try:
            pid = int(name.split("-")[-2])
        except (IndexError, ValueError):
            continue
        try:
            os.kill(pid, 0)
            continue  # still running
        except ProcessLookupError:
            pass
        except PermissionError:
            continue
        folder = os.path.join(runs, name)
        prefix = os.path.join(folder, "prefix")
        if os.path.isdir(prefix):
            run(["wineserver", "-k"], wine_env(folder, prefix), check=False)
        _remove_tree(folder)


# --- one scenario ---------------------------------------------------------------------

class Scenario:
    """A fresh copy of the template with its own wineserver, for one start of the program.

        with Scenario("winxp") as s:
            s.make_dir("Program Files/Mozilla Firefox")
            s.start()
            s.driver("wait-visible", "Form1")

    Leaving the block ends that prefix's wineserver (and with it every process of the prefix)
    and removes the copy, whatever happened; on an error it prints what the screen held.
    """

    _serial = 0

    def __init__(self, version, name=None):
        Scenario._serial += 1
        self.version = version
        self.name = name or "%s-%s-%d" % (version, os.getpid(), Scenario._serial)
        self.root = os.path.join(e2e_root(), "run", self.name)
        self.prefix = os.path.join(self.root, "prefix")
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.process = None
        self.env = None
        self._server_up = False
        self._allowed_links = {}
        self._holders = []

    # setup and teardown

    def __enter__(self):
        started = time.monotonic()
        try:
            self._setup()
        except BaseException:
            self.close(failed=True)
            raise
        self.setup_seconds = time.monotonic() - started
        return self

    def __exit__(self, kind, value, tb):
        failed = kind is not None
        if failed:
            self.print_diagnostics()
        self.close(failed=failed)
        return False

    def _setup(self):
        template = ensure_template()
        _sweep_stale_runs(os.path.dirname(self.root))
        for exe in (exe_path(), driver_path(), sqlite_path()):
            if not os.path.isfile(exe):
                raise HarnessError("missing %s (build the Windows targets first)" % exe)
        _remove_tree(self.root)
        os.makedirs(self.root)
        run(["cp", "-a", template, self.prefix], dict(os.environ), timeout=SETUP_TIMEOUT)
        self.env = wine_env(self.root, self.prefix)
        # A server for this prefix alone: later launches are cheap, and `wineserver -k`
        # ends exactly this prefix's processes.
        self._server_up = True
        run(["wineserver", "-p%d" % SERVER_LINGER_S], self.env)
        run(["wine", "winecfg", "/v", self.version], self.env, timeout=SETUP_TIMEOUT)
        folder = self.path(WIN_DIR[3:])
        os.makedirs(folder, exist_ok=True)
        shutil.copy(exe_path(), os.path.join(folder, "OlvexCleaner.exe"))
        shutil.copy(driver_path(), os.path.join(folder, "driver.exe"))
        shutil.copy(sqlite_path(), os.path.join(folder, "OlvexSqlite.dll"))

    def close(self, failed=False):
        if self._server_up:
            run(["wineserver", "-k"], self.env, check=False)
            self._server_up = False
        for process in [self.process] + self._holders:
            if process is not None and process.poll() is None:
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait(timeout=10)
        if failed and os.environ.get("OLVEX_E2E_KEEP") == "1":
            print("kept the prefix of the failed scenario: %s" % self.prefix)
        else:
            _remove_tree(self.root)

    # files inside the prefix, Linux side

    def path(self, windows_path):
        """Linux path of a path relative to C:\\ ("Program Files/Opera" or with backslashes)."""
        rel = windows_path.replace("\\", "/").lstrip("/")
        if rel[:2].lower() == "c:":
            rel = rel[2:].lstrip("/")
        full = os.path.normpath(os.path.join(self.drive_c, rel))
        if not (full + "/").startswith(self.drive_c + "/"):
            raise HarnessError("%s is not inside drive_c" % windows_path)
        return full

    def make_dir(self, windows_path):
        full = self.path(windows_path)
        os.makedirs(full, exist_ok=True)
        return full

    def make_file(self, windows_path, content=b""):
        full = self.path(windows_path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(content.encode() if isinstance(content, str) else content)
        return full

    def make_link_outside(self, windows_path, outside_name, content=None):
        """Makes windows_path a symbolic link to the folder outside_name of this scenario's
        own, beside the prefix (made if missing), and returns that folder's Linux path; with
        content, outside_name is a file holding it instead. Links made here, and only these,
        pass the check before start(): a test of how the program treats a link needs one that
        leads out."""
        target = self.make_outside(outside_name, content)
        link = self.path(windows_path)
        os.makedirs(os.path.dirname(link), exist_ok=True)
        os.symlink(target, link)
        self._allowed_links[os.path.relpath(link, self.prefix)] = target
        return target

    def make_outside(self, outside_name, content=None):
        """The folder (or, with content, the file) outside_name beside the prefix, where
        links made for a test lead; returns its Linux path."""
        target = os.path.join(self.root, "outside", outside_name)
        if content is None:
            os.makedirs(target, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as f:
                f.write(content.encode() if isinstance(content, str) else content)
        return target

    def make_drive_outside(self, letter, outside_name):
        """Gives the prefix the drive letter `letter` (e.g. "d") for the folder outside_name
        beside the prefix (made if missing), and returns that folder's Linux path. Like the
        links of make_link_outside, such a drive passes the check before start()."""
        target = os.path.join(self.root, "outside", outside_name)
        os.makedirs(target, exist_ok=True)
        drive = os.path.join("dosdevices", letter.lower() + ":")
        os.symlink(target, os.path.join(self.prefix, drive))
        self._allowed_links[drive] = target
        return target

    def make_drive_inside(self, letter, windows_path):
        """Gives the prefix the drive letter `letter` for the folder windows_path of its own
        drive C: (made if missing), as SUBST does on Windows, and returns that folder's Linux
        path. Such a drive passes the check before start(), like make_drive_outside's."""
        folder = self.make_dir(windows_path)
        drive = os.path.join("dosdevices", letter.lower() + ":")
        # Relative, as Wine reads the dosdevices links: the drive stays inside this copy.
        target = os.path.relpath(folder, os.path.join(self.prefix, "dosdevices"))
        os.symlink(target, os.path.join(self.prefix, drive))
        self._allowed_links[drive] = target
        return folder

    def set_drive_type(self, letter, kind):
        """Makes the drive letter `letter` one of that kind ("network", "cdrom", "hd", ...) and
        starts the prefix's wineserver afresh, which alone reads the drives' types. Wine also
        carries out the deletions registered for restart when its server starts."""
        self.wine("reg", "add", "HKLM\\Software\\Wine\\Drives", "/v", letter.lower() + ":",
                  "/d", kind, "/f")
        run(["wineserver", "-k"], self.env, check=False)
        run(["wineserver", "-w"], self.env, check=False)
        run(["wineserver", "-p%d" % SERVER_LINGER_S], self.env)

    def install(self, linux_exe):
        """Copies a helper program into C:\\olvex; returns its Windows path."""
        if not os.path.isfile(linux_exe):
            raise HarnessError("missing %s (build the Windows targets first)" % linux_exe)
        name = os.path.basename(linux_exe)
        shutil.copy(linux_exe, os.path.join(self.path(WIN_DIR[3:]), name))
        return WIN_DIR + "\\" + name

    def wine(self, *args, check=True, timeout=COMMAND_TIMEOUT):
        """Runs `wine ARGS` in this prefix (a helper program, reg, cmd); (code, out, err)."""
        return run(["wine"] + [str(a) for a in args], self.env, timeout=timeout, check=check,
                   cwd=self.path(WIN_DIR[3:]))

    # the program

    def start(self, relay=False):
        """Starts OlvexCleaner.exe (from C:\\olvex, its own folder) and returns at once.
        With relay, Wine logs the program's calls into the system DLLs to relay.log (read
        them with own_calls()); the driver and other helpers run untraced."""
        if self.process is not None:
            raise HarnessError("the program was already started in this scenario")
        self._before_a_run()
        env = self.env
        self._out = open(os.path.join(self.root, "program.out"), "wb")
        errors = subprocess.STDOUT
        if relay:
            self._trace_only_the_program()
            env = dict(self.env, WINEDEBUG="-all,+relay")
            errors = open(self.relay_log(), "wb")
        self.process = subprocess.Popen(["wine", WIN_EXE], env=env,
                                        cwd=self.path(WIN_DIR[3:]), stdin=subprocess.DEVNULL,
                                        stdout=self._out, stderr=errors)
        self._out.close()
        if relay:
            errors.close()
        self.started_at = time.monotonic()
        return self.process

    def relay_log(self):
        return os.path.join(self.root, "relay.log")

    def _trace_only_the_program(self, windows_exe=WIN_EXE):
        # Only imports bound in the program's own module get relay thunks, so calls between
        # system DLLs are mostly not logged: a start, a Select All run and a close made a
        # 35 MB trace without this and 1.2 MB with it, with the same 7,374 calls from the
        # program. Functions the program looks up with GetProcAddress are still traced.
        # Wine ignores the include list while the prefix's default RelayFromExclude is
        # there, and reads both values when a process starts.
        self.wine("reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayFromInclude",
                  "/d", windows_exe.rsplit("\\", 1)[-1].lower(), "/f")
        # Already gone after an earlier traced run of this scenario.
        self.wine("reg", "delete", "HKCU\\Software\\Wine\\Debug", "/v", "RelayFromExclude",
                  "/f", check=False)

    def own_calls(self, exe=None):
        """The calls the program made from its own image (relay_calls), read from the relay
        log of a start(relay=True); with exe (console_path()), those of the last
        console(..., relay=True) run."""
        if not os.path.isfile(self.relay_log()):
            raise HarnessError("no relay log: start the program with start(relay=True)")
        return relay_calls(self.relay_log(), image_range(exe or exe_path()))

    # the console program

    def console(self, *args, relay=False, timeout=COMMAND_TIMEOUT):
        """Runs `olvex.exe ARGS` from C:\\olvex, as a command prompt would, and returns
        (exit code, stdout bytes, stderr bytes); both streams are files, not a console. With
        relay, its calls into the system DLLs are logged to relay.log (read them with
        own_calls(console_path())), and stderr holds what the program wrote there without
        Wine's trace lines."""
        self._before_a_run()
        if not os.path.isfile(self.path(WIN_CONSOLE[3:])):
            self.install(console_path())
        env = self.env
        if relay:
            self._trace_only_the_program(WIN_CONSOLE)
            env = dict(self.env, WINEDEBUG="-all,+relay")
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                code = subprocess.run(["wine", WIN_CONSOLE] + [str(a) for a in args], env=env,
                                      cwd=self.path(WIN_DIR[3:]), stdin=subprocess.DEVNULL,
                                      stdout=out, stderr=err, timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                raise AssertionError("olvex.exe %s was still running %s s later"
                                     % (" ".join(map(str, args)), timeout))
            out.seek(0)
            err.seek(0)
            out_bytes = out.read()
            if not relay:
                return code, out_bytes, err.read()
            with open(self.relay_log(), "wb") as log:
                shutil.copyfileobj(err, log)
        return code, out_bytes, _without_wine_lines(self.relay_log())

    def console_in_window(self, *args, timeout=COMMAND_TIMEOUT):
        """Runs `olvex.exe ARGS` with its standard streams on a pseudo-terminal, where Wine
        gives it a console (the console calls succeed on its handles), and returns (exit
        code, what the terminal showed of both streams, in UTF-8 with the terminal's control
        sequences left out and line ends as \\n)."""
        self._before_a_run()
        if not os.path.isfile(self.path(WIN_CONSOLE[3:])):
            self.install(console_path())
        master, slave = pty.openpty()
        try:
            process = subprocess.Popen(["wine", WIN_CONSOLE] + [str(a) for a in args],
                                       env=self.env, cwd=self.path(WIN_DIR[3:]), stdin=slave,
                                       stdout=slave, stderr=slave)
        finally:
            os.close(slave)
        shown = b""
        deadline = time.monotonic() + timeout
        try:
            # Until the terminal closes (every process of the prefix that held it is gone)
            # or, with Wine's helpers holding it, the program has ended and nothing comes.
            while time.monotonic() < deadline:
                ready, _, _ = select.select([master], [], [], 0.5)
                if not ready:
                    if process.poll() is not None:
                        break
                    continue
                try:
                    chunk = os.read(master, 65536)
                except OSError:  # the other side is closed
                    break
                if not chunk:
                    break
                shown += chunk
            try:
                code = process.wait(timeout=max(1, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise AssertionError("olvex.exe %s was still running %s s later"
                                     % (" ".join(map(str, args)), timeout))
        finally:
            os.close(master)
        shown = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]|\x1b\][^\x07]*\x07", b"", shown)
        return code, re.sub(rb"\r+\n", b"\n", shown)

    def console_script(self, lines, timeout=COMMAND_TIMEOUT):
        """Runs a batch file of these lines with `wine cmd /c`, from C:\\olvex where
        olvex.exe lies, as a script of the user's would; (exit code, stdout bytes, stderr
        bytes). Lines are written as they are, in the ANSI code page: quote and escape
        (%% for %) as in any batch file."""
        self._before_a_run()
        if not os.path.isfile(self.path(WIN_CONSOLE[3:])):
            self.install(console_path())
        script = self.path(WIN_DIR[3:] + "/script.bat")
        with open(script, "wb") as f:
            f.write(("\r\n".join(["@echo off"] + list(lines)) + "\r\n").encode("cp1252"))
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                code = subprocess.run(["wine", "cmd", "/c", WIN_DIR + "\\script.bat"],
                                      env=self.env, cwd=self.path(WIN_DIR[3:]),
                                      stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                      timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                raise AssertionError("the script was still running %s s later: %r"
                                     % (timeout, lines))
            out.seek(0)
            err.seek(0)
            return code, out.read(), err.read()

    def console_errorlevel(self, *args, timeout=COMMAND_TIMEOUT):
        """Runs olvex.exe ARGS from a batch file and returns (ERRORLEVEL as the script sees
        it, stdout bytes before that line, stderr bytes). The level is echoed on the line
        after the call: within one line, cmd expands %ERRORLEVEL% before the call runs. (cmd
        itself ends with the same level: echo leaves it as it was.)"""
        line = " ".join(["olvex.exe"] + [_batch_argument(a) for a in args])
        code, out, err = self.console_script([line, "echo errorlevel=%ERRORLEVEL%"], timeout)
        text = out.rstrip(b"\r\n")
        head, _, last = text.rpartition(b"\n")
        match = re.fullmatch(rb"errorlevel=(-?\d+)\r?", last)
        if not match:
            raise HarnessError("the script did not report the errorlevel (cmd exit %s): %r %r"
                               % (code, out, err))
        return int(match.group(1)), head + b"\n" if head else b"", err

    def _before_a_run(self):
        problems = escape_routes(self.prefix, self._allowed_links)
        if problems:
            raise HarnessError("refusing to start the program: the prefix leads outside itself: "
                               + "; ".join(problems))

    def wait_exit(self, timeout):
        """Waits for the program to end; returns its exit code or fails after timeout s."""
        if self.process is None:
            raise HarnessError("the program was not started")
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program was still running %s s later" % timeout)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def program_output(self):
        try:
            with open(os.path.join(self.root, "program.out"), "rb") as f:
                return f.read().decode("utf-8", "replace")
        except FileNotFoundError:
            return ""

    # the driver

    def driver(self, *args):
        """Runs one driver invocation (commands separated by "--") and returns its output
        lines; raises DriverError if a command failed or timed out."""
        code, lines, err = self.try_driver(*args)
        if code != 0:
            raise DriverError(args, code, "\n".join(lines), err)
        return lines

    def try_driver(self, *args):
        """Like driver(), but returns (exit code, output lines, stderr) instead of raising."""
        args = [str(a) for a in args]
        # Each command's waits end on their own; this only guards against a stuck launch. A
        # command's own time-out, if longer than the default, is its last argument.
        limit = 30.0
        command = []
        for arg in args + ["--"]:
            if arg != "--":
                command.append(arg)
                continue
            own = int(command[-1]) if len(command) > 1 and command[-1].isdigit() else 0
            limit += max(own, DRIVER_TIMEOUT_MS) / 1000.0
            command = []
        code, out, err = run(["wine", WIN_DRIVER] + args, self.env, timeout=limit, check=False,
                             cwd=self.path(WIN_DIR[3:]))
        return code, out.splitlines(), err

    def hold(self, windows_path, ms, shut=False, lockfile=False):
        """Has the driver hold a file open, in use as a reading program holds it (no delete
        sharing), for ms; returns once it is held. shut: shared with nobody, as a running
        Firefox holds its parent.lock. lockfile: made, held to write, shared only for reading
        and gone when the hold ends, as a running Chrome holds its lockfile. The hold ends on
        its own, or with the scenario."""
        out_path = os.path.join(self.root, "hold-%d.out" % len(self._holders))
        with open(out_path, "wb") as out:
            holder = subprocess.Popen(["wine", WIN_DRIVER,
                                       "hold-lockfile" if lockfile else
                                       "hold-shut" if shut else "hold",
                                       windows_path, str(ms)],
                                      env=self.env, cwd=self.path(WIN_DIR[3:]),
                                      stdin=subprocess.DEVNULL, stdout=out,
                                      stderr=subprocess.STDOUT)
        self._holders.append(holder)
        deadline = time.monotonic() + DRIVER_TIMEOUT_MS / 1000.0
        while time.monotonic() < deadline:
            with open(out_path, "rb") as f:
                said = f.read()
            if b"held" in said:
                return
            if holder.poll() is not None:
                raise HarnessError("driver hold %s failed: %s" % (windows_path, said.strip()))
            time.sleep(0.05)
        raise HarnessError("driver hold %s did not start holding in time" % windows_path)

    def value(self, *args):
        """Output of a single driver command that prints one line."""
        lines = self.driver(*args)
        if len(lines) != 1:
            raise AssertionError("driver %s printed %d lines, expected one: %r"
                                 % (" ".join(map(str, args)), len(lines), lines))
        return lines[0]

    def windows(self):
        """The driver's `windows` listing as a list of field lists."""
        return [line.split("\t") for line in self.driver("windows")]

    def print_diagnostics(self):
        print("---- diagnostics of scenario %s (Windows version %s) ----"
              % (self.name, self.version))
        if self.process is not None:
            state = self.process.poll()
            print("program: %s" % ("running" if state is None else "exited with %s" % state))
        if self._server_up:
            try:
                code, lines, err = self.try_driver("windows", 3000)
                print("windows (driver exit %s):" % code)
                for line in lines:
                    print("  " + line)
                if err.strip():
                    print("  " + err.strip())
            except HarnessError as e:
                print("windows listing failed: %s" % e)
        out = self.program_output().strip()
        if out:
            print("program output:\n  " + out.replace("\n", "\n  "))
        print("----")


def _batch_argument(argument):
    """An argument as a batch file line gives it: quoted when it holds a blank or a
    character cmd would act on, % doubled."""
    text = str(argument).replace("%", "%%")
    if text == "" or re.search(r'[\s&|<>^()",;=]', text):
        return '"%s"' % text.replace('"', '""')
    return text


def _without_wine_lines(log_path):
    """What a program wrote to stderr during a traced run: the log without Wine's own lines
    (thread id, colon, then a channel, Call, Ret or Starting)."""
    kept = []
    with open(log_path, "rb") as log:
        for line in log:
            if not re.match(rb"^[0-9a-f]{4,}:(Call|Ret|Starting|trace|warn|fixme|err)[ :]",
                            line):
                kept.append(line)
    return b"".join(kept)


# --- small assertion helpers for the scenario scripts -----------------------------------

class Checks:
    """Collects failed expectations so one start of the program reports all of them, then
    fails at the end. Use for independent reads; let a failing action raise at once."""

    def __init__(self, title, scenario=None):
        self.title = title
        self.scenario = scenario
        self.failures = []
        self.count = 0
        self.screen = None

    def equal(self, actual, expected, what):
        self.count += 1
        if actual != expected:
            self._failed("%s: expected %r, got %r" % (what, expected, actual))

    def attempt(self, what, action, *args):
        """Runs an action that asserts on its own; its failure is recorded, not raised."""
        self.count += 1
        try:
            action(*args)
        except AssertionError as e:
            self._failed("%s: %s" % (what, e))

    def _failed(self, message):
        self.failures.append(message)
        # What the screen held when things first went wrong; by the end it may have changed.
        if self.screen is None and self.scenario is not None and self.scenario.running():
            code, lines, err = self.scenario.try_driver("windows", 3000)
            self.screen = lines if code == 0 else ["(windows listing failed: %s)" % err.strip()]

    def finish(self):
        if self.failures:
            screen = ""
            if self.screen is not None:
                screen = "\n  windows at the first failure:\n    " + "\n    ".join(self.screen)
            raise AssertionError("%s: %d of %d checks failed:\n  %s%s" % (
                self.title, len(self.failures), self.count, "\n  ".join(self.failures), screen))
        print("%s: %d checks passed" % (self.title, self.count))


def _end_on_signal(number, frame):
    # SystemExit unwinds through the scenario's `with`, which ends its wineserver.
    sys.exit(128 + number)


def main_of(scenario_function):
    """Runs a scenario script's body: exit 0 on success, 1 with the reason on failure."""
    signal.signal(signal.SIGTERM, _end_on_signal)
    started = time.monotonic()
    try:
        scenario_function(sys.argv[1:])
    except (AssertionError, HarnessError) as e:
        sys.stdout.flush()
        print("FAIL: %s" % e, file=sys.stderr)
        sys.stderr.flush()
        print("(%.1f s)" % (time.monotonic() - started))
        sys.exit(1)
    print("PASS (%.1f s)" % (time.monotonic() - started))


def _try(argv):
    if not argv:
        raise HarnessError("usage: harness.py try VERSION [driver args...]")
    with Scenario(argv[0]) as s:
        s.start()
        if len(argv) > 1:
            code, lines, err = s.try_driver(*argv[1:])
            print("\n".join(lines))
            if err.strip():
                print(err.strip(), file=sys.stderr)
            print("driver exit %s" % code)
        s.print_diagnostics()


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    try:
        if command == "template":
            print("template prefix: %s" % ensure_template())
        elif command == "try":
            _try(sys.argv[2:])
        else:
            print(__doc__)
            sys.exit(2)
    except HarnessError as e:
        print("harness: %s" % e, file=sys.stderr)
        sys.exit(1)
