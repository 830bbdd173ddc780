#pragma once
// The line on a console window that tells how far a category has come, rewritten in place at
// most four times a second and wiped before anything else is written.
#include <cstdint>
#include <string>

#include "platform/Console.h"

namespace olvex {

class ProgressLine {
  public:
    // Shown only when shown is true (a console window, and no list of paths on it).
    ProgressLine(platform::Console& console, bool shown) : console_(console), shown_(shown) {}

    // A category starts: the first line comes only once it has taken a while.
    void Restart();
    // Where the category is now, if it is time to say so.
    void Tell(const std::string& id, uint64_t items, uint64_t bytes);
    // Wipes the line, if one is there.
    void Clear();

  private:
    platform::Console& console_;
    bool shown_;
    bool onScreen_ = false;
    uint64_t last_ = 0;
};

}  // namespace olvex
