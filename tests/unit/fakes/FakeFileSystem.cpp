#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "guard/DeletionGuard.h"
#include "guard/PathRules.h"
#include "platform/Errors.h"

namespace fakes {

namespace {

// The codes the system gives for these failures (winerror.h, ntstatus.h).
constexpr platform::SystemCode kWin32NotReady{platform::SystemCode::Kind::Win32, 21};
constexpr platform::SystemCode kWin32AccessDenied{platform::SystemCode::Kind::Win32, 5};
constexpr platform::SystemCode kWin32InvalidName{platform::SystemCode::Kind::Win32, 123};
constexpr platform::SystemCode kNtAccessDenied{platform::SystemCode::Kind::NtStatus, 0xC0000022};

// An entry as a listing gives it.
template <class Node>
platform::FindEntry Listed(const Node& node) {
    return {node.name, node.attributes, node.content.size(), 0, node.listedTime};
}

// Lower case as the system's table folds names: ASCII, Latin-1's letters (À-Þ but ×) and the
// Cyrillic capitals (Ѐ-Я), which is what the names of these tests hold.
std::string Lower(const std::string& text) {
    std::string lower;
    lower.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            lower += static_cast<char>(std::tolower(c));
            continue;
        }
        if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            if (code >= 0xC0 && code <= 0xDE && code != 0xD7) code += 0x20;
            if (code >= 0x410 && code <= 0x42F) code += 0x20;
            if (code >= 0x400 && code <= 0x40F) code += 0x50;
            lower += static_cast<char>(0xC0 | (code >> 6));
            lower += static_cast<char>(0x80 | (code & 0x3F));
            ++i;
            continue;
        }
        lower += static_cast<char>(c);
    }
    return lower;
}

class ListFinder : public platform::Finder {
  public:
    explicit ListFinder(std::vector<platform::FindEntry> entries) : entries_(std::move(entries)) {}
    bool Next(platform::FindEntry& entry) override {
        if (next_ >= entries_.size()) return false;
        entry = entries_[next_++];
        return true;
    }

  private:
    std::vector<platform::FindEntry> entries_;
    size_t next_ = 0;
};

bool IsDriveRoot(const std::string& key) {
    return key.size() == 2 && key[1] == ':';
}

}  // namespace

FakeFileSystem::FakeFileSystem() {
    AddFolder("C:");
}

std::string FakeFileSystem::Key(const std::string& path) {
    std::string key;
    for (char c : path) {
        if (c == '/') c = '\\';
        if (c == '\\' && !key.empty() && key.back() == '\\') continue;
        key += c;
    }
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return Lower(key);
}

bool FakeFileSystem::Matches(const std::string& name, const std::string& wildcard) {
    return olvex::MatchesPattern(name, wildcard);
}

namespace {
// Separators unified, doubled ones collapsed, trailing ones dropped; case kept.
std::string Tidy(const std::string& path) {
    std::string tidy;
    for (char c : path) {
        if (c == '/') c = '\\';
        if (c == '\\' && !tidy.empty() && tidy.back() == '\\') continue;
        tidy += c;
    }
    while (!tidy.empty() && tidy.back() == '\\') tidy.pop_back();
    return tidy;
}
}  // namespace

void FakeFileSystem::AddEntry(const std::string& path, uint32_t attributes,
                              const std::string& content) {
    const std::string tidy = Tidy(path);
    const size_t cut = tidy.find_last_of('\\');
    if (cut != std::string::npos && !Lookup(Key(tidy.substr(0, cut))))
        AddFolder(tidy.substr(0, cut));
    Node node;
    node.name = tidy.substr(cut == std::string::npos ? 0 : cut + 1);
    node.attributes = attributes;
    node.content = content;
    node.id = ++nextId_;
    nodes_[Key(tidy)] = node;
}

void FakeFileSystem::AddFolder(const std::string& path, uint32_t attributes) {
    AddEntry(path, attributes | platform::kAttrDirectory);
}

void FakeFileSystem::AddFile(const std::string& path, uint32_t attributes,
                             const std::string& content) {
    AddEntry(path, attributes, content);
}

