#pragma once
// Small text helpers the console program's reports share.
#include <string>

namespace olvex {

// Text with the line ends of Windows (CR LF for each LF).
std::string WindowsLines(const std::string& text);

// The texts of a container, one blank between each two.
template <class Texts>
std::string Joined(const Texts& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : " ") + text;
    return joined;
}

}  // namespace olvex
