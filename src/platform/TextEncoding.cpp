#include "platform/TextEncoding.h"

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one character at text[at], advancing at; false (at moved by one byte) when the
// bytes there are not a well-formed sequence.
bool DecodeOne(std::string_view text, size_t& at, char32_t& out) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        out = lead;
        ++at;
        return true;
    }
    int extra;
    char32_t min;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, min = 0x80, out = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, min = 0x800, out = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, min = 0x10000, out = lead & 0x07;
    } else {
        ++at;
        return false;
    }
    if (text.size() - at <= static_cast<size_t>(extra)) {
        ++at;
        return false;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return false;
        }
        out = (out << 6) | (next & 0x3F);
    }
    if (out < min || out > 0x10FFFF || (out >= 0xD800 && out <= 0xDFFF)) {
        ++at;
        return false;
    }
    at += static_cast<size_t>(extra) + 1;
    return true;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    char32_t c;
    for (size_t at = 0; at < text.size();)
        if (!DecodeOne(text, at, c)) return false;
    return true;
}

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        if (!DecodeOne(text, at, c)) c = kReplacement;
        if (c >= 0x10000) {
            c -= 0x10000;
            wide += static_cast<char16_t>(0xD800 + (c >> 10));
            wide += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            wide += static_cast<char16_t>(c);
        }
    }
    return wide;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        char32_t c = text[at];
        if (c >= 0xD800 && c <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++at] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

}  // namespace platform
