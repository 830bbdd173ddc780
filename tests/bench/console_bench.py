"""What the console program's preview costs against its clean, and what memory either takes
for a very large folder, under Wine. Not a test: it prints figures and judges them against the
aims below.

    python3 tests/bench/console_bench.py [--runs N] [--only time|memory] [--files N] [--pin]

olvex.exe runs from C:\\olvex of a winxp prefix, as a script would run it: its output goes to
a file.

  time    sweep_bench.py's tree (20,000 files in 400 folders, four levels deep) in
          C:\\windows\\temp. In each round `olvex /preview windows-temp` and `olvex /clean
          windows-temp` each get a fresh copy of it, taking turns at going first; the preview
          must leave its copy exactly as it was (names, sizes, times), the clean must leave
          the folder empty, and both must count the same files and folders. The ratio
          preview/clean is taken within each round and its median printed; a start that only
          lists the categories (`olvex /list`) is timed too, to tell what of each is start-up.
          Aim: the preview at most 0.5 times the clean.
          With --filters, each round also runs both with /olderthan:1 and an /exclude of a
          folder beside the tree (the tree's files are dated 30 days back, so the same go):
          aim, each at most 1.1 times the same command without them.
  memory  300,000 (--files) empty files straight in C:\\windows\\temp, against that folder
          empty: the peak resident memory of the olvex.exe process for `/preview windows-temp
          /details` and for `/clean windows-temp /log:C:\\x.csv`, from Linux's count for the
          process (its VmHWM; see peak_of_run for wait4's figure). Under Wine the process
          also holds what Wine keeps for a listing, so the aim for the program's own memory
          (within 4 MB of the empty folder's) is judged by build/native/tests/bench/
          console_memory; this prints the whole process's growth and judges nothing.

With --pin the whole benchmark (this script, so the prefix's wineserver and every olvex.exe
alike) runs on CPU 0, which takes the cost of waking another CPU out of each server round trip.
Uses the e2e harness (same OLVEX_* settings; OLVEX_CONSOLE_EXE names olvex.exe).
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

import harness  # noqa: E402
import cleaning_kit as kit  # noqa: E402
from sweep_bench import build_tree, judged, row  # noqa: E402

TIME_AIM = 0.5
MEMORY_FILES = 300000
LIMIT_S = 900
PREVIEW, CLEAN = "preview", "clean"
# An exclusion must name a folder that is there; this one lies outside the swept folder, so
# the same files go, and every folder swept is asked what it is.
FILTERS = ["/olderthan:1", "/exclude:C:\\olvex"]
FILTER_AIM = 1.1
LOG = "C:\\x.csv"
# The category's totals line, e.g. "  would delete: 20000 files and 401 folders, 4000000 bytes".
TOTALS = re.compile(r"^  (?:would delete|deleted): (\d+) files? and (\d+) folders?, (\d+) bytes",
                    re.M)


def listing(top):
    """Every entry below top with its kind, size and modification time: what a preview must
    leave as it found it."""
    found = []
    for folder, dirs, files in os.walk(top):
        for name in dirs + files:
            st = os.lstat(os.path.join(folder, name))
            found.append((os.path.relpath(os.path.join(folder, name), top), st.st_mode,
                          st.st_size, st.st_mtime_ns))
    return sorted(found)


def totals(command, code, out, err):
    """(files, folders, bytes) the run reports for windows-temp."""
    if code not in (0, 1):
        raise AssertionError("olvex %s exited with %s: %s" % (command, code, err.strip()))
    # The category's totals, then the same once more as the total over all categories.
    found = TOTALS.findall(out)
    if len(found) != 2 or found[0] != found[1]:
        raise AssertionError("olvex %s reported no single total: %r" % (command, out[-500:]))
    return tuple(int(n) for n in found[0])


def olvex(s, *args):
    return s.wine(harness.WIN_CONSOLE, *args, check=False, timeout=LIMIT_S)


def timings(args, table, verdicts):
    with harness.Scenario("winxp") as s:
        temp = s.path("windows/temp")
        s.install(harness.console_path())
        tree = os.path.join(s.root, "tree")
        folders, files = build_tree(tree)
        month_ago = time.time() - 30 * 24 * 3600
        for folder, _, names in os.walk(tree):
            for name in names:
                os.utime(os.path.join(folder, name), (month_ago, month_ago))
        expected = listing(tree)
        print("olvex.exe, tree of %d files in %d folders, %d runs, %s"
              % (files, folders, args.runs, "pinned to CPU 0" if args.pin else "not pinned"))
        copy = os.path.join(temp, "bench")
        runs = [(PREVIEW, []), (CLEAN, [])]
        if args.filters:
            runs += [(PREVIEW + "+filters", FILTERS), (CLEAN + "+filters", FILTERS)]
        seconds = {name: [] for name, _ in runs}
        startup = []
        reported = {}
        for r in range(args.runs):
            order = runs[r % len(runs):] + runs[:r % len(runs)]
            for name, extra in order:
                command = name.split("+")[0]
                if kit.tree_entries(temp) != 0:
                    raise AssertionError("the Windows temp folder was not empty before a run")
                harness.run(["cp", "-a", tree, copy], dict(os.environ))
                # The new entries' pages on their way to the disk must not land in the timing.
                os.sync()
                started = time.monotonic()
                code, out, err = olvex(s, "/" + command, "windows-temp", *extra)
                seconds[name].append(time.monotonic() - started)
                reported.setdefault(command, set()).add(totals(command, code, out, err))
                if command == PREVIEW:
                    if listing(copy) != expected:
                        raise AssertionError("the preview changed the tree")
                    harness.run(["rm", "-rf", "--", copy], dict(os.environ))
                elif kit.tree_entries(temp) != 0:
                    raise AssertionError("the clean left %d entries" % kit.tree_entries(temp))
            started = time.monotonic()
            code, _, err = olvex(s, "/list")
            startup.append(time.monotonic() - started)
            if code != 0:
                raise AssertionError("olvex /list exited with %s: %s" % (code, err.strip()))
            print("  round %d: preview %.2f s  clean %.2f s  ratio %.2f  (start-up %.2f s)" % (
                r + 1, seconds[PREVIEW][-1], seconds[CLEAN][-1],
                seconds[PREVIEW][-1] / seconds[CLEAN][-1], startup[-1]))
        if reported[PREVIEW] != reported[CLEAN] or len(reported[PREVIEW]) != 1:
            raise AssertionError("preview and clean counted differently: %r" % reported)
        counted = next(iter(reported[PREVIEW]))
        if counted[0] != files:
            raise AssertionError("counted %r for %d files" % (counted, files))

    ratio = statistics.median(p / c for p, c in zip(seconds[PREVIEW], seconds[CLEAN]))
    preview, clean = (statistics.median(seconds[c]) for c in (PREVIEW, CLEAN))
    start = statistics.median(startup)
    table.append(row("tree, {:,} files in {} folders{}".format(files, folders,
                                                               ", pinned" if args.pin else ""),
                     "%.2f s" % preview, "%.2f s" % clean, "%.2f" % ratio, "%.2f s" % start,
                     "%.0f µs" % (1e6 * (preview - start) / files),
                     "%.0f µs" % (1e6 * (clean - start) / files)))
    verdicts.append(judged("time", "preview/clean %.2f" % ratio, "<= %.1f" % TIME_AIM,
                           ratio <= TIME_AIM))
    for command in (PREVIEW, CLEAN) if args.filters else ():
        cost = statistics.median(seconds[command + "+filters"]) / statistics.median(
            seconds[command])
        print("  %s with /olderthan and /exclude: %.2f s against %.2f s" % (
            command, statistics.median(seconds[command + "+filters"]),
            statistics.median(seconds[command])))
        verdicts.append(judged("filters", "%s with filters / without %.2f" % (command, cost),
                               "<= %.1f" % FILTER_AIM, cost <= FILTER_AIM))


def peak_of_run(s, args, output):
    """Runs olvex.exe ARGS with its output in the file output; (exit code, peak resident KB of
    the program's process, wait4's ru_maxrss in KB). The process `wine` starts becomes the
    program (the loader replaces itself with it, as its command line shows); its own
    high-water mark (VmHWM) is read every 2 ms until it ends, so only growth in its last 2 ms
    could be missed. wait4's ru_maxrss is printed beside it, not judged: Linux takes into it
    the high-water mark of the memory a process leaves at exec, and a child of this script
    leaves this script's (borrowed, or a copy), grown by then with the output of the runs
    before: it came out up to 48 MB above the program's own in the 300,000-file runs."""
    with open(output, "wb") as out, open(output + ".err", "wb") as err:
        process = subprocess.Popen(["wine", harness.WIN_CONSOLE] + list(args), env=s.env,
                                   cwd=s.path(harness.WIN_DIR[3:]), stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=err)
    high, seen_as = 0, set()
    deadline = time.monotonic() + LIMIT_S
    while True:
        pid, status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid:
            break
        try:
            with open("/proc/%d/cmdline" % process.pid, "rb") as f:
                name = f.read().split(b"\0")[0].decode("utf-8", "replace")
            with open("/proc/%d/status" % process.pid) as f:
                for line in f:
                    if line.startswith("VmHWM:") and name.lower().endswith("olvex.exe"):
                        high = max(high, int(line.split()[1]))
            seen_as.add(name)
        except (FileNotFoundError, ProcessLookupError):
            pass
        if time.monotonic() > deadline:
            process.kill()
            raise AssertionError("olvex %s was still running %s s later" % (args, LIMIT_S))
        time.sleep(0.002)
    process.returncode = os.waitstatus_to_exitcode(status)
    if not high:
        raise AssertionError("the process was never seen as olvex.exe: %r" % seen_as)
    return process.returncode, high, usage.ru_maxrss


