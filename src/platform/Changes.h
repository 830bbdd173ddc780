#pragma once
// Changes, the one door to everything that changes the system, and SystemChanges, the door
// that makes them.
#include <cstdint>
#include <string>

#include "platform/Errors.h"
#include "platform/FileEntries.h"
#include "platform/OpenedFolder.h"
#include "platform/Shell.h"
#include "platform/UrlCache.h"

namespace olvex {
struct WindowCommandChanges;
struct ConsoleCommandChanges;
}  // namespace olvex
namespace fakes {
struct Rig;
}  // namespace fakes

namespace platform {

// Every change a cleaning run makes, and the only way to make one: the deletion layer and the
// rows change the system through it alone, since what changes a folder, the shell or the cache
// index is private to them. A preview is a run with a Changes that checks each change and makes
// none; whatever is added here must be answered by the preview too, or it does not compile.
class Changes {
  public:
    virtual ~Changes() = default;
    // The listed file of folder, once checked to be the plain file listed and, given an age
    // check, old enough by the time read on the handle it goes through.
    virtual Deletion DeleteListedFile(OpenedFolder& folder, const FindEntry& entry,
                                      AgeCheck* age = nullptr) = 0;
    // The listed file of folder replaced, whole, by a file holding content
    // (OpenedFolder::ReplaceListedFile); Deleted answers that it was.
    virtual Deletion ReplaceListedFile(OpenedFolder& folder, const FindEntry& entry,
                                       const std::string& content) = 0;
    // The listed file of folder, at the next restart.
    virtual bool DeleteAtRestart(OpenedFolder& folder, const FindEntry& entry) = 0;
    // The folder itself, empty by now.
    virtual bool RemoveEmpty(OpenedFolder& folder) = 0;
    // Whether folders are moved at all (MoveInto); a preview moves none.
    virtual bool MovesFolders() const = 0;
    virtual Move MoveInto(OpenedFolder& folder, OpenedFolder& parent, const std::string& name) = 0;
    // The shell's Recycle Bin and history, as Shell's calls of the same names.
    virtual long EmptyRecycleBin(uintptr_t owner) = 0;
    virtual void UpdateRecycleBinIcon() = 0;
    virtual void ClearUrlHistory() = 0;
    // The cache index's entry of url, and with it the file it names.
    virtual bool DeleteUrlCacheEntry(const std::string& url, SystemCode* why) = 0;
};

// The changes themselves, made by the system. Only what acts at the user's word makes one:
// "Empty Selected" in a window (olvex::WindowCommandChanges) and a clean of the console
// program (olvex::ConsoleCommandChanges), and the tests' rig, which stands in for both.
// Everything else is handed the Changes of its run and cannot make its own.
class SystemChanges final : public Changes {
    friend struct olvex::WindowCommandChanges;
    friend struct olvex::ConsoleCommandChanges;
    friend struct fakes::Rig;
    SystemChanges(Shell& shell, UrlCache& cache) : shell_(shell), cache_(cache) {}

  public:
    Deletion DeleteListedFile(OpenedFolder& folder, const FindEntry& entry,
                              AgeCheck* age = nullptr) override {
        return folder.DeleteListedFile(entry, age);
    }
    Deletion ReplaceListedFile(OpenedFolder& folder, const FindEntry& entry,
                               const std::string& content) override {
        return folder.ReplaceListedFile(entry, content);
    }
    bool DeleteAtRestart(OpenedFolder& folder, const FindEntry& entry) override {
        return folder.DeleteAtRestart(entry);
    }
    bool RemoveEmpty(OpenedFolder& folder) override { return folder.RemoveEmpty(); }
    bool MovesFolders() const override { return true; }
    Move MoveInto(OpenedFolder& folder, OpenedFolder& parent, const std::string& name) override {
        return folder.MoveInto(parent, name);
    }
    long EmptyRecycleBin(uintptr_t owner) override { return shell_.EmptyRecycleBin(owner); }
    void UpdateRecycleBinIcon() override { shell_.UpdateRecycleBinIcon(); }
    void ClearUrlHistory() override { shell_.ClearUrlHistory(); }
    bool DeleteUrlCacheEntry(const std::string& url, SystemCode* why) override {
        return cache_.DeleteEntry(url, why);
    }

  private:
    Shell& shell_;
    UrlCache& cache_;
};

}  // namespace platform
