"""The Firefox and Opera menus follow what is installed under Program Files.

    python3 tests/e2e/browser_menus.py VERSION      (winxp win98)

Firefox's folder exists; "Opera" is there too but as a plain file, which is no installation,
so only the Firefox menu may be on. (With neither present both are off: startup.py.)
"""

import harness

# version: (main window, its name for the Firefox menu)
MAIN = {"winxp": ("Form1", "mnuFirefox"), "win98": ("Form6", "mnuFireFox")}


def scenario(argv):
    if len(argv) != 1 or argv[0] not in MAIN:
        raise harness.HarnessError("usage: browser_menus.py %s" % "|".join(MAIN))
    form, firefox_menu = MAIN[argv[0]]
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("browser menus on %s" % argv[0], s)
        s.make_dir("Program Files/Mozilla Firefox")
        s.make_file("Program Files/Opera", "not a folder")
        s.start()
        firefox, opera = s.driver("wait-visible", form, "--", "menu-state", form, firefox_menu,
                                  "--", "menu-state", form, "mnuOpera")
        checks.equal(firefox, "enabled",
                     "%s.%s with Mozilla Firefox installed" % (form, firefox_menu))
        checks.equal(opera, "disabled", "%s.mnuOpera with a file named Opera" % form)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
