#include "console/ProgressLine.h"

#include "console/ReportTotals.h"

namespace olvex {

using platform::Stream;

namespace {
constexpr uint64_t kProgressEveryMs = 250;
constexpr size_t kProgressWidth = 79;
}  // namespace

void ProgressLine::Restart() {
    if (shown_) last_ = console_.Ticks();
}

void ProgressLine::Tell(const std::string& id, uint64_t items, uint64_t bytes) {
    if (!shown_) return;
    const uint64_t now = console_.Ticks();
    if (now - last_ < kProgressEveryMs) return;
    last_ = now;
    std::string line = id + ": " + Count(items, "item", "items") + ", " +
                       Count(bytes, "byte", "bytes");
    line.resize(kProgressWidth, ' ');
    console_.Write(Stream::Err, "\r" + line + "\r");
    onScreen_ = true;
}

void ProgressLine::Clear() {
    if (!onScreen_) return;
    console_.Write(Stream::Err, "\r" + std::string(kProgressWidth, ' ') + "\r");
    onScreen_ = false;
}

}  // namespace olvex
