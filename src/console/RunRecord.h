#pragma once
// A run's record in its log, written ahead of what it records: the run-start line before
// anything is deleted, every item's line before the next change, and the run-end line. A run
// whose log cannot take a batch changes nothing more (RecordedChanges), keeps the lines it
// holds, tries them again until it ends, and exits with kExitRecordIncomplete. A run refused
// before it began (bad usage, not possible here) still writes its first and last lines, with
// its exit code and why, wherever its log can be written: a run that found nothing is never
// one that never ran.
#include <memory>
#include <string>
#include <vector>

#include "console/CommandLine.h"
#include "console/ConsoleReport.h"
#include "console/RunLog.h"
#include "platform/Console.h"
#include "platform/Platform.h"
#include "system/Services.h"

namespace olvex {

class RunRecord {
  public:
    // No log is written when the request names none.
    RunRecord(Services& services, platform::Console& console, const ConsoleRequest& request,
              const std::vector<std::string>& arguments);

    // Opens the log and writes the run's first line, before anything is deleted; false, said
    // on standard error, when the log cannot take it.
    bool Start();
    // The run's log once started; nullptr without one.
    RunLog* Log() const { return log_.get(); }
    // The first and last lines of a run refused with code before it changed anything (the
    // first one only if Start did not write it already), why in its last line; returns code.
    int Refuse(int code, const std::string& why);
    // The run's last line with its figures and the bytes freed; returns the exit code:
    // kExitRecordIncomplete, said on standard error, when a batch could not be written when
    // it was due.
    int Finish(int code, const RunFigures& figures, int64_t freed);

  private:
    bool Logs() const;
    bool Open(std::string& why);
    std::string EndReason(int code, const RunFigures& figures, int64_t freed,
                          const std::string& why) const;
    void Error(const std::string& text);

    Services& services_;
    platform::Console& console_;
    const ConsoleRequest& request_;
    const std::vector<std::string>& arguments_;
    std::unique_ptr<RunLog> log_;
};

// Thrown at the first change a run asks for once its record failed. It is no RuntimeError,
// which each step of a run catches and reports before going on to the next: nothing but the
// console program catches it, so the whole run stops there.
struct RecordStopped {};

// The changes of a run, each refused with RecordStopped once its log failed. Moving a folder
// deletes nothing and is what puts a folder moved up back where it was while a failure climbs
// out of a removal, so it is never refused.
class RecordedChanges final : public platform::Changes {
  public:
    RecordedChanges(platform::Changes& changes, const RunLog* log) : changes_(changes), log_(log) {}
    platform::Deletion DeleteListedFile(platform::OpenedFolder& folder,
                                        const platform::FindEntry& entry,
                                        platform::AgeCheck* age = nullptr) override;
    platform::Deletion ReplaceListedFile(platform::OpenedFolder& folder,
                                         const platform::FindEntry& entry,
                                         const std::string& content) override;
    bool DeleteAtRestart(platform::OpenedFolder& folder, const platform::FindEntry& entry) override;
    bool RemoveEmpty(platform::OpenedFolder& folder) override;
    bool MovesFolders() const override { return changes_.MovesFolders(); }
    platform::Move MoveInto(platform::OpenedFolder& folder, platform::OpenedFolder& parent,
                            const std::string& name) override {
        return changes_.MoveInto(folder, parent, name);
    }
    long EmptyRecycleBin(uintptr_t owner) override;
    void UpdateRecycleBinIcon() override { changes_.UpdateRecycleBinIcon(); }
    void ClearUrlHistory() override;
    bool DeleteUrlCacheEntry(const std::string& url, platform::SystemCode* why) override;

  private:
    void Check() const;

    platform::Changes& changes_;
    const RunLog* log_;
};

}  // namespace olvex
