"""A file the sweep cannot delete is registered for deletion at restart only where nobody
else can turn a folder on its path into a link before then.

    python3 tests/e2e/restart_list.py winxp

The restart carries the list out by path and follows whatever links the path passes by
then, so whoever may change a folder on it chooses what goes. One start of the program,
one run with Windows Temp, Current User Temp, Cookies, Prefetch, All Users Temp and Java
Cache ticked, over read-only files (a plain file beside each shows the folder was swept):
- registered: the files directly in Windows Temp and Prefetch, in Current User Temp, in
  the user's Cookies (once, though Cookies and All Users Temp both meet it), in the user's
  own temporary folder within All Users Temp;
- not registered: files in subfolders (a subfolder that cannot be removed whole ends its
  folder's sweep, and in Windows Temp and Prefetch any user may create one), in another
  profile's temporary and cookies folders, and directly in a Java cache folder another
  user owns.
Each subfolder sorts last in its start folder, after the files directly in it.
Windows Temp also holds file links to the same paths on drive D:, a folder beside the prefix:
below their volume the names match, so only the whole name tells them apart. The links stay,
what they lead to stays, and nothing of theirs is registered.
Every file stays through the run with its content. The same run again registers nothing:
a path the list holds is not added twice. Then Application Data moves to N:, a drive letter
of the network type: Java Cache empties its cache there, and registers nothing of the
read-only file that stays, since the restart runs before the network is there. Then the program exits and each other
user does what his folders allow: the folder holding the file becomes a link to a folder
beside the prefix holding a file of the same name (the other profile's cookie becomes a
link to a file), and the user clears the read-only bit of his registered files (Wine's
restart leaves read-only files). `wineboot -r` carries out the list: it is empty
afterwards, the registered files are gone, what the links lead to is all there, and so is
everything seeded outside the swept folders.
"""

import os

import harness
import cleaning_kit as kit
from cleaning_kit import READ_ONLY

FORM = kit.NT
BOXES = {"Check1", "Check2", "Check3", "Check6", "Check9", "Check10"}

WINDOWS_TEMP = "windows/temp/"
PREFETCH = "windows/prefetch/"
ROOT = "users/root/"
USER_TEMP = ROOT + "Local Settings/temp/"
COOKIES = ROOT + "Cookies/"
OWN_TEMP = ROOT + "AppData/temp/"  # the user's own, as All Users Temp sweeps it
JAVA = ROOT + "AppData/Roaming/Sun/Java/Deployment/cache/javapi/"
OTHER_TEMP = "users/other/AppData/temp/"
OTHER_COOKIES = "users/other/cookies/"
SHELL_FOLDERS = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"
NETWORK_JAVA = "AppData/Sun/Java/Deployment/cache/javapi"
INDEX_FILE = "c:\\users\\root\\appdata\\local\\microsoft\\windows\\inetcache\\content.ie5\\index.dat"

# Wine reports a folder of another Linux user as owned by Anonymous Logon (S-1-5-7).
OTHER_UID = 12345
CHOWNED = [OWN_TEMP + "b_chowned", JAVA]
# Back to the user's own below the other user's folder: every folder on the way counts.
OWN_BELOW_CHOWNED = OWN_TEMP + "b_chowned/inner"

# File links in Windows Temp to the same paths on drive D: (sorted before its subfolder, whose
# removal ends the sweep): they stay, what they lead to stays, and nothing is registered.
ALIASED = {"a_victim.txt": (), "a_victim_ro.txt": [READ_ONLY]}

