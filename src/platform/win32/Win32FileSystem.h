#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

// Files through the wide calls, so that every name is addressed exactly and paths may be
// longer than the classic limit. An entry that is a reparse point (a symbolic link or a
// junction) is never deleted or removed: doing so would reach whatever it points to.
class Win32FileSystem : public FileSystem {
  public:
    std::unique_ptr<Finder> Find(const std::string& pattern) override;
    uint32_t GetAttributes(const std::string& path) override;
    bool Delete(const std::string& path, uint32_t knownAttributes) override;
    bool RemoveFolder(const std::string& path) override;
    bool DeleteAtRestart(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to) override;
    std::string CreateTempFile() override;
};

}  // namespace platform::win32
