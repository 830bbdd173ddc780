"""Checks that the shipped exe loads on every Windows it is made for.

    python3 tests/build/import_table.py EXE ALLOWLIST
    python3 tests/build/import_table.py --library DLL ALLOWLIST LIBRARY_ALLOWLIST

The loaders of Windows 95, 98, NT 4.0 and XP refuse a program outright when one statically
imported function is missing (Wine lets it run), and XP refuses or worse a manifest it cannot
parse. So: every import must be on the allowlist, the C runtime must be crtdll.dll (95's first
release has no msvcrt.dll), the PE header must ask for Windows 4.0, and the embedded manifest must
be one that XP accepts.
"""

import re
import struct
import subprocess
import sys
import xml.parsers.expat

BASE_DLLS = {"kernel32", "user32", "gdi32", "advapi32", "shell32", "comctl32", "ole32",
             "oleaut32", "crtdll"}
# C runtimes that some supported Windows lacks: msvcrt.dll is missing from 95's first release,
# the later ones come only with applications. A link that names one has lost runtime/crtdll.cmake.
OTHER_C_RUNTIME = re.compile(r"msvcrt\w*|msvcr\d+d?|ucrtbased?|api-ms-win-crt-.*")
# Missing from at least one supported Windows: never on the allowlist, always bound by name.
NEVER = {
    "GetTickCount64", "AddVectoredExceptionHandler", "RemoveVectoredExceptionHandler",
    "TryEnterCriticalSection", "GetHandleInformation", "SetProcessAffinityMask",
    "IsDebuggerPresent", "GetDiskFreeSpaceExA", "GetDiskFreeSpaceExW", "GetFileAttributesExA",
    "GetFileAttributesExW", "FindFirstFileExA", "FindFirstFileExW", "GetFileSizeEx",
    "GetLongPathNameA", "GetLongPathNameW", "FlsAlloc",  # kernel32 of 95 or NT 4.0
    "GetAncestor", "SetWindowSubclass", "DefSubclassProc", "InitCommonControlsEx",
    "SHEmptyRecycleBinA", "SHEmptyRecycleBinW", "SHGetPathFromIDListW", "ShellExecuteW"}
# A library the program loads by name only on the NT family, where a browser's database is
# found, must load on 2000 and XP: these are missing from 2000's kernel32.
NEVER_ON_2000 = {"GetNativeSystemInfo", "GetTickCount64", "FlsAlloc", "FlsGetValue",
                 "FlsSetValue", "InitializeSRWLock", "AcquireSRWLockExclusive",
                 "InitializeConditionVariable", "GetLogicalProcessorInformation",
                 "IsWow64Process"}
ASM_V2 = "urn:schemas-microsoft-com:asm.v2"
ADVICE = ("add it to tests/build/allowed-imports.txt with the reason it is safe on Windows 95 "
          "and NT 4.0, or bind it by name at first use (GetProcAddress)")


def read_allowlist(path, errors, never=NEVER, systems="Windows 95 or NT 4.0"):
    allowed = set()
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        fields = line.split(None, 2)
        if not fields or fields[0].startswith("#"):
            continue
        where = f"{path}:{number}"
        if len(fields) < 3:
            errors.append(f"{where}: needs DLL, function and the reason it is safe")
        elif fields[0] not in BASE_DLLS:
            errors.append(f"{where}: {fields[0]} is not a base library of Windows 95 and NT 4.0")
        elif fields[1] in never:
            errors.append(f"{where}: {fields[1]} is missing from {systems}; "
                          "bind it by name at first use (GetProcAddress)")
        allowed.add((fields[0], fields[1]))
    return allowed


def read_imports(dump):
    """(DLL, function) pairs from the "DLL Name:" sections of objdump -p; '#N' for ordinals."""
    imports, dll = [], None
    for line in dump.splitlines():
        if line.startswith("\tDLL Name: "):
            dll = line.split(": ", 1)[1].strip()
        elif dll and line.strip() == "":
            dll = None  # a blank line ends the section; the directory table rows follow
        elif dll and not line.lstrip().startswith("vma:"):
            row = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)", line)
            if not row:
                raise SystemExit(f"cannot read this import row of {dll}: {line!r}")
            imports.append((dll, row.group(2) if row.group(2) != "<none>" else "#" + row.group(1)))
    return imports