def memory_round(files):
    """A fresh prefix with that many empty files in the Windows temp folder: the peak KB of a
    preview with /details and of a clean with /log, and their seconds."""
    with harness.Scenario("winxp") as s:
        temp = s.path("windows/temp")
        s.install(harness.console_path())
        for i in range(files):
            open(os.path.join(temp, "f%06d.tmp" % i), "wb").close()
        os.sync()
        # Making the files may outlast the server's linger. The process that finds no server
        # starts one, and the prefix's session with it: their start would land in the
        # measured run.
        harness.run(["wineserver", "-p%d" % harness.SERVER_LINGER_S], s.env, check=False)
        olvex(s, "/list")
        result = {}
        output = os.path.join(s.root, "preview.out")
        started = time.monotonic()
        code, peak, maxrss = peak_of_run(s, ["/preview", "windows-temp", "/details"], output)
        result[PREVIEW] = (peak, time.monotonic() - started, maxrss)
        with open(output, encoding="utf-8") as f:
            out = f.read()
        if totals(PREVIEW, code, out, "")[0] != files or out.count("would delete  ") != files:
            raise AssertionError("the preview did not list every file: %r" % out[-300:])
        if len(os.listdir(temp)) != files:
            raise AssertionError("the preview changed the folder")

        output = os.path.join(s.root, "clean.out")
        started = time.monotonic()
        code, peak, maxrss = peak_of_run(s, ["/clean", "windows-temp", "/log:" + LOG], output)
        result[CLEAN] = (peak, time.monotonic() - started, maxrss)
        with open(output, encoding="utf-8") as f:
            out = f.read()
        if totals(CLEAN, code, out, "")[0] != files or os.listdir(temp):
            raise AssertionError("the clean left %d entries" % len(os.listdir(temp)))
        with open(s.path(LOG), encoding="utf-8-sig") as f:
            logged = sum(1 for line in f if ",deleted," in line)
        if logged != files:
            raise AssertionError("the log names %d deletions of %d" % (logged, files))
        return result


