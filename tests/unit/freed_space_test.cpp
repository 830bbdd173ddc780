// The free-space figures behind the completion message.
#include <gtest/gtest.h>

#include "fakes/FakeSystem.h"
#include "fakes/FakeToolkit.h"
#include "system/FreedSpace.h"

namespace {

using namespace olvex;

TEST(FreedSpace, ArithmeticAndFailures) {
    fakes::FakeSystem system;
    auto freed = [&](std::vector<uint64_t> figures, bool afterFails = false) {
        system.freeFigures = figures;
        FreedSpaceReport report(system, "C:\\");
        report.MeasureBefore();
        if (afterFails) system.freeFigures.clear();
        report.MeasureAfter();
        return report.Freed();
    };
    EXPECT_EQ(freed({100, 1234567 + 100}), 1234567);
    EXPECT_EQ(freed({5000, 1000}), 0) << "space taken by others during the run is no loss";
    EXPECT_EQ(freed({UINT64_MAX, 0}), 0);
    EXPECT_EQ(freed({0, UINT64_MAX}), INT64_MAX);
    EXPECT_EQ(freed({5000}, true), 0) << "a failed second measurement reports 0";
    EXPECT_EQ(freed({}), 0) << "a failed first measurement reports 0, not the free space";
    EXPECT_EQ(FreedMessage(1234567), "Done Cleaning!! OLVEX CLEANER has freed 1234567 bytes");
    EXPECT_EQ(FreedMessage(0), "Done Cleaning!! OLVEX CLEANER has freed 0 bytes");
}

TEST(FreedSpace, FailedFirstMeasurementReportsZeroEvenWhenTheSecondSucceeds) {
    fakes::FakeSystem system;
    fakes::FakeToolkit toolkit;
    system.freeScript = {std::nullopt, 9000000};
    FreedSpaceReport report(system, "C:\\");
    report.MeasureBefore();
    report.MeasureAfter();
    report.Show(toolkit);
    ASSERT_EQ(toolkit.boxes.size(), 1u);
    EXPECT_EQ(toolkit.boxes[0].text, FreedMessage(0));
}

}  // namespace
