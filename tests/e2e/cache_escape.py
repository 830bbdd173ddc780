"""Cache entries naming files outside the cache: the Cookies and Temporary Internet Files
purges leave them, and the files they name, alone.

    python3 tests/e2e/cache_escape.py VERSION      (winxp win98)

Deleting a cache entry makes the Internet library delete the local file the entry names, by
that path, wherever it lies; any program of the user can commit an entry naming any file.
Wine's library only takes a local file whose path starts with the entry's own cache folder
(and, for ordinary entries, one of its subfolders); what follows is taken as it is, so a
`..` climbs anywhere. Before the start of the program seedcache.exe commits, besides an
ordinary page, cookie and history entry:

- a cookie entry climbing from the cookie folder to C:\\victim_cookie.txt, and an ordinary
  entry climbing from its cache subfolder to C:\\victim_url.txt;
- an entry naming an absolute path elsewhere (C:\\ProgramData\\victim_abs.txt), which Wine's
  library refuses to commit; should it ever take it, the entry must stay all the same;
- a cookie entry whose file lies in the cookie folder's subfolder "junction", a link to a
  folder beside the prefix;
- on winxp, an ordinary entry whose file is a link to a file beside the prefix. (The 98
  family's calls cannot tell a link to a file from a file, nor do its volumes hold any.)

One run of Cookies and Temporary Internet Files from the main window then deletes the
ordinary entries and their files, and leaves every other entry in the index and every file it
names with its content. The completion message comes and the program still runs.
"""

import os

import harness
import cleaning_kit as kit

# The Cookies and Temporary Internet Files boxes of each family's main window.
BOXES = {kit.NT: {"Check3", "Check4"}, kit.WIN98: {"Check2", "Check4"}}

PAGE = "http://www.example.com/page.html"
COOKIE = "Cookie:root@example.com/"
VISIT = "Visited:root@http://www.example.com/"
ORDINARY = [PAGE, COOKIE, VISIT]

CLIMB_COOKIE = "Cookie:root@climb.example/"
CLIMB_URL = "http://climb.example/"
ABSOLUTE = "http://absolute.example/"
JUNCTION = "Cookie:root@junction.example/"
FILE_LINK = "http://file-link.example/"


def entries(s, exe):
    """The index as seedcache lists it: address -> local file ("" for none)."""
    _, out, _ = s.wine(exe, "list", "--long")
    found = {}
    for line in out.splitlines():
        fields = line.split("\t")
        if len(fields) != 6:
            raise harness.HarnessError("unexpected seedcache listing: %r" % line)
        found[fields[5]] = fields[4]
    return found


def folder_of(windows_path):
    return windows_path.rsplit("\\", 1)[0]


def climbing(folder, target):
    """A path that starts in folder and climbs to the root of C: and down to target."""
    depth = len(folder.split("\\")) - 1  # the names below C:
    return folder + "\\" + "..\\" * depth + target


def scenario(argv):
    if len(argv) != 1 or argv[0] not in ("winxp", "win98"):
        raise harness.HarnessError("usage: cache_escape.py winxp|win98")
    version = argv[0]
    form = kit.FAMILY[version]
    with harness.Scenario(version) as s:
        checks = harness.Checks("cache entries naming files outside on %s" % version, s)
        seed = s.install(harness.seedcache_path())
        s.wine(seed, "add", *ORDINARY)
        ordinary = entries(s, seed)
        content_folder = folder_of(ordinary[PAGE])  # e.g. ...\INetCache\Content.IE5\SOZ6JJBB
        cookie_folder = folder_of(ordinary[COOKIE])  # ...\INetCookies
        checks.equal(ordinary[VISIT], "", "a history entry names no file")

        # The files that must survive: Linux path -> content.
        victims = {}

        def victim(windows_path, text):
            victims[s.make_file(windows_path, text)] = text.encode()

        # Entries that must stay: address -> what happened when it was committed.
        planted = {}

        def plant(url, local_file):
            code, _, err = s.wine(seed, "add-file", url, local_file, check=False)
            planted[url] = (code, err.strip())

        victim("victim_cookie.txt", "the cookie purge must not delete this\n")
        plant(CLIMB_COOKIE, climbing(cookie_folder, "victim_cookie.txt"))
        victim("victim_url.txt", "the cache purge must not delete this\n")
        plant(CLIMB_URL, climbing(content_folder, "victim_url.txt"))
        victim("ProgramData/victim_abs.txt", "nor this\n")
        plant(ABSOLUTE, "C:\\ProgramData\\victim_abs.txt")
        behind = s.make_link_outside(cookie_folder + "\\junction", "junction")
        with open(os.path.join(behind, "target.txt"), "w") as f:
            f.write("behind the junction\n")
        victims[os.path.join(behind, "target.txt")] = b"behind the junction\n"
        plant(JUNCTION, cookie_folder + "\\junction\\target.txt")
        if form == kit.NT:
            text = "behind the file link\n"
            target = s.make_link_outside(content_folder + "\\linked.htm", "linked.txt", text)
            victims[target] = text.encode()
            plant(FILE_LINK, content_folder + "\\linked.htm")

        for url, (code, err) in planted.items():
            if url != ABSOLUTE:
                checks.equal((code, err), (0, ""), "committing %s" % url)
        before = entries(s, seed)
        must_stay = {url for url in planted if url in before}
        checks.equal(sorted(set(planted) - must_stay), [ABSOLUTE],
                     "entries the library refused to commit")

        s.start()
        window = kit.MainWindow(s, form)
        s.driver("wait-visible", form)
        _, text, _ = window.empty_selected(BOXES[form])
        kit.check_done_message(checks, form, text, "run of Cookies and Temporary Internet Files")
        checks.equal(s.running(), True, "program still running")

        for path, content in sorted(victims.items()):
            checks.equal(kit.outside_state(path), content, "%s after the run" % path)
        after = entries(s, seed)
        checks.equal(sorted(after), sorted(must_stay), "entries left in the index")
        for url in must_stay:
            checks.equal(after.get(url), before[url], "%s still names its file" % url)
        for url in (PAGE, COOKIE):
            checks.equal(os.path.lexists(s.path(ordinary[url])), False,
                         "the file of %s is gone" % url)
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
