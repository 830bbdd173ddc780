#pragma once
// What a cleaning run tells about each item it acts on. The windows listen to none of it;
// the console program reports it, per category, as a list or as a log.
#include <cstdint>
#include <string>

#include "platform/Errors.h"

namespace olvex {

enum class ItemAction {
    Deleted,     // a file deleted
    Removed,     // a folder removed, after everything in it
    Registered,  // a file that stays now, registered for deletion at the next restart
    Stayed,      // a file, folder or entry that stays: reason says why
    Purged,      // an entry of the browser's cache index deleted; path is its address
    Cleared,     // rows deleted inside a database that stays: rows, and the bytes it lost
    Kept,        // cookies of a file or database left at the user's word: rows, and keptHost
};

// Why an item stays (or was registered rather than deleted).
namespace reason {
constexpr const char* kReadOnly = "read-only";
constexpr const char* kInUse = "in use";
constexpr const char* kHidden = "hidden";
constexpr const char* kSystem = "system";
constexpr const char* kLink = "link or junction";
constexpr const char* kOddName = "name the system would read as another";
constexpr const char* kKept = "kept by design";
constexpr const char* kChanged = "changed since it was listed";
constexpr const char* kNotRemovable = "could not be removed";
constexpr const char* kNotOpened = "could not be opened";
constexpr const char* kOtherUsersFolder = "in a folder others may change before a restart";
constexpr const char* kOutsideCache = "its file lies outside the cache folders";
constexpr const char* kNotAFile = "a device, pipe or socket, not a file";
constexpr const char* kExcluded = "excluded";
constexpr const char* kOwnLog = "the run's own log";
constexpr const char* kKeptCookie = "the file of a cookie kept";
constexpr const char* kUnknownAge =
    "its last-write time tells nothing (none, before 1980, or in the future)";
constexpr const char* kElsewhere = "not the file listed: a link, or swapped since";
constexpr const char* kHoldsWhatStays = "holds what stays, as counted above";
constexpr const char* kBootCannotReach =
    "on a drive the restart cannot reach (network, SUBST or mapped)";
// Why a step did not run at all.
constexpr const char* kLinkOnPath = "a link or junction on its path";
constexpr const char* kNotSweepable = "not a folder below a drive or a share";
constexpr const char* kUnknownFolder = "the system names no such folder here";
constexpr const char* kUnknownUse = "whether its browser is running could not be told";
}  // namespace reason

// What became of a step (a row's folder, a profile, the Recycle Bin, the history) that did not
// do its work.
enum class StepOutcome {
    NotThere,  // its folder does not exist here, or the system names none: nothing to clean
    Refused,   // the program's own rules keep it from acting: reason says why
    Failed,    // the system failed it: reason is what the system said, code its own code
};

struct StepProblem {
    StepOutcome outcome;
    std::string path;  // what the step was about; "" for a step without a path
    std::string reason;
    platform::SystemCode code;
};

// "not there", "refused" or "failed".
const char* OutcomeWord(StepOutcome outcome);
// The reason with the system's code, as a report prints it: "Access is denied. (NTSTATUS
// 0xC0000022)".
std::string ProblemReason(const StepProblem& problem);
// A run-time error as the problem of a step on path.
StepProblem ProblemOf(const platform::RuntimeError& error, const std::string& path);

struct CleanedItem {
    ItemAction action;
    std::string path;  // "" when the sink asked for no paths
    uint64_t bytes = 0;
    const char* reason = "";
    bool folder = false;
    uint64_t rows = 0;      // Cleared: the rows deleted; Kept: the cookies kept
    std::string keptHost = "";  // Kept: the host of the keep-list that keeps them
};

// Receives a run's items as they happen. Nothing is kept on the run's side, so a run over
// any number of files costs the same memory whatever the sink does with them.
class CleaningSink {
  public:
    virtual ~CleaningSink() = default;
    // The rows of a category start, and end.
    virtual void Begin(const char* /*id*/) {}
    virtual void End(const char* /*id*/) {}
    // Whether items carry their paths; composing them costs a little for every item.
    virtual bool WantsPaths() const { return false; }
    virtual void Item(const CleanedItem&) {}
    // What the system reports about what a step empties as a whole (the Recycle Bin).
    virtual void Counted(uint64_t /*items*/, uint64_t /*bytes*/) {}
    // A step the system empties without telling what or how much (the browser history).
    virtual void Uncounted() {}
    // A step that did nothing, or ended early: not there, refused or failed.
    virtual void Problem(const StepProblem& /*problem*/) {}
    // A step's folder, opened to clean in (a folder not there comes as a Problem).
    virtual void Looked(const std::string& /*path*/) {}
    // Whether the steps are only to find their folders: each stops once it has opened its
    // folder or found it missing, and a step without a folder of its own does nothing.
    virtual bool LooksOnly() const { return false; }
};

// The sink of the windows: they report only the bytes freed, measured on the drive.
inline CleaningSink& SilentSink() {
    static CleaningSink sink;
    return sink;
}

}  // namespace olvex
