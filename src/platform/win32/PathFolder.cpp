#include <windows.h>

#include <optional>

#include "platform/Errors.h"
#include "platform/win32/OpenedFolders.h"
#include "platform/win32/OwnFiles.h"
#include "platform/win32/Owned.h"
#include "platform/win32/RestartList.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

bool IsPlainFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsPlainFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// A listing by the find calls, an entry at a time. A folder gone or emptied meanwhile lists
// as empty.
class PathListing : public Finder {
  public:
    explicit PathListing(const std::string& pattern) : find_(FindFirstFileU(pattern, found_)) {
        if (find_) return;
        const DWORD code = ::GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND &&
            code != ERROR_NO_MORE_FILES)
            throw ErrorFromWin32(code);
    }

    bool Next(FindEntry& entry) override {
        while (find_) {
            if (!first_ && !FindNextFileU(find_.get(), found_)) {
                find_.reset();
                break;
            }
            first_ = false;
            if (found_.name == "." || found_.name == "..") continue;
            entry = FindEntry{found_.name, found_.attributes, found_.size, 0, found_.writeTime};
            return true;
        }
        return false;
    }

  private:
    FoundFile found_;
    FindHandle find_;
    bool first_ = true;
};

class PathFolder : public OpenedFolder {
  public:
    explicit PathFolder(std::string path) : path_(std::move(path)) {}

    std::unique_ptr<Finder> Entries() override {
        return std::make_unique<PathListing>(path_ + "\\*");
    }

    Deletion DeleteListedFile(const FindEntry& entry, AgeCheck* age) override {
        const std::string path = Child(entry);
        if (const auto stays = Check(path, GetFileAttributesU(path), age)) return *stays;
        return DeleteFileU(path) ? Deletion::Deleted : Deletion::Refused;
    }

    Deletion ProbeDeletion(const FindEntry& entry, AgeCheck* age) override {
        const std::string path = Child(entry);
        const DWORD attributes = GetFileAttributesU(path);
        if (const auto stays = Check(path, attributes, age)) return *stays;
        // The delete call refuses a read-only file here, and one that anybody holds open.
        // These systems have no open for deletion; an open nobody else may share fails
        // while anybody holds the file, and reading changes nothing.
        if (attributes & FILE_ATTRIBUTE_READONLY) return Deletion::Refused;
        FileHandle file(CreateFileU(path, GENERIC_READ, 0, OPEN_EXISTING));
        if (file) return Deletion::Deleted;
        const DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? Deletion::NotThere
                                                                            : Deletion::Refused;
    }

    bool IsListedFile(const FindEntry& entry) override {
        return IsPlainFile(GetFileAttributesU(Child(entry)));
    }

    std::optional<FindEntry> Lookup(const std::string& name) override {
        // The find calls match a short 8.3 name too, and list the long one.
        FoundFile found;
        FindHandle find(FindFirstFileU(Child(name), found));
        if (!find) return std::nullopt;
        return FindEntry{found.name, found.attributes, found.size, 0, found.writeTime};
    }

    // These systems keep no file ids: a file is its long full path, in the system's upper case.
    FileIdentity Identity() override { return IdentityOfPath(path_); }

    FileIdentity IdentityOf(const FindEntry& entry) override {
        const std::string path = Child(entry);
        if (GetFileAttributesU(path) == INVALID_FILE_ATTRIBUTES) return {};
        return IdentityOfPath(path);
    }

    WriteOpening OpenOwnFile(const std::string& name) override {
        const std::string path = Child(name);
        // These systems have no links; a folder of that name is not the program's file.
        const DWORD attributes = GetFileAttributesU(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && !IsPlainFile(attributes))
            return WriteRefusal::Link;
        // What is there is opened; what is not is made anew, which fails on anything of that
        // name. Two tries: another run may make the file between the two opens.
        const DWORD access = GENERIC_READ | GENERIC_WRITE;
        FileHandle file;
        DWORD code = NO_ERROR;
        for (int attempt = 0; attempt < 2 && !file; ++attempt) {
            file.reset(CreateFileU(path, access, FILE_SHARE_READ, OPEN_EXISTING));
            if (file || (code = ::GetLastError()) != ERROR_FILE_NOT_FOUND) break;
            file.reset(CreateFileU(path, access, FILE_SHARE_READ, CREATE_NEW));
            if (!file) code = ::GetLastError();
        }
        if (!file) {
            if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
                return WriteRefusal::Busy;
            if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
                return WriteRefusal::Link;
            return WriteOpening(WriteRefusal::Failed, {SystemCode::Kind::Win32, code});
        }
        std::unique_ptr<AppendFile> written = WrittenFile(std::move(file));
        if (!written) return WriteRefusal::Failed;
        return written;
    }