# Read-only files: how often the run registers each, and for those it must not register,
# what their owner makes of them before the restart: "folder" (the folder holding the file
# becomes a link) or "file" (the file itself does).
READ_ONLY_FILES = {
    WINDOWS_TEMP + "a_ro.tmp": (1, None),
    WINDOWS_TEMP + "b_sub/ro.tmp": (0, "folder"),
    PREFETCH + "a_ro.pf": (1, None),
    PREFETCH + "b_sub/ro.pf": (0, "folder"),
    USER_TEMP + "a_ro.tmp": (1, None),
    USER_TEMP + "b_sub/ro.tmp": (0, "folder"),
    COOKIES + "a_ro.txt": (1, None),
    OWN_TEMP + "a_ro.tmp": (1, None),
    OWN_BELOW_CHOWNED + "/ro.tmp": (0, "folder"),
    JAVA + "a_ro.idx": (0, "folder"),
    OTHER_TEMP + "a_ro.tmp": (0, "folder"),
    OTHER_COOKIES + "a_ro.txt": (0, "file"),
}
# Sorted before the read-only files, so each shows its folder was swept up to them.
PLAIN_FILES = [WINDOWS_TEMP + "a_plain.tmp", PREFETCH + "a_plain.pf", USER_TEMP + "a_plain.tmp",
               COOKIES + "a_plain.txt", OWN_TEMP + "a_plain.tmp", JAVA + "a_plain.idx",
               OTHER_TEMP + "a_plain.tmp", OTHER_COOKIES + "a_plain.txt"]
# Outside every swept folder.
KEPT_FILES = ["keep.dat", "windows/keep.dat", ROOT + "AppData/Roaming/keep.dat",
              ROOT + "AppData/Local/keep.dat", ROOT + "Documents/keep.dat",
              "users/other/AppData/Local/keep.dat", "users/other/Documents/keep.dat"]

EXIT_TIMEOUT = 15
RESTART_TIMEOUT = 120


def content_of(rel):
    return "seeded as C:/%s\n" % rel


def windows_path(rel):
    return "c:\\" + rel.replace("/", "\\").lower()


def seed_aliases(s):
    """Drive D:, a folder beside the prefix, with files of the same paths that Windows Temp's
    file links lead to: below the volume their names are the ones the listing promised.
    Returns D:'s files (Linux path -> content)."""
    s.make_drive_outside("d", "drive-d")
    victims = {}
    for name, attributes in ALIASED.items():
        content = "D:\\%s\n" % name
        target = s.make_link_outside(WINDOWS_TEMP + name, "drive-d/" + WINDOWS_TEMP + name,
                                     content)
        kit.set_attributes(target, attributes)
        victims[target] = content
    return victims


def seed(s):
    for rel in READ_ONLY_FILES:
        kit.write_file(s, rel, content_of(rel), [READ_ONLY])
    for rel in PLAIN_FILES + KEPT_FILES:
        kit.write_file(s, rel, content_of(rel))
    for rel in CHOWNED:
        try:
            os.chown(s.path(rel), OTHER_UID, OTHER_UID)
        except PermissionError:
            raise harness.HarnessError("giving C:/%s to another user needs root" % rel)


def check_files(s, checks, what, rels):
    for rel in rels:
        checks.equal(kit.read_file(s, rel), content_of(rel), "%s: C:/%s" % (what, rel))


def check_outside(checks, what, files):
    for target, content in sorted(files.items()):
        found = open(target).read() if os.path.exists(target) else None
        checks.equal(found, content, "%s: %s" % (what, os.path.basename(target)))


def check_registrations(checks, added):
    # The cookies folder is the same for both categories whatever case each names it in.
    counts = {}
    for path in added:
        counts[path] = counts.get(path, 0) + 1
    for rel, (times, _) in sorted(READ_ONLY_FILES.items()):
        checks.equal(counts.pop(windows_path(rel), 0), times,
                     "times C:/%s is registered for deletion at restart" % rel)
    # The cache index, which the cookie purge keeps mapped, is cleaning.py's business.
    counts.pop(INDEX_FILE, None)
    checks.equal(counts, {}, "other files registered for deletion at restart")


def turn_into_links(s):
    """What the owner of each unregistered file's folder may do before the restart; returns
    the files the links lead to, with their content."""
    outside = {}
    for rel, (times, swap) in sorted(READ_ONLY_FILES.items()):
        if times:
            continue
        name = os.path.basename(rel)
        label = rel.replace("/", "_").replace(" ", "_")
        content = "outside, reached by C:/%s\n" % rel
        if swap == "file":
            harness.run(["rm", "-f", "--", s.path(rel)], dict(os.environ))
            outside[s.make_link_outside(rel, label, content)] = content
            continue
        folder = os.path.dirname(rel)
        harness.run(["rm", "-rf", "--", s.path(folder)], dict(os.environ))
        target = os.path.join(s.make_link_outside(folder, label), name)
        with open(target, "w") as f:
            f.write(content)
        outside[target] = content
    return outside


