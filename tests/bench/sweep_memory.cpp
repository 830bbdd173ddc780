// What the sweep itself holds while it empties a folder, whatever the system underneath keeps:
// the portable sweep and deletion guard, run natively on a folder whose listing is made up as
// it is read and never stored. Every allocation of the program's logic goes through the
// counting operator new of counting_new.cpp, so the peak is the logic's own. Not a test: it
// prints figures and judges them against the aim.
//
//   sweep_memory             the peak bytes for folders of 0, 20,000 and 300,000 files, straight
//                            in the swept folder and in a subfolder of it (removed whole), and
//                            for chains of 500 and 2,000 levels (what each level costs)
//
// Aim: at 300,000 files the peak within 4 MB of the empty folder's, in both layouts.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "cleaning/FolderSweep.h"
#include "counting_new.h"
#include "platform/Platform.h"

namespace {

using platform::FindEntry;

std::string NameOf(size_t i) {
    char name[32];
    std::snprintf(name, sizeof name, "file%06zu.tmp", i);
    return name;
}

// Entries made up as they are read: nothing of the listing is stored.
class MadeUpListing : public platform::Finder {
  public:
    MadeUpListing(size_t files, bool subfolder) : files_(files), subfolder_(subfolder) {}
    bool Next(FindEntry& entry) override {
        if (subfolder_) {
            if (done_) return false;
            done_ = true;
            entry = FindEntry{"many", platform::kAttrDirectory, 0, 1};
            return true;
        }
        if (next_ == files_) return false;
        entry = FindEntry{NameOf(next_++), platform::kAttrArchive, 100, 0};
        return true;
    }

  private:
    size_t files_;
    bool subfolder_;
    size_t next_ = 0;
    bool done_ = false;
};

// What both made-up folders do alike: deleting a file counts it, and nothing is registered.
class CountingFolder : public platform::OpenedFolder {
  public:
    explicit CountingFolder(size_t& deleted) : deleted_(deleted) {}
    virtual platform::Move MoveInto(platform::OpenedFolder& parent,
                                    const std::string& name) override = 0;
    platform::Deletion DeleteListedFile(const FindEntry&, platform::AgeCheck*) override {
        ++deleted_;
        return platform::Deletion::Deleted;
    }
    platform::Deletion ProbeDeletion(const FindEntry&, platform::AgeCheck*) override {
        return platform::Deletion::Deleted;
    }
    std::optional<FindEntry> Lookup(const std::string&) override { return std::nullopt; }
    platform::FileIdentity Identity() override { return {}; }
    platform::FileIdentity IdentityOf(const FindEntry&) override { return {}; }
    bool IsListedFile(const FindEntry&) override { return true; }
    bool DeleteAtRestart(const FindEntry&) override { return false; }
    platform::Deletion ReplaceListedFile(const FindEntry&, const std::string&) override {
        return platform::Deletion::Refused;
    }
    platform::FolderOwner Owner() override { return platform::FolderOwner::Unknown; }
    bool RemoveEmpty() override { return true; }
    platform::WriteOpening OpenOwnFile(const std::string&) override {
        return platform::WriteRefusal::Failed;
    }

  protected:
    size_t& deleted_;
};

// A folder of `files` files, or (with subfolder) of one folder holding them.
class MadeUpFolder : public CountingFolder {
  public:
    MadeUpFolder(size_t files, bool subfolder, size_t& deleted)
        : CountingFolder(deleted), files_(files), subfolder_(subfolder) {}
    std::unique_ptr<platform::Finder> Entries() override {
        return std::make_unique<MadeUpListing>(removed_ ? 0 : files_, subfolder_ && !removed_);
    }
    platform::Opening OpenListedFolder(const FindEntry& entry, platform::Hold) override {
        if (entry.name == "T")
            return {std::make_unique<MadeUpFolder>(files_, subfolder_, deleted_)};
        if (entry.name != "many" || removed_) return platform::OpenRefusal::NotThere;
        removed_ = true;  // once removed whole, the subfolder is not there to visit
        return {std::make_unique<MadeUpFolder>(files_, false, deleted_)};
    }
    platform::Move MoveInto(platform::OpenedFolder&, const std::string&) override {
        return platform::Move::Refused;
    }

  private:
    size_t files_;
    bool subfolder_;
    bool removed_ = false;
};

// One folder in each of `levels` levels below T\chain, with a file at the bottom.
class ChainFolder : public CountingFolder {
  public:
    ChainFolder(size_t below, size_t& deleted) : CountingFolder(deleted), below_(below) {}
    std::unique_ptr<platform::Finder> Entries() override {
        return std::make_unique<MadeUpListing>(below_ == 0 ? 1 : 0, below_ > 0 && !gone_);
    }
    platform::Opening OpenListedFolder(const FindEntry&, platform::Hold) override {
        if (below_ == 0 || gone_) return platform::OpenRefusal::NotThere;
        gone_ = true;
        return {std::make_unique<ChainFolder>(below_ - 1, deleted_)};
    }
    platform::Move MoveInto(platform::OpenedFolder&, const std::string&) override {
        return platform::Move::Moved;
    }

