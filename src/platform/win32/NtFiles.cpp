#include "platform/win32/NtFiles.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <optional>

#include "platform/ReparsePoints.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32System.h"

namespace platform::win32::nt {

namespace {

using NtCreateFileFn = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                        PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using NtFileInformationFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG,
                                             FILE_INFORMATION_CLASS);
using NtQueryDirectoryFileFn = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID,
                                                PIO_STATUS_BLOCK, PVOID, ULONG,
                                                FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING,
                                                BOOLEAN);
using NtQueryVolumeFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
using NtCloseFn = NTSTATUS(NTAPI*)(HANDLE);
using NtQueryObjectFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
using NtQuerySecurityFn = NTSTATUS(NTAPI*)(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR,
                                           ULONG, PULONG);
using NtOpenTokenFn = NTSTATUS(NTAPI*)(HANDLE, ACCESS_MASK, PHANDLE);
using NtQueryTokenFn = NTSTATUS(NTAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, PVOID, ULONG, PULONG);
using RtlUpcaseFn = WCHAR(NTAPI*)(WCHAR);

struct NativeCalls {
    NtCreateFileFn create = Bound<NtCreateFileFn>("ntdll.dll", "NtCreateFile");
    NtFileInformationFn query = Bound<NtFileInformationFn>("ntdll.dll", "NtQueryInformationFile");
    NtFileInformationFn set = Bound<NtFileInformationFn>("ntdll.dll", "NtSetInformationFile");
    NtQueryDirectoryFileFn list =
        Bound<NtQueryDirectoryFileFn>("ntdll.dll", "NtQueryDirectoryFile");
    NtQueryVolumeFn volume = Bound<NtQueryVolumeFn>("ntdll.dll", "NtQueryVolumeInformationFile");
    NtCloseFn close = Bound<NtCloseFn>("ntdll.dll", "NtClose");
    NtQueryObjectFn object = Bound<NtQueryObjectFn>("ntdll.dll", "NtQueryObject");
    NtQuerySecurityFn security = Bound<NtQuerySecurityFn>("ntdll.dll", "NtQuerySecurityObject");
    NtOpenTokenFn openToken = Bound<NtOpenTokenFn>("ntdll.dll", "NtOpenProcessToken");
    NtQueryTokenFn queryToken = Bound<NtQueryTokenFn>("ntdll.dll", "NtQueryInformationToken");
    RtlUpcaseFn upcase = BoundOrNull<RtlUpcaseFn>("ntdll.dll", "RtlUpcaseUnicodeChar");
};

const NativeCalls& Native() {
    static const NativeCalls calls;
    return calls;
}

// The information classes used here, by their numbers in the native headers.
constexpr FILE_INFORMATION_CLASS kFileBothDirectoryInformation =
    static_cast<FILE_INFORMATION_CLASS>(3);
constexpr FILE_INFORMATION_CLASS kFileBasicInformation = static_cast<FILE_INFORMATION_CLASS>(4);
constexpr FILE_INFORMATION_CLASS kFileInternalInformation = static_cast<FILE_INFORMATION_CLASS>(6);
constexpr FILE_INFORMATION_CLASS kFileRenameInformation = static_cast<FILE_INFORMATION_CLASS>(10);
constexpr FILE_INFORMATION_CLASS kFileDispositionInformation =
    static_cast<FILE_INFORMATION_CLASS>(13);
constexpr FILE_INFORMATION_CLASS kFileAlternateNameInformation =
    static_cast<FILE_INFORMATION_CLASS>(21);
constexpr FILE_INFORMATION_CLASS kFileIdBothDirectoryInformation =
    static_cast<FILE_INFORMATION_CLASS>(37);
constexpr ULONG kObjectNameInformation = 1;
constexpr ULONG kFileFsDeviceInformation = 4;
constexpr ULONG kFileFsAttributeInformation = 5;
constexpr ULONG kFileRemoteDevice = 0x10;

struct FsDeviceInformation {
    ULONG deviceType;
    ULONG characteristics;
};

// FileFsAttributeInformation's head; the file system's name follows it.
struct FsAttributeInformation {
    ULONG fileSystemAttributes;
    LONG maximumComponentNameLength;
    ULONG fileSystemNameLength;
};

UNICODE_STRING Text(const std::wstring& text) {
    UNICODE_STRING unicode;
    unicode.Length = unicode.MaximumLength = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    unicode.Buffer = const_cast<PWSTR>(text.c_str());
    return unicode;
}

