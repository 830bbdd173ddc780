#pragma once
// An in-memory file system with the listing and deletion rules of the platform: names match
// without regard to case, both separators work, listings come sorted by name with "." and
// "..", read-only and locked files cannot be deleted.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace fakes {

class FakeFileSystem : public platform::FileSystem {
  public:
    FakeFileSystem();

    void AddFolder(const std::string& path, uint32_t attributes = 0);
    void AddFile(const std::string& path, uint32_t attributes = platform::kAttrArchive,
                 const std::string& content = "");
    // A symbolic link or junction to a folder: listed as a folder with the reparse flag.
    void AddFolderLink(const std::string& path);
    std::string Content(const std::string& path) const;
    bool Exists(const std::string& path) const;
    void Lock(const std::string& path) { locked_.insert(Key(path)); }
    // Lookups on this drive (e.g. "A:") fail as on a drive without a disk.
    void SetNotReady(const std::string& drive) { notReady_.insert(Key(drive)); }

    std::unique_ptr<platform::Finder> Find(const std::string& pattern) override;
    uint32_t GetAttributes(const std::string& path) override;
    bool Delete(const std::string& path, uint32_t knownAttributes) override;
    bool RemoveFolder(const std::string& path) override;
    bool DeleteAtRestart(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to) override;
    std::string CreateTempFile() override;

    std::vector<std::string> deleted;   // paths as passed
    std::vector<std::string> patterns;  // every Find pattern, in order
    std::vector<std::string> removedFolders;
    std::vector<std::string> atRestart;
    std::string tempFolder = "C:\\Documents and Settings\\Jo\\Local Settings\\Temp";

    static std::string Key(const std::string& path);
    static bool Matches(const std::string& name, const std::string& wildcard);

  private:
    struct Node {
        std::string name;
        uint32_t attributes;
        std::string content;
    };
    const Node* Lookup(const std::string& key) const;
    void AddEntry(const std::string& path, uint32_t attributes, const std::string& content = "");
    int tempCount_ = 0;

    std::map<std::string, Node> nodes_;
    std::set<std::string> locked_;
    std::set<std::string> notReady_;
};

}  // namespace fakes
