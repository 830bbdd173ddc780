"""A folder tree nested 2,000 levels deep in the Windows temp folder: Windows Temp empties it
without a crash, the program keeps running and the completion message comes.

    python3 tests/e2e/deep_tree.py winxp

Slow by nature, not by the program: under Wine every file call resolves its whole path again
on the server, so a tree this deep costs minutes even for the plainest delete loop (see
tests/bench/sweep_bench.py, walkdelete.exe). The depth is what proves the point: a sweep that
recursed once per level would run out of stack well before it.
"""

import os

import harness
import cleaning_kit as kit

DEPTH = 2000
FORM = kit.NT
# Linux takes paths of at most 4096 bytes, and Wine hands it whole ones.
PATH_MAX = 4096
RUN_TIMEOUT_MS = 900000


def scenario(argv):
    if argv != ["winxp"]:
        raise harness.HarnessError("usage: deep_tree.py winxp")
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("a tree %d levels deep on %s" % (DEPTH, argv[0]), s)
        temp = s.path("windows/temp")
        bottom = os.path.join(temp, "/".join(["d"] * DEPTH), "bottom.tmp")
        if len(bottom.encode()) >= PATH_MAX:
            raise harness.HarnessError("the deepest file's Linux path would be %d bytes long; "
                                       "use a shorter OLVEX_E2E_ROOT" % len(bottom.encode()))
        kit.make_deep_tree(temp, DEPTH)
        # After the deep folder in name order: the sweep must get past it.
        kit.write_file(s, "windows/temp/e.tmp", "after the deep tree\n")
        s.pending = kit.PendingDeletions(s)
        s.start()
        window = kit.MainWindow(s, FORM)
        s.driver("wait-visible", FORM)

        _, text, _ = window.empty_selected({"Check1"}, timeout_ms=RUN_TIMEOUT_MS)
        kit.check_done_message(checks, FORM, text, "deep tree")
        checks.equal(s.running(), True, "program still running after the run")
        checks.equal(kit.tree_entries(temp), 0, "entries left in the Windows temp folder")
        checks.equal(s.pending.added(), [], "files registered for deletion at restart")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
