#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/Errors.h"
#include "platform/win32/OpenedFolders.h"
#include "platform/win32/Owned.h"
#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

namespace {

using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                        PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using NtFileInformationFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG,
                                             FILE_INFORMATION_CLASS);
using NtQueryDirectoryFileFn = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID,
                                                PIO_STATUS_BLOCK, PVOID, ULONG,
                                                FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING,
                                                BOOLEAN);
using NtCloseFn = NTSTATUS(NTAPI*)(HANDLE);
using NtQueryObjectFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
using NtQuerySecurityFn = NTSTATUS(NTAPI*)(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR,
                                           ULONG, PULONG);
using NtOpenTokenFn = NTSTATUS(NTAPI*)(HANDLE, ACCESS_MASK, PHANDLE);
using NtQueryTokenFn = NTSTATUS(NTAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, PVOID, ULONG, PULONG);

// The native calls, bound at first use: every NT has them, no 9x system does.
struct NativeCalls {
    NtCreateFileFn create = Bound<NtCreateFileFn>("ntdll.dll", "NtCreateFile");
    NtFileInformationFn query = Bound<NtFileInformationFn>("ntdll.dll", "NtQueryInformationFile");
    NtFileInformationFn set = Bound<NtFileInformationFn>("ntdll.dll", "NtSetInformationFile");
    NtQueryDirectoryFileFn list =
        Bound<NtQueryDirectoryFileFn>("ntdll.dll", "NtQueryDirectoryFile");
    NtCloseFn close = Bound<NtCloseFn>("ntdll.dll", "NtClose");
    NtQueryObjectFn object = Bound<NtQueryObjectFn>("ntdll.dll", "NtQueryObject");
    NtQuerySecurityFn security = Bound<NtQuerySecurityFn>("ntdll.dll", "NtQuerySecurityObject");
    NtOpenTokenFn openToken = Bound<NtOpenTokenFn>("ntdll.dll", "NtOpenProcessToken");
    NtQueryTokenFn queryToken = Bound<NtQueryTokenFn>("ntdll.dll", "NtQueryInformationToken");
};

const NativeCalls& Native() {
    static const NativeCalls calls;
    return calls;
}

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006L);
constexpr NTSTATUS kBufferOverflow = static_cast<NTSTATUS>(0x80000005L);
constexpr NTSTATUS kInvalidParameter = static_cast<NTSTATUS>(0xC000000DL);
constexpr NTSTATUS kAccessDenied = static_cast<NTSTATUS>(0xC0000022L);
constexpr NTSTATUS kSharingViolation = static_cast<NTSTATUS>(0xC0000043L);
constexpr NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035L);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
constexpr ULONG kObjectNameInformation = 1;
constexpr FILE_INFORMATION_CLASS kRenameInformation = static_cast<FILE_INFORMATION_CLASS>(10);
constexpr FILE_INFORMATION_CLASS kDispositionInformation = static_cast<FILE_INFORMATION_CLASS>(13);
constexpr FILE_INFORMATION_CLASS kInternalInformation = static_cast<FILE_INFORMATION_CLASS>(6);
constexpr FILE_INFORMATION_CLASS kBothDirectory = static_cast<FILE_INFORMATION_CLASS>(3);
constexpr FILE_INFORMATION_CLASS kIdBothDirectory = static_cast<FILE_INFORMATION_CLASS>(37);

// What a folder is held with: READ_CONTROL reads its owner. Never DELETE: a rename into a
// folder fails while anybody holds it with that right.
constexpr ACCESS_MASK kListAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL;

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

bool MeansMissing(NTSTATUS status) {
    switch (static_cast<ULONG>(status)) {
        case 0xC0000034:  // object name not found
        case 0xC000003A:  // object path not found
        case 0xC000000F:  // no such file
        case 0xC00000BA:  // is a directory
        case 0xC0000103:  // not a directory
        case 0xC0000056:  // delete pending
            return true;
        default:
            return false;
    }
}

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens name relative to root (or, with no root, the full native path), never following a
// reparse point at its last component where the system has them.
NTSTATUS Open(HANDLE root, const std::wstring& name, ACCESS_MASK access, ULONG options,
              NtHandle& out, ULONG share = kShareAll) {
    // An empty name relative to a handle opens that handle's own object again.
    if ((name.empty() && !root) || name.size() > 32767) return kInvalidParameter;
    UNICODE_STRING text;
    text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    text.Buffer = const_cast<PWSTR>(name.c_str());
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, root, nullptr);
    auto attempt = [&](ULONG reparse) {
        IO_STATUS_BLOCK io{};
        HANDLE handle = nullptr;
        const NTSTATUS status = Native().create(
            &handle, access | SYNCHRONIZE, &attributes, &io, nullptr, 0, share, FILE_OPEN,
            options | FILE_SYNCHRONOUS_IO_NONALERT | reparse, nullptr, 0);
        if (Succeeded(status)) out.reset(handle);
        return status;
    };
    // A system or file system that knows no reparse points may refuse the option that
    // opens one itself; such a volume holds no links to follow.
    const NTSTATUS status = attempt(FILE_OPEN_REPARSE_POINT);
    return status == kInvalidParameter ? attempt(0) : status;
}

