"""Donate buttons and support addresses open exactly the configured pages in the browser.

    python3 tests/e2e/links.py VERSION      (winxp win98 win95)

Wine hands an opened address to the program named by HKCU\\Software\\Wine\\WineBrowser
"Browsers"; here that is a script that appends each address to a file. In every window of the
family that has them, the Donate button opens the donation page and the blue support address
opens the support page; the label "For technical support please email: " before it opens
nothing, and the window stays as it was.
"""

import os
import re
import time

import harness

CONFIG = os.path.join(harness.REPO, "src", "shell", "Config.h")
RECORD_TIMEOUT = 15
# After the last click: time for a launch nobody asked for to show up in the record.
QUIET_S = 2

# version: (window, menu item of the main window that shows it, Donate button, support label)
WINDOWS = {
    "winxp": [("Form1", None, "Command2", True), ("Form3", "mnuFirefox", "Command2", True),
              ("Form5", "mnuOpera", "Command2", True), ("Form2", "mnuInfo", "Command1", False)],
    "win98": [("Form6", None, "Command2", True), ("Form7", "mnuFireFox", "Command2", True),
              ("Form8", "mnuOpera", "Command2", True), ("Form9", "mnuInfo", "Command1", False)],
    "win95": [("Form4", None, None, True)],
}


def configured(name):
    """A string constant of Config.h, its adjacent literals joined."""
    with open(CONFIG) as f:
        text = f.read()
    match = re.search(r"\b%s\s*=\s*((?:\s*\"[^\"]*\")+)\s*;" % name, text)
    if not match:
        raise harness.HarnessError("%s not found in %s" % (name, CONFIG))
    return "".join(re.findall(r"\"([^\"]*)\"", match.group(1)))


def as_delivered(address):
    """The address as Wine's shell hands it to the browser: it canonicalizes URLs, which
    decodes percent-encoded unreserved characters (RFC 3986, 6.2.2.2: "%2e" becomes ".", an
    equivalent address) and leaves the reserved ones ("%40") encoded. The unit tests check
    the exact text the program passes to the shell."""
    unreserved = re.compile(r"%([0-9A-Fa-f]{2})")

    def decode(match):
        char = chr(int(match.group(1), 16))
        return char if char.isalnum() or char in "-._~" else match.group(0)

    return unreserved.sub(decode, address)


class Browser:
    """The fake browser: a script that records each address it is given."""

    def __init__(self, s):
        self.record = os.path.join(s.root, "opened.txt")
        script = os.path.join(s.root, "browser.sh")
        with open(script, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.record)
        os.chmod(script, 0o755)
        s.wine("reg", "add", "HKCU\\Software\\Wine\\WineBrowser", "/v", "Browsers", "/d", script,
               "/f")

    def opened(self):
        try:
            with open(self.record) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def wait_for(self, count):
        """The record once it holds count addresses (the shell starts the browser
        asynchronously)."""
        deadline = time.monotonic() + RECORD_TIMEOUT
        while len(self.opened()) < count and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.opened()


def shown(s):
    return [w[0] for w in s.windows() if w[0] != "#32770" and w[1] == "1"]


def scenario(argv):
    if len(argv) != 1 or argv[0] not in WINDOWS:
        raise harness.HarnessError("usage: links.py %s" % "|".join(WINDOWS))
    version = argv[0]
    donation = as_delivered(configured("kDonationPage"))
    support = as_delivered(configured("kSupportPage"))
    with harness.Scenario(version) as s:
        checks = harness.Checks("outside links on %s" % version, s)
        browser = Browser(s)
        s.make_dir("Program Files/Mozilla Firefox")
        s.make_dir("Program Files/Opera")
        s.start()
        main = WINDOWS[version][0][0]
        s.driver("wait-visible", main)
        expected = []
        for window, menu, donate, support_label in WINDOWS[version]:
            if menu:
                s.driver("menu", main, menu, "--", "wait-visible", window)
            if support_label:
                s.driver("click", window, "Label2")
            clicks = ([(donate, donation)] if donate else []) + \
                     ([("Label3", support)] if support_label else [])
            for control, address in clicks:
                s.driver("click", window, control)
                expected.append(address)
                checks.equal(browser.wait_for(len(expected)), expected,
                             "addresses opened after %s.%s" % (window, control))
            checks.equal(shown(s), [window], "visible windows after the links of %s" % window)
            if menu:
                s.driver("menu", window, "mnuMain", "--", "wait-visible", main)
        time.sleep(QUIET_S)
        checks.equal(browser.opened(), expected, "every address opened, in order")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
