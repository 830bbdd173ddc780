#pragma once
// The two ways this program holds a folder open for deleting inside it.
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace platform::win32 {

// The NT family: the folder is a handle opened without following a reparse point, and
// every entry is opened relative to it by its listed name, taken literally, checked on
// that handle to sit where it was listed, and deleted through it. The cost of an entry
// does not depend on how deep its folder lies.
std::unique_ptr<OpenedFolder> OpenHandleFolder(const std::string& path);

// Windows 95, 98 and ME, whose volumes hold no links and whose calls take paths: the
// folder is its path, and every entry is checked by the attributes those calls return.
std::unique_ptr<OpenedFolder> OpenPathFolder(const std::string& path);

}  // namespace platform::win32
