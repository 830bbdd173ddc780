#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "platform/ReparsePoints.h"

namespace {

TEST(ReparsePoints, OnlyTheNtFamilyFrom2000OnHasThem) {
    const struct {
        const char* rule;
        bool read;
        uint32_t platformId, major;
        bool has;
    } cases[] = {
        {"NT 4.0 has none", true, 2, 4, false},
        {"2000 has them", true, 2, 5, true},
        {"a later NT has them", true, 2, 6, true},
        {"98 has none", true, 1, 4, false},
        {"a version not read counts as one that has them", false, 2, 4, true},
        {"a platform not known counts as one that has them", true, 3, 4, true},
    };
    for (const auto& c : cases) {
        platform::VersionRecord record;
        record.platformId = c.platformId;
        record.major = c.major;
        EXPECT_EQ(platform::SystemHasReparsePoints(c.read ? std::optional(record) : std::nullopt),
                  c.has)
            << c.rule;
    }
}

TEST(ReparsePoints, TheOptionGoesOnlyWhereNoReparsePointCanBe) {
    constexpr uint32_t kNtfs = 0x000700FF;  // reparse points, sparse files, quotas, ACLs, ...
    constexpr uint32_t kFat = 0x00000006;   // case kept, Unicode names
    const struct {
        const char* rule;
        bool systemHas;
        std::optional<uint32_t> volume;
        bool may;
    } cases[] = {
        {"a system without reparse points may drop it", false, std::nullopt, true},
        {"a volume that keeps none may drop it", true, kFat, true},
        {"a volume that keeps them never drops it", true, kNtfs, false},
        {"a volume that says it keeps them wins over the system", false, kNtfs, false},
        {"the reparse bit alone keeps it", true, 0x80, false},
        {"a volume not read keeps it where the system has them", true, std::nullopt, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::MayOpenWithoutReparseOption(c.systemHas, c.volume), c.may) << c.rule;
}

}  // namespace
