#pragma once
// The changes of a preview: each is checked as the clean would make it, and none is made. A run
// of the very same engine and deletion rules with these tells what a clean would do. Nothing
// here can change the system: what does is private to the platform's classes, reached only
// through its SystemChanges.
#include "platform/Platform.h"

namespace olvex {

class PreviewChanges final : public platform::Changes {
  public:
    explicit PreviewChanges(platform::UrlCache& cache) : cache_(cache) {}

    // The deletion's own open and checks, closed again (ProbeDeletion).
    platform::Deletion DeleteListedFile(platform::OpenedFolder& folder,
                                        const platform::FindEntry& entry,
                                        platform::AgeCheck* age = nullptr) override {
        return folder.ProbeDeletion(entry, age);
    }
    // The old file's checks, as for its deletion; nothing is written.
    platform::Deletion ReplaceListedFile(platform::OpenedFolder& folder,
                                         const platform::FindEntry& entry,
                                         const std::string&) override {
        return folder.ProbeDeletion(entry);
    }
    // Whether the system would take the registration is only known by making it.
    bool DeleteAtRestart(platform::OpenedFolder& folder,
                         const platform::FindEntry& entry) override {
        return folder.IsListedFile(entry);
    }
    // Once everything in it would have gone, so would the folder.
    bool RemoveEmpty(platform::OpenedFolder&) override { return true; }
    // Folders are held for listing only, and never moved.
    bool MovesFolders() const override { return false; }
    platform::Move MoveInto(platform::OpenedFolder&, platform::OpenedFolder&,
                            const std::string&) override {
        return platform::Move::Refused;
    }
    // The Recycle Bin is counted by the run, not emptied; the history is not cleared.
    long EmptyRecycleBin(uintptr_t) override { return 0; }
    void UpdateRecycleBinIcon() override {}
    void ClearUrlHistory() override {}
    // An entry that is there would go.
    bool DeleteUrlCacheEntry(const std::string& url, platform::SystemCode*) override {
        return cache_.LocalFile(url).has_value();
    }

  private:
    platform::UrlCache& cache_;
};

}  // namespace olvex
