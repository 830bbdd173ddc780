#pragma once
// The native file calls of the NT family, one small typed wrapper each: what HandleFolder's
// rules are written against. Every NT has these calls; no 9x system does, so they are bound
// by name at first use.
#include <windows.h>

#include <winternl.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Owned.h"

namespace platform::win32::nt {

// The status codes the rules tell apart (STATUS_INVALID_PARAMETER comes with <windows.h>).
constexpr NTSTATUS STATUS_INVALID_INFO_CLASS = static_cast<NTSTATUS>(0xC0000003L);
constexpr NTSTATUS STATUS_BUFFER_OVERFLOW = static_cast<NTSTATUS>(0x80000005L);
constexpr NTSTATUS STATUS_NO_MORE_FILES = static_cast<NTSTATUS>(0x80000006L);
constexpr NTSTATUS STATUS_INFO_LENGTH_MISMATCH = static_cast<NTSTATUS>(0xC0000004L);
constexpr NTSTATUS STATUS_NO_SUCH_DEVICE = static_cast<NTSTATUS>(0xC000000EL);
constexpr NTSTATUS STATUS_NO_SUCH_FILE = static_cast<NTSTATUS>(0xC000000FL);
constexpr NTSTATUS STATUS_ACCESS_DENIED = static_cast<NTSTATUS>(0xC0000022L);
constexpr NTSTATUS STATUS_BUFFER_TOO_SMALL = static_cast<NTSTATUS>(0xC0000023L);
constexpr NTSTATUS STATUS_OBJECT_NAME_NOT_FOUND = static_cast<NTSTATUS>(0xC0000034L);
constexpr NTSTATUS STATUS_OBJECT_NAME_COLLISION = static_cast<NTSTATUS>(0xC0000035L);
constexpr NTSTATUS STATUS_OBJECT_PATH_NOT_FOUND = static_cast<NTSTATUS>(0xC000003AL);
constexpr NTSTATUS STATUS_SHARING_VIOLATION = static_cast<NTSTATUS>(0xC0000043L);
constexpr NTSTATUS STATUS_DELETE_PENDING = static_cast<NTSTATUS>(0xC0000056L);
constexpr NTSTATUS STATUS_FILE_IS_A_DIRECTORY = static_cast<NTSTATUS>(0xC00000BAL);
constexpr NTSTATUS STATUS_NOT_A_DIRECTORY = static_cast<NTSTATUS>(0xC0000103L);

inline bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

// A status that only says nothing of that name (or kind) is there.
bool MeansMissing(NTSTATUS status);

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens name relative to root (or, with no root, the full native path), never following a
// reparse point at its last component where the system has them. Where a file system refuses
// the option that keeps it from following one (STATUS_INVALID_PARAMETER), the open goes without
// it only where no reparse point can be there (ReparsePoints.h), and otherwise fails so. With
// FILE_CREATE as the disposition, makes it anew, and fails when anything of that name is there,
// a link included.
NTSTATUS Open(HANDLE root, const std::wstring& name, ACCESS_MASK access, ULONG options,
              NtHandle& out, ULONG share = kShareAll, ULONG disposition = FILE_OPEN);

// The whole name of what a handle reached, volume included, as the object manager reports
// it (ObjectNameInformation), separators as backslashes; false when it cannot tell.
bool ObjectName(HANDLE handle, std::wstring& name);

// FileBasicInformation's attributes; false when the query fails.
bool Attributes(HANDLE handle, ULONG& attributes);
// FileBasicInformation's attributes and last-write time (100 ns steps since 1601, UTC), in one
// query.
bool Basic(HANDLE handle, ULONG& attributes, uint64_t& writeTime);
// A character in upper case as the system's own table has it (the one NTFS keeps its names
// by), not ASCII alone.
wchar_t Upcase(wchar_t c);
// FileInternalInformation: the file system's id of the file.
bool FileId(HANDLE handle, uint64_t& id);
// FileAlternateNameInformation: the 8.3 name a file system keeps beside the long one.
bool ShortName(HANDLE handle, std::wstring& name);
// FileFsDeviceInformation: whether the volume is a redirector's (a share, a mapped letter).
bool IsRemoteVolume(HANDLE handle);

// One batch of a folder's listing into buffer (FileIdBothDirectoryInformation, or
// FileBothDirectoryInformation where ids is false), from the start when restart, of the names
// matching name ("" for all).
NTSTATUS ListDirectory(HANDLE folder, std::vector<LONGLONG>& buffer, bool ids, bool restart,
                       const std::wstring& name = L"");

// Asks for the file to go when its last handle closes.
bool SetDeleteOnClose(HANDLE handle);
// Renames what handle holds to name in the folder root; with replace, taking the place of a
// file of that name (never a folder's).
NTSTATUS Rename(HANDLE handle, HANDLE root, const std::wstring& name, bool replace = false);

// The owner's security identifier, as bytes; the status of the query.
NTSTATUS OwnerSid(HANDLE handle, std::string& sid);
// The user the program runs as, as the bytes of a security identifier; "" when not told.
const std::string& ProcessUserSid();
// A well-known security identifier's bytes: authority, then its parts.
std::string WellKnownSid(unsigned char authority, std::initializer_list<DWORD> parts);

}  // namespace platform::win32::nt