void FakeFileSystem::AddFolderLink(const std::string& path) {
    AddEntry(path, platform::kAttrDirectory | platform::kAttrReparsePoint);
}

std::string FakeFileSystem::Content(const std::string& path) const {
    const Node* node = Lookup(Key(path));
    return node ? node->content : "";
}

const FakeFileSystem::Node* FakeFileSystem::Lookup(const std::string& key) const {
    auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::Exists(const std::string& path) const {
    return Lookup(Key(path)) != nullptr;
}

bool FakeFileSystem::DeleteByPath(const std::string& path) {
    const Node* node = Lookup(Key(path));
    if (!node || (node->attributes & platform::kAttrDirectory) || locked_.count(Key(path)))
        return false;
    nodes_.erase(Key(path));
    deleted.push_back(path);
    return true;
}

std::unique_ptr<platform::Finder> FakeFileSystem::Find(const std::string& pattern) {
    patterns.push_back(pattern);
    std::string normal = pattern;
    std::replace(normal.begin(), normal.end(), '/', '\\');
    const size_t cut = normal.find_last_of('\\');
    const std::string folderKey = Resolved(cut == std::string::npos ? "" : normal.substr(0, cut));
    const std::string last = normal.substr(cut == std::string::npos ? 0 : cut + 1);

    if (notReady_.count(folderKey.substr(0, 2)))
        throw platform::RuntimeError("the device is not ready", kWin32NotReady);
    if (last.find_first_of("<>|\"") != std::string::npos)
        throw platform::RuntimeError("the name is not valid", kWin32InvalidName);
    const Node* folder = Lookup(folderKey);
    // As under Wine, "file\." names the file itself.
    if (folder && last == "." && !(folder->attributes & platform::kAttrDirectory))
        return std::make_unique<ListFinder>(std::vector<platform::FindEntry>{Listed(*folder)});
    if (!folder || !(folder->attributes & platform::kAttrDirectory)) return nullptr;
    // FindFirstFile in a folder the user may not list fails with ERROR_ACCESS_DENIED.
    if (folder->unreadable) throw platform::RuntimeError("Access is denied.", kWin32AccessDenied);

    std::vector<platform::FindEntry> entries;
    if (last == ".") {
        entries.push_back({".", folder->attributes, 0});
        return std::make_unique<ListFinder>(entries);
    }
    if (!IsDriveRoot(folderKey)) {
        for (const char* dots : {".", ".."})
            if (Matches(dots, last)) entries.push_back({dots, platform::kAttrDirectory, 0});
    }
    const std::string prefix = folderKey + "\\";
    if (last.find_first_of("*?") == std::string::npos) {
        // One name: looked up, not searched for among every entry.
        const Node* node = Lookup(prefix + Lower(last));
        if (node) entries.push_back(Listed(*node));
    } else {
        // The folder's entries sort together, right after its own key.
        for (auto it = nodes_.lower_bound(prefix);
             it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
            if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
            if (Matches(it->second.name, last)) entries.push_back(Listed(it->second));
        }
    }
    if (entries.empty()) return nullptr;
    return std::make_unique<ListFinder>(entries);
}

uint32_t FakeFileSystem::GetAttributes(const std::string& path) {
    const Node* node = Lookup(Resolved(path));
    return node ? node->attributes : platform::kInvalidAttributes;
}

// The program's own file. On a full disk an append writes what fits and fails, as WriteFile
// does (FALSE and ERROR_DISK_FULL, part of the buffer written); a flush fails when told to.
class WrittenOwnFile : public platform::AppendFile {
  public:
    WrittenOwnFile(FakeFileSystem& files, std::string key) : files_(files), key_(std::move(key)) {}
    bool IsEmpty() override { return Content().empty(); }
    std::string Head(size_t size) override { return Content().substr(0, size); }
    bool Append(const std::string& bytes) override {
        const size_t room = Trouble().fullAt - std::min(Trouble().fullAt, Content().size());
        Content() += bytes.substr(0, room);
        return bytes.size() <= room;
    }
    bool Clear() override { return CutTo(0); }
    std::optional<uint64_t> Size() override { return Content().size(); }
    std::string Tail(size_t size) override {
        return Content().substr(Content().size() - std::min(size, Content().size()));
    }
    bool Flush() override { return Trouble().goodFlushes-- > 0; }
    bool CutTo(uint64_t size) override {
        Content().resize(std::min<uint64_t>(Content().size(), size));
        return true;
    }

  private:
    std::string& Content() { return files_.nodes_.at(key_).content; }
    FakeFileSystem::OwnFileTrouble& Trouble() { return files_.ownFileTroubles_[key_]; }
    FakeFileSystem& files_;
    std::string key_;
};

// A folder of the fake, addressed by its path; entries are checked as the real folders do.
class FakeFolder : public platform::OpenedFolder {
  public:
    FakeFolder(FakeFileSystem& files, std::string path,
               platform::Hold hold = platform::Hold::Listing)
        : files_(files), path_(std::move(path)), moving_(hold == platform::Hold::Moving) {
        if (moving_) files_.heldForDeletion_.insert(FakeFileSystem::Key(path_));
    }
    ~FakeFolder() override { Release(); }
    FakeFolder(const FakeFolder&) = delete;
    FakeFolder& operator=(const FakeFolder&) = delete;

    // A snapshot taken when the listing starts.
    std::unique_ptr<platform::Finder> Entries() override {
        const FakeFileSystem::Node* self = files_.Lookup(FakeFileSystem::Key(path_));
        if (self && self->unreadable) throw platform::RuntimeError("", kNtAccessDenied);
        return std::make_unique<ListFinder>(Snapshot());
    }

    // As a file system does: whatever the name reaches on the handle is deleted, a flagged
    // link as the link itself, read-only and hidden files alike. Only a file held open
    // refuses, and an entry that opens as something else than listed (the platform's check
    // on the handle) is not there. The deletion layer's own rules are left to the layer.
    platform::Deletion DeleteListedFile(const platform::FindEntry& entry,
                                        platform::AgeCheck* age) override {
        const std::string key = Key(entry);
        if (const auto stays = Check(key, age)) return *stays;
        files_.nodes_.erase(key);
        files_.deleted.push_back(Child(entry));
        return platform::Deletion::Deleted;
    }

    // As the system renames a new file over the old one: refused for a read-only file.
    platform::Deletion ReplaceListedFile(const platform::FindEntry& entry,
                                         const std::string& content) override {
        const std::string key = Key(entry);
        if (const auto stays = Check(key, nullptr)) return *stays;
        if (files_.nodes_.at(key).attributes & platform::kAttrReadOnly)
            return platform::Deletion::Refused;
        files_.nodes_.at(key).content = content;
        files_.replaced.push_back(Child(entry));
        return platform::Deletion::Deleted;
    }

    platform::Deletion ProbeDeletion(const platform::FindEntry& entry,
                                     platform::AgeCheck* age) override {
        return Check(Key(entry), age).value_or(platform::Deletion::Deleted);
    }

    // As a listing given the name as its mask: by the long name, else by the short one the
    // file system keeps beside it; * and ? match as wildcards, the first match answering.
    std::optional<platform::FindEntry> Lookup(const std::string& name) override {
        if (const FakeFileSystem::Node* node = files_.Lookup(FakeFileSystem::Key(Child(name))))
            return Listed(*node);
        for (const platform::FindEntry& entry : Snapshot()) {
            const FakeFileSystem::Node& node = files_.nodes_.at(Key(entry));
            if (FakeFileSystem::Matches(node.name, name) ||
                (!node.shortName.empty() && FakeFileSystem::Matches(node.shortName, name)))
                return entry;
        }
        return std::nullopt;
    }

    platform::FileIdentity Identity() override {
        const FakeFileSystem::Node* self = files_.Lookup(FakeFileSystem::Key(path_));
        return self ? IdentityOf(*self) : platform::FileIdentity{};
    }

    platform::FileIdentity IdentityOf(const platform::FindEntry& entry) override {
        const std::string key = Key(entry);
        // Wine opens no pipe, socket or device of the host's.
        if (!IsPlain(key, (entry.attributes & platform::kAttrDirectory) != 0) ||
            files_.nodes_.at(key).device)
            return {};
        return IdentityOf(files_.nodes_.at(key));
    }

    bool IsListedFile(const platform::FindEntry& entry) override {
        return IsPlain(Key(entry), false) && !files_.nodes_.at(Key(entry)).device;
    }

    // Made when missing; a link, a folder or a device of that name is refused, and a file
    // another program holds for writing is busy.
    platform::WriteOpening OpenOwnFile(const std::string& name) override {
        const std::string path = path_ + "\\" + name;
        const std::string key = FakeFileSystem::Key(path);
        FakeFileSystem::OwnFileTrouble& trouble = files_.ownFileTroubles_[key];
        if (trouble.freeOpens > 0) {
            --trouble.freeOpens;
        } else if (trouble.heldOpens > 0) {
            --trouble.heldOpens;
            return platform::WriteRefusal::Busy;
        }
        const FakeFileSystem::Node* node = files_.Lookup(key);
        if (node && (!IsPlain(key, false) || node->device)) return platform::WriteRefusal::Link;
        if (!node) files_.AddFile(path);
        return {std::make_unique<WrittenOwnFile>(files_, key)};
    }

    bool DeleteAtRestart(const platform::FindEntry& entry) override {
        if (!Reaches(Key(entry), false)) return false;
        const std::string root = path_.compare(0, 2, "\\\\") == 0 ? "\\\\" : path_.substr(0, 2);
        if (files_.KindOfDrive(root) != platform::DriveKind::LocalFixed) {
            files_.unreachableAtRestart.push_back(Child(entry));
            return false;
        }
        files_.atRestart.push_back(Child(entry));
        return true;
    }

    platform::FolderOwner Owner() override {
        auto it = files_.owners_.find(FakeFileSystem::Key(path_));
        return it == files_.owners_.end() ? platform::FolderOwner::Unknown : it->second;
    }

    platform::Opening OpenListedFolder(const platform::FindEntry& entry,
                                       platform::Hold hold) override {
        const std::string key = Key(entry);
        const FakeFileSystem::Node* node = files_.Lookup(key);
        if (!node || !(node->attributes & platform::kAttrDirectory))
            return platform::OpenRefusal::NotThere;
        if (node->attributes & platform::kAttrReparsePoint) return platform::OpenRefusal::Link;
        if (files_.elsewhere_.count(key)) return platform::OpenRefusal::Changed;
        return {std::make_unique<FakeFolder>(files_, Child(entry), hold)};
    }

    bool RemoveEmpty() override {
        const std::string key = FakeFileSystem::Key(path_);
        if (!files_.nodes_.count(key) || !Snapshot().empty()) return false;
        files_.nodes_.erase(key);
        files_.removedFolders.push_back(path_);
        return true;
    }

    // As real NT: the folder moved into is opened sharing read and write but not delete,
    // so the move fails while anybody holds that folder with the right to delete it.
    platform::Move MoveInto(platform::OpenedFolder& parent, const std::string& name) override {
        const std::string into = static_cast<FakeFolder&>(parent).path_;
        const std::string to = into + "\\" + name;
        const std::string from = FakeFileSystem::Key(path_), target = FakeFileSystem::Key(to);
        if (!moving_ || files_.refuseMoves_ ||
            files_.heldForDeletion_.count(FakeFileSystem::Key(into))) {
            ++files_.refusedMoves;
            return platform::Move::Refused;
        }
        if (files_.nodes_.count(target)) return platform::Move::NameTaken;
        std::map<std::string, FakeFileSystem::Node> moved;
        for (auto it = files_.nodes_.begin(); it != files_.nodes_.end();) {
            if (it->first == from || it->first.compare(0, from.size() + 1, from + "\\") == 0) {
                moved[target + it->first.substr(from.size())] = it->second;
                it = files_.nodes_.erase(it);
            } else {
                ++it;
            }
        }
        moved[target].name = name;
        files_.nodes_.insert(moved.begin(), moved.end());
        files_.moves.push_back(path_ + " -> " + to);
        Release();
        path_ = to;
        files_.heldForDeletion_.insert(target);
        return platform::Move::Moved;
    }

  private:
    // As the system has it: the volume's serial, one per drive, and the node's own id.
    platform::FileIdentity IdentityOf(const FakeFileSystem::Node& node) const {
        platform::FileIdentity identity;
        identity.volume = static_cast<uint32_t>(std::tolower(static_cast<unsigned char>(path_[0])));
        identity.file = node.id;
        return identity;
    }
    // Why the file of key stays before it is deleted: gone, swapped for something else, a
    // device, held open, or its own time (not its listing's) keeping it.
    std::optional<platform::Deletion> Check(const std::string& key, platform::AgeCheck* age) const {
        const FakeFileSystem::Node* node = files_.Lookup(key);
        if (!node) return platform::Deletion::NotThere;
        if (!Reaches(key, false)) return platform::Deletion::Elsewhere;
        if (node->device) return platform::Deletion::NotAFile;
        if (files_.locked_.count(key)) return platform::Deletion::Refused;
        if (age && age->test && (age->kept = age->test->Keeps(node->writeTime)))
            return platform::Deletion::Kept;
        return std::nullopt;
    }
    void Release() {
        if (!moving_) return;
        auto held = files_.heldForDeletion_.find(FakeFileSystem::Key(path_));
        if (held != files_.heldForDeletion_.end()) files_.heldForDeletion_.erase(held);
    }
    std::vector<platform::FindEntry> Snapshot() const {
        std::vector<platform::FindEntry> entries;
        const std::string prefix = FakeFileSystem::Key(path_) + "\\";
        for (const auto& [key, node] : files_.nodes_) {
            if (key.compare(0, prefix.size(), prefix) != 0) continue;
            if (key.find('\\', prefix.size()) == std::string::npos) entries.push_back(Listed(node));
        }
        return entries;
    }
    std::string Child(const platform::FindEntry& entry) const { return Child(entry.name); }
    std::string Child(const std::string& name) const { return path_ + "\\" + name; }
    std::string Key(const platform::FindEntry& entry) const {
        return FakeFileSystem::Key(Child(entry));
    }
    // The name leads to an entry of the listed kind in this folder, a flagged link included.
    bool Reaches(const std::string& key, bool folder) const {
        const FakeFileSystem::Node* node = files_.Lookup(key);
        return node && !files_.elsewhere_.count(key) &&
               ((node->attributes & platform::kAttrDirectory) != 0) == folder;
    }
    bool IsPlain(const std::string& key, bool folder) const {
        const FakeFileSystem::Node* node = files_.Lookup(key);
        return node && !files_.elsewhere_.count(key) &&
               !(node->attributes & platform::kAttrReparsePoint) &&
               ((node->attributes & platform::kAttrDirectory) != 0) == folder;
    }

    FakeFileSystem& files_;
    std::string path_;
    bool moving_;  // held with the right to delete and move it
};

void FakeFileSystem::AddFileLink(const std::string& path) {
    AddFile(path);
    elsewhere_.insert(Key(path));
}

void FakeFileSystem::AddDevice(const std::string& path) {
    AddFile(path);
    nodes_.at(Key(path)).device = true;
}

void FakeFileSystem::SetDriveFor(const std::string& drive, const std::string& folder) {
    aliases_[Key(drive)] = Tidy(folder);
}

// As GetFullPathName completes a path (measured under Wine, and as documented): relative to
// the current folder; "." and ".." worked out; the dots and blanks that end a name stripped; a
// device's name, whatever folder it is written in, the device itself (\\.\NUL); a \\?\ path
// left as it is.
std::string FakeFileSystem::FullPath(const std::string& path) {
    std::string full = path;
    std::replace(full.begin(), full.end(), '/', '\\');
    if (full.compare(0, 4, "\\\\?\\") == 0) return full;
    const bool absolute = (full.size() > 1 && full[1] == ':') || full.compare(0, 2, "\\\\") == 0;
    if (!absolute) full = currentFolder + "\\" + full;
    const bool share = full.compare(0, 2, "\\\\") == 0;
    std::vector<std::string> names;
    for (size_t at = share ? 2 : 0; at <= full.size();) {
        size_t end = full.find('\\', at);
        if (end == std::string::npos) end = full.size();
        std::string name = full.substr(at, end - at);
        at = end + 1;
        if (name == "..") {
            if (names.size() > (share ? 2u : 1u)) names.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) names.push_back(name);
    }
    if (!names.empty() && !olvex::IsLiteralName(names.back()) &&
        names.back().find_first_of("*?") == std::string::npos && names.size() > 1) {
        // Only a device's name is left not literal by now.
        std::string device = names.back().substr(0, names.back().find('.'));
        for (char& c : device) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return "\\\\.\\" + device;
    }
    std::string completed = share ? "\\" : "";
    for (size_t i = 0; i < names.size(); ++i) completed += (i ? "\\" : "") + names[i];
    if (names.size() == 1 && !share) completed += "\\";
    return completed;
}

std::unique_ptr<platform::ReadFile> FakeFileSystem::OpenForReading(const std::string& path) {
    const Node* node = Lookup(Key(path));
    if (!node || (node->attributes & platform::kAttrDirectory) || node->unreadable) return nullptr;
    struct Reading : platform::ReadFile {
        explicit Reading(std::string t) : text(std::move(t)) {}
        size_t Read(char* buffer, size_t size) override {
            const size_t n = std::min(size, text.size() - at);
            std::copy(text.begin() + static_cast<std::ptrdiff_t>(at),
                      text.begin() + static_cast<std::ptrdiff_t>(at + n), buffer);
            at += n;
            return n;
        }
        std::string text;
        size_t at = 0;
    };
    return std::make_unique<Reading>(node->content);
}

platform::FileHold FakeFileSystem::HoldOf(const std::string& path, platform::HoldProbe probe) {
    const Node* node = Lookup(Key(path));
    if (!node) return platform::FileHold::Absent;
    if (heldShut_.count(Key(path))) return platform::FileHold::Held;
    if (probe == platform::HoldProbe::Write && heldForWriting_.count(Key(path)))
        return platform::FileHold::Held;
    if (node->unreadable) return platform::FileHold::Unknown;
    return platform::FileHold::Free;
}

void FakeFileSystem::AddSwappedFolder(const std::string& path) {
    AddFolder(path);
    elsewhere_.insert(Key(path));
}

platform::Opening FakeFileSystem::OpenRoot(const std::string& root) {
    const auto alias = aliases_.find(Key(root));
    const std::string folder = alias == aliases_.end() ? root : alias->second;
    const Node* node = Lookup(Key(folder));
    if (!node || !(node->attributes & platform::kAttrDirectory))
        return platform::OpenRefusal::NotThere;
    return {std::make_unique<FakeFolder>(*this, folder)};
}

std::string FakeFileSystem::Resolved(const std::string& path) const {
    const std::string key = Key(path);
    const auto alias = aliases_.find(key.substr(0, 2));
    return alias == aliases_.end() ? key : Key(alias->second + key.substr(2));
}

platform::DriveKind FakeFileSystem::KindOfDrive(const std::string& root) {
    if (root.compare(0, 2, "\\\\") == 0) return platform::DriveKind::Remote;
    auto it = driveKinds_.find(Key(root));
    return it == driveKinds_.end() ? platform::DriveKind::LocalFixed : it->second;
}

std::vector<std::string> FakeFileSystem::FixedDriveRoots() {
    std::vector<std::string> roots;
    for (const auto& [key, node] : nodes_)
        if (IsDriveRoot(key) && KindOfDrive(key) == platform::DriveKind::LocalFixed)
            roots.push_back(node.name + "\\");
    return roots;
}

}  // namespace fakes
