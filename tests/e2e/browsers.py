"""The Firefox and Opera windows delete what their ticked boxes name, and nothing else.

    python3 tests/e2e/browsers.py VERSION      (winxp win98)

Firefox: a profiles.ini with Profile0 and Profile2 (no Profile1) and a Profile11, and two
profiles kept outside the Firefox folder (IsRelative=0 with an absolute path): Profile3 in
C:\\Firefox Elsewhere, Profile4 in C:\\Linked Profiles, a link that leads out of the prefix.
Select All asks the saved-password question once; "Empty Selected" deletes every ticked file
in both listed profiles (on winxp in both cache folders too) and in Profile3, keeps
sub-folders of the profile's Cache (on winxp the local part's Cache, where Firefox 3 on keep
sub-folders, is emptied whole), and leaves Profile11 and all that the link leads to alone. On winxp
the run asks again before the saved passwords: Yes deletes them, No keeps them and unticks
the box. Windows 98 deletes them without asking again and says "Done Cleaning!!". Opera:
the same with the fixed profile of each family, and on winxp files of 9.5 to 12 beside it.
"""

import os

import harness
import cleaning_kit as kit

QUESTION = "Olvex Cleaner - Delete Passwords"
DONE = "Done"
FREED = "Done Cleaning!! OLVEX CLEANER has freed "

FIREFOX_FILES = ["Cookies.txt", "signons.txt", "formhistory.dat", "history.dat", "downloads.rdf"]
OPERA_FILES = ["Cookies4.dat", "wand.dat", "global.dat", "download.dat", "vlink4.dat"]
LISTED = ["Profiles/aaaa.default", "Profiles/cccc.work"]
UNLISTED = "Profiles/llll.late"
PROFILES_INI = """[General]
StartWithLastProfile=1

[Profile0]
Name=default
IsRelative=1
Path=Profiles/aaaa.default

[Profile2]
Name=work
IsRelative=1
Path=Profiles/cccc.work

[Profile11]
Name=late
IsRelative=1
Path=Profiles/llll.late

[Profile3]
Name=elsewhere
IsRelative=0
Path=C:\\Firefox Elsewhere\\abs.default

[Profile4]
Name=linked
IsRelative=0
Path=C:\\Linked Profiles\\through.default
"""
# Profile3, and the link on Profile4's path with the folder outside the prefix it leads to.
ELSEWHERE = "Firefox Elsewhere/abs.default"
LINKED, LINKED_TARGET = "Linked Profiles", "linked-profiles"

# version: main window, Firefox window, its menu in the main window, Opera window
WINDOWS = {"winxp": ("Form1", "Form3", "mnuFirefox", "Form5"),
           "win98": ("Form6", "Form7", "mnuFireFox", "Form8")}


def user_folder(s):
    # The one Wine made for the Linux user: a scenario may add others to its own copy.
    made = os.path.join(harness.template_prefix(), "drive_c", "users")
    users = [u for u in os.listdir(made) if u.lower() != "public"]
    assert len(users) == 1, "expected one user folder, found %s" % users
    return "users/" + users[0]


def firefox_roots(s, version):
    """The folders that hold profiles.ini and the profiles; on winxp also the local one,
    which holds a second cache."""
    if version == "win98":
        return ["windows/Application Data/Mozilla/Firefox"], []
    home = user_folder(s)
    return ([home + "/AppData/Roaming/Mozilla/Firefox"], [home + "/AppData/Local/Mozilla/Firefox"])


def opera_profile(s, version):
    if version == "win98":
        return "Program Files/Opera/profile"
    return user_folder(s) + "/AppData/Roaming/Opera/Opera/profile"


def make_profile(s, folder, files, cache):
    for name in files:
        s.make_file(folder + "/" + name, "data")
    s.make_file(folder + "/" + cache + "/0A1B2C3D", "cached")
    s.make_file(folder + "/" + cache + "/Sub/keep.bin", "kept")


def exists(s, path):
    return os.path.exists(s.path(path))


