// The free-space figures behind the completion message.
#include <gtest/gtest.h>

#include "cleaning/FreedSpace.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeToolkit.h"

namespace {

TEST(FreedSpace, FailedFirstMeasurementReportsZeroEvenWhenTheSecondSucceeds) {
    fakes::FakeSystem system;
    fakes::FakeToolkit toolkit;
    system.freeScript = {std::nullopt, 9000000};
    olvex::FreedSpaceReport report(system, "C:\\");
    report.MeasureBefore();
    report.MeasureAfter();
    report.Show(toolkit);
    ASSERT_EQ(toolkit.boxes.size(), 1u);
    EXPECT_EQ(toolkit.boxes[0].text, olvex::FreedMessage(0));
}

}  // namespace
