#include "system/FreedSpace.h"

namespace olvex {

std::string FreedMessage(int64_t freed) {
    return "Done Cleaning!! OLVEX CLEANER has freed " + std::to_string(freed) + " bytes";
}

void FreedSpaceReport::MeasureBefore() {
    uint64_t figure = 0;
    measured_ = !root_.empty() && system_.DiskFreeSpace(root_, figure);
    if (measured_) before_ = figure;
    after_ = before_;
}

void FreedSpaceReport::MeasureAfter() {
    uint64_t figure = 0;
    after_ = before_;
    // Without a "before" figure a difference would report the whole free space as freed.
    if (measured_ && system_.DiskFreeSpace(root_, figure)) after_ = figure;
}

void FreedSpaceReport::Show(ui::Toolkit& toolkit) const {
    toolkit.MsgBox(FreedMessage(Freed()), ui::kOkOnly, kDoneTitle);
}

}  // namespace olvex
