#include "system/RunFilter.h"

#include "system/CleaningSink.h"
#include "system/PathRules.h"

namespace olvex {

namespace {
constexpr uint64_t kFileTimeStepsPerDay = 24ULL * 60 * 60 * 10'000'000;
}  // namespace

void RunFilter::KeepRecent(uint64_t now, uint32_t days) {
    const uint64_t span = days * kFileTimeStepsPerDay;
    recentSince_ = now > span ? now - span : 1;
    recentReason_ = "written in the last " + std::to_string(days) + (days == 1 ? " day" : " days");
}

void RunFilter::Exclude(const std::string& path) {
    excluded_.push_back(TidyPath(path));
}

void RunFilter::KeepOwnFile(const std::string& path) {
    ownFile_ = TidyPath(path);
}

const char* RunFilter::KeepsFile(const std::string& folder, const platform::FindEntry& entry,
                                 bool pathsInside) const {
    if (pathsInside) {
        const std::string path = folder + entry.name;
        if (!ownFile_.empty() && IsSamePath(path, ownFile_)) return reason::kOwnLog;
        if (const char* why = KeepsFolder(path)) return why;
    }
    if (entry.writeTime >= recentSince_ && recentSince_ != 0) return recentReason_.c_str();
    return nullptr;
}

const char* RunFilter::KeepsFolder(const std::string& path) const {
    for (const std::string& excluded : excluded_)
        if (IsSamePath(path, excluded) || LiesInside(path, excluded)) return reason::kExcluded;
    return nullptr;
}

bool RunFilter::IsItsReason(const char* why) const {
    const std::string text = why;
    return text == reason::kOwnLog || text == reason::kExcluded ||
           (recentSince_ != 0 && text == recentReason_);
}

bool RunFilter::MayHoldKeptPath(const std::string& path) const {
    if (!ownFile_.empty() && LiesInside(ownFile_, path)) return true;
    for (const std::string& excluded : excluded_)
        if (LiesInside(excluded, path)) return true;
    return false;
}

}  // namespace olvex
