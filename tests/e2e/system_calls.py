"""Which Win32 functions the program calls on each family, read from Wine's relay trace.

    python3 tests/e2e/system_calls.py VERSION      (win98 winme winxp)

One traced start of the program does real work: Select All and "Empty Selected" in the main
window (every category seeded, checked as cleaning.py checks it), a Firefox run over a seeded
profiles.ini and an Opera run (checked as browsers.py checks them). Then every call the
program made from its own image is held against the family's rule:

- 9x family (win98, winme): no function whose name ends in W, except the few that real
  Windows 98 and ME implement (NINE_X_WIDE). Wine implements them all, real 9x has stubs
  that fail, so there every category would silently do nothing. Nor the runtime's wide file
  functions, which end in those stubs.
- NT family (winxp): no ANSI function that takes a path or user text. An ANSI call must be
  in NT_ANSI_ALLOWED (or be a call of NT_ANSI_ARGUMENT_RULES without text);
  NT_ANSI_FORBIDDEN names the ones that take a path or user text, and any other ANSI call
  fails as not yet classified, so a new call is decided on rather than let through.

Under Wine the Recycle Bin is the Linux trash, where a file manager puts a link as a link,
and Wine's shell empties a link by deleting what it leads to. So the Recycle Bin holds a link
to a file outside the prefix: after the Select All run (Recycle Bin ticked) that file keeps
its content, the link stays, and the trace shows no call that empties the Recycle Bin.

The trace must show the runs' deletions and settings-file reads, so a trace that missed the
program's work cannot pass, and the cookie purge listing the index by the pattern "cookie:",
without which real Windows lists no cookie (Wine lists them all). On NT every deletion goes through a handle (NtSetInformationFile),
none by path; on 9x by the ANSI path calls, none through the native calls. And by the time the
program ends it has given back every find handle, native handle, device context, font,
item-id list and COM initialisation it took.
"""

import collections

import harness
import browsers
import cleaning
import cleaning_kit as kit

NINE_X = ("win98", "winme")
VERSIONS = NINE_X + ("winxp",)

NINE_X_WIDE = {"MultiByteToWideChar", "WideCharToMultiByte", "lstrlenW", "MessageBoxW",
               "TextOutW", "ExtTextOutW", "GetTextExtentPoint32W"}
# msvcrt's wide file functions: no W in their names, but they call the W functions.
RUNTIME_WIDE_FILES = {"_wfopen", "_wfreopen", "_wopen", "_wsopen", "_wstat", "_wstat32",
                      "_wstat64", "_wstati64", "_wfindfirst", "_wfindfirst64", "_wfindnext",
                      "_wfindnext64", "_wremove", "_wrename", "_wunlink", "_wmkdir", "_wrmdir",
                      "_wchdir", "_wgetcwd", "_waccess", "_wchmod", "_wfullpath", "_wsystem"}

NT_ANSI_FORBIDDEN = {
    # Files, folders and modules by path.
    "FindFirstFileA", "FindFirstFileExA", "FindNextFileA", "GetFileAttributesA",
    "GetFileAttributesExA", "SetFileAttributesA", "DeleteFileA", "RemoveDirectoryA",
    "CreateDirectoryA", "MoveFileA", "MoveFileExA", "CopyFileA", "CreateFileA", "GetTempPathA",
    "GetTempFileNameA", "GetWindowsDirectoryA", "GetSystemDirectoryA", "GetDiskFreeSpaceA",
    "GetDiskFreeSpaceExA", "GetFullPathNameA", "GetCurrentDirectoryA", "GetModuleFileNameA",
    "LoadLibraryA", "LoadLibraryExA", "GetPrivateProfileStringA", "GetPrivateProfileIntA",
    "WritePrivateProfileStringA", "ExpandEnvironmentStringsA", "GetEnvironmentVariableA",
    # The shell's folders, Recycle Bin and launching.
    "SHGetPathFromIDListA", "SHGetSpecialFolderPathA", "SHGetFolderPathA", "ShellExecuteA",
    "ShellExecuteExA", "SHEmptyRecycleBinA", "SHFileOperationA", "SHQueryRecycleBinA",
    "GetUserNameA",
    # Text shown in windows, boxes and menus.
    "CreateWindowExA", "SetWindowTextA", "GetWindowTextA", "GetWindowTextLengthA",
    "SetDlgItemTextA", "GetDlgItemTextA", "MessageBoxA", "MessageBoxExA", "MessageBoxIndirectA",
    "AppendMenuA", "InsertMenuA", "ModifyMenuA", "InsertMenuItemA", "SetMenuItemInfoA",
    "GetMenuStringA", "DrawTextA", "DrawTextExA", "TextOutA", "ExtTextOutA",
    "GetTextExtentPoint32A", "CharUpperA", "CharLowerA",
    # A window whose procedure is ANSI gets every text through the ANSI code page, even text
    # set with SetWindowTextW.
    "RegisterClassA", "RegisterClassExA", "DefWindowProcA", "CallWindowProcA", "DefDlgProcA",
    "CreateDialogParamA", "DialogBoxParamA",
}

