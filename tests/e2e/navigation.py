"""Moving between the windows of one family, and ending the program from a secondary window.

    python3 tests/e2e/navigation.py VERSION      (winxp win98)

With both browsers installed: a tour Main -> Firefox -> Opera -> Information -> Main through
the menus, the user having moved each window before leaving it. Each step must leave exactly
one visible window of ours, at the left and top of the one before; a menu item naming the
current window does nothing; the main window keeps its tick; the Main buttons return. Closing
the information window ends the process, though the main window is only hidden.

Without a Firefox folder under Program Files: the Firefox menu is off, and even its command,
sent as a message, shows no Firefox window.
"""

import harness

# version: the family's main window, Firefox, Opera and information windows, the Firefox
# menu's name in the main window, and the Main button of each secondary window.
FAMILY = {
    "winxp": {"main": "Form1", "firefox": "Form3", "opera": "Form5", "info": "Form2",
              "firefox_menu": "mnuFirefox"},
    "win98": {"main": "Form6", "firefox": "Form7", "opera": "Form8", "info": "Form9",
              "firefox_menu": "mnuFireFox"},
}
MAIN_BUTTON = {"firefox": "Command3", "opera": "Command3", "info": "Command2"}
EXIT_TIMEOUT = 15


def ours(s):
    """Windows of the program as {form: (visible, left, top)}; message boxes left out."""
    return {w[0]: (w[1] == "1", int(w[3]), int(w[4])) for w in s.windows() if w[0] != "#32770"}


def shown(s):
    return sorted(form for form, (visible, _, _) in ours(s).items() if visible)


def menu_of(family, form, item):
    """The designer name of a menu item in a form: only Form6 spells it mnuFireFox."""
    return family["firefox_menu"] if item == "mnuFirefox" and form == family["main"] else item


def tour(s, checks, family):
    main = family["main"]
    # A tick that must survive the tour.
    s.driver("wait-visible", main, "--", "click", main, "Check2")
    place = (40, 30)
    s.driver("move", main, place[0], place[1])
    steps = [(main, "mnuFirefox", family["firefox"], "mnuFirefox"),
             (family["firefox"], "mnuOpera", family["opera"], "mnuOpera"),
             (family["opera"], "mnuInfo", family["info"], "mnuInfo"),
             (family["info"], "mnuMain", main, "mnuMain")]
    for number, (current, item, target, own_item) in enumerate(steps):
        s.driver("menu", current, menu_of(family, current, item))
        windows = ours(s)
        checks.equal(shown(s), [target], "visible after %s in %s" % (item, current))
        checks.equal(windows.get(target, (None,) * 3)[1:], place,
                     "left, top of %s after %s (those of %s)" % (target, item, current))
        # The item naming the window itself does nothing.
        s.driver("menu", target, menu_of(family, target, own_item))
        checks.equal(ours(s).get(target), windows.get(target),
                     "%s after its own %s" % (target, own_item))
        # The user moves the window before going on.
        place = (60 + 25 * number, 45 + 20 * number)
        s.driver("move", target, place[0], place[1])
    checks.equal(s.value("checked", main, "Check2"), "1", "%s.Check2 after the tour" % main)
    checks.equal(sorted(ours(s)), sorted([main, family["firefox"], family["opera"], family["info"]]
                                         + (["Form1"] if main != "Form1" else [])),
                 "windows loaded after the tour (nothing unloaded, nothing else loaded)")


def main_buttons(s, checks, family):
    main = family["main"]
    menus = {"firefox": "mnuFirefox", "opera": "mnuOpera", "info": "mnuInfo"}
    for which in ("firefox", "opera", "info"):
        window = family[which]
        s.driver("menu", main, menu_of(family, main, menus[which]), "--", "wait-visible", window)
        s.driver("click", window, MAIN_BUTTON[which])
        checks.equal(shown(s), [main], "visible after the Main button of %s" % window)


def close_information(s, family):
    s.driver("menu", family["main"], "mnuInfo", "--", "close", family["info"])
    code = s.wait_exit(EXIT_TIMEOUT)
    assert code == 0, "exit code %s after closing the information window" % code


def without_firefox(version, family):
    with harness.Scenario(version) as s:
        checks = harness.Checks("Firefox window unreachable on %s" % version, s)
        s.make_dir("Program Files/Opera")
        s.start()
        main = family["main"]
        s.driver("wait-visible", main)
        checks.equal(s.value("menu-state", main, family["firefox_menu"]), "disabled",
                     "%s Firefox menu without a Firefox folder" % main)
        s.driver("post-menu", main, family["firefox_menu"])
        checks.equal(shown(s), [main], "visible after the Firefox command in %s" % main)
        s.driver("menu", main, "mnuOpera")
        opera = family["opera"]
        s.driver("post-menu", opera, "mnuFirefox")
        checks.equal(shown(s), [opera], "visible after the Firefox command in %s" % opera)
        checks.equal(family["firefox"] in ours(s), False, "a %s window exists" % family["firefox"])
        checks.finish()


def scenario(argv):
    if len(argv) != 1 or argv[0] not in FAMILY:
        raise harness.HarnessError("usage: navigation.py %s" % "|".join(FAMILY))
    version = argv[0]
    family = FAMILY[version]
    with harness.Scenario(version) as s:
        checks = harness.Checks("navigation on %s" % version, s)
        s.make_dir("Program Files/Mozilla Firefox")
        s.make_dir("Program Files/Opera")
        s.start()
        tour(s, checks, family)
        main_buttons(s, checks, family)
        checks.attempt("closing %s" % family["info"], close_information, s, family)
        checks.finish()
    without_firefox(version, family)


if __name__ == "__main__":
    harness.main_of(scenario)
