#pragma once
// The operating system as the program's logic sees it, one header for each kind of call. The
// real implementation lives in win32/; unit tests use in-memory fakes. Strings are UTF-8.
#include "platform/Changes.h"
#include "platform/Databases.h"
#include "platform/Errors.h"
#include "platform/FileEntries.h"
#include "platform/FileSystem.h"
#include "platform/Memory.h"
#include "platform/OpenFiles.h"
#include "platform/OpenedFolder.h"
#include "platform/Profiles.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/UrlCache.h"
