#pragma once
// Where the console program writes a file of its own (its log, a page): the file's folder,
// reached as start folders are, folder by folder from its root with no link on the way, and
// the file's name in it, which the folder opens without following a link.
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace olvex {

struct OwnFilePlace {
    std::unique_ptr<platform::OpenedFolder> folder;  // nullptr when it cannot be reached
    std::string name;                                // the file's name in folder
    std::string path;                                // the file's full path
    std::string why;                                 // why not, when there is no folder
};

// path is relative to the current folder, or full.
OwnFilePlace PlaceOf(platform::FileSystem& files, const std::string& path);

// The program's own file at place, opened for writing at its end, or why not. Whatever a name
// leads to, only a file of the program's own is written to: one that holds anything must start
// as startsAsOwn says of its first headBytes bytes.
struct OwnFileOpening {
    std::unique_ptr<platform::AppendFile> file;
    bool busy = false;  // another program writes to it: asking again later may do
    std::string why;    // when there is no file
};
OwnFileOpening OpenOwnFile(OwnFilePlace& place, size_t headBytes,
                           bool (*startsAsOwn)(const std::string& head));

}  // namespace olvex
