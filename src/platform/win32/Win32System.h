#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

class Win32System : public System {
  public:
    bool QueryVersion(VersionRecord& record) override;
    uint32_t WindowsDirectory(char* buffer, uint32_t size) override;
    bool UserName(char* buffer, uint32_t* size) override;
    int IsNTAdmin() override;
    bool DiskFreeSpace(const std::string& root, uint64_t& freeToCaller) override;
    std::optional<std::string> EnvironmentVariable(const std::string& name) override;
    std::optional<std::string> MachineSetting(const std::string& key,
                                              const std::string& value) override;
    std::optional<std::string> ProfilesDirectory() override;
    std::string ComputerName() override;
    std::string ProgramFolder() override;
    uint64_t CurrentTime() override;
};

}  // namespace platform::win32