def memory(args, table):
    empty = [memory_round(0) for _ in range(args.runs)]
    full = [memory_round(args.files) for _ in range(args.runs)]
    for command, what in ((PREVIEW, "/preview windows-temp /details"),
                          (CLEAN, "/clean windows-temp /log:" + LOG)):
        base, peak, took, base_rss, peak_rss = (
            statistics.median(r[command][i] for r in rounds)
            for rounds, i in ((empty, 0), (full, 0), (full, 1), (empty, 2), (full, 2)))
        print("  %s: empty folder %.1f MB, %s files %.1f MB (%+.1f MB), %.1f s; wait4, "
              "this script's memory included: %.1f MB, %.1f MB"
              % (what, base / 1024, "{:,}".format(args.files), peak / 1024, (peak - base) / 1024,
                 took, base_rss / 1024, peak_rss / 1024))
        table.append(row("{:,} files, `{}`".format(args.files, what), "%.1f s" % took,
                         "%.1f MB" % (base / 1024), "%.1f MB" % (peak / 1024),
                         "%+.1f MB" % ((peak - base) / 1024)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--only", choices=("time", "memory"))
    parser.add_argument("--files", type=int, default=MEMORY_FILES,
                        help="files in the memory run's folder")
    parser.add_argument("--pin", action="store_true", help="run everything on CPU 0")
    parser.add_argument("--filters", action="store_true",
                        help="also time both with /olderthan and /exclude")
    args = parser.parse_args()
    if args.pin:
        os.sched_setaffinity(0, {0})  # inherited by the server and every process after it
    table, memory_table, verdicts = [], [], []
    if args.only in (None, "time"):
        timings(args, table, verdicts)
    if args.only in (None, "memory"):
        memory(args, memory_table)

    print("\nMedians of %d runs%s%s.\n" % (
        args.runs, ", all on one CPU" if args.pin else "",
        "; the ratio is the median of the per-round ratios" if table else ""))
    if table:
        print(row("workload", "preview", "clean", "preview/clean", "start-up",
                  "preview per file", "clean per file"))
        print(row(*["---"] * 7))
        print("\n".join(table) + "\n")
    if memory_table:
        print(row("folder, command", "time", "peak, empty folder", "peak", "growth"))
        print(row(*["---"] * 5))
        print("\n".join(memory_table) + "\n")
    print("\n".join(verdicts or ["(the memory aim is judged by console_memory)"]))


if __name__ == "__main__":
    main()
