#pragma once
// The system and the toolkit, as the routine libraries and the windows reach them.
#include "platform/Platform.h"
#include "ui/Toolkit.h"

namespace olvex {

struct Services {
    platform::System& system;
    platform::Shell& shell;
    platform::FileSystem& files;
    ui::Toolkit& toolkit;
    platform::ProfileReader& profiles;
    platform::UrlCache& urlCache;
    platform::Memory& memory;
    // The browsers' databases, through SQLite; nullptr where no build carries the library.
    platform::Databases* databases = nullptr;
};

}  // namespace olvex