  private:
    size_t below_;
    bool gone_ = false;
};

class MadeUpFileSystem : public platform::FileSystem {
  public:
    MadeUpFileSystem(size_t files, bool subfolder) : files_(files), subfolder_(subfolder) {}
    std::unique_ptr<platform::Finder> Find(const std::string&) override { return nullptr; }
    uint32_t GetAttributes(const std::string&) override { return platform::kAttrDirectory; }
    platform::Opening OpenRoot(const std::string&) override {
        if (chain) return {std::make_unique<ChainFolder>(levels, deleted)};
        return {std::make_unique<MadeUpFolder>(files_, subfolder_, deleted)};
    }
    platform::DriveKind KindOfDrive(const std::string&) override {
        return platform::DriveKind::LocalFixed;
    }
    std::vector<std::string> FixedDriveRoots() override { return {"C:\\"}; }
    std::string FullPath(const std::string& path) override { return path; }
    std::unique_ptr<platform::ReadFile> OpenForReading(const std::string&) override {
        return nullptr;
    }
    platform::FileHold HoldOf(const std::string&, platform::HoldProbe) override { return platform::FileHold::Absent; }
    bool chain = false;
    size_t levels = 0;
    size_t deleted = 0;

  private:
    size_t files_;
    bool subfolder_;
};

// The changes of a sweep of made-up folders: made through them, as the system's would be.
class MadeUpChanges : public platform::Changes {
  public:
    platform::Deletion DeleteListedFile(platform::OpenedFolder& folder, const FindEntry& entry,
                                        platform::AgeCheck* age) override {
        return static_cast<CountingFolder&>(folder).DeleteListedFile(entry, age);
    }
    bool DeleteAtRestart(platform::OpenedFolder&, const FindEntry&) override { return false; }
    platform::Deletion ReplaceListedFile(platform::OpenedFolder&, const FindEntry&,
                                         const std::string&) override {
        return platform::Deletion::Refused;
    }
    bool RemoveEmpty(platform::OpenedFolder&) override { return true; }
    bool MovesFolders() const override { return true; }
    platform::Move MoveInto(platform::OpenedFolder& folder, platform::OpenedFolder& parent,
                            const std::string& name) override {
        return static_cast<CountingFolder&>(folder).MoveInto(parent, name);
    }
    long EmptyRecycleBin(uintptr_t) override { return 0; }
    void UpdateRecycleBinIcon() override {}
    void ClearUrlHistory() override {}
    bool DeleteUrlCacheEntry(const std::string&, platform::SystemCode*) override { return false; }
};

// Sweeps the made-up folder C:\T of system, as a category would.
void SweepT(MadeUpFileSystem& system) {
    MadeUpChanges changes;
    olvex::SweepFolder(system, "C:\\T", {&changes, "*.*", "", olvex::AtRestart::Never});
}

// The peak bytes the sweep of such a folder allocates beyond what was in use before it.
size_t PeakOfSweep(size_t files, bool subfolder) {
    MadeUpFileSystem system(files, subfolder);
    const size_t before = bench::InUse();
    bench::StartPeak();
    SweepT(system);
    if (system.deleted != files) {
        std::fprintf(stderr, "deleted %zu of %zu files\n", system.deleted, files);
        std::exit(1);
    }
    return bench::Peak() - before;
}

// The same for a chain of folders: the root's one subfolder starts it, every level holds one
// folder (moved up every 31 levels, as the guard does deep ones) and the bottom one file.
size_t PeakOfChain(size_t levels) {
    MadeUpFileSystem system(0, false);
    system.chain = true;
    system.levels = levels + 2;  // the root, then the swept folder T, then the chain
    const size_t before = bench::InUse();
    bench::StartPeak();
    SweepT(system);
    if (system.deleted != 1) {
        std::fprintf(stderr, "the chain's bottom file was not deleted\n");
        std::exit(1);
    }
    return bench::Peak() - before;
}

}  // namespace

int main() {
    constexpr double kAimBytes = 4.0 * 1024 * 1024;
    bool met = true;
    for (bool subfolder : {false, true}) {
        const size_t empty = PeakOfSweep(0, subfolder);
        for (size_t files : {size_t{20000}, size_t{300000}}) {
            const size_t bytes = PeakOfSweep(files, subfolder);
            std::printf("%-24s %7zu files: peak %8zu bytes, %+zd beyond the empty folder's\n",
                        subfolder ? "in a subfolder," : "straight in the folder,", files, bytes,
                        static_cast<ssize_t>(bytes) - static_cast<ssize_t>(empty));
            if (files == 300000) met = met && bytes - empty <= kAimBytes;
        }
    }
    for (size_t levels : {size_t{500}, size_t{2000}})
        std::printf("a chain of %zu levels: peak %zu bytes, %zu a level\n", levels,
                    PeakOfChain(levels), PeakOfChain(levels) / levels);
    std::printf("peak at 300,000 files within 4 MB of an empty folder's: %s\n",
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
