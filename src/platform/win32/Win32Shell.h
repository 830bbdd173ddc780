#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

class Win32Shell : public Shell {
  public:
    std::optional<std::string> SpecialFolderPath(int csidl) override;
    std::optional<std::string> LibraryFolderPath(int csidl) override;
    void Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                 int showCommand) override;
    long EmptyRecycleBin(uintptr_t owner) override;
    bool QueryRecycleBin(const std::string& root, uint64_t& items, uint64_t& bytes) override;
    void UpdateRecycleBinIcon() override;
    void ClearUrlHistory() override;
};

}  // namespace platform::win32