// A query whose answer may not fit: asked again, once, with the room it says it needs.
template <class Query>
NTSTATUS Growing(std::vector<ULONG>& buffer, Query query) {
    NTSTATUS status = STATUS_BUFFER_TOO_SMALL;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ULONG needed = 0;
        const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(ULONG));
        status = query(buffer.data(), size, &needed);
        if (status != STATUS_BUFFER_OVERFLOW && status != STATUS_INFO_LENGTH_MISMATCH &&
            status != STATUS_BUFFER_TOO_SMALL)
            return status;
        buffer.resize(std::max<size_t>(needed, size * 2) / sizeof(ULONG) + 1);
    }
    return status;
}

// A security identifier's bytes: revision, count, authority, then count 32-bit parts.
std::string SidBytes(const void* sid) {
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::string(reinterpret_cast<const char*>(bytes), 8 + 4 * size_t{bytes[1]});
}

// The handle that stands for the calling process, as the native calls take it.
const HANDLE kThisProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

// The attributes of the volume a handle lies on (FileFsAttributeInformation); nothing when the
// query fails.
std::optional<uint32_t> VolumeAttributes(HANDLE handle) {
    // The head and a file system's name, with room to spare.
    ULONG buffer[128] = {};
    IO_STATUS_BLOCK io{};
    if (!Succeeded(
            Native().volume(handle, &io, buffer, sizeof buffer, kFileFsAttributeInformation)))
        return std::nullopt;
    return reinterpret_cast<const FsAttributeInformation*>(buffer)->fileSystemAttributes;
}

// Whether this system has reparse points at all, asked once.
bool ThisSystemHasReparsePoints() {
    static const bool has = [] {
        VersionRecord version;
        version.size = kBasicVersionRecordSize;
        std::optional<VersionRecord> read;
        if (Win32System().QueryVersion(version)) read = version;
        return platform::SystemHasReparsePoints(read);
    }();
    return has;
}

}  // namespace

bool MeansMissing(NTSTATUS status) {
    switch (status) {
        case STATUS_OBJECT_NAME_NOT_FOUND:
        case STATUS_OBJECT_PATH_NOT_FOUND:
        case STATUS_NO_SUCH_FILE:
        case STATUS_FILE_IS_A_DIRECTORY:
        case STATUS_NOT_A_DIRECTORY:
        case STATUS_DELETE_PENDING:
            return true;
        default:
            return false;
    }
}

NTSTATUS Open(HANDLE root, const std::wstring& name, ACCESS_MASK access, ULONG options,
              NtHandle& out, ULONG share, ULONG disposition) {
    // An empty name relative to a handle opens that handle's own object again.
    constexpr NTSTATUS kInvalidParameter = static_cast<NTSTATUS>(STATUS_INVALID_PARAMETER);
    if ((name.empty() && !root) || name.size() > 32767) return kInvalidParameter;
    UNICODE_STRING text = Text(name);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, root, nullptr);
    auto attempt = [&](ULONG reparse) {
        IO_STATUS_BLOCK io{};
        HANDLE handle = nullptr;
        const NTSTATUS status = Native().create(
            &handle, access | SYNCHRONIZE, &attributes, &io, nullptr, 0, share, disposition,
            options | FILE_SYNCHRONOUS_IO_NONALERT | reparse, nullptr, 0);
        if (Succeeded(status)) out.reset(handle);
        return status;
    };
    // A system or file system that knows no reparse points may refuse the option that opens
    // one itself (NT 4.0, some redirectors and FAT drivers). Without the option a link at the
    // name is followed, so it is asked again without it only where the system has no reparse
    // points (they came with Windows 2000's NTFS), or where the volume of the folder held, on
    // which a relative name lies, says its file system keeps none: Microsoft documents the
    // FILE_SUPPORTS_REPARSE_POINTS bit of the volume's attributes as telling whether a file
    // system supports reparse points ("Reparse Point Operations", Win32 file I/O; the same
    // bit in FILE_FS_ATTRIBUTE_INFORMATION, ntifs.h, for FileFsAttributeInformation on a
    // handle). Anywhere else the refusal stands and the open fails.
    const NTSTATUS status = attempt(FILE_OPEN_REPARSE_POINT);
    if (status != kInvalidParameter ||
        !MayOpenWithoutReparseOption(ThisSystemHasReparsePoints(),
                                     root ? VolumeAttributes(root) : std::nullopt))
        return status;
    return attempt(0);
}

bool ObjectName(HANDLE handle, std::wstring& name) {
    std::vector<ULONG> buffer(512);
    const NTSTATUS status = Growing(buffer, [&](ULONG* data, ULONG size, ULONG* needed) {
        return Native().object(handle, kObjectNameInformation, data, size, needed);
    });
    if (!Succeeded(status)) return false;
    const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    if (!text->Buffer || text->Length == 0) return false;
    name.assign(text->Buffer, text->Length / sizeof(wchar_t));
    for (wchar_t& c : name)
        if (c == L'/') c = L'\\';
    return true;
}

