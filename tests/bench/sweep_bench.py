"""How fast a real cleaning run empties the Windows temp folder under Wine: a wide tree against
two yardsticks, and single chains of folders nested hundreds of levels deep. Not a test: it
prints figures and judges them against the aims below.

    python3 tests/bench/sweep_bench.py [--runs N] [--only tree|chains|memory]
                                       [--chain-yardstick] [--pin]

"ours" is OlvexCleaner.exe with Check1 (Windows Temp) ticked and "Empty Selected" pressed,
timed until the "Done" box shows (the driver's click and wait; the program stays running).
Every run empties a fresh copy of its workload from C:\\windows\\temp, N times (5 by default).

  tree    20,000 files in 400 folders four levels deep (50 small files a folder). In each round
          each contender empties an identical copy, taking turns:
            (a) walkdelete.exe: FindFirstFile/FindNextFile + DeleteFile/RemoveDirectory only
            (b) rm -rf, natively
          The ratios ours/(a) and ours/(b) are taken within each round, and their medians
          printed. Aim: ours at most 1.6 times (a).
  chains  one folder in each of 500, 1,000 and 2,000 levels with a file at the bottom, emptied
          by ours (and by (a) too with --chain-yardstick: minutes for 2,000 levels). Aims: 2,000
          levels under 10 s, and the cost per level flat: at 2,000 levels within 1.5 times that
          at 500.

  memory  one folder of 20,000 and one of 300,000 empty files straight in the Windows temp
          folder, each emptied by a fresh start of ours, against a start that empties an
          empty folder: the program's peak resident memory (VmHWM) and the time per file.
          Under Wine the process also holds what Wine keeps for the listing and for the
          opens, so the 4 MB aim for the sweep's own memory is judged by
          build/native/tests/bench/sweep_memory; this reports the whole process's growth and
          judges the time per file: at 300,000 within 1.5 times that at 20,000.

With --pin the whole benchmark (this script, so the prefix's wineserver, the program, the
driver and every yardstick alike) runs on CPU 0, which takes the cost of waking another CPU
out of each server round trip. Uses the e2e harness (same OLVEX_* settings); needs
i686-w64-mingw32-g++.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

import harness  # noqa: E402
import cleaning_kit as kit  # noqa: E402

# Folders per parent at each of the four levels: 4 + 4*3 + 12*4 + 48*7 = 400 folders.
BRANCHING = (4, 3, 4, 7)
FILES_PER_FOLDER = 50
FILE_BYTES = 200
TREE_AIM = 1.6
LEVELS = (500, 1000, 2000)
CHAIN_AIM_S = 10.0  # for the deepest chain
FLAT_AIM = 1.5
# Linux takes paths of at most 4096 bytes, and Wine hands it whole ones.
PATH_MAX = 4096
MEMORY_FILES = (20000, 300000)
LIMIT_S = 600
LIMIT_MS = LIMIT_S * 1000
OURS, WALK, RM = "ours", "(a) walkdelete", "(b) rm -rf"


def build_tree(top):
    """The tree, once, outside the prefix; every run gets a `cp -a` copy of it."""
    folders = [top]
    os.makedirs(top)
    level = [top]
    for branches in BRANCHING:
        below = []
        for parent in level:
            for i in range(branches):
                path = os.path.join(parent, "folder%02d" % i)
                os.mkdir(path)
                below.append(path)
        folders += below
        level = below
    payload = b"x" * FILE_BYTES
    for folder in folders[1:]:
        for i in range(FILES_PER_FOLDER):
            with open(os.path.join(folder, "file%03d.tmp" % i), "wb") as f:
                f.write(payload)
    return len(folders) - 1, (len(folders) - 1) * FILES_PER_FOLDER


def build_yardstick(out_dir, name):
    exe = os.path.join(out_dir, name + ".exe")
    subprocess.run(["i686-w64-mingw32-g++", "-std=c++17", "-O2", "-Wall", "-Wextra", "-Werror",
                    "-static", "-municode", "-mconsole", "-o", exe,
                    os.path.join(HERE, name + ".cpp")], check=True)
    return exe


def rounds(temp, runs, fill, contenders):
    """Runs every contender once a round on a fresh fill of the empty temp folder, starting
    each round one further along the list; returns {name: [seconds of each round]}."""
    times = {name: [] for name in contenders}
    names = list(contenders)
    for r in range(runs):
        for name in names[r % len(names):] + names[:r % len(names)]:
            if kit.tree_entries(temp) != 0:
                raise AssertionError("the Windows temp folder was not empty before a run")
            fill()
            # The new entries' pages on their way to the disk must not land in the timing.
            os.sync()
            started = time.monotonic()
            after = contenders[name]()
            times[name].append(time.monotonic() - started)
            if after:
                after()  # outside the timing, as the yardsticks' exits are
            left = kit.tree_entries(temp)
            if left != 0:
                raise AssertionError("%s left %d entries in the Windows temp folder" % (name, left))
        print("  round %d: %s" % (r + 1, "  ".join(
            "%s %.2f s" % (name.split()[0], t[-1]) for name, t in times.items())))
    return times


def peak_kb(pid):
    """The highest resident memory the process has had, from Linux's own count: under Wine
    the program is a Linux process of its own, the wineserver apart."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise AssertionError("no VmHWM for process %d" % pid)


