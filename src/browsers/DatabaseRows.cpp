#include "browsers/DatabaseRows.h"

#include <optional>

#include "guard/DeletionGuard.h"
#include "guard/PathRules.h"
#include "platform/Errors.h"

namespace olvex {

namespace {

using platform::FindEntry;
using platform::OpenedFolder;

// SQLite keeps these beside a database, by the database's name.
const char* const kCompanions[] = {"-wal", "-shm", "-journal"};

// Why the listed database may not be handed to SQLite; nullptr when it may. SQLite writes,
// and deletes its journal, by path: every name it uses must reach a plain file of this
// folder, or nothing.
const char* WhyUntouchable(RuleRun& run, OpenedFolder& folder, const FindEntry& listed,
                           const std::string& path, bool preview) {
    if (IsLeftAlone(listed) || (listed.attributes & platform::kAttrDirectory) ||
        !folder.IsListedFile(listed))
        return reason::kLink;
    for (const char* companion : kCompanions) {
        const std::optional<FindEntry> entry = folder.Lookup(listed.name + companion);
        if (entry && (IsLeftAlone(*entry) || !folder.IsListedFile(*entry))) return reason::kLink;
    }
    if (!preview && (listed.attributes & platform::kAttrReadOnly)) return reason::kReadOnly;
    if (run.filter) return FilterKeepsHandedOn(run.services.files, *run.filter, path, listed);
    return nullptr;
}

// The bytes of the database and of its write-ahead log, as the folder lists them now.
uint64_t SizeWithLog(OpenedFolder& folder, const std::string& name) {
    uint64_t bytes = 0;
    for (const std::string& each : {name, name + "-wal"})
        if (const std::optional<FindEntry> entry = folder.Lookup(each)) bytes += entry->size;
    return bytes;
}

// Whether SQLite's integrity check finds the database whole. A file too damaged to be read
// at all fails the check with SQLite's "malformed" or "not a database" code.
bool IsWhole(platform::Database& db) {
    try {
        return db.Text("PRAGMA integrity_check") == "ok";
    } catch (const platform::RuntimeError& error) {
        if (platform::TellsDamage(error.code())) return false;
        throw;
    }
}

class RowClearingStep {
  public:
    RowClearingStep(RuleRun& run, const std::string& path)
        : run_(run), path_(TidyPath(path)), preview_(run.counted != nullptr) {}

    bool Run(const RowClearing& clearing);

  private:
    bool Stay(const char* why) {
        run_.sink.Item({ItemAction::Stayed, Shown(), 0, why});
        return false;
    }
    bool Problem(StepOutcome outcome, const char* why) {
        run_.sink.Problem({outcome, path_, why, {}});
        return false;
    }
    bool Problem(const StepProblem& problem) {
        run_.sink.Problem(problem);
        return false;
    }
    std::string Shown() const { return run_.sink.WantsPaths() ? path_ : ""; }
    // Opens the database, checks it is still the file checked, and clears it; false when the
    // step ended with a problem told.
    bool Clear(const RowClearing& clearing, const platform::FileIdentity& checked);

    RuleRun& run_;
    std::string path_;
    bool preview_;
    std::unique_ptr<OpenedFolder> folder_;
    std::string name_;
    uint64_t rows_ = 0;
    std::optional<StepProblem> afterwards_;
};

bool RowClearingStep::Run(const RowClearing& clearing) {
    platform::FileSystem& files = run_.services.files;
    if (files.GetAttributes(path_) == platform::kInvalidAttributes || run_.sink.LooksOnly())
        return false;
    const size_t slash = path_.rfind('\\');
    name_ = path_.substr(slash + 1);
    StartFolder start = OpenStartFolder(files, path_.substr(0, slash));
    if (!start.folder) return Problem(start.problem);
    folder_ = std::move(start.folder);
    const std::optional<FindEntry> listed = folder_->Lookup(name_);
    if (!listed) return false;
    if (const char* why = WhyUntouchable(run_, *folder_, *listed, path_, preview_))
        return Stay(why);
    const platform::FileIdentity identity = folder_->IdentityOf(*listed);
    if (!identity.Known()) return Stay(reason::kNotOpened);
    if (!run_.services.databases) return Problem(StepOutcome::Refused, reason::kNoSqlite);
    const uint64_t before = SizeWithLog(*folder_, listed->name);
    try {
        if (!Clear(clearing, identity)) return false;
    } catch (const platform::RuntimeError& error) {
        return Problem(ProblemOf(error, path_));
    }
    // Measured once SQLite closed the file, and with it ended its write-ahead log.
    const uint64_t after = preview_ ? before : SizeWithLog(*folder_, listed->name);
    CleanedItem item{ItemAction::Cleared, Shown(), before > after ? before - after : 0};
    item.rows = rows_;
    run_.sink.Item(item);
    if (afterwards_) run_.sink.Problem(*afterwards_);
    return true;
}

bool RowClearingStep::Clear(const RowClearing& clearing, const platform::FileIdentity& checked) {
    using platform::DatabaseAccess;
    auto db = run_.services.databases->Open(
        path_, preview_ ? DatabaseAccess::Read : DatabaseAccess::Change);
    // SQLite holds the file now and lets nobody move or delete it: the name must still reach
    // the file checked, or SQLite opened another.
    const std::optional<FindEntry> now = folder_->Lookup(name_);
    if (!now || folder_->IdentityOf(*now) != checked) return Stay(reason::kElsewhere);
    if (!IsWhole(*db)) return Problem(StepOutcome::Refused, reason::kDamaged);
    if (!clearing.knows(*db)) return Problem(StepOutcome::Refused, reason::kNotItsDatabase);
    rows_ = clearing.mark(*db);
    if (preview_ || rows_ == 0) return true;
    db->Execute("BEGIN IMMEDIATE");
    try {
        clearing.remove(*db);
        db->Execute("COMMIT");
    } catch (const platform::RuntimeError&) {
        platform::SkipOnFailure([&] { db->Execute("ROLLBACK"); });
        throw;
    }
    // The rows are gone for good now; what follows only gives their room back.
    try {
        db->Execute("VACUUM");
        if (!IsWhole(*db))
            afterwards_ = StepProblem{StepOutcome::Failed, path_, reason::kDamaged, {}};
    } catch (const platform::RuntimeError& error) {
        afterwards_ = ProblemOf(error, path_);
    }
    return true;
}

}  // namespace

bool ClearDatabaseRows(RuleRun& run, const std::string& path, const RowClearing& clearing) {
    return RowClearingStep(run, path).Run(clearing);
}

}  // namespace olvex
