"""A folder chain nested 2,000 levels deep in the Windows temp folder, its Linux path longer
than the 4,096 bytes Linux takes in one piece: Windows Temp empties it in seconds.

    python3 tests/e2e/deep_tree.py winxp

Under Wine every open resolves its folder's whole path again, so a plain path loop costs
the square of the depth and cannot reach past 4,096 bytes at all. Two runs, one start:
1. The file at the bottom is read-only: the sweep stops there with everything after the
   chain in name order left, and the chain is exactly as it was, every level in its place
   (folders moved up on the way are back), no new name anywhere.
2. The file made writable again: the whole chain goes, and what follows it too.
Both end with the completion message and register nothing for deletion at restart.
"""

import os

import harness
import cleaning_kit as kit

DEPTH = 2000
NAME = "dd"
FORM = kit.NT
# Linux takes paths of at most 4096 bytes; the chain must pass that.
PATH_MAX = 4096
RUN_TIMEOUT_MS = 120000


def find(top, *args):
    """find below top (deep trees are fine: it works relative to each folder)."""
    _, out, _ = harness.run(["find", top, "-mindepth", "1"] + list(args), dict(os.environ))
    return out.split("\n")[:-1]


def scenario(argv):
    if argv != ["winxp"]:
        raise harness.HarnessError("usage: deep_tree.py winxp")
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("a chain %d levels deep on %s" % (DEPTH, argv[0]), s)
        temp = s.path("windows/temp")
        if len(os.path.join(temp, "/".join([NAME] * DEPTH)).encode()) <= PATH_MAX:
            raise harness.HarnessError("the chain's Linux path must pass %d bytes" % PATH_MAX)
        kit.make_deep_tree(temp, DEPTH, NAME, bottom_mode=0o444)
        levels = find(temp, "-type", "d", "-printf", "%P\\n")
        s.pending = kit.PendingDeletions(s)
        s.start()
        window = kit.MainWindow(s, FORM)
        s.driver("wait-visible", FORM)

        for run, bottom_writable in (("read-only bottom", False), ("writable bottom", True)):
            if bottom_writable:
                find(temp, "-name", "bottom.tmp", "-execdir", "chmod", "644", "{}", "+")
            # After the chain in name order: the sweep must get past it, or stop before.
            kit.write_file(s, "windows/temp/zz.tmp", "after the chain\n")
            _, text, _ = window.empty_selected({"Check1"}, timeout_ms=RUN_TIMEOUT_MS)
            kit.check_done_message(checks, FORM, text, run)
            checks.equal(s.running(), True, "%s: program still running" % run)
            checks.equal(s.pending.added(), [], "%s: registered for deletion at restart" % run)
            if bottom_writable:
                checks.equal(kit.tree_entries(temp), 0, "%s: entries left" % run)
            else:
                checks.equal(find(temp, "-type", "d", "-printf", "%P\\n"), levels,
                             "%s: the chain's folders, in place" % run)
                checks.equal(sorted(find(temp, "-type", "f", "-printf", "%d %f\\n")),
                             ["1 zz.tmp", "%d bottom.tmp" % (DEPTH + 1)],
                             "%s: files left (depth and name)" % run)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
