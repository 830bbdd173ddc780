"""How fast a real cleaning run empties the Windows temp folder under Wine, against three
yardsticks. Not a test: it prints figures and judges nothing but the aim below.

    python3 tests/bench/sweep_bench.py [--runs N]

In one prefix, on identical fresh copies of a tree of 20,000 files in 400 folders four
levels deep (50 small files a folder), each of these empties C:\\windows\\temp, N times (5 by
default), taking turns so that noise from the machine falls on all of them alike:

  ours  OlvexCleaner.exe: Check1 (Windows Temp) ticked, "Empty Selected" pressed, until the
        "Done" box shows (the driver's click and wait; the program stays running)
  (a)   walkdelete.exe: FindFirstFile/FindNextFile + DeleteFile/RemoveDirectory, nothing more
  (b)   rm -rf, natively
  (c)   Wine's cmd /c rd /s /q

Prints each median and the ratios ours/(a), ours/(b), ours/(c). The aim is ours within 1.5
times (a). Uses the e2e harness (same OLVEX_* settings); needs i686-w64-mingw32-g++.
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
AIM = 1.5
# Wine's rd takes about a minute for this tree; every contender gets ten.
LIMIT_S = 600
RUN_TIMEOUT_MS = LIMIT_S * 1000


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


def build_walkdelete(out_dir):
    exe = os.path.join(out_dir, "walkdelete.exe")
    subprocess.run(["i686-w64-mingw32-g++", "-std=c++17", "-O2", "-Wall", "-Wextra", "-Werror",
                    "-static", "-municode", "-mconsole", "-o", exe,
                    os.path.join(HERE, "walkdelete.cpp")], check=True)
    return exe


class Bench:
    def __init__(self, s, tree):
        self.s = s
        self.tree = tree
        self.temp = s.path("windows/temp")
        self.target = os.path.join(self.temp, "bench")

    def fresh_tree(self):
        if kit.tree_entries(self.temp) != 0:
            raise AssertionError("the Windows temp folder was not empty before a copy")
        harness.run(["cp", "-a", self.tree, self.target], dict(os.environ))
        # The copy's pages on their way to the disk must not land in the next timing.
        os.sync()

    def check_emptied(self, who):
        left = kit.tree_entries(self.temp)
        if left != 0:
            raise AssertionError("%s left %d entries in the Windows temp folder" % (who, left))

    def timed(self, who, action):
        self.fresh_tree()
        started = time.monotonic()
        action()
        seconds = time.monotonic() - started
        self.check_emptied(who)
        return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    runs = parser.parse_args().runs

    with harness.Scenario("winxp") as s:
        tree = os.path.join(s.root, "tree")
        folders, files = build_tree(tree)
        walkdelete = s.install(build_walkdelete(s.root))
        bench = Bench(s, tree)

        s.start()
        window = kit.MainWindow(s, kit.NT)
        s.driver("wait-visible", kit.NT, "--", "click", kit.NT, "Check1")
        window.ticked["Check1"] = 1

        def ours():
            text = s.driver("click", kit.NT, "Command1", RUN_TIMEOUT_MS, "--",
                            "msgbox", kit.DONE_TITLE, RUN_TIMEOUT_MS)
            if not kit.DONE_NT.match("\n".join(text)):
                raise AssertionError("unexpected completion message: %r" % text)

        def close_box():
            s.driver("answer", kit.DONE_TITLE, "ok")

        contenders = [
            ("ours", ours, close_box),
            ("(a) walkdelete.exe", lambda: s.wine(walkdelete, "C:\\windows\\temp",
                                                  timeout=LIMIT_S), None),
            ("(b) rm -rf", lambda: harness.run(["rm", "-rf", "--", bench.target],
                                               dict(os.environ)), None),
            ("(c) cmd /c rd /s /q", lambda: s.wine("cmd", "/c", "rd", "/s", "/q",
                                                   "C:\\windows\\temp\\bench",
                                                   timeout=LIMIT_S), None),
        ]
        times = {name: [] for name, _, _ in contenders}
        print("%d files in %d folders, %d runs each" % (files, folders, runs))
        for round_no in range(runs):
            for name, action, after in contenders:
                times[name].append(bench.timed(name, action))
                if after:
                    after()
            print("round %d: %s" % (round_no + 1, "  ".join(
                "%s %.2f s" % (name.split()[0], times[name][-1]) for name, _, _ in contenders)))

        medians = {name: statistics.median(t) for name, t in times.items()}
        for name, _, _ in contenders:
            print("%-22s median %6.2f s   (min %.2f, max %.2f)"
                  % (name, medians[name], min(times[name]), max(times[name])))
        ours_median = medians["ours"]
        for name, _, _ in contenders[1:]:
            print("ours/%-18s %6.2f" % (name.split()[0], ours_median / medians[name]))
        ratio = ours_median / medians["(a) walkdelete.exe"]
        print("aim ours/(a) <= %.1f: %s" % (AIM, "met" if ratio <= AIM else "NOT met"))


if __name__ == "__main__":
    main()
