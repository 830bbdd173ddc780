#pragma once
// The folder operations of the scripting runtime's file-system object, on our own file
// layer: the platform's own object follows symbolic links when it deletes a folder.
#include <string>

#include "platform/Platform.h"

namespace olvex {

class FileSystemObject {
  public:
    explicit FileSystemObject(platform::FileSystem& files) : files_(files) {}

    bool FolderExists(const std::string& path);

    // Deletes the folder with everything in it, hidden and system files included. Stops
    // with run-time error 70 at the first entry it cannot remove (a read-only or locked
    // file, a link or junction, which is never followed); what it removed before stays
    // removed. Error 76 when there is no such folder. Works without recursion, so any
    // depth of folders is fine.
    void DeleteFolder(const std::string& path);

  private:
    platform::FileSystem& files_;
};

}  // namespace olvex