bool Attributes(HANDLE handle, ULONG& attributes) {
    IO_STATUS_BLOCK io{};
    FILE_BASIC_INFORMATION basic{};
    if (!Succeeded(Native().query(handle, &io, &basic, sizeof basic, kFileBasicInformation)))
        return false;
    attributes = basic.FileAttributes;
    return true;
}

bool Basic(HANDLE handle, ULONG& attributes, uint64_t& writeTime) {
    IO_STATUS_BLOCK io{};
    FILE_BASIC_INFORMATION basic{};
    if (!Succeeded(Native().query(handle, &io, &basic, sizeof basic, kFileBasicInformation)))
        return false;
    attributes = basic.FileAttributes;
    writeTime = static_cast<uint64_t>(basic.LastWriteTime.QuadPart);
    return true;
}

wchar_t Upcase(wchar_t c) {
    if (c < 0x80 || !Native().upcase) return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c;
    return Native().upcase(c);
}

bool FileId(HANDLE handle, uint64_t& id) {
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION internal{};
    if (!Succeeded(
            Native().query(handle, &io, &internal, sizeof internal, kFileInternalInformation)))
        return false;
    id = static_cast<uint64_t>(internal.IndexNumber.QuadPart);
    return true;
}

bool ShortName(HANDLE handle, std::wstring& name) {
    // A length, then up to 12 characters; room for more all the same.
    ULONG buffer[64] = {};
    IO_STATUS_BLOCK io{};
    if (!Succeeded(
            Native().query(handle, &io, buffer, sizeof buffer, kFileAlternateNameInformation)))
        return false;
    const ULONG bytes = std::min<ULONG>(buffer[0], sizeof buffer - sizeof(ULONG));
    name.assign(reinterpret_cast<const wchar_t*>(buffer + 1), bytes / sizeof(wchar_t));
    return !name.empty();
}

bool IsRemoteVolume(HANDLE handle) {
    IO_STATUS_BLOCK io{};
    FsDeviceInformation device{};
    return Succeeded(
               Native().volume(handle, &io, &device, sizeof device, kFileFsDeviceInformation)) &&
           (device.characteristics & kFileRemoteDevice);
}

NTSTATUS ListDirectory(HANDLE folder, std::vector<LONGLONG>& buffer, bool ids, bool restart,
                       const std::wstring& name) {
    IO_STATUS_BLOCK io{};
    UNICODE_STRING mask = Text(name);
    return Native().list(folder, nullptr, nullptr, nullptr, &io, buffer.data(),
                         static_cast<ULONG>(buffer.size() * sizeof(LONGLONG)),
                         ids ? kFileIdBothDirectoryInformation : kFileBothDirectoryInformation,
                         FALSE, name.empty() ? nullptr : &mask, restart ? TRUE : FALSE);
}

bool SetDeleteOnClose(HANDLE handle) {
    FILE_DISPOSITION_INFORMATION dispose{TRUE};
    IO_STATUS_BLOCK io{};
    return Succeeded(
        Native().set(handle, &io, &dispose, sizeof dispose, kFileDispositionInformation));
}

NTSTATUS Rename(HANDLE handle, HANDLE root, const std::wstring& name, bool replace) {
    std::vector<char> buffer(sizeof(FILE_RENAME_INFORMATION) + name.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = root;
    info->FileNameLength = static_cast<ULONG>(name.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, name.data(), info->FileNameLength);
    IO_STATUS_BLOCK io{};
    return Native().set(handle, &io, info, static_cast<ULONG>(buffer.size()),
                        kFileRenameInformation);
}

NTSTATUS OwnerSid(HANDLE handle, std::string& sid) {
    std::vector<ULONG> buffer(64);
    const NTSTATUS status = Growing(buffer, [&](ULONG* data, ULONG size, ULONG* needed) {
        return Native().security(handle, OWNER_SECURITY_INFORMATION, data, size, needed);
    });
    if (!Succeeded(status)) return status;
    // The descriptor comes self-relative: the owner's offset is its second word.
    const auto* descriptor = reinterpret_cast<const SECURITY_DESCRIPTOR_RELATIVE*>(buffer.data());
    sid = descriptor->Owner == 0
              ? std::string()
              : SidBytes(reinterpret_cast<const char*>(descriptor) + descriptor->Owner);
    return status;
}

const std::string& ProcessUserSid() {
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

std::string WellKnownSid(unsigned char authority, std::initializer_list<DWORD> parts) {
    std::string sid{1, static_cast<char>(parts.size()), 0, 0, 0, 0,
                    0, static_cast<char>(authority)};
    for (DWORD part : parts) sid.append(reinterpret_cast<const char*>(&part), sizeof part);
    return sid;
}

}  // namespace platform::win32::nt

namespace platform::win32 {

void NtCloser::Close(HANDLE handle) {
    nt::Native().close(handle);
}

}  // namespace platform::win32