def memory_run(files):
    """A fresh start of ours emptying a Windows temp folder of that many empty files: seconds
    from the click to the completion message, and the program's peak memory in KB."""
    with harness.Scenario("winxp") as s:
        temp = s.path("windows/temp")
        for i in range(files):
            open(os.path.join(temp, "f%06d.tmp" % i), "wb").close()
        os.sync()
        process = s.start()
        s.driver("wait-visible", kit.NT, "--", "click", kit.NT, "Check1")
        started = time.monotonic()
        text = s.driver("click", kit.NT, "Command1", LIMIT_MS, "--", "msgbox", kit.DONE_TITLE,
                        LIMIT_MS)
        seconds = time.monotonic() - started
        if not kit.DONE_NT.match("\n".join(text)):
            raise AssertionError("unexpected completion message: %r" % text)
        peak = peak_kb(process.pid)
        left = kit.tree_entries(temp)
        if left:
            raise AssertionError("%d entries left of %d files" % (left, files))
        return seconds, peak


def memory(runs, table, verdicts):
    # Medians over the runs, each size in its own fresh prefix and program.
    base = statistics.median(memory_run(0)[1] for _ in range(runs))
    seconds = {}
    for files in MEMORY_FILES:
        results = [memory_run(files) for _ in range(runs)]
        seconds[files] = statistics.median(r[0] for r in results)
        grown = (statistics.median(r[1] for r in results) - base) / 1024
        print("  {:,} files: {:.2f} s, peak {:+.1f} MB".format(files, seconds[files], grown))
        table.append(row("folder, {:,} files".format(files), "%.2f s" % seconds[files], "", "",
                         "", "", "") + " peak %+.1f MB, %.0f µs a file" % (
                             grown, 1e6 * seconds[files] / files))
    small, large = MEMORY_FILES
    flat = (seconds[large] / large) / (seconds[small] / small)
    verdicts.append(judged("memory", "time per file at {:,} / at {:,} = {:.2f}".format(
        large, small, flat), "<= %.1f (flat)" % FLAT_AIM, flat <= FLAT_AIM))


def ratio(times, other):
    """Median of the per-round ratios ours/other: noise that hits a round hits both."""
    return statistics.median(a / b for a, b in zip(times[OURS], times[other]))


def row(*cells):
    return "| " + " | ".join(cells) + " |"


def judged(what, value, aim, met):
    return "%s: %s, aim %s: %s" % (what, value, aim, "met" if met else "NOT met")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--only", choices=("tree", "chains", "memory"))
    parser.add_argument("--chain-yardstick", action="store_true",
                        help="time walkdelete.exe on the chains too (minutes)")
    parser.add_argument("--pin", action="store_true", help="run everything on CPU 0")
    args = parser.parse_args()
    if args.pin:
        os.sched_setaffinity(0, {0})  # inherited by the server and every process after it
    table, verdicts = [], []

    if args.only in (None, "memory"):
        memory(args.runs, table, verdicts)
    if args.only != "memory":
        timings(args, table, verdicts)

    print("\nMedians of %d runs%s; ratios are medians of the per-round ratios.\n"
          % (args.runs, ", all on one CPU" if args.pin else ""))
    print(row("workload", "ours", "(a) walkdelete", "(b) rm -rf", "ours/(a)", "ours/(b)",
              "ours per 1,000 levels"))
    print(row(*["---"] * 7))
    print("\n".join(table + [""] + verdicts))


