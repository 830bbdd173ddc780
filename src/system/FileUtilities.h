#pragma once
// Small file-system routines of the windows. None of them stops the program: each one
// ignores the failure of its file-system call or reports it in the library error box.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "guard/CleaningSink.h"
#include "system/LibraryErrorBox.h"
#include "system/Services.h"

namespace olvex {

// Lookup of the names a pattern matches, filtered by an attribute mask: an entry matches
// when each of its hidden, system and directory bits is also in the mask (read-only
// never filters). Yields names without folder, then "".
class NameLookup {
  public:
    NameLookup(platform::FileSystem& files, const std::string& pattern, uint32_t mask);
    std::string Next();
    // Attributes of the entry that Next returned last.
    uint32_t Attributes() const { return entry_.attributes; }
    // The entry that Next returned last.
    const platform::FindEntry& Entry() const { return entry_; }

  private:
    std::unique_ptr<platform::Finder> finder_;
    uint32_t mask_;
    platform::FindEntry entry_;
};

bool DirExists(Services& services, const std::string& path);
// The bytes of a small file a browser keeps (its settings, its cookies as text); nothing when
// it cannot be opened. Throws RuntimeError when reading fails or the file holds more than
// largest bytes: it is then not the file its name tells.
std::optional<std::string> ReadSmallFile(platform::FileSystem& files, const std::string& path,
                                         size_t largest);
bool IsAttrSet(platform::FileSystem& files, const std::string& path, uint32_t mask);
// The subfolders of path; a failure shows the library error box and is told to sink.
int16_t SubDirsToArray(Services& services, std::string& path, std::vector<std::string>& names,
                       bool includeReadOnly, bool includeHidden, bool includeSystem,
                       CleaningSink& sink = SilentSink());

}  // namespace olvex