NT_ANSI_ALLOWED = {
    # The URL cache takes URLs, not paths.
    "FindFirstUrlCacheEntryA", "FindNextUrlCacheEntryA", "FindFirstUrlCacheEntryExA",
    "FindNextUrlCacheEntryExA", "DeleteUrlCacheEntryA", "GetUrlCacheEntryInfoA",
    # The runtime's start-up and its unnamed sync objects; GetModuleHandleA only looks up a
    # loaded module (the start-up code asks for libgcc's DLL) and opens no file.
    "GetStartupInfoA", "CreateEventA", "CreateSemaphoreA", "CreateMutexA", "GetModuleHandleA",
    "OutputDebugStringA",
    # The version record (its service-pack text is the system's own), byte counts,
    # resources, atoms and metrics by fixed names.
    "GetVersionExA", "lstrlenA", "LoadCursorA", "LoadIconA", "RegisterWindowMessageA",
    "GetClassInfoExA", "SystemParametersInfoA", "CreateFontA", "CreateFontIndirectA",
    # The message loop: the system converts what a Unicode window receives.
    "GetMessageA", "PeekMessageA", "DispatchMessageA", "IsDialogMessageA",
}
# Plain-number calls that are fine unless their argument (index, message) makes them carry
# text or turn a window ANSI: function -> (argument position, {value: name}).
NT_ANSI_ARGUMENT_RULES = {
    "GetWindowLongA": (1, {"fffffffc": "GWL_WNDPROC"}),
    "SetWindowLongA": (1, {"fffffffc": "GWL_WNDPROC"}),
    "SendMessageA": (1, {"0000000c": "WM_SETTEXT", "0000000d": "WM_GETTEXT",
                         "0000000e": "WM_GETTEXTLENGTH", "00000180": "LB_ADDSTRING",
                         "00000181": "LB_INSERTSTRING", "00000189": "LB_GETTEXT",
                         "0000018a": "LB_GETTEXTLEN", "00000143": "CB_ADDSTRING",
                         "0000014a": "CB_INSERTSTRING", "00000148": "CB_GETLBTEXT"}),
}
NT_ANSI_ARGUMENT_RULES["PostMessageA"] = NT_ANSI_ARGUMENT_RULES["SendMessageA"]


def nine_x_offences(calls):
    found = collections.Counter()
    for call in calls:
        if ((call.function.endswith("W") and call.function not in NINE_X_WIDE)
                or (call.dll == "MSVCRT" and call.function in RUNTIME_WIDE_FILES)):
            found["%s.%s" % (call.dll, call.function)] += 1
    return found


def nt_offences(calls):
    """(calls taking a path or user text, ANSI calls nobody has classified yet)."""
    forbidden, unknown = collections.Counter(), collections.Counter()
    for call in calls:
        name = "%s.%s" % (call.dll, call.function)
        if not call.function.endswith("A") or call.function in NT_ANSI_ALLOWED:
            continue
        if call.function in NT_ANSI_ARGUMENT_RULES:
            position, bad = NT_ANSI_ARGUMENT_RULES[call.function]
            args = call.args.split(",")
            value = args[position] if len(args) > position else ""
            if value in bad:
                forbidden["%s(%s)" % (name, bad[value])] += 1
        elif call.function in NT_ANSI_FORBIDDEN:
            forbidden[name] += 1
        else:
            unknown[name] += 1
    return forbidden, unknown


# Kinds of what the program takes from the system: the call that takes one (and whether its
# return value says it did) and the call that gives it back.
OWNED = {
    "find handles": ({"FindFirstFileA", "FindFirstFileW"}, lambda r: r != 0xFFFFFFFF,
                     {"FindClose"}),
    "native handles": ({"NtCreateFile", "NtOpenProcessToken"}, lambda r: r < 0x80000000,
                       {"NtClose"}),
    "device contexts": ({"GetDC"}, lambda r: r != 0, {"ReleaseDC"}),
    "fonts": ({"CreateFontA", "CreateFontW"}, lambda r: r != 0, {"DeleteObject"}),
    "item-id lists": ({"SHGetSpecialFolderLocation"}, lambda r: r == 0, {"CoTaskMemFree"}),
    "COM initialisations": ({"CoInitialize"}, lambda r: r in (0, 1), {"CoUninitialize"}),
}


def taken_and_given_back(calls):
    """kind -> [taken, given back]."""
    counts = {kind: [0, 0] for kind in OWNED}
    for call in calls:
        for kind, (take, took, give) in OWNED.items():
            if call.function in take and call.result is not None and took(call.result):
                counts[kind][0] += 1
            elif call.function in give:
                counts[kind][1] += 1
    return counts


def listing(counter):
    return ["%s x%d" % (name, n) for name, n in sorted(counter.items())]


