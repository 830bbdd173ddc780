#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

// Files through the wide calls on the NT family and the ANSI ones on 95, 98 and ME. Nothing
// here deletes by path: deleting goes through an opened folder (OpenedFolders.h).
class Win32FileSystem : public FileSystem {
  public:
    std::unique_ptr<Finder> Find(const std::string& pattern) override;
    uint32_t GetAttributes(const std::string& path) override;
    Opening OpenRoot(const std::string& root) override;
    DriveKind KindOfDrive(const std::string& root) override;
    std::vector<std::string> FixedDriveRoots() override;
    std::string FullPath(const std::string& path) override;
    std::unique_ptr<ReadFile> OpenForReading(const std::string& path) override;
    FileHold HoldOf(const std::string& path, HoldProbe probe) override;
};

}  // namespace platform::win32
