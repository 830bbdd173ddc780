#pragma once
// Special folders from a table; opened addresses recorded.
#include <map>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace fakes {

struct Executed {
    uintptr_t owner;
    std::string operation;
    std::string file;
    int showCommand;
};

class FakeShell : public platform::Shell {
  public:
    // The NT layout of a user Jo.
    FakeShell() {
        folders[0x1A] = "C:\\Documents and Settings\\Jo\\Application Data";
        folders[0x1C] = "C:\\Documents and Settings\\Jo\\Local Settings\\Application Data";
        folders[0x20] = "C:\\Documents and Settings\\Jo\\Local Settings\\Temporary Internet Files";
        folders[0x21] = "C:\\Documents and Settings\\Jo\\Cookies";
        folders[0x22] = "C:\\Documents and Settings\\Jo\\Local Settings\\History";
        folders[0x26] = "C:\\Program Files";
        folders[0x28] = "C:\\Documents and Settings\\Jo";
    }
    std::optional<std::string> SpecialFolderPath(int csidl) override {
        auto it = folders.find(csidl);
        if (it == folders.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::string> LibraryFolderPath(int csidl) override {
        auto it = libraryFolders.find(csidl);
        if (it == libraryFolders.end()) return std::nullopt;
        return it->second;
    }
    void Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                 int showCommand) override {
        executed.push_back({owner, operation, file, showCommand});
    }

    long EmptyRecycleBin(uintptr_t owner) override {
        recycleOwners.push_back(owner);
        return recycleResult;
    }
    // Windows 2000's shell refuses the root that stands for every drive (E_INVALIDARG); a
    // drive's own root it counts.
    bool QueryRecycleBin(const std::string& root, uint64_t& items, uint64_t& bytes) override {
        recycleRoots.push_back(root);
        if (root.empty()) {
            if (refusesAllDrivesRoot) return false;
            items = recycleItems;
            bytes = recycleBytes;
            for (const auto& [drive, held] : recycleByDrive) {
                items += held.first;
                bytes += held.second;
            }
            return true;
        }
        auto it = recycleByDrive.find(root);
        items = it == recycleByDrive.end() ? 0 : it->second.first;
        bytes = it == recycleByDrive.end() ? 0 : it->second.second;
        return true;
    }
    void UpdateRecycleBinIcon() override { ++iconUpdates; }
    void ClearUrlHistory() override {
        ++historyClears;
        if (historyFails)
            throw platform::RuntimeError("the history object did not clear",
                                         {platform::SystemCode::Kind::HResult, 0x80004001});
    }

    std::map<int, std::string> folders;
    std::map<int, std::string> libraryFolders;  // the folder library's answers: none installed
    std::vector<uintptr_t> recycleOwners;
    long recycleResult = 0;
    uint64_t recycleItems = 0, recycleBytes = 0;  // beyond those of recycleByDrive
    std::map<std::string, std::pair<uint64_t, uint64_t>> recycleByDrive;  // "C:\\": items, bytes
    bool refusesAllDrivesRoot = false;
    std::vector<std::string> recycleRoots;  // every root counted, in order
    int iconUpdates = 0;
    int historyClears = 0;
    bool historyFails = false;
    std::vector<Executed> executed;
};

}  // namespace fakes
