#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/Errors.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/OpenedFolders.h"
#include "platform/win32/OwnFiles.h"
#include "platform/win32/Owned.h"
#include "platform/win32/RestartList.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

using nt::Succeeded;

// What a folder is held with: READ_CONTROL reads its owner. Never DELETE: a rename into a
// folder fails while anybody holds it with that right.
constexpr ACCESS_MASK kListAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL;

// A folder with the access asked for, or with less: without the right to delete or move it
// when this user may not (or another program holds it without sharing that), and without the
// right to read its owner when that is refused too. A folder held with less is swept all the
// same; it just cannot be moved, and counts as somebody else's.
NTSTATUS OpenFolderHandle(HANDLE root, const std::wstring& name, ACCESS_MASK access,
                          NtHandle& out) {
    NTSTATUS status = nt::Open(root, name, access, FILE_DIRECTORY_FILE, out);
    if ((access & DELETE) &&
        (status == nt::STATUS_ACCESS_DENIED || status == nt::STATUS_SHARING_VIOLATION)) {
        access &= ~DELETE;
        status = nt::Open(root, name, access, FILE_DIRECTORY_FILE, out);
    }
    if (status != nt::STATUS_ACCESS_DENIED) return status;
    return nt::Open(root, name, access & ~READ_CONTROL, FILE_DIRECTORY_FILE, out);
}

bool SameName(const std::wstring& reported, const std::wstring& expected) {
    return SameNameIgnoringCase(reported, expected);
}

