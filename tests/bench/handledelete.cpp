// The memory yardstick for the sweep benchmark: the native calls the program makes for each
// file of one folder and nothing else. The folder is listed a batch at a time; each file is
// opened relative to the folder's handle, its whole name asked for, its deletion set and its
// handle closed. Whatever memory this needs is Wine's own, not the program's.
//
//   handledelete FOLDER    deletes the files directly in FOLDER; exit 0, or 1 on a failure
#include <windows.h>

#include <winternl.h>

#include <cstdio>
#include <string>

namespace {

using CreateFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                  PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using ListFn = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID, PIO_STATUS_BLOCK, PVOID,
                                ULONG, FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);
using ObjectFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
using SetFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);

template <class Fn>
Fn Native(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: handledelete FOLDER\n");
        return 2;
    }
    const auto create = Native<CreateFn>("NtCreateFile");
    const auto list = Native<ListFn>("NtQueryDirectoryFile");
    const auto object = Native<ObjectFn>("NtQueryObject");
    const auto set = Native<SetFn>("NtSetInformationFile");
    HANDLE folder = ::CreateFileW(argv[1], FILE_LIST_DIRECTORY, 7, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return 1;
    static LONGLONG batch[16384 / sizeof(LONGLONG)];
    static char name[4096];
    bool failed = false;
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        IO_STATUS_BLOCK io{};
        const NTSTATUS status =
            list(folder, nullptr, nullptr, nullptr, &io, batch, sizeof batch,
                 static_cast<FILE_INFORMATION_CLASS>(37), FALSE, nullptr, restart);
        if (status < 0 || status == static_cast<NTSTATUS>(0x80000006L)) break;
        for (const char* at = reinterpret_cast<const char*>(batch);;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFORMATION*>(at);
            const std::wstring file(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (!(entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                UNICODE_STRING text{static_cast<USHORT>(file.size() * 2),
                                    static_cast<USHORT>(file.size() * 2),
                                    const_cast<PWSTR>(file.c_str())};
                OBJECT_ATTRIBUTES attributes;
                InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder,
                                           nullptr);
                HANDLE handle = nullptr;
                FILE_DISPOSITION_INFORMATION dispose{TRUE};
                ULONG got = 0;
                failed |= create(&handle, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, &attributes,
                                 &io, nullptr, 0, 7, FILE_OPEN,
                                 FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT |
                                     FILE_OPEN_REPARSE_POINT,
                                 nullptr, 0) < 0 ||
                          object(handle, 1, name, sizeof name, &got) < 0 ||
                          set(handle, &io, &dispose, sizeof dispose,
                              static_cast<FILE_INFORMATION_CLASS>(13)) < 0;
                if (handle) ::CloseHandle(handle);
            }
            if (entry->NextEntryOffset == 0) break;
            at += entry->NextEntryOffset;
        }
    }
    ::CloseHandle(folder);
    return failed ? 1 : 0;
}