def seed_firefox(s, version):
    roots, local = firefox_roots(s, version)
    s.make_file(roots[0] + "/profiles.ini", PROFILES_INI.replace("\n", "\r\n"))
    for root in roots:
        for profile in LISTED + [UNLISTED]:
            make_profile(s, root + "/" + profile, FIREFOX_FILES, "Cache")
    for root in local:
        for profile in LISTED + [UNLISTED]:
            make_profile(s, root + "/" + profile, [], "Cache")
    make_profile(s, ELSEWHERE, FIREFOX_FILES, "Cache")
    if not os.path.lexists(s.path(LINKED)):
        target = s.make_link_outside(LINKED, LINKED_TARGET)
        for name in FIREFOX_FILES + ["Cache/0A1B2C3D"]:
            path = os.path.join(target, "through.default", name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write("outside\n")


def check_firefox(s, checks, version, passwords_deleted):
    roots, local = firefox_roots(s, version)
    for root in roots + local:
        for profile in LISTED:
            folder = root + "/" + profile
            checks.equal(exists(s, folder + "/Cache/0A1B2C3D"), False, folder + " cache file")
            # The first versions' cache in the profile is flat; the local part's (3.0 to 31
            # keep theirs there, in sub-folders) is emptied at every depth.
            checks.equal(exists(s, folder + "/Cache/Sub/keep.bin"), root not in local,
                         folder + " cache sub-folder file")
            if root in local:
                continue
            for name in FIREFOX_FILES:
                kept = name == "signons.txt" and not passwords_deleted
                checks.equal(exists(s, folder + "/" + name), kept, folder + "/" + name)
        folder = root + "/" + UNLISTED
        checks.equal(exists(s, folder + "/Cache/0A1B2C3D"), True, folder + " (Profile11) cache")
        if root not in local:
            left = [n for n in FIREFOX_FILES if exists(s, folder + "/" + n)]
            checks.equal(left, FIREFOX_FILES, folder + " (Profile11) files")
    checks.equal(exists(s, ELSEWHERE + "/Cache/0A1B2C3D"), False, ELSEWHERE + " cache file")
    # On NT the local part of a profile kept elsewhere is the profile itself.
    checks.equal(exists(s, ELSEWHERE + "/Cache/Sub/keep.bin"), version == "win98",
                 ELSEWHERE + " cache sub-folder")
    left = [n for n in FIREFOX_FILES if exists(s, ELSEWHERE + "/" + n)]
    checks.equal(left, [] if passwords_deleted else ["signons.txt"], ELSEWHERE + " files left")
    checks.equal(os.path.islink(s.path(LINKED)), True, LINKED + " stays a link")
    outside = kit.outside_state(os.path.join(s.root, "outside", LINKED_TARGET, "through.default"))
    checks.equal(sorted(outside), ["Cache/", "Cache/0A1B2C3D"] + sorted(FIREFOX_FILES),
                 "what " + LINKED + " leads to")


def select_all(s, checks, window):
    s.driver("click", window, "Check7")
    checks.equal(s.value("msgbox", QUESTION), "Are you sure you want to delete your %s saved password?"
                 % ("Firefox" if window in ("Form3", "Form7") else
                    "Chrome" if window == "Form10" else "Opera"), "Select All question")
    s.driver("answer", QUESTION, "yes")
    reads = []
    for n in range(1, 8):
        reads += ["--", "checked", window, "Check%d" % n]
    states = s.driver(*reads[1:])
    checks.equal(states, ["1"] * 7, "%s boxes after Select All and Yes" % window)


def done_text(s, checks, version):
    text = s.value("msgbox", DONE)
    if version == "win98":
        checks.equal(text, "Done Cleaning!!", "completion message")
    else:
        framed = text.startswith(FREED) and text.endswith(" bytes")
        digits = text[len(FREED):-len(" bytes")] if framed else ""
        checks.equal(digits.isdigit(), True, "completion message %r" % text)
    s.driver("answer", DONE, "ok")


def firefox_boxes_run(s, checks, version, boxes):
    """From the main window: the Firefox window with `boxes` ticked, "Empty Selected" (a run
    that asks no question) and its completion message."""
    main, window, menu, _ = WINDOWS[version]
    clicks = []
    for box in boxes:
        clicks += ["--", "click", window, box]
    s.driver("menu", main, menu, "--", "wait-visible", window, *clicks)
    s.driver("click", window, "Command1")
    done_text(s, checks, version)


def firefox(version):
    main, window, menu, _ = WINDOWS[version]
    answers = ["yes", "no"] if version == "winxp" else [None]
    with harness.Scenario(version) as s:
        checks = harness.Checks("Firefox on %s" % version, s)
        s.make_dir("Program Files/Mozilla Firefox")
        seed_firefox(s, version)
        s.start()
        s.driver("wait-visible", main, "--", "menu", main, menu, "--", "wait-visible", window)
        select_all(s, checks, window)
        for answer in answers:
            firefox_run(s, checks, version, window, answer)
            checks.equal(s.value("checked", window, "Check3"), "0" if answer == "no" else "1",
                         "Check3 after the run (answer %s)" % answer)
        checks.finish()


def firefox_run(s, checks, version, window, answer):
    """With every box of the Firefox window ticked: seeds the profiles afresh, presses "Empty
    Selected", gives `answer` to the run's password question (winxp; None where the run asks
    none) and checks what the run left."""
    seed_firefox(s, version)
    s.driver("click", window, "Command1")
    if answer:
        checks.equal(s.value("msgbox", QUESTION),
                     "Are you sure you want to delete your Firefox saved password?",
                     "the run's question")
        s.driver("answer", QUESTION, answer)
    else:
        s.driver("no-msgbox", QUESTION, 1000)
    done_text(s, checks, version)
    check_firefox(s, checks, version, passwords_deleted=answer != "no")


def opera(version):
    main, _, _, window = WINDOWS[version]
    with harness.Scenario(version) as s:
        checks = harness.Checks("Opera on %s" % version, s)
        s.make_dir("Program Files/Opera")
        seed_opera(s, version)
        s.start()
        s.driver("wait-visible", main, "--", "menu", main, "mnuOpera", "--", "wait-visible", window)
        select_all(s, checks, window)
        opera_run(s, checks, version, window)
        checks.finish()


# On NT, files of Opera 9.5 to 12: one folder up from the profile, and in the local part.
def opera_later(s, version):
    home = user_folder(s)
    return [] if version == "win98" else [home + "/AppData/Roaming/Opera/Opera/global_history.dat",
                                          home + "/AppData/Local/Opera/Opera/opcache/index.dat"]


def seed_opera(s, version):
    make_profile(s, opera_profile(s, version), OPERA_FILES, "Cache4")
    for path in opera_later(s, version):
        s.make_file(path, "data")


def opera_run(s, checks, version, window):
    """With every box of the Opera window ticked and the profile seeded: presses "Empty
    Selected" and checks what the run left."""
    profile = opera_profile(s, version)
    s.driver("click", window, "Command1")
    done_text(s, checks, version)
    checks.equal([n for n in OPERA_FILES if exists(s, profile + "/" + n)], [],
                 "Opera files left in " + profile)
    checks.equal(exists(s, profile + "/Cache4/0A1B2C3D"), False, "Opera cache file")
    checks.equal(exists(s, profile + "/Cache4/Sub/keep.bin"), True, "Opera cache sub-folder")
    checks.equal([p for p in opera_later(s, version) if exists(s, p)], [], "Opera 9.5 to 12 files")


def scenario(argv):
    if len(argv) != 1 or argv[0] not in WINDOWS:
        raise harness.HarnessError("usage: browsers.py %s" % "|".join(WINDOWS))
    firefox(argv[0])
    opera(argv[0])


if __name__ == "__main__":
    harness.main_of(scenario)
