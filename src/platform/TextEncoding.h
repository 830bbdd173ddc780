#pragma once
// UTF-8, the program's own text, and UTF-16, the system's wide text. Written here rather than
// taken from the system: not every Windows the program runs on converts UTF-8, and the same
// rules must hold in the unit tests.
#include <string>
#include <string_view>

namespace platform {

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Each malformed sequence (or lone surrogate) becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);

// Text read from a settings file that other programs write in UTF-8 and people edit in the
// ANSI code page: bytes that are valid UTF-8 are taken as such, any others are converted
// from the code page by fromAnsi.
template <class FromAnsi>
std::string SettingsFileText(const std::string& bytes, FromAnsi&& fromAnsi) {
    return IsValidUtf8(bytes) ? bytes : fromAnsi(bytes);
}

}  // namespace platform