def manifests(exe):
    """The RT_MANIFEST resources of a PE file, walked by hand through .rsrc."""
    data = open(exe, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    rsrc_rva = struct.unpack_from("<I", data, optional + 96 + 2 * 8)[0]
    table = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i)
             for i in range(sections)]

    def offset(rva):
        for size, address, raw_size, raw in table:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise SystemExit(f"{exe}: RVA {rva:#x} lies in no section")

    base = offset(rsrc_rva) if rsrc_rva else None

    def entries(directory):
        named, ids = struct.unpack_from("<12xHH", data, base + directory)
        return [struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
                for i in range(named + ids)]

    found = []
    for type_id, names in entries(0) if base is not None else []:
        if type_id != 24 or not names & 0x80000000:  # RT_MANIFEST
            continue
        for _, languages in entries(names & 0x7FFFFFFF):
            for _, leaf in entries(languages & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                found.append(data[offset(rva):offset(rva) + size])
    return found


def check_manifest(text, errors):
    parser = xml.parsers.expat.ParserCreate(namespace_separator=" ")
    declared = []
    parser.StartNamespaceDeclHandler = lambda prefix, uri: declared.append(uri)

    def start(name, attributes):
        uri, _, local = name.rpartition(" ")
        if len(set(declared)) < len(declared):  # XP SP2's csrss crashes and the machine restarts
            errors.append(f"manifest: <{local}> declares the same namespace twice")
        declared.clear()
        if local == "trustInfo" and uri != ASM_V2:  # XP: "application configuration is incorrect"
            errors.append(f"manifest: trustInfo is in namespace '{uri}', XP accepts only {ASM_V2}")

    parser.StartElementHandler = start
    try:
        parser.Parse(text, True)
    except xml.parsers.expat.ExpatError as error:
        errors.append(f"manifest: not well-formed XML: {error}")


def main(exe, allowlist, library_allowlist=None):
    """library_allowlist: exe is a library the NT family loads by name; it may also import what
    that list names, has no manifest of its own, and must load on 2000."""
    errors = []
    allowed = read_allowlist(allowlist, errors)
    if library_allowlist:
        allowed |= read_allowlist(library_allowlist, errors, NEVER_ON_2000, "Windows 2000")
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], check=True,
                          capture_output=True, text=True).stdout
    imports = read_imports(dump)
    if not any(dll.lower() == "kernel32.dll" for dll, _ in imports):
        errors.append("found no kernel32 imports: has the objdump listing changed?")
    wrong_runtime = {}
    for dll, function in imports:
        name = dll.lower().removesuffix(".dll")
        if OTHER_C_RUNTIME.fullmatch(name):
            wrong_runtime.setdefault(dll, []).append(function)
        elif name not in BASE_DLLS:
            errors.append(f"{dll} {function}: {dll} is not a base library of Windows 95 and NT "
                          f"4.0; load it with LoadLibrary and bind {function} by name at first use")
        elif library_allowlist and function in NEVER_ON_2000:
            errors.append(f"{dll} {function}: Windows 2000 does not export it, and its loader "
                          "refuses the library; bind it by name at first use")
        elif (name, function) not in allowed:
            errors.append(f"{dll} {function}: imported statically, not on the allowlist; {ADVICE}")
    errors += [f"{dll} ({', '.join(functions)}): Windows 95's first release has no {dll}; the "
               "program's C runtime must be crtdll.dll (olvex_link_crtdll, runtime/crtdll.cmake)"
               for dll, functions in wrong_runtime.items()]
    header = dict(re.findall(r"^(M\w+Version)\t+(\d+)$", dump, re.M))
    for field, wanted in (("MajorSubsystemVersion", "4"), ("MinorSubsystemVersion", "0"),
                          ("MajorOSystemVersion", "4")):
        if header.get(field) != wanted:
            errors.append(f"PE header: {field} is {header.get(field)}, Windows 95 and NT 4.0 "
                          f"need {wanted}")
    found = manifests(exe)
    if not library_allowlist and not found:
        errors.append("no RT_MANIFEST resource is embedded")
    for text in found:
        check_manifest(text, errors)
    for error in errors:
        print(error)
    print(f"{exe}: {len(imports)} imports, {len(errors)} problems")
    return 1 if errors else 0


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "--library":
        sys.exit(main(sys.argv[2], sys.argv[3], sys.argv[4]))
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
