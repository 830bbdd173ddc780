"""Categories whose folders lie on other drive letters are cleaned there, and links on their
way are still refused.

    python3 tests/e2e/drive_letters.py VERSION      (winxp win98)

Drive E: is the folder C:\\redirected of the prefix's own drive (as SUBST makes one), drive
D: a folder beside the prefix (as a mapped network drive leads elsewhere). Each drive holds
two places a category can be pointed at: a plain one, and one with a link to a folder
outside on its way. Every place is seeded before the program starts; then one run per place,
each with the category pointed at that place alone.

winxp: the user's Application Data is E:\\AppData, D:\\AppData, then E:\\Linked whose Sun
folder is a link, and D:\\Linked whose Sun\\Java is one. It is pointed there by User Shell
Folders: Wine's shell reads that value (at winxp and win98 alike) and writes it into Shell
Folders, whose own value it ignores. A run of Java Cache alone empties
Sun\\Java\\Deployment\\cache\\javapi in the two plain places, files and subfolders, and keeps
the folder itself and the file beside it.

win98: the Java cache and Firefox's profiles stay under the Windows folder, which cannot
move; Program Files can (ProgramFilesDir), and with it Opera's profile. The Opera window's
Cache box alone, with Program Files in the same four places (links at Opera\\profile on E:
and at Opera on D:), deletes the files directly in Opera\\profile\\Cache4 in the plain places
and keeps its subfolders, as it does on C:.

winxp, last: drive F: is the Windows temp folder itself. Under Wine every folder a drive
letter is mapped onto reports that drive's root, whatever path reached it; a run of Windows
Temp alone empties C:\windows\temp all the same.

After each run, every other place, the folder Wine made on C: (with a cache of its own) and
whatever the links lead to are exactly as they were, and the links are still there.

Under Wine a folder's name, below its volume or whole, starts at the drive letter whose root
is the deepest folder above it, so a folder reached through E: or D: reports the very path
it was opened by. A check that compares the path with the name below the volume therefore
passes here too; on Windows, a SUBST drive reports the real folder's path and a mapped drive
its server and share.
"""

import os

import harness
import browsers
import cleaning_kit as kit

SHELL_FOLDERS = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
CURRENT_VERSION = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"

# version: the cache a run empties, below the folder pointed at; the links on its way on E:
# and on D:, at different depths.
CACHES = {"winxp": ("Sun/Java/Deployment/cache/javapi", "Sun", "Sun/Java"),
          "win98": ("Opera/profile/Cache4", "Opera/profile", "Opera")}


class Place:
    """One folder a category can be pointed at: its Linux path, and the link on its way
    (relative path inside it, and the outside folder it leads to) if any."""

    def __init__(self, linux, link=None, outside=None):
        self.linux, self.link, self.outside = linux, link, outside

    def state(self):
        return kit.outside_state(self.outside if self.link else self.linux)


