#include "guard/RunFilter.h"

#include "guard/CleaningSink.h"

namespace olvex {

namespace {
constexpr uint64_t kFileTimeStepsPerDay = 24ULL * 60 * 60 * 10'000'000;
// 1 January 1980, the first time a FAT volume can hold: anything earlier was never written.
constexpr uint64_t kFirstFatTime = 119'600'064'000'000'000ULL;
// A clock a little ahead (another computer's, on a share; FAT's local times around a change
// of summer time) makes a time of a moment ago read as a little in the future; further ahead
// is no time a file was written at.
constexpr uint64_t kClockSlack = kFileTimeStepsPerDay;
}  // namespace

void RunFilter::KeepRecent(uint64_t now, uint32_t days) {
    const uint64_t span = days * kFileTimeStepsPerDay;
    now_ = now;
    recentSince_ = now > span ? now - span : 1;
    recentReason_ = "written in the last " + std::to_string(days) + (days == 1 ? " day" : " days");
}

void RunFilter::Keep(const ResolvedPath& path, const char* why) {
    kept_[path.identity] = why;
    holders_.insert(path.above.begin(), path.above.end());
    if (!path.folder && !path.above.empty()) fileHolders_.insert(path.above.back());
    if (!path.above.empty())
        names_.insert({path.above.back(), path.path.substr(path.path.find_last_of('\\') + 1)});
}

bool RunFilter::MayBeNamed(const platform::FileIdentity& folder, const std::string& name) const {
    return !folder.Known() || names_.count({folder, name}) != 0;
}

void RunFilter::Exclude(const ResolvedPath& path) {
    excludes_ = true;
    Keep(path, reason::kExcluded);
}

void RunFilter::KeepOwnFile(const ResolvedPath& path) {
    Keep(path, reason::kOwnLog);
}

void RunFilter::KeepCookieFile(const ResolvedPath& path) {
    Keep(path, reason::kKeptCookie);
}

const char* RunFilter::Keeps(uint64_t writeTime) const {
    if (recentSince_ == 0) return nullptr;
    if (writeTime < kFirstFatTime || writeTime > now_ + kClockSlack) return reason::kUnknownAge;
    return writeTime >= recentSince_ ? recentReason_.c_str() : nullptr;
}

const char* RunFilter::KeepsItself(const platform::FileIdentity& identity) const {
    const auto it = kept_.find(identity);
    return it == kept_.end() ? nullptr : it->second;
}

bool RunFilter::HoldsKept(const platform::FileIdentity& folder) const {
    return holders_.count(folder) != 0;
}

bool RunFilter::HoldsKeptFile(const platform::FileIdentity& folder) const {
    return fileHolders_.count(folder) != 0;
}

const char* RunFilter::KeepsAnyOf(const std::vector<platform::FileIdentity>& folders) const {
    for (const platform::FileIdentity& folder : folders)
        if (const char* why = KeepsItself(folder)) return why;
    return nullptr;
}

bool RunFilter::IsItsReason(const char* why) const {
    const std::string text = why;
    return text == reason::kOwnLog || text == reason::kExcluded || text == reason::kKeptCookie ||
           (recentSince_ != 0 && text == recentReason_);
}

}  // namespace olvex
