"""The close box of the unsupported-version window ends the program, as its Exit button does.

    python3 tests/e2e/close_box.py VERSION      (win95 win2003)

The main window is loaded hidden behind it, so closing the only visible window must still
end the process rather than leave an invisible program running.
"""

import harness

VERSIONS = ("win95", "win2003")
EXIT_TIMEOUT = 15


def scenario(argv):
    if len(argv) != 1 or argv[0] not in VERSIONS:
        raise harness.HarnessError("usage: close_box.py %s" % "|".join(VERSIONS))
    with harness.Scenario(argv[0]) as s:
        s.start()
        s.driver("wait-visible", "Form4", "--", "close", "Form4")
        code = s.wait_exit(EXIT_TIMEOUT)
        assert code == 0, "the program ended with exit code %s after the close box" % code
        left = [w for w in s.windows() if w[0] != "#32770" or w[1] == "1"]
        assert not left, "windows left after the close box: %s" % left


if __name__ == "__main__":
    harness.main_of(scenario)
