#include "console/ConsoleText.h"

namespace olvex {

std::string WindowsLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n') lines += '\r';
        lines += c;
    }
    return lines;
}

}  // namespace olvex
