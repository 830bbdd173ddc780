#pragma once
// What a run keeps beyond the deletion guard's own rules, at the user's word: files written
// lately, paths excluded, and the run's own log. The guard asks it of every file and folder
// it would otherwise delete or remove; a folder goes only once nothing is kept in it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace olvex {

class RunFilter {
  public:
    // Files last written less than days days before now stay (now as file times are kept).
    void KeepRecent(uint64_t now, uint32_t days);
    // The file, or the folder with everything in it, at path stays. path is a full path.
    void Exclude(const std::string& path);
    // The run's own file (its log) stays wherever it lies, and is never registered.
    void KeepOwnFile(const std::string& path);

    // Whether it keeps anything at all.
    bool Active() const { return Filters() || !ownFile_.empty(); }
    // Whether the user asked to keep anything by age or path: the steps the system carries
    // out whole (the Recycle Bin, the history) cannot honour that.
    bool Filters() const { return recentSince_ != 0 || !excluded_.empty(); }

    // Why the listed file in folder (its path ending with a separator) stays; nullptr when
    // nothing here keeps it. pathsInside says whether a kept path may lie in the folder
    // (MayHoldKeptPath): when not, the file's path is not even composed.
    const char* KeepsFile(const std::string& folder, const platform::FindEntry& entry,
                          bool pathsInside) const;
    // Why the folder at path stays whole ("excluded"); nullptr when it is not excluded.
    const char* KeepsFolder(const std::string& path) const;
    // Whether an excluded path or the run's own file lies inside the folder at path.
    bool MayHoldKeptPath(const std::string& path) const;
    // Whether why is one of the reasons given here: the user's own choice, nothing left behind.
    bool IsItsReason(const char* why) const;

  private:
    uint64_t recentSince_ = 0;
    std::string recentReason_;
    std::vector<std::string> excluded_;
    std::string ownFile_;
};

}  // namespace olvex
