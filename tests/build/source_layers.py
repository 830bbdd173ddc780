"""Checks that the source folders stand on each other in one direction.

    python3 tests/build/source_layers.py SRC_DIR

From the bottom: ui (the toolkit contract and the layouts), platform (the system's interfaces;
platform/win32 implements them and the toolkit), guard (every rule that decides what may go),
system, then cleaning and browsers side by side,
then categories (the one table of categories, whose rows those two supply), then shell and
console (the console program's logic) side by side, then the composition roots main_win32.cpp
and console_win32.cpp. A file may include its own folder and the
folders below it, never one above or beside it. Only platform/win32 and the composition root
include the Windows headers or platform/win32.
"""

import pathlib
import re
import sys

RANK = {"ui": 0, "platform": 1, "guard": 2, "system": 3, "cleaning": 4, "browsers": 4,
        "categories": 5, "shell": 6, "console": 6}
ROOT_RANK = 7
WINDOWS_HEADERS = {"windows.h", "commctrl.h", "shlobj.h", "shellapi.h", "wininet.h", "objbase.h",
                   "ole2.h", "winternl.h", "ntstatus.h", "shlwapi.h", "winbase.h", "winuser.h",
                   "wingdi.h", "winnt.h", "lmcons.h", "urlhist.h", "intshcut.h", "winerror.h"}
# The entry points that alone may make platform::SystemChanges, each befriended by it and
# defined in one file: a second definition elsewhere would compile, so it is checked here.
CHANGE_MAKERS = {"WindowCommandChanges": "shell/CategoryBoxes.cpp",
                 "ConsoleCommandChanges": "console/ConsoleProgram.cpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def folder_of(relative):
    parts = relative.split("/")
    return parts[0] if len(parts) > 1 else None


def violations(src):
    found = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(src).as_posix()
        own = folder_of(relative)
        rank = ROOT_RANK if own is None else RANK.get(own)
        if rank is None:
            found.append(f"{relative}: folder {own} has no place among the layers")
            continue
        text = path.read_text(encoding="utf-8")
        for maker, home in CHANGE_MAKERS.items():
            if re.search(r"\bstruct\s+(olvex::)?" + maker + r"\s*\{", text) and relative != home:
                found.append(f"{relative} defines {maker}: only {home} makes SystemChanges")
        windows_edge = own is None or relative.startswith("platform/win32/")
        for kind, target in INCLUDE.findall(text):
            where = f"{relative} includes {target}"
            if kind == "<":
                if target.lower() in WINDOWS_HEADERS and not windows_edge:
                    found.append(f"{where}: only platform/win32 talks to Windows")
                continue
            if target.startswith("platform/win32/") and not windows_edge:
                found.append(f"{where}: only the composition root knows platform/win32")
            other = folder_of(target)
            if other is None or other == own:
                continue
            if other not in RANK:
                found.append(f"{where}: no such layer")
            elif RANK[other] >= rank:
                found.append(f"{where}: {other} does not stand below {own or 'the root'}")
    return found


def main():
    src = pathlib.Path(sys.argv[1])
    found = violations(src)
    for line in found:
        print(line)
    if not any(src.rglob("*.cpp")):
        print(f"no sources under {src}")
        return 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
