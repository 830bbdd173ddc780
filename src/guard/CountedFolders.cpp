#include "guard/CountedFolders.h"

#include "guard/PathRules.h"

namespace olvex {

std::string CountedFolders::Key(const std::string& path) {
    std::string key = TidyPath(path);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

const CountedFolders::Count* CountedFolders::Find(const std::string& path) const {
    const auto found = folders_.find(Key(path));
    return found == folders_.end() ? nullptr : &found->second;
}

void CountedFolders::Add(const std::string& path) {
    folders_.emplace(Key(path), Count{});
}

void CountedFolders::Removed(const std::string& path) {
    folders_[Key(path)].removed = true;
}

void CountedFolders::Keeps(const std::string& path) {
    folders_[Key(path)].keeps = true;
}

void CountedFolders::CountFile(const std::string& path) {
    files_.insert(Key(path));
}

bool CountedFolders::HasFile(const std::string& path) const {
    return files_.count(Key(path)) != 0;
}

}  // namespace olvex
