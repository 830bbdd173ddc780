#pragma once
// How much disk space a cleaning run gave back, and the message that says so.
#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "ui/Toolkit.h"

namespace olvex {

constexpr const char* kDoneTitle = "Done";
constexpr const char* kDonePlain = "Done Cleaning!! ";      // Windows 98 main window
constexpr const char* kDoneBrowsers98 = "Done Cleaning!!";  // Windows 98 browser windows

// "Done Cleaning!! OLVEX CLEANER has freed <digits> bytes".
std::string FreedMessage(int64_t freed);

// Free space of the system drive before and after a run. A measurement that fails writes
// no figure: a failed "after" keeps the "before" figure, and after a failed "before" the
// report says 0 bytes.
class FreedSpaceReport {
  public:
    FreedSpaceReport(platform::System& system, std::string driveRoot)
        : system_(system), root_(std::move(driveRoot)) {}
    void MeasureBefore();
    void MeasureAfter();
    // 0 when the free space shrank: other programs wrote more than the run deleted, and
    // a negative figure would tell the user the cleaning took space.
    int64_t Freed() const {
        if (after_ <= before_) return 0;
        return static_cast<int64_t>(std::min<uint64_t>(after_ - before_, INT64_MAX));
    }
    // The completion message, OK only, titled "Done".
    void Show(ui::Toolkit& toolkit) const;

  private:
    platform::System& system_;
    std::string root_;
    uint64_t before_ = 0;
    uint64_t after_ = 0;
    bool measured_ = false;
};

}  // namespace olvex
