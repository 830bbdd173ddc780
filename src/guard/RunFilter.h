#pragma once
// What a run keeps beyond the deletion guard's own rules, at the user's word: files written
// lately, paths excluded, and the run's own log. Paths are kept by what they name, resolved
// once before the run (ResolvePath), and the guard asks by identity of every file and folder
// it would otherwise delete or remove; a folder goes only once nothing is kept in it. The age
// of a file is asked on the handle it is deleted through (platform::AgeTest).
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/Platform.h"
#include "guard/ResolvedPath.h"

namespace olvex {

class RunFilter final : public platform::AgeTest {
  public:
    // Files last written less than days days before now stay (now as file times are kept).
    void KeepRecent(uint64_t now, uint32_t days);
    // The file, or the folder with everything in it, that path names stays.
    void Exclude(const ResolvedPath& path);
    // The run's own file (its log) stays wherever it lies, and is never registered.
    void KeepOwnFile(const ResolvedPath& path);
    // The file of a cookie the keep-list keeps stays.
    void KeepCookieFile(const ResolvedPath& path);

    // Whether it keeps anything at all.
    bool Active() const { return Filters() || !kept_.empty(); }
    // Whether the user asked to keep anything by age or path: the steps the system carries
    // out whole (the Recycle Bin, the history) cannot honour that.
    bool Filters() const { return recentSince_ != 0 || excludes_; }
    // Whether any path is kept; only then are identities asked for.
    bool KeepsPaths() const { return !kept_.empty(); }

    // The age test of deletions, or nullptr when the user asked for none.
    const platform::AgeTest* Age() const { return recentSince_ ? this : nullptr; }
    // Why a file last written at writeTime stays: written lately, or a time that tells
    // nothing (none, before 1980, which no FAT volume can hold, or in the future).
    const char* Keeps(uint64_t writeTime) const override;

    // Why the file or folder of this identity stays itself ("excluded", "the run's own log");
    // nullptr when nothing keeps it. A folder kept keeps everything in it.
    const char* KeepsItself(const platform::FileIdentity& identity) const;
    // Whether something kept lies anywhere inside the folder of this identity.
    bool HoldsKept(const platform::FileIdentity& folder) const;
    // Whether a file kept lies directly in the folder of this identity: only there is a file's
    // identity worth asking.
    bool HoldsKeptFile(const platform::FileIdentity& folder) const;
    // Why a folder whose path runs through these folders (root first) stays whole: one of them
    // is kept. nullptr when none is.
    const char* KeepsAnyOf(const std::vector<platform::FileIdentity>& folders) const;
    // Whether the folder of this identity holds a kept file or folder of that name, as the
    // folder lists it: what tells an entry whose identity cannot be read (a device, a pipe)
    // from what is kept. A folder of no known identity might hold anything.
    bool MayBeNamed(const platform::FileIdentity& folder, const std::string& name) const;
    // Whether why is one of the reasons given here for a choice of the user's: nothing left
    // behind. A time that tells nothing is no choice: what it keeps is left behind.
    bool IsItsReason(const char* why) const;

  private:
    void Keep(const ResolvedPath& path, const char* why);
    uint64_t now_ = 0;
    uint64_t recentSince_ = 0;
    std::string recentReason_;
    bool excludes_ = false;
    std::map<platform::FileIdentity, const char*> kept_;
    std::set<platform::FileIdentity> holders_;      // every folder a kept path lies in
    std::set<platform::FileIdentity> fileHolders_;  // the folders kept files lie directly in
    std::set<std::pair<platform::FileIdentity, std::string>> names_;  // folder, kept name
};

}  // namespace olvex