    // These systems keep no owners.
    FolderOwner Owner() override { return FolderOwner::Unknown; }

    Deletion ReplaceListedFile(const FindEntry& entry, const std::string& content) override {
        const std::string path = Child(entry);
        const DWORD attributes = GetFileAttributesU(path);
        if (const auto stays = Check(path, attributes, nullptr)) return *stays;
        if (attributes & FILE_ATTRIBUTE_READONLY) return Deletion::Refused;
        const std::string fresh = path + kReplacementTail;
        const auto ansiFresh = AnsiArgument(fresh);
        const auto ansiPath = AnsiArgument(path);
        if (!ansiFresh || !ansiPath) return Deletion::Refused;
        {
            FileHandle file(CreateFileU(fresh, GENERIC_WRITE, 0, CREATE_NEW));
            if (!file) return Deletion::Refused;
            if (!WriteAll(file.get(), content) || !::FlushFileBuffers(file.get())) {
                file.reset();
                DeleteFileU(fresh);
                return Deletion::Refused;
            }
        }
        // These systems rename nothing over a file (MoveFileEx fails on them): the old file
        // goes first, and meanwhile the new one is whole under its own name.
        if (!DeleteFileU(path)) {
            DeleteFileU(fresh);
            return Deletion::Refused;
        }
        return ::MoveFileA(ansiFresh->c_str(), ansiPath->c_str()) ? Deletion::Deleted
                                                                  : Deletion::Refused;
    }

    bool DeleteAtRestart(const FindEntry& entry) override {
        const std::string path = Child(entry);
        return IsPlainFile(GetFileAttributesU(path)) && DeleteAtRestartU(path);
    }

    Opening OpenListedFolder(const FindEntry& entry, Hold) override {
        const std::string path = Child(entry);
        const DWORD attributes = GetFileAttributesU(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return OpenRefusal::NotThere;
        if (!IsPlainFolder(attributes)) return OpenRefusal::Link;
        return {std::make_unique<PathFolder>(path)};
    }

    bool RemoveEmpty() override {
        // Removing a link to a folder would remove its empty target.
        return IsPlainFolder(GetFileAttributesU(path_)) && RemoveDirectoryU(path_);
    }

    // Paths on these systems are short: nothing is ever deep enough to need moving.
    Move MoveInto(OpenedFolder&, const std::string&) override { return Move::Refused; }

  private:
    static FileIdentity IdentityOfPath(const std::string& path) {
        FileIdentity identity;
        if (SharesVolumeU(path.substr(0, 2))) return identity;
        identity.path = UpperCaseAnsi(LongPathU(path));
        return identity;
    }

    // Why the file at path, with these attributes, stays before any deletion is asked; nothing
    // when it may be asked. Its age is read on a handle of the file's own, shared with any
    // other: these systems delete by path and have no handle to delete through.
    static std::optional<Deletion> Check(const std::string& path, DWORD attributes, AgeCheck* age) {
        if (attributes == INVALID_FILE_ATTRIBUTES) return Deletion::NotThere;
        if (!IsPlainFile(attributes)) return Deletion::Elsewhere;
        if (age && age->test) {
            uint64_t written = 0;
            FileHandle file(
                CreateFileU(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
            FILETIME time{};
            if (file && ::GetFileTime(file.get(), nullptr, nullptr, &time))
                written = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
            if ((age->kept = age->test->Keeps(written))) return Deletion::Kept;
        }
        return std::nullopt;
    }

    std::string Child(const FindEntry& entry) const { return Child(entry.name); }
    std::string Child(const std::string& name) const { return path_ + "\\" + name; }
    std::string path_;
};

}  // namespace

Opening OpenPathRoot(const std::string& root) {
    // Roots report no attributes on every system (a share's on 95); every folder below is
    // checked as it is opened.
    return {std::make_unique<PathFolder>(root)};
}

}  // namespace platform::win32
