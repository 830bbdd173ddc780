#pragma once
// The folders a preview has counted. A clean deletes a file once, however many steps reach
// its folder (All Users Temp reaches the cache index folder as a folder of its own and again
// inside the cache folder); a preview deletes nothing, so the second step would find it all
// again. It remembers folders, and of files only those the cache purge hands to the Internet
// library, which it keeps a list of anyway: memory grows with the folders and the cache.
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace olvex {

class CountedFolders {
  public:
    // How a folder was counted.
    struct Count {
        bool removed = false;  // the folder itself would go
        bool keeps = false;    // something in it, or below it, would stay
    };

    // The count of the folder at path, or nullptr when it was not counted yet.
    const Count* Find(const std::string& path) const;
    // Counts the folder at path (once): what it holds would go, or stay as told later.
    void Add(const std::string& path);
    // The folder at path would go, with everything in it.
    void Removed(const std::string& path);
    // Something stays in the folder at path: it cannot be removed.
    void Keeps(const std::string& path);

    // The file at path goes with its cache entry, before any step meets it in its folder.
    void CountFile(const std::string& path);
    bool HasFile(const std::string& path) const;
    bool AnyFiles() const { return !files_.empty(); }

  private:
    static std::string Key(const std::string& path);
    std::unordered_map<std::string, Count> folders_;
    std::unordered_set<std::string> files_;
};

}  // namespace olvex