// A folder with the access asked for, or with less: without the right to delete or move it
// when this user may not (or another program holds it without sharing that), and without the
// right to read its owner when that is refused too. A folder held with less is swept all the
// same; it just cannot be moved, and counts as somebody else's.
NTSTATUS OpenFolderHandle(HANDLE root, const std::wstring& name, ACCESS_MASK access,
                          NtHandle& out) {
    NTSTATUS status = Open(root, name, access, FILE_DIRECTORY_FILE, out);
    if ((access & DELETE) && (status == kAccessDenied || status == kSharingViolation)) {
        access &= ~DELETE;
        status = Open(root, name, access, FILE_DIRECTORY_FILE, out);
    }
    if (status != kAccessDenied) return status;
    return Open(root, name, access & ~READ_CONTROL, FILE_DIRECTORY_FILE, out);
}

// The whole name of what a handle reached, volume included, as the object manager reports
// it: the device path on NT (\Device\HarddiskVolume1\...), the drive or host path under Wine
// (\??\C:\..., \??\unix\...). A name that only starts below the volume would let the same
// path on another volume pass for this one.
bool ReportedName(HANDLE handle, std::wstring& name) {
    std::vector<ULONG> buffer(512);
    for (int attempt = 0; attempt < 2; ++attempt) {
        ULONG needed = 0;
        const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(ULONG));
        const NTSTATUS status =
            Native().object(handle, kObjectNameInformation, buffer.data(), size, &needed);
        if (status == kBufferOverflow || status == kInfoLengthMismatch ||
            status == static_cast<NTSTATUS>(0xC0000023L)) {
            buffer.resize(std::max<size_t>(needed, size * 2) / sizeof(ULONG) + 1);
            continue;
        }
        if (!Succeeded(status)) return false;
        const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
        if (!text->Buffer || text->Length == 0) return false;
        name.assign(text->Buffer, text->Length / sizeof(wchar_t));
        for (wchar_t& c : name)
            if (c == L'/') c = L'\\';
        return true;
    }
    return false;
}

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// Names compare without regard to ASCII case, as the file systems compare them.
bool SameName(const std::wstring& reported, const std::wstring& expected) {
    if (reported.size() != expected.size()) return false;
    for (size_t i = 0; i < expected.size(); ++i)
        if (UpperAscii(reported[i]) != UpperAscii(expected[i])) return false;
    return true;
}

