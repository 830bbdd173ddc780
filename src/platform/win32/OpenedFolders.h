#pragma once
// The two ways this program holds a folder open for deleting inside it.
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace platform::win32 {

// The NT family: a root ("C:", "\\\\server\\share") opened by handle; every folder below it is
// opened relative to the one above, without following a reparse point, by its listed name,
// taken literally, checked on that handle to sit where it was listed, and so is every entry
// deleted through it. The cost of an entry does not depend on how deep its folder lies.
Opening OpenHandleRoot(const std::string& root);

// Windows 95, 98 and ME, whose volumes hold no links and whose calls take paths: the
// folder is its path, and every entry is checked by the attributes those calls return.
Opening OpenPathRoot(const std::string& root);

}  // namespace platform::win32