def seed_tree(top, cache):
    """Seeds the Linux folder top with a category's cache, files and subfolders, and a file
    beside it."""
    def put(rel, content):
        path = os.path.join(top, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(content)
    put(cache + "/first.idx", "index\n")
    put(cache + "/z-last.bin", "data\n")
    put(cache + "/v1.0/jar/applet.jar", "jar\n")
    put(cache + "/v1.0/muffin/host.dat", "muffin\n")
    put(os.path.dirname(cache) + "/beside.properties", "stays\n")


def make_places(s, version):
    """The four places on E: and D:, seeded; the links made as the harness allows them."""
    cache, link_e, link_d = CACHES[version]
    inside = s.make_drive_inside("e", "redirected")
    outside = s.make_drive_outside("d", "drive-d")
    top = "AppData" if version == "winxp" else "Program Files"
    linked = "Linked" if version == "winxp" else "Linked Programs"
    places = {
        "E:\\" + top: Place(os.path.join(inside, top)),
        "D:\\" + top: Place(os.path.join(outside, top)),
    }
    for plain in places.values():
        seed_tree(plain.linux, cache)

    # E:'s link lies inside C:, where only links the harness made may be.
    e_linked = os.path.join(inside, linked)
    target = s.make_link_outside("redirected/%s/%s" % (linked, link_e), "behind-e")
    seed_tree(target, cache[len(link_e) + 1:])
    places["E:\\" + linked] = Place(e_linked, link_e, target)
    # D: lies outside the prefix already; its link leads elsewhere again.
    d_linked = os.path.join(outside, linked)
    target = s.make_outside("behind-d")
    os.makedirs(os.path.dirname(os.path.join(d_linked, link_d)), exist_ok=True)
    os.symlink(target, os.path.join(d_linked, link_d))
    seed_tree(target, cache[len(link_d) + 1:])
    places["D:\\" + linked] = Place(d_linked, link_d, target)
    return places


def swept(state, cache, files_only):
    """What a plain place should hold after the run: everything inside the cache folder
    gone, or with files_only just the files directly in it; the cache folder itself and what
    lies beside it stay."""
    prefix = cache + "/"
    left = {}
    for rel, content in state.items():
        inner = rel[len(prefix):] if rel.startswith(prefix) else None
        if inner is None or inner == "" or (files_only and "/" in inner):
            left[rel] = content
    return left


def changes(found, expected):
    """How a folder's state differs from the one expected, an entry at a time: "+ name"
    there but should be gone, "- name" gone but should be there, "~ name" other content."""
    if not isinstance(found, dict) or not isinstance(expected, dict):
        return [] if found == expected else ["%r instead of %r" % (found, expected)]
    return sorted(["+ " + k for k in found if k not in expected] +
                  ["- " + k for k in expected if k not in found] +
                  ["~ " + k for k in found if k in expected and found[k] != expected[k]])


def point_app_data(s, windows_path):
    s.wine("reg", "add", SHELL_FOLDERS + "User Shell Folders", "/v", "AppData",
           "/t", "REG_EXPAND_SZ", "/d", windows_path, "/f")


def point_program_files(s, windows_path):
    s.wine("reg", "add", CURRENT_VERSION, "/v", "ProgramFilesDir", "/d", windows_path, "/f")


def xp_run(s, checks, window):
    _, text, _ = window.empty_selected({"Check10"})
    kit.check_done_message(checks, kit.NT, text, "Java Cache")


def opera_run(s, checks, version):
    _, _, _, form = browsers.WINDOWS[version]
    s.driver("click", form, "Command1")
    browsers.done_text(s, checks, version)


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win98"):
        raise harness.HarnessError("usage: drive_letters.py winxp|win98")
    version = argv[0]
    main, _, _, opera = browsers.WINDOWS[version]
    with harness.Scenario(version) as s:
        checks = harness.Checks("categories on other drive letters on %s" % version, s)
        cache = CACHES[version][0]
        # The folders Wine made, whose cache no run may touch.
        if version == "winxp":
            point, home = point_app_data, s.path(browsers.user_folder(s) + "/AppData/Roaming")
        else:
            point, home = point_program_files, s.path("Program Files")
        seed_tree(home, cache)
        places = make_places(s, version)
        places["C:"] = Place(os.path.join(home, cache.split("/")[0]))
        order = [name for name in places if name != "C:"]

        if version == "winxp":
            temp = s.make_drive_inside("f", "windows/temp")
            for rel in ("t.tmp", "sub/u.tmp"):
                os.makedirs(os.path.dirname(os.path.join(temp, rel)), exist_ok=True)
                with open(os.path.join(temp, rel), "w") as f:
                    f.write("temporary\n")
        point(s, order[0])
        s.start()
        s.driver("wait-visible", main)
        if version == "winxp":
            window = kit.MainWindow(s, main)
            run = lambda: xp_run(s, checks, window)
        else:
            s.driver("menu", main, "mnuOpera", "--", "wait-visible", opera,
                     "--", "click", opera, "Check1")
            run = lambda: opera_run(s, checks, version)

        for name in order:
            before = {other: place.state() for other, place in places.items()}
            point(s, name)
            run()
            for other, place in places.items():
                expected = before[other]
                if other == name and not place.link:
                    expected = swept(expected, cache, version == "win98")
                checks.equal(changes(place.state(), expected), [], "after the run on %s: %s%s"
                             % (name, other, " (behind its link)" if place.link else ""))
            for other, place in places.items():
                if place.link:
                    checks.equal(os.path.islink(os.path.join(place.linux, place.link)), True,
                                 "after the run on %s: %s's link stays" % (name, other))
        if version == "winxp":
            _, text, _ = window.empty_selected({"Check1"})
            kit.check_done_message(checks, kit.NT, text, "Windows Temp")
            checks.equal(sorted(os.listdir(temp)), [], "Windows Temp, which drive F: is")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