// A folder handle that reached a reparse point, or a folder other than the listed one.
bool IsPlainFolder(HANDLE handle, uint64_t listedId) {
    IO_STATUS_BLOCK io{};
    FILE_BASIC_INFORMATION basic{};
    if (!Succeeded(Native().query(handle, &io, &basic, sizeof basic, FileBasicInformation)) ||
        (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (listedId == 0) return true;
    FILE_INTERNAL_INFORMATION internal{};
    return Succeeded(
               Native().query(handle, &io, &internal, sizeof internal, kInternalInformation)) &&
           static_cast<uint64_t>(internal.IndexNumber.QuadPart) == listedId;
}

// A security identifier's bytes: revision, count, authority, then count 32-bit parts.
std::string SidBytes(const void* sid) {
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::string(reinterpret_cast<const char*>(bytes), 8 + 4 * size_t{bytes[1]});
}

std::string WellKnownSid(unsigned char authority, std::initializer_list<DWORD> parts) {
    std::string sid{1, static_cast<char>(parts.size()), 0, 0, 0, 0,
                    0, static_cast<char>(authority)};
    for (DWORD part : parts) sid.append(reinterpret_cast<const char*>(&part), sizeof part);
    return sid;
}

// The handle that stands for the calling process, as the native calls take it.
const HANDLE kThisProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

// The user the program runs as; "" when the system does not tell.
const std::string& ProcessUser() {
    static const std::string user = [] {
        NtHandle token;
        if (!Succeeded(Native().openToken(kThisProcess, TOKEN_QUERY, token.out())))
            return std::string();
        std::vector<ULONG> buffer(128);
        ULONG needed = 0;
        if (!Succeeded(Native().queryToken(token.get(), TokenUser, buffer.data(),
                                           static_cast<ULONG>(buffer.size() * sizeof(ULONG)),
                                           &needed)))
            return std::string();
        return SidBytes(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
    }();
    return user;
}

// Whose folder the handle reached. Only the user, the administrators and the system may
// change what lies in a folder they own without the owner's leave; a folder owned by anybody
// else may be turned into a link by them. A volume that keeps no owners says so with a failed
// query or an owner of "Everyone".
FolderOwner OwnerOf(HANDLE handle) {
    std::vector<ULONG> buffer(64);
    for (int attempt = 0; attempt < 2; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status =
            Native().security(handle, OWNER_SECURITY_INFORMATION, buffer.data(),
                              static_cast<ULONG>(buffer.size() * sizeof(ULONG)), &needed);
        if (status == static_cast<NTSTATUS>(0xC0000023L)) {  // buffer too small
            buffer.resize(needed / sizeof(ULONG) + 1);
            continue;
        }
        if (status == kAccessDenied) return FolderOwner::Other;
        if (!Succeeded(status)) return FolderOwner::Unknown;
        // The descriptor comes self-relative: the owner's offset is its second word.
        const auto* descriptor =
            reinterpret_cast<const SECURITY_DESCRIPTOR_RELATIVE*>(buffer.data());
        if (descriptor->Owner == 0) return FolderOwner::Unknown;
        const std::string owner =
            SidBytes(reinterpret_cast<const char*>(descriptor) + descriptor->Owner);
        static const std::string everyone = WellKnownSid(1, {0});
        static const std::string system = WellKnownSid(5, {18});
        static const std::string administrators = WellKnownSid(5, {32, 544});
        if (owner == everyone) return FolderOwner::Unknown;
        return owner == system || owner == administrators ||
                       (!ProcessUser().empty() && owner == ProcessUser())
                   ? FolderOwner::Trusted
                   : FolderOwner::Other;
    }
    return FolderOwner::Other;
}

// Under Wine a folder that a drive letter of the prefix is mapped onto reports the root of
// that drive (\??\E:\) whatever path reached it; a plain folder, not a link, reporting a
// drive's root can only be such a folder. On NT a plain folder reports its own volume's path:
// another volume's root would be a mount point, a reparse point, which is never entered.
bool IsWineDriveRoot(const std::wstring& reported) {
    return reported.size() == 7 && reported.compare(0, 4, L"\\??\\") == 0 &&
           ((reported[4] >= L'A' && reported[4] <= L'Z') ||
            (reported[4] >= L'a' && reported[4] <= L'z')) &&
           reported.compare(5, 2, L":\\") == 0;
}

// Where an entry of a folder should be, by the folder's whole name: a root's name ends with
// its separator already.
std::wstring Child(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

FindEntry Entry(const WCHAR* name, ULONG bytes, ULONG attributes, LONGLONG size) {
    return FindEntry{Utf8(name, static_cast<int>(bytes / sizeof(WCHAR))), attributes,
                     static_cast<uint64_t>(size), 0};
}

// A listing of a folder's handle, one batch of the system's at a time: only the entries of
// the current batch are held, whatever the folder's size.
class HandleListing : public Finder {
  public:
    explicit HandleListing(HANDLE folder) : folder_(folder) {}

    bool Next(FindEntry& entry) override {
        for (;;) {
            if (next_ < batch_.size()) {
                entry = std::move(batch_[next_++]);
                if (entry.name == "." || entry.name == "..") continue;
                return true;
            }
            if (done_ || !Fetch()) return false;
        }
    }

  private:
    bool Fetch() {
        batch_.clear();
        next_ = 0;
        std::vector<LONGLONG> buffer(kBatchBytes / sizeof(LONGLONG));
        for (;;) {
            IO_STATUS_BLOCK io{};
            const NTSTATUS status =
                Native().list(folder_, nullptr, nullptr, nullptr, &io, buffer.data(),
                              static_cast<ULONG>(buffer.size() * sizeof(LONGLONG)), kind_, FALSE,
                              nullptr, restart_);
            if (status == kNoMoreFiles) {
                done_ = true;
                return false;
            }
            if (Succeeded(status)) break;
            // Before XP, and on some file systems, listings carry no file ids.
            if (restart_ && kind_ == kIdBothDirectory) {
                kind_ = kBothDirectory;
                continue;
            }
            throw RuntimeError(kErrPathFileAccess);
        }
        restart_ = FALSE;
        const char* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            ULONG next = 0;
            if (kind_ == kIdBothDirectory) {
                const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFORMATION*>(at);
                batch_.push_back(Entry(info->FileName, info->FileNameLength, info->FileAttributes,
                                       info->EndOfFile.QuadPart));
                batch_.back().id = static_cast<uint64_t>(info->FileId.QuadPart);
                next = info->NextEntryOffset;
            } else {
                const auto* info = reinterpret_cast<const FILE_BOTH_DIR_INFORMATION*>(at);
                batch_.push_back(Entry(info->FileName, info->FileNameLength, info->FileAttributes,
                                       info->EndOfFile.QuadPart));
                next = info->NextEntryOffset;
            }
            if (next == 0) break;
            at += next;
        }
        return true;
    }

    static constexpr size_t kBatchBytes = 16384;
    HANDLE folder_;
    FILE_INFORMATION_CLASS kind_ = kIdBothDirectory;
    BOOLEAN restart_ = TRUE;
    bool done_ = false;
    std::vector<FindEntry> batch_;
    size_t next_ = 0;
};

class HandleFolder : public OpenedFolder {
  public:
    HandleFolder(NtHandle handle, std::wstring reported, std::string path)
        : handle_(std::move(handle)), reported_(std::move(reported)), path_(std::move(path)) {}

    std::unique_ptr<Finder> Entries() override {
        return std::make_unique<HandleListing>(handle_.get());
    }

    Deletion DeleteListedFile(const FindEntry& entry) override {
        NtHandle file;
        const Deletion opened = OpenListedForDeletion(entry, file);
        if (opened != Deletion::Deleted) return opened;
        // The file goes when the handle closes.
        return Dispose(file.get()) ? Deletion::Deleted : Deletion::Refused;
    }

    Deletion ProbeDeletion(const FindEntry& entry) override {
        // The deletion's own open and check, but sharing nothing, and no disposition: setting
        // one, even to take it back, would leave the file to go if the program ended between
        // the two. The file system also refuses the disposition for a file mapped into a
        // program's memory, such as the cache index the Internet library keeps open and
        // mapped; an open that shares nothing fails while anybody holds the file, so such a
        // file is told in use. So is one whose holder would let it go, which errs on the side
        // of staying. A mapping whose file nobody holds open any more (a running program's
        // image), and a file made read-only since it was listed, are beyond what an open tells.
        NtHandle file;
        return OpenListedForDeletion(entry, file, 0);
    }

    bool IsListedFile(const FindEntry& entry) override {
        NtHandle file;
        const std::wstring name = Wide(entry.name);
        // Attributes only: a file in use can still be looked at.
        return Succeeded(Open(handle_.get(), name, FILE_READ_ATTRIBUTES, FILE_NON_DIRECTORY_FILE,
                              file)) &&
               IsWhereListed(file.get(), name);
    }

    bool DeleteAtRestart(const FindEntry& entry) override {
        // path_ is the path whose names were checked, folder by folder, on their handles.
        return IsListedFile(entry) && DeleteAtRestartU(path_ + "\\" + entry.name);
    }

    FolderOwner Owner() override { return OwnerOf(handle_.get()); }

    std::unique_ptr<OpenedFolder> OpenListedFolder(const FindEntry& entry, Hold hold) override {
        NtHandle folder;
        const std::wstring name = Wide(entry.name);
        // A folder is renamed through the handle that lists it: under Wine, opens relative to
        // a handle go by the path that handle was opened or renamed under.
        const NTSTATUS status = OpenFolderHandle(
            handle_.get(), name, hold == Hold::Moving ? kListAccess | DELETE : kListAccess, folder);
        std::wstring reported;
        if (!Succeeded(status) || !ReportedName(folder.get(), reported) ||
            !(SameName(reported, Child(reported_, name)) || IsWineDriveRoot(reported)) ||
            !IsPlainFolder(folder.get(), entry.id))
            return nullptr;
        return std::make_unique<HandleFolder>(std::move(folder), std::move(reported),
                                              path_ + "\\" + entry.name);
    }

    bool RemoveEmpty() override {
        // The folder goes when the last of its handles closes, the listing one included.
        NtHandle self;
        return Reopen(self) && Dispose(self.get());
    }

    Move MoveInto(OpenedFolder& parent, const std::string& newName) override {
        auto* into = dynamic_cast<HandleFolder*>(&parent);
        if (!into) return Move::Refused;
        const std::wstring name = Wide(newName);
        std::vector<char> buffer(sizeof(FILE_RENAME_INFORMATION) + name.size() * sizeof(wchar_t));
        auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
        info->ReplaceIfExists = FALSE;
        info->RootDirectory = into->handle_.get();
        info->FileNameLength = static_cast<ULONG>(name.size() * sizeof(wchar_t));
        std::memcpy(info->FileName, name.data(), info->FileNameLength);
        IO_STATUS_BLOCK io{};
        const NTSTATUS status = Native().set(handle_.get(), &io, info,
                                             static_cast<ULONG>(buffer.size()), kRenameInformation);
        if (status == kNameCollision) return Move::NameTaken;
        if (!Succeeded(status)) return Move::Refused;
        if (!ReportedName(handle_.get(), reported_)) reported_ = Child(into->reported_, name);
        path_ = into->path_ + "\\" + newName;
        return Move::Moved;
    }

  private:
    // This very folder once more, with the right to delete it, for one call: the handle that
    // lists it does not hold that right, so that it never stands in the way of a folder moved
    // into it. An empty name relative to a handle opens that handle's object again; where
    // that goes by path (Wine), the name and attributes are checked again too.
    bool Reopen(NtHandle& self) const {
        std::wstring reported;
        return Succeeded(Open(handle_.get(), L"", DELETE | FILE_READ_ATTRIBUTES,
                              FILE_DIRECTORY_FILE, self)) &&
               ReportedName(self.get(), reported) && SameName(reported, reported_) &&
               IsPlainFolder(self.get(), 0);
    }

    // The open a deletion goes through, with the right to delete and the sharing of any open
    // here unless told otherwise, and its checks: Deleted when file holds the plain file listed.
    Deletion OpenListedForDeletion(const FindEntry& entry, NtHandle& file,
                                   ULONG share = kShareAll) const {
        const std::wstring name = Wide(entry.name);
        const NTSTATUS status = Open(handle_.get(), name, DELETE | FILE_READ_ATTRIBUTES,
                                     FILE_NON_DIRECTORY_FILE, file, share);
        if (!Succeeded(status))
            return MeansMissing(status) ? Deletion::NotThere : Deletion::Refused;
        // A link opened here leads to its target, which reports a name of its own. The
        // deletion is asked for only after this check, not by delete-on-close at the open:
        // where links open as their targets, a delete-on-close, once given, cannot be taken
        // back, and would delete the target.
        if (!IsWhereListed(file.get(), name)) return Deletion::NotThere;
        return Deletion::Deleted;
    }

    static bool Dispose(HANDLE handle) {
        FILE_DISPOSITION_INFORMATION dispose{TRUE};
        IO_STATUS_BLOCK io{};
        return Succeeded(
            Native().set(handle, &io, &dispose, sizeof dispose, kDispositionInformation));
    }

    bool IsWhereListed(HANDLE handle, const std::wstring& name) const {
        std::wstring reported;
        return ReportedName(handle, reported) && SameName(reported, Child(reported_, name));
    }

    NtHandle handle_;
    std::wstring reported_;  // this folder's whole name as the system reports it
    std::string path_;       // the path it was reached by, for the restart list
};

}  // namespace

void NtCloser::Close(HANDLE handle) {
    Native().close(handle);
}

std::unique_ptr<OpenedFolder> OpenHandleRoot(const std::string& root) {
    const bool network = root.compare(0, 2, "\\\\") == 0;
    const std::wstring wide = Wide(root);
    const std::wstring native =
        (network ? L"\\??\\UNC\\" + wide.substr(2) : L"\\??\\" + wide) + L"\\";
    NtHandle folder;
    std::wstring reported;
    if (!Succeeded(OpenFolderHandle(nullptr, native, kListAccess, folder)) ||
        !IsPlainFolder(folder.get(), 0) || !ReportedName(folder.get(), reported))
        return nullptr;
    return std::make_unique<HandleFolder>(std::move(folder), std::move(reported), root);
}

}  // namespace platform::win32
