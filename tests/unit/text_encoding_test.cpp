// UTF-8 and UTF-16 at the system's edge, and how a settings file's value is read.
#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

namespace {

using platform::IsValidUtf8;
using platform::SettingsFileText;
using platform::Utf16FromUtf8;
using platform::Utf8FromUtf16;

TEST(TextEncoding, RoundTripsEveryPlaneAndKeepsNamesExact) {
    // Latin, Cyrillic, Japanese and a character beyond the first plane (a surrogate pair).
    const std::string names =
        "Jos\xC3\xA9 \xD0\x96\xD0\xB0\xD0\xBD\xD0\xBD\xD0\xB0 "
        "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
    const std::u16string wide = Utf16FromUtf8(names);
    EXPECT_EQ(wide, u"Jos\u00E9 \u0416\u0430\u043D\u043D\u0430 \u65E5\u672C \U0001F600");
    EXPECT_EQ(Utf8FromUtf16(wide), names);
}

TEST(TextEncoding, TellsUtf8FromCodePageBytes) {
    EXPECT_TRUE(IsValidUtf8("Profiles/ab12cd34.default"));
    EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));           // "café" in Windows-1252
    EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(TextEncoding, MalformedInputBecomesReplacementNotAnotherName) {
    // A stray byte must not turn into a separator or vanish: either would name another file.
    EXPECT_EQ(Utf16FromUtf8("a\xC0\xAF"
                            "b"),
              u"a\uFFFD\uFFFDb");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(u"x") + char16_t(0xD800) + u"y"), "x\xEF\xBF\xBDy");
}

TEST(TextEncoding, SettingsValueIsUtf8WhenItCanBeElseTheCodePage) {
    int asked = 0;
    auto fromAnsi = [&](const std::string& bytes) {
        ++asked;
        return "<" + bytes + ">";
    };
    EXPECT_EQ(SettingsFileText("Profiles/\xD0\xBA.default", fromAnsi), "Profiles/\xD0\xBA.default");
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(SettingsFileText("Profiles/caf\xE9.default", fromAnsi), "<Profiles/caf\xE9.default>");
    EXPECT_EQ(asked, 1);
}

}  // namespace
