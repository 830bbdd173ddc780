"""Start-up on one reported Windows version, then what that version's window does.

    python3 tests/e2e/startup.py VERSION      (winxp win2k nt40 win98 winme win95 win2003)

One start of the program checks: exactly one visible window of ours and which one, its
caption and version line, the main window's Prefetch and All Users Temp boxes (the main
window is loaded even where it stays hidden), that the browser menus are off without any
browser installed, Select All through real clicks, and that Exit ends the process.
"""

import harness

MAIN = "Olvex Cleaner - Main"
UNSUPPORTED = "Olvex Cleaner - Unsupported Version"

# version: (the window shown, its caption, its Label4)
START = {
    "winxp": ("Form1", MAIN, "for Windows XP"),
    "win2k": ("Form1", MAIN, "for Windows 2000"),
    "nt40": ("Form1", MAIN, "for Windows NT 4.0"),
    # Wine reports win98 with the service-pack text " A ", which the program calls SE.
    "win98": ("Form6", MAIN, "for Windows 98 SE"),
    "winme": ("Form6", MAIN, "for Windows ME"),
    "win95": ("Form4", UNSUPPORTED, "for Windows 95"),
    "win2003": ("Form4", UNSUPPORTED, "for Windows .NET"),
}

# The boxes Select All (Check7) sets on each main window.
SELECT_ALL = {
    "Form1": ["Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9",
              "Check10"],
    "Form6": ["Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check8"],
}
SELECT_ALL_VERSIONS = ("winxp", "win2k", "win98")

# The designers spelled the Firefox menu differently on the two main windows.
FIREFOX_MENU = {"Form1": "mnuFirefox", "Form6": "mnuFireFox"}

# Versions whose Exit button (Command3 of the shown window) is checked here.
EXIT_VERSIONS = ("winxp", "win98", "win95", "win2003")
EXIT_TIMEOUT = 15


def check_windows(s, checks, form, caption):
    listing = s.windows()
    ours = [w for w in listing if w[0] != "#32770"]
    shown = [w[0] for w in ours if w[1] == "1"]
    checks.equal(shown, [form], "visible windows of the program")
    for w in ours:
        if w[0] == form:
            checks.equal(w[2], caption, "caption of %s" % form)
    if form != "Form1":
        checks.equal([w[1] for w in ours if w[0] == "Form1"], ["0"],
                     "Form1 loaded and hidden (visible flags of Form1 windows)")
    boxes = [w for w in listing if w[0] == "#32770" and w[1] == "1"]
    checks.equal(boxes, [], "message boxes open after start-up")


def check_main_boxes(s, checks, version):
    prefetch, prefetch_on, all_users_on = s.driver(
        "text", "Form1", "Check6", "--", "enabled", "Form1", "Check6", "--",
        "enabled", "Form1", "Check9")
    if version == "win2k":
        checks.equal((prefetch, prefetch_on), ("Prefetch (Disabled)", "0"),
                     "Form1.Check6 text and enabled state")
    else:
        checks.equal((prefetch, prefetch_on), ("Prefetch", "1"),
                     "Form1.Check6 text and enabled state")
    checks.equal(all_users_on, "1", "Form1.Check9 (All Users Temp) enabled as administrator")


def check_browser_menus_off(s, checks, form):
    firefox, opera = s.driver("menu-state", form, FIREFOX_MENU[form], "--", "menu-state", form,
                              "mnuOpera")
    checks.equal((firefox, opera), ("disabled", "disabled"),
                 "%s Firefox and Opera menus with neither browser installed" % form)


def check_select_all(s, checks, version, form):
    boxes = SELECT_ALL[form]
    reads = []
    for box in boxes:
        reads += ["--", "checked", form, box]
    checks.equal(s.value("text", form, "Check7"), "Select All", "%s.Check7 before" % form)

    states = s.driver("click", form, "Check7", "--", "text", form, "Check7", *reads)
    expected = {box: "1" for box in boxes}
    if version == "win2k":
        expected["Check6"] = "0"  # Prefetch is off on Windows 2000 and stays unticked
    checks.equal(states[0], "Unselect All", "%s.Check7 after Select All" % form)
    checks.equal(dict(zip(boxes, states[1:])), expected, "%s boxes after Select All" % form)

    states = s.driver("click", form, "Check7", "--", "text", form, "Check7", *reads)
    checks.equal(states[0], "Select All", "%s.Check7 after Unselect All" % form)
    checks.equal(dict(zip(boxes, states[1:])), {box: "0" for box in boxes},
                 "%s boxes after Unselect All" % form)


def check_exit(s, form):
    s.driver("click", form, "Command3")
    code = s.wait_exit(EXIT_TIMEOUT)
    assert code == 0, "the program ended with exit code %s after Exit" % code
    left = [w for w in s.windows() if w[0] != "#32770" or w[1] == "1"]
    assert not left, "windows left after Exit: %s" % left


def scenario(argv):
    if len(argv) != 1 or argv[0] not in START:
        raise harness.HarnessError("usage: startup.py %s" % "|".join(START))
    version = argv[0]
    form, caption, label = START[version]
    with harness.Scenario(version) as s:
        checks = harness.Checks("start-up on %s" % version, s)
        s.start()
        s.driver("wait-visible", form)
        check_windows(s, checks, form, caption)
        checks.equal(s.value("text", form, "Label4"), label, "%s.Label4" % form)
        check_main_boxes(s, checks, version)
        if form != "Form4":
            check_browser_menus_off(s, checks, form)
        if version in SELECT_ALL_VERSIONS:
            check_select_all(s, checks, version, form)
        if version in EXIT_VERSIONS:
            checks.attempt("Exit on %s" % form, check_exit, s, form)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