// Where an entry of a folder should be, by the folder's whole name: a root's name ends with
// its separator already.
std::wstring Child(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

// Whose folder the handle reached. Only the user, the administrators and the system may
// change what lies in a folder they own without the owner's leave; a folder owned by anybody
// else may be turned into a link by them. A volume that keeps no owners says so with a failed
// query or an owner of "Everyone".
FolderOwner OwnerOf(HANDLE handle) {
    std::string owner;
    const NTSTATUS status = nt::OwnerSid(handle, owner);
    if (status == nt::STATUS_ACCESS_DENIED) return FolderOwner::Other;
    if (!Succeeded(status) || owner.empty()) return FolderOwner::Unknown;
    static const std::string everyone = nt::WellKnownSid(1, {0});
    static const std::string system = nt::WellKnownSid(5, {18});
    static const std::string administrators = nt::WellKnownSid(5, {32, 544});
    if (owner == everyone) return FolderOwner::Unknown;
    const std::string& user = nt::ProcessUserSid();
    return owner == system || owner == administrators || (!user.empty() && owner == user)
               ? FolderOwner::Trusted
               : FolderOwner::Other;
}

// Under Wine a folder that a drive letter of the prefix is mapped onto reports the root of
// that drive (\??\E:\) whatever path reached it. A plain folder reporting a drive's root can
// only be such a folder; a link to a drive's root reports the same, and only the listing of
// the folder above tells it apart. On NT a plain folder reports its own volume's path:
// another volume's root would be a mount point, a reparse point, which is never entered.
bool IsWineDriveRoot(const std::wstring& reported) {
    return reported.size() == 7 && reported.compare(0, 4, L"\\??\\") == 0 &&
           ((reported[4] >= L'A' && reported[4] <= L'Z') ||
            (reported[4] >= L'a' && reported[4] <= L'z')) &&
           reported.compare(5, 2, L":\\") == 0;
}

template <class Information>
FindEntry Entry(const Information& info) {
    return FindEntry{Utf8(info.FileName, static_cast<int>(info.FileNameLength / sizeof(WCHAR))),
                     info.FileAttributes, static_cast<uint64_t>(info.EndOfFile.QuadPart), 0,
                     static_cast<uint64_t>(info.LastWriteTime.QuadPart)};
}

// A listing of a folder's handle, one batch of the system's at a time: only the entries of
// the current batch are held, whatever the folder's size. With a name, the entries of that
// name alone.
class HandleListing : public Finder {
  public:
    explicit HandleListing(HANDLE folder, std::wstring name = L"")
        : folder_(folder), name_(std::move(name)) {}

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
            const NTSTATUS status = nt::ListDirectory(folder_, buffer, ids_, restart_, name_);
            // "Nothing more", and, from some redirectors, "nothing at all" on the first call
            // (NTFS and FAT always list "." and ".." first).
            if (status == nt::STATUS_NO_MORE_FILES ||
                (restart_ && status == nt::STATUS_NO_SUCH_FILE)) {
                done_ = true;
                return false;
            }
            if (Succeeded(status)) break;
            // Before XP, and on some file systems, listings carry no file ids.
            if (restart_ && ids_) {
                ids_ = false;
                continue;
            }
            throw ErrorFromNtStatus(status);
        }
        restart_ = false;
        const char* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            ULONG next = 0;
            if (ids_) {
                const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFORMATION*>(at);
                batch_.push_back(Entry(*info));
                batch_.back().id = static_cast<uint64_t>(info->FileId.QuadPart);
                next = info->NextEntryOffset;
            } else {
                const auto* info = reinterpret_cast<const FILE_BOTH_DIR_INFORMATION*>(at);
                batch_.push_back(Entry(*info));
                next = info->NextEntryOffset;
            }
            if (next == 0) break;
            at += next;
        }
        return true;
    }

    static constexpr size_t kBatchBytes = 16384;
    HANDLE folder_;
    std::wstring name_;
    bool ids_ = true;
    bool restart_ = true;
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

    Deletion DeleteListedFile(const FindEntry& entry, AgeCheck* age) override {
        NtHandle file;
        if (const auto stays = OpenListedForDeletion(entry, file, age)) return *stays;
        // The file goes when the handle closes.
        return nt::SetDeleteOnClose(file.get()) ? Deletion::Deleted : Deletion::Refused;
    }

    Deletion ProbeDeletion(const FindEntry& entry, AgeCheck* age) override {
        // The deletion's own open and check, but sharing nothing, and no disposition: setting
        // one, even to take it back, would leave the file to go if the program ended between
        // the two. The file system also refuses the disposition for a file mapped into a
        // program's memory, such as the cache index the Internet library keeps open and
        // mapped; an open that shares nothing fails while anybody holds the file, so such a
        // file is told in use. So is one whose holder would let it go, which errs on the side
        // of staying. A mapping whose file nobody holds open any more (a running program's
        // image), and a file made read-only since it was listed, are beyond what an open tells.
        NtHandle file;
        return OpenListedForDeletion(entry, file, age, 0).value_or(Deletion::Deleted);
    }

    std::optional<FindEntry> Lookup(const std::string& name) override {
        // The system matches the name as it matches any (a short 8.3 name finds its long one),
        // on a handle of its own: a listing's name holds for its handle's life.
        NtHandle self;
        if (!Succeeded(
                nt::Open(handle_.get(), L"", FILE_LIST_DIRECTORY, FILE_DIRECTORY_FILE, self)))
            return std::nullopt;
        HandleListing listing(self.get(), Wide(name));
        FindEntry entry;
        try {
            if (listing.Next(entry)) return entry;
        } catch (const RuntimeError&) {
        }
        return std::nullopt;
    }

    FileIdentity Identity() override { return IdentityOn(handle_.get()); }

    FileIdentity IdentityOf(const FindEntry& entry) override {
        NtHandle opened;
        const std::wstring name = Wide(entry.name);
        const ULONG kind = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) ? FILE_DIRECTORY_FILE
                                                                         : FILE_NON_DIRECTORY_FILE;
        if (!Succeeded(nt::Open(handle_.get(), name, FILE_READ_ATTRIBUTES, kind, opened)) ||
            !IsWhereListed(opened.get(), name))
            return {};
        return IdentityOn(opened.get());
    }

    bool IsListedFile(const FindEntry& entry) override {
        NtHandle file;
        const std::wstring name = Wide(entry.name);
        // Attributes only: a file in use can still be looked at.
        ULONG attributes = 0;
        return Succeeded(nt::Open(handle_.get(), name, FILE_READ_ATTRIBUTES,
                                  FILE_NON_DIRECTORY_FILE, file)) &&
               IsWhereListed(file.get(), name) && nt::Attributes(file.get(), attributes);
    }

    WriteOpening OpenOwnFile(const std::string& fileName) override {
        const std::wstring name = Wide(fileName);
        // Others may read meanwhile, not write.
        const ACCESS_MASK access =
            FILE_READ_ATTRIBUTES | FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA;
        NtHandle file;
        NTSTATUS status = 0;
        // What is there is opened and checked; what is not is made anew, which fails on
        // anything of that name, a link leading nowhere included. Two tries: another run may
        // make the file between the two opens.
        for (int attempt = 0; attempt < 2; ++attempt) {
            status = nt::Open(handle_.get(), name, access, FILE_NON_DIRECTORY_FILE, file,
                              FILE_SHARE_READ);
            if (status != nt::STATUS_OBJECT_NAME_NOT_FOUND) break;
            status = nt::Open(handle_.get(), name, access, FILE_NON_DIRECTORY_FILE, file,
                              FILE_SHARE_READ, FILE_CREATE);
            if (status != nt::STATUS_OBJECT_NAME_COLLISION) break;
        }
        if (status == nt::STATUS_SHARING_VIOLATION) return WriteRefusal::Busy;
        if (status == nt::STATUS_OBJECT_NAME_COLLISION || status == nt::STATUS_FILE_IS_A_DIRECTORY)
            return WriteRefusal::Link;
        if (!Succeeded(status))
            return WriteOpening(WriteRefusal::Failed,
                                {SystemCode::Kind::NtStatus, static_cast<uint32_t>(status)});
        ULONG attributes = 0;
        if (!IsWhereListed(file.get(), name) || !nt::Attributes(file.get(), attributes) ||
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
            return WriteRefusal::Link;
        std::unique_ptr<AppendFile> written = WrittenFile(std::move(file));
        if (!written) return WriteRefusal::Failed;
        return written;
    }

    Deletion ReplaceListedFile(const FindEntry& entry, const std::string& content) override {
        {
            // Checked as for its deletion, then closed: a file held open cannot be replaced.
            NtHandle old;
            if (const auto stays = OpenListedForDeletion(entry, old, nullptr)) return *stays;
        }
        const std::wstring name = Wide(entry.name);
        NtHandle fresh;
        // Made anew, shared with nobody: anything of that name, a link included, refuses it.
        if (!Succeeded(nt::Open(handle_.get(), name + Wide(kReplacementTail),
                                FILE_WRITE_DATA | DELETE, FILE_NON_DIRECTORY_FILE, fresh, 0,
                                FILE_CREATE)))
            return Deletion::Refused;
        // The rename takes the name's place in this folder, whatever holds it now: a link
        // there is replaced itself, never followed.
        if (WriteAll(fresh.get(), content) && ::FlushFileBuffers(fresh.get()) &&
            Succeeded(nt::Rename(fresh.get(), handle_.get(), name, true)))
            return Deletion::Deleted;
        nt::SetDeleteOnClose(fresh.get());
        return Deletion::Refused;
    }

    bool DeleteAtRestart(const FindEntry& entry) override {
        // path_ is the path whose names were checked, folder by folder, on their handles.
        return IsListedFile(entry) && DeleteAtRestartU(path_ + "\\" + entry.name);
    }

    FolderOwner Owner() override { return OwnerOf(handle_.get()); }

    Opening OpenListedFolder(const FindEntry& entry, Hold hold) override {
        NtHandle folder;
        const std::wstring name = Wide(entry.name);
        // A folder is renamed through the handle that lists it: under Wine, opens relative to
        // a handle go by the path that handle was opened or renamed under.
        const NTSTATUS status = OpenFolderHandle(
            handle_.get(), name, hold == Hold::Moving ? kListAccess | DELETE : kListAccess, folder);
        if (!Succeeded(status)) {
            if (nt::MeansMissing(status)) return OpenRefusal::NotThere;
            return Opening(OpenRefusal::Failed,
                           {SystemCode::Kind::NtStatus, static_cast<uint32_t>(status)});
        }
        std::wstring reported;
        ULONG attributes = 0;
        if (!nt::ObjectName(folder.get(), reported) || !nt::Attributes(folder.get(), attributes))
            return OpenRefusal::Changed;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return OpenRefusal::Link;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return OpenRefusal::NotThere;
        std::string named = entry.name;
        if (!SameName(reported, Child(reported_, name))) {
            const OpenRefusal refusal = CheckOtherName(folder.get(), reported, name, named);
            if (refusal != OpenRefusal::None) return refusal;
        }
        // Redirectors may list another id than the open file reports; their shares hold no
        // links the checks above would miss.
        uint64_t id = 0;
        if (entry.id != 0 && !(nt::FileId(folder.get(), id) && id == entry.id) &&
            !nt::IsRemoteVolume(folder.get()))
            return OpenRefusal::Changed;
        return {std::make_unique<HandleFolder>(std::move(folder), std::move(reported),
                                               path_ + "\\" + named)};
    }

    bool RemoveEmpty() override {
        // The folder goes when the last of its handles closes, the listing one included.
        NtHandle self;
        return Reopen(self) && nt::SetDeleteOnClose(self.get());
    }

    Move MoveInto(OpenedFolder& parent, const std::string& newName) override {
        auto* into = dynamic_cast<HandleFolder*>(&parent);
        if (!into) return Move::Refused;
        const std::wstring name = Wide(newName);
        const NTSTATUS status = nt::Rename(handle_.get(), into->handle_.get(), name);
        if (status == nt::STATUS_OBJECT_NAME_COLLISION) return Move::NameTaken;
        if (!Succeeded(status)) return Move::Refused;
        if (!nt::ObjectName(handle_.get(), reported_)) reported_ = Child(into->reported_, name);
        path_ = into->path_ + "\\" + newName;
        return Move::Moved;
    }

  private:
    // A folder opened by name that reports another name than expected. It is accepted as a
    // folder of a drive letter mapped onto it under Wine (see IsWineDriveRoot) when this
    // folder's listing shows it a plain folder, and as the long name of a short (8.3) one the
    // file system keeps beside it (a start path such as C:\DOCUME~1\...), taking the long one.
    OpenRefusal CheckOtherName(HANDLE folder, const std::wstring& reported,
                               const std::wstring& name, std::string& named) const {
        if (IsWineDriveRoot(reported))
            return ListsAsPlainFolder(name) ? OpenRefusal::None : OpenRefusal::Link;
        const size_t cut = reported.rfind(L'\\');
        std::wstring shortName;
        if (cut != std::wstring::npos &&
            SameName(reported.substr(0, cut + 1), Child(reported_, L"")) &&
            nt::ShortName(folder, shortName) && SameName(shortName, name)) {
            const std::wstring longName = reported.substr(cut + 1);
            named = Utf8(longName.c_str(), static_cast<int>(longName.size()));
            return OpenRefusal::None;
        }
        return OpenRefusal::Link;
    }

    // Whether this folder lists name as a plain folder, on a handle of its own: a listing's
    // name filter holds for the handle's life.
    bool ListsAsPlainFolder(const std::wstring& name) const {
        NtHandle self;
        if (!Succeeded(
                nt::Open(handle_.get(), L"", FILE_LIST_DIRECTORY, FILE_DIRECTORY_FILE, self)))
            return false;
        HandleListing listing(self.get(), name);
        FindEntry entry;
        try {
            return listing.Next(entry) && SameName(Wide(entry.name), name) &&
                   (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                   !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        } catch (const RuntimeError&) {
            return false;
        }
    }

    // This very folder once more, with the right to delete it, for one call: the handle that
    // lists it does not hold that right, so that it never stands in the way of a folder moved
    // into it. An empty name relative to a handle opens that handle's object again; where
    // that goes by path (Wine), the name and attributes are checked again too.
    bool Reopen(NtHandle& self) const {
        std::wstring reported;
        ULONG attributes = 0;
        return Succeeded(nt::Open(handle_.get(), L"", DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_DIRECTORY_FILE, self)) &&
               nt::ObjectName(self.get(), reported) && SameName(reported, reported_) &&
               nt::Attributes(self.get(), attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
               !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }

    // The open a deletion goes through, with the right to delete and the sharing of any open
    // here unless told otherwise, and its checks. Nothing when file now holds the plain file
    // listed; otherwise why the file stays (Refused or NotThere).
    std::optional<Deletion> OpenListedForDeletion(const FindEntry& entry, NtHandle& file,
                                                  AgeCheck* age,
                                                  ULONG share = nt::kShareAll) const {
        const std::wstring name = Wide(entry.name);
        const NTSTATUS status = nt::Open(handle_.get(), name, DELETE | FILE_READ_ATTRIBUTES,
                                         FILE_NON_DIRECTORY_FILE, file, share);
        // Wine opens no socket of the host's (STATUS_NO_SUCH_DEVICE).
        if (status == nt::STATUS_NO_SUCH_DEVICE) return Deletion::NotAFile;
        if (!Succeeded(status))
            return nt::MeansMissing(status) ? Deletion::NotThere : Deletion::Refused;
        // A link opened here leads to its target, which reports a name of its own. The
        // deletion is asked for only after this check, not by delete-on-close at the open:
        // where links open as their targets, a delete-on-close, once given, cannot be taken
        // back, and would delete the target.
        if (!IsWhereListed(file.get(), name)) return Deletion::Elsewhere;
        // A file of a file system always has its times and attributes; Wine's pipes and
        // device nodes of the host list as empty files and have none, and refuse deletion.
        // Its age is the file's own, read with them on the very handle it would go through; a
        // time that cannot be read is no time (0), which the test takes as unknown.
        const bool aged = age && age->test;
        if (entry.size != 0 && !aged) return std::nullopt;
        ULONG attributes = 0;
        uint64_t written = 0;
        const bool told = nt::Basic(file.get(), attributes, written);
        if (entry.size == 0 && !told) return Deletion::NotAFile;
        if (aged && (age->kept = age->test->Keeps(told ? written : 0))) return Deletion::Kept;
        return std::nullopt;
    }

    // What a handle holds: the volume's serial number and the file's id on it, as
    // GetFileInformationByHandle tells them.
    static FileIdentity IdentityOn(HANDLE handle) {
        FileIdentity identity;
        BY_HANDLE_FILE_INFORMATION information{};
        if (!::GetFileInformationByHandle(handle, &information)) return identity;
        identity.volume = information.dwVolumeSerialNumber;
        identity.file =
            (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
        return identity;
    }

    bool IsWhereListed(HANDLE handle, const std::wstring& name) const {
        std::wstring reported;
        return nt::ObjectName(handle, reported) && SameName(reported, Child(reported_, name));
    }

    NtHandle handle_;
    std::wstring reported_;  // this folder's whole name as the system reports it
    std::string path_;       // the path it was reached by, for the restart list
};

}  // namespace

Opening OpenHandleRoot(const std::string& root) {
    const bool network = root.compare(0, 2, "\\\\") == 0;
    const std::wstring wide = Wide(root);
    const std::wstring native =
        (network ? L"\\??\\UNC\\" + wide.substr(2) : L"\\??\\" + wide) + L"\\";
    NtHandle folder;
    const NTSTATUS status = OpenFolderHandle(nullptr, native, kListAccess, folder);
    if (!Succeeded(status)) {
        if (nt::MeansMissing(status)) return OpenRefusal::NotThere;
        return Opening(OpenRefusal::Failed,
                       {SystemCode::Kind::NtStatus, static_cast<uint32_t>(status)});
    }
    std::wstring reported;
    ULONG attributes = 0;
    if (!nt::Attributes(folder.get(), attributes) || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !nt::ObjectName(folder.get(), reported))
        return OpenRefusal::Changed;
    return {std::make_unique<HandleFolder>(std::move(folder), std::move(reported), root)};
}

}  // namespace platform::win32
