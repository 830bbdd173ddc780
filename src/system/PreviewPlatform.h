#pragma once
// The platform as a preview sees it: everything that looks is passed on, everything that
// would change something only checks whether it could. A run of the very same engine and
// deletion rules on these tells what a clean would do, and changes nothing.
#include <memory>
#include <set>
#include <string>

#include "platform/Platform.h"

namespace olvex {

// Files: folders open as usual; a file to delete is opened for deletion and closed again
// (ProbeDeletion), a folder to remove is taken as removable, nothing is moved, and files
// the rules would register for deletion at restart are taken as registered.
class PreviewFileSystem : public platform::FileSystem {
  public:
    explicit PreviewFileSystem(platform::FileSystem& files) : files_(files) {}
    std::unique_ptr<platform::Finder> Find(const std::string& pattern) override;
    uint32_t GetAttributes(const std::string& path) override;
    platform::Opening OpenRoot(const std::string& root) override;
    platform::DriveKind KindOfDrive(const std::string& root) override;
    std::vector<std::string> FixedDriveRoots() override;

  private:
    platform::FileSystem& files_;
};

// The shell: the Recycle Bin is counted and not emptied, the history is not cleared.
class PreviewShell : public platform::Shell {
  public:
    explicit PreviewShell(platform::Shell& shell) : shell_(shell) {}
    std::optional<std::string> SpecialFolderPath(int csidl) override;
    std::optional<std::string> LibraryFolderPath(int csidl) override;
    void Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                 int showCommand) override;
    long EmptyRecycleBin(uintptr_t owner) override;
    bool QueryRecycleBin(const std::string& root, uint64_t& items, uint64_t& bytes) override;
    void UpdateRecycleBinIcon() override;
    void ClearUrlHistory() override;

  private:
    platform::Shell& shell_;
};

// The cache index: listed and asked as usual; an entry to delete is taken as deleted, and is
// gone for the rest of the preview, as it would be for the rest of a clean.
class PreviewUrlCache : public platform::UrlCache {
  public:
    explicit PreviewUrlCache(platform::UrlCache& cache) : cache_(cache) {}
    uintptr_t FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) override;
    bool FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) override;
    void FindClose(uintptr_t handle) override;
    bool DeleteEntry(const std::string& url, platform::SystemCode* why) override;
    std::optional<std::string> LocalFile(const std::string& url) override;

  private:
    platform::UrlCache& cache_;
    std::set<std::string> deleted_;
};

}  // namespace olvex
