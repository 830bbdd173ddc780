#include "system/PreviewPlatform.h"

namespace olvex {

using platform::Deletion;
using platform::FindEntry;
using platform::OpenedFolder;

namespace {

class PreviewFolder : public OpenedFolder {
  public:
    explicit PreviewFolder(std::unique_ptr<OpenedFolder> folder) : folder_(std::move(folder)) {}
    std::unique_ptr<platform::Finder> Entries() override { return folder_->Entries(); }
    Deletion DeleteListedFile(const FindEntry& entry) override {
        return folder_->ProbeDeletion(entry);
    }
    Deletion ProbeDeletion(const FindEntry& entry) override {
        return folder_->ProbeDeletion(entry);
    }
    bool IsListedFile(const FindEntry& entry) override { return folder_->IsListedFile(entry); }
    // Whether the system would accept the registration is only known by making it.
    bool DeleteAtRestart(const FindEntry& entry) override { return folder_->IsListedFile(entry); }
    platform::FolderOwner Owner() override { return folder_->Owner(); }
    // Held for listing whatever is asked: a preview never moves a folder.
    platform::Opening OpenListedFolder(const FindEntry& entry, platform::Hold) override {
        return Wrap(folder_->OpenListedFolder(entry, platform::Hold::Listing));
    }
    // Once everything in it would have gone, so would the folder.
    bool RemoveEmpty() override { return true; }
    platform::Move MoveInto(OpenedFolder&, const std::string&) override {
        return platform::Move::Refused;
    }

    static platform::Opening Wrap(platform::Opening opening) {
        if (opening.folder)
            opening.folder = std::make_unique<PreviewFolder>(std::move(opening.folder));
        return opening;
    }

  private:
    std::unique_ptr<OpenedFolder> folder_;
};

}  // namespace

std::unique_ptr<platform::Finder> PreviewFileSystem::Find(const std::string& pattern) {
    return files_.Find(pattern);
}

uint32_t PreviewFileSystem::GetAttributes(const std::string& path) {
    return files_.GetAttributes(path);
}

platform::Opening PreviewFileSystem::OpenRoot(const std::string& root) {
    return PreviewFolder::Wrap(files_.OpenRoot(root));
}

platform::DriveKind PreviewFileSystem::KindOfDrive(const std::string& root) {
    return files_.KindOfDrive(root);
}

std::vector<std::string> PreviewFileSystem::FixedDriveRoots() {
    return files_.FixedDriveRoots();
}

std::optional<std::string> PreviewShell::SpecialFolderPath(int csidl) {
    return shell_.SpecialFolderPath(csidl);
}

std::optional<std::string> PreviewShell::LibraryFolderPath(int csidl) {
    return shell_.LibraryFolderPath(csidl);
}

void PreviewShell::Execute(uintptr_t, const std::string&, const std::string&, int) {}

long PreviewShell::EmptyRecycleBin(uintptr_t) {
    return 0;
}

bool PreviewShell::QueryRecycleBin(const std::string& root, uint64_t& items, uint64_t& bytes) {
    return shell_.QueryRecycleBin(root, items, bytes);
}

void PreviewShell::UpdateRecycleBinIcon() {}

void PreviewShell::ClearUrlHistory() {}

uintptr_t PreviewUrlCache::FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) {
    return cache_.FindFirst(pattern, buffer, size);
}

bool PreviewUrlCache::FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) {
    return cache_.FindNext(handle, buffer, size);
}

void PreviewUrlCache::FindClose(uintptr_t handle) {
    cache_.FindClose(handle);
}

bool PreviewUrlCache::DeleteEntry(const std::string& url, platform::SystemCode*) {
    return LocalFile(url).has_value() && deleted_.insert(url).second;
}

std::optional<std::string> PreviewUrlCache::LocalFile(const std::string& url) {
    if (deleted_.count(url)) return std::nullopt;
    return cache_.LocalFile(url);
}

}  // namespace olvex