# A link in the Recycle Bin and the content of the file outside the prefix it leads to.
TRASHED_LINK = "trashed link.txt"
LINKED_CONTENT = b"outside the prefix, behind a link in the Recycle Bin\n"


def runs(s, checks, version):
    """Select All in the main window, then Firefox, then Opera; ends the program."""
    family = "win98" if version in NINE_X else version  # the browser helpers' key
    main, firefox, firefox_menu, opera = browsers.WINDOWS[family]
    form = kit.FAMILY[version]
    s.driver("wait-visible", form)
    window = kit.MainWindow(s, form)
    cleaning.run_categories(s, checks, window, set(cleaning.CATEGORY_BOXES[form]),
                            select_all=True)

    s.driver("menu", main, firefox_menu, "--", "wait-visible", firefox)
    browsers.select_all(s, checks, firefox)
    browsers.firefox_run(s, checks, family, firefox, "yes" if family == "winxp" else None)

    browsers.seed_opera(s, family)
    s.driver("menu", firefox, "mnuOpera", "--", "wait-visible", opera)
    browsers.select_all(s, checks, opera)
    browsers.opera_run(s, checks, family, opera)

    s.driver("close", opera)
    checks.equal(s.wait_exit(15), 0, "exit code after closing the Opera window")


def scenario(argv):
    if len(argv) != 1 or argv[0] not in VERSIONS:
        raise harness.HarnessError("usage: system_calls.py %s" % "|".join(VERSIONS))
    version = argv[0]
    with harness.Scenario(version) as s:
        checks = harness.Checks("system calls on %s" % version, s)
        s.make_dir("Program Files/Mozilla Firefox")
        s.make_dir("Program Files/Opera")
        s.url_cache = kit.UrlCache(s)
        s.pending = kit.PendingDeletions(s)
        linked = s.make_outside("linked from the trash.txt", LINKED_CONTENT)
        kit.trash_link(s, TRASHED_LINK, linked)
        s.start(relay=True)
        runs(s, checks, version)

        calls = s.own_calls()
        names = collections.Counter(call.function for call in calls)
        checks.equal(kit.outside_state(linked), LINKED_CONTENT,
                     "the file a link in the Recycle Bin leads to")
        checks.equal(kit.trashed(s, TRASHED_LINK), True, "the link in the Recycle Bin")
        checks.equal(names["SHEmptyRecycleBinA"] + names["SHEmptyRecycleBinW"], 0,
                     "calls that empty the Recycle Bin")
        # NT deletes through handles opened relative to their folder, never by path; 9x,
        # which has no such calls, by its ANSI path calls.
        by_path = names["DeleteFileA"] + names["DeleteFileW"] + names["RemoveDirectoryA"] + \
            names["RemoveDirectoryW"]
        by_handle = names["NtSetInformationFile"]
        checks.equal(by_handle if version in NINE_X else by_path, 0,
                     "deletions the other way than the family's")
        checks.equal((by_path if version in NINE_X else by_handle) > 0, True,
                     "the trace shows the program deleting files (%d calls traced)" % len(calls))
        checks.equal(names["GetPrivateProfileStringA"] + names["GetPrivateProfileStringW"] > 0,
                     True, "the trace shows the program reading profiles.ini")
        # The cookies are asked for by the pattern the library documents; Windows lists none
        # of them without it. The content entries are listed with none.
        patterns = {call.args.split(",")[0].split(" ", 1)[-1] for call in calls
                    if call.function == "FindFirstUrlCacheEntryA"}
        checks.equal(sorted(patterns & {'"cookie:"', "00000000"}), ['"cookie:"', "00000000"],
                     "search patterns of the cache index's listings (%s)" % sorted(patterns))
        # A library loaded by its bare name could be one planted beside the program; the relay
        # shows the name passed, so every load must name the system folder.
        loads = [call for call in calls if call.function in ("LoadLibraryA", "LoadLibraryW")]
        checks.equal([call.args for call in loads if "system" not in call.args.lower()], [],
                     "libraries loaded by their bare names")
        checks.equal(len(loads) > 0, True, "the trace shows the program loading libraries")
        owned = taken_and_given_back(calls)
        checks.equal({kind: n for kind, n in owned.items() if n[0] != n[1]}, {},
                     "kinds of handle taken [times] and given back [times] by the end")
        taken = {kind for kind, n in owned.items() if n[0]}
        expected = set(OWNED) - ({"native handles"} if version in NINE_X else set())
        checks.equal(sorted(expected - taken), [], "kinds the trace shows the program taking")
        if version in NINE_X:
            checks.equal(listing(nine_x_offences(calls)), [],
                         "W functions (calls) that real Windows 9x only has as failing stubs")
        else:
            forbidden, unknown = nt_offences(calls)
            checks.equal(listing(forbidden), [],
                         "ANSI functions (calls) given a path or user text on NT")
            checks.equal(listing(unknown), [], "ANSI functions (calls) not classified in "
                         "system_calls.py: decide whether they take a path or user text")
        checks.finish()


if __name__ == "__main__":
    harness.main_of(scenario)