def timings(args, table, verdicts):
    """The tree against the yardsticks, and the chains."""
    with harness.Scenario("winxp") as s:
        temp = s.path("windows/temp")
        walkdelete = s.install(build_yardstick(s.root, "walkdelete"))
        s.start()
        s.driver("wait-visible", kit.NT, "--", "click", kit.NT, "Check1")

        def ours():
            text = s.driver("click", kit.NT, "Command1", LIMIT_MS, "--",
                            "msgbox", kit.DONE_TITLE, LIMIT_MS)
            if not kit.DONE_NT.match("\n".join(text)):
                raise AssertionError("unexpected completion message: %r" % text)
            return lambda: s.driver("answer", kit.DONE_TITLE, "ok")

        def walk():
            s.wine(walkdelete, "C:\\windows\\temp", timeout=LIMIT_S)

        def rm():
            harness.run(["rm", "-rf", "--"] + [os.path.join(temp, e) for e in os.listdir(temp)],
                        dict(os.environ))

        print("%s, %d runs each, %s" % (os.path.basename(harness.exe_path()), args.runs,
                                        "pinned to CPU 0" if args.pin else "not pinned"))
        if args.only in (None, "tree"):
            tree = os.path.join(s.root, "tree")
            folders, files = build_tree(tree)
            print("tree: %d files in %d folders" % (files, folders))
            times = rounds(temp, args.runs, lambda: harness.run(
                ["cp", "-a", tree, os.path.join(temp, "bench")], dict(os.environ)),
                {OURS: ours, WALK: walk, RM: rm})
            med = {name: "%.2f s" % statistics.median(t) for name, t in times.items()}
            table.append(row("tree, {:,} files in {} folders".format(files, folders), med[OURS],
                             med[WALK], med[RM], "%.2f" % ratio(times, WALK),
                             "%.1f" % ratio(times, RM), ""))
            verdicts.append(judged("tree", "ours/(a) %.2f" % ratio(times, WALK),
                                   "<= %.1f" % TREE_AIM, ratio(times, WALK) <= TREE_AIM))

        if args.only in (None, "chains"):
            chain = {OURS: ours, WALK: walk} if args.chain_yardstick else {OURS: ours}
            seconds = {}
            for levels in LEVELS:
                bottom = os.path.join(temp, "/".join(["d"] * levels), "bottom.tmp").encode()
                if len(bottom) >= PATH_MAX:
                    raise harness.HarnessError("the chain's deepest file would be %d bytes deep; "
                                               "use a shorter OLVEX_E2E_ROOT" % len(bottom))
                print("chain: %d levels" % levels)
                times = rounds(temp, args.runs, lambda: kit.make_deep_tree(temp, levels), chain)
                seconds[levels] = statistics.median(times[OURS])
                walked = ("%.2f s" % statistics.median(times[WALK]), "%.2f" % ratio(times, WALK)
                          ) if args.chain_yardstick else ("", "")
                table.append(row("chain, {:,} levels".format(levels), "%.2f s" % seconds[levels],
                                 walked[0], "", walked[1], "",
                                 "%.2f s" % (1000 * seconds[levels] / levels)))
            deep, shallow = LEVELS[-1], LEVELS[0]
            verdicts.append(judged("chains", "%d levels in %.2f s" % (deep, seconds[deep]),
                                   "< %.0f s" % CHAIN_AIM_S, seconds[deep] < CHAIN_AIM_S))
            flat = (seconds[deep] / deep) / (seconds[shallow] / shallow)
            verdicts.append(judged("chains", "cost per level at %d / at %d = %.2f"
                                   % (deep, shallow, flat), "<= %.1f (flat)" % FLAT_AIM,
                                   flat <= FLAT_AIM))


if __name__ == "__main__":
    main()