def network_drive(s):
    """Drive N:, a folder beside the prefix, of the network type, holding a Java cache with a
    plain and a read-only file; returns the Linux paths of the two."""
    share = s.make_drive_outside("n", "network-share")
    s.set_drive_type("n", "network")
    files = []
    for name, attributes in (("a_plain.idx", ()), ("a_ro.idx", [READ_ONLY])):
        path = os.path.join(share, NETWORK_JAVA, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write("on N:\n")
        kit.set_attributes(path, attributes)
        files.append(path)
    return files


def again_and_on_the_network(s, checks, window, plain, read_only):
    """The same run again registers nothing new; Java Cache with Application Data on N:
    empties it but for the read-only file, which is not registered."""
    _, text, _ = window.empty_selected(BOXES)
    kit.check_done_message(checks, FORM, text, "the second run")
    checks.equal(s.pending.added(), [], "the second run: files registered again")
    s.wine("reg", "add", SHELL_FOLDERS, "/v", "AppData", "/t", "REG_EXPAND_SZ", "/d",
           "N:\\AppData", "/f")
    _, text, _ = window.empty_selected({"Check10"})
    kit.check_done_message(checks, FORM, text, "Java Cache on N:")
    checks.equal((os.path.exists(plain), os.path.exists(read_only)), (False, True),
                 "Java Cache on N:: the plain file goes, the read-only one stays")
    checks.equal(s.pending.added(), [], "Java Cache on N:: files registered for restart")


def scenario(argv):
    if argv != ["winxp"]:
        raise harness.HarnessError("usage: restart_list.py winxp")
    with harness.Scenario(argv[0]) as s:
        checks = harness.Checks("deletions at restart on %s" % argv[0], s)
        network = network_drive(s)
        seed(s)
        victims = seed_aliases(s)
        s.pending = kit.PendingDeletions(s)
        s.start()
        window = kit.MainWindow(s, FORM)
        s.driver("wait-visible", FORM)
        _, text, _ = window.empty_selected(BOXES)
        kit.check_done_message(checks, FORM, text, "the run")
        for rel in PLAIN_FILES:
            checks.equal(kit.read_file(s, rel), None, "the run: C:/%s" % rel)
        check_files(s, checks, "the run", list(READ_ONLY_FILES) + KEPT_FILES)
        check_registrations(checks, s.pending.added())
        check_outside(checks, "the run", victims)
        for name in ALIASED:
            checks.equal(os.path.islink(s.path(WINDOWS_TEMP + name)), True,
                         "the run: the link C:/%s%s stays" % (WINDOWS_TEMP, name))

        again_and_on_the_network(s, checks, window, *network)

        s.driver("click", FORM, "Command3")
        checks.equal(s.wait_exit(EXIT_TIMEOUT), 0, "exit code after Exit")
        outside = dict(turn_into_links(s), **victims)
        for target in filter(os.path.exists, victims):  # the owner may clear the read-only bit
            os.chmod(target, 0o644)
        # Wine's restart leaves a read-only file where it is: the user clears the bit of his
        # registered files, so that their going shows the list was carried out.
        registered = [rel for rel, (times, _) in READ_ONLY_FILES.items() if times]
        for rel in registered:
            os.chmod(s.path(rel), 0o644)
        s.wine("wineboot", "-r", timeout=RESTART_TIMEOUT)
        checks.equal(kit.pending_deletions(s), [], "deletions at restart left after the restart")
        for rel in registered:
            checks.equal(kit.read_file(s, rel), None, "after the restart: C:/%s" % rel)
        check_outside(checks, "after the restart", outside)
        check_files(s, checks, "after the restart", KEPT_FILES)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
