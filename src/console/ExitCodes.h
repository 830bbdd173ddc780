#pragma once
// What olvex.exe tells the script that ran it, for a run and for a fleet summary alike.

namespace olvex {

// The exit codes.
enum ExitCode : int {
    kExitDone = 0,         // every selected category done, nothing left
    kExitLeftSome = 1,     // done, but some items stayed or were registered for restart, or a
                           // step was refused or failed
    kExitBadUsage = 2,     // unknown id or option: nothing deleted
    kExitNotPossible = 3,  // unsupported system, category not available here, not an administrator
    kExitRecordIncomplete = 4,  // the log could not take the run's lines when they were due:
                                // the run stopped there, and its last lines may be missing
};

}  // namespace olvex
