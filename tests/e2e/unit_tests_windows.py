#!/usr/bin/env python3
"""The unit tests, built for Windows with mingw-w64, run under Wine in a test prefix.

The logic is portable: the same tests must pass on the host and on the 32-bit Windows build.
"""
import os
import sys

import harness


def scenario(argv):
    exe = os.environ.get("OLVEX_UNIT_EXE", "")
    with harness.Scenario(argv[0] if argv else "winxp") as s:
        program = s.install(exe)
        code, out, err = s.wine(program, "--gtest_brief=1", check=False, timeout=600)
        print("\n".join(out.splitlines()[-15:]))
        if code != 0:
            print(err[-3000:], file=sys.stderr)
            raise AssertionError("the Windows build of the unit tests failed (exit %s)" % code)


if __name__ == "__main__":
    harness.main_of(scenario)
