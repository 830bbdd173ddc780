#include "system/CleaningRules.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/Errors.h"
#include "guard/DeletionGuard.h"
#include "system/SpecialFolders.h"

namespace olvex {

using platform::SkipOnFailure;

namespace {
// One step of a run, on path ("" for a step without one): a failure at run time ends it, and
// the sink hears what failed and why.
template <class Step>
void Attempt(RuleRun& run, const std::string& path, Step&& step) {
    try {
        step();
    } catch (const platform::RuntimeError& error) {
        run.sink.Problem(ProblemOf(error, path));
    } catch (const std::bad_alloc&) {
        run.sink.Problem({StepOutcome::Failed, path, "out of memory", {}});
    }
}

// What the user is told of a base folder the system does not name.
const char* BaseFolderName(BaseFolder base) {
    switch (base) {
        case BaseFolder::None:
            return "";
        case BaseFolder::WindowsDir:
        case BaseFolder::SystemDrive:
            return "the Windows folder";
        case BaseFolder::UserProfile:
            return "the user's profile folder";
        case BaseFolder::AppData:
            return "the user's application data";
        case BaseFolder::LocalAppData:
            return "the user's local application data";
        case BaseFolder::ProgramFiles:
            return "the Program Files folder";
    }
    return "";
}
}  // namespace

const char* Category::CaptionOn(Family family) const {
    return family == Family::NT ? ntCaption : family == Family::Windows98 ? nineXCaption : "";
}

const CategoryRows& Category::RowsOn(Family family) const {
    static const CategoryRows none;
    return family == Family::NT ? ntRows : family == Family::Windows98 ? nineXRows : none;
}

bool Category::IsOn(Family family) const {
    return *CaptionOn(family) && !RowsOn(family).rows.empty();
}

std::string Category::WhyUnavailable(Machine& machine) const {
    if (!IsOn(machine.family())) return "not a category of this Windows";
    return unavailable ? unavailable(machine) : "";
}

std::string BaseFolderPath(RuleRun& run, BaseFolder base) {
    Services& services = run.services;
    switch (base) {
        case BaseFolder::None:
            return "";
        case BaseFolder::WindowsDir:
            return run.context.WindowsDir;
        case BaseFolder::SystemDrive:
            return run.context.SystemDrive;
        case BaseFolder::UserProfile: {
            // The folder the system names, not the profiles root and the user's name: a
            // domain user's profile is often name.DOMAIN or name.000. The root comes from
            // this same folder, so the two cannot stand in for it when it is unknown.
            const std::string profile = folders::GetProfileFolder(services);
            return profile.empty() ? "" : profile.substr(0, profile.size() - 1);
        }
        case BaseFolder::AppData:
            return folders::GetAppDataFolder(services);
        case BaseFolder::LocalAppData:
            return folders::GetLocalAppDataFolder(services);
        case BaseFolder::ProgramFiles:
            return folders::GetProgramFilesFolder(services);
    }
    return "";
}

namespace {

// The rows a box has run on one profile, by action and path: a profile kept outside the
// browser's folders takes the place of both of its cache folders, and the same row once is
// enough (a preview would name each file twice).
using RowsRun = std::vector<std::pair<RuleAction, std::string>>;

bool RunBefore(RowsRun& done, RuleAction action, const std::string& path) {
    const std::string tidy = TidyPath(path);
    for (const auto& [previous, where] : done)
        if (previous == action && (where == tidy || IsSamePath(where, tidy))) return true;
    done.emplace_back(action, tidy);
    return false;
}

// The path of a row for a profile ("" when the row's tail names none), on base.
std::string RowPath(const CleaningRule& rule, const std::string& base, const std::string& profile) {
    std::string path = base + rule.tail;
    const size_t marker = path.find(kEachProfile, base.size());
    const size_t length = std::char_traits<char>::length(kEachProfile);
    if (marker != std::string::npos && IsSweepableFolder(profile))
        path = profile + path.substr(marker + length);
    else if (marker != std::string::npos)
        path.replace(marker, length, profile);
    return path;
}

// The base folder of a row, looked up afresh; "" when the system names none, which is told.
std::string RowBase(RuleRun& run, const CleaningRule& rule) {
    std::string base;
    Attempt(run, "", [&] { base = BaseFolderPath(run, rule.base); });
    if (base.empty())
        run.sink.Problem(
            {StepOutcome::NotThere, BaseFolderName(rule.base), reason::kUnknownFolder, {}});
    return base;
}

// One row on one path; "" for the profile when the row's tail names none. The base folder
// is looked up afresh for every path.
void RunRow(RuleRun& run, const CleaningRule& rule, const std::string& profile, RowsRun& done) {
    if (rule.base == BaseFolder::None) {
        Attempt(run, "", [&] { rule.action(run, ""); });
        return;
    }
    const std::string base = RowBase(run, rule);
    if (base.empty()) return;
    const std::string path = RowPath(rule, base, profile);
    if (RunBefore(done, rule.action, path)) return;
    Attempt(run, TidyPath(path), [&] { rule.action(run, path); });
}

}  // namespace

std::string PathInProfile(RuleRun& run, BaseFolder base, const std::string& tail,
                          const std::string& profile) {
    const std::string folder = BaseFolderPath(run, base);
    return folder.empty() ? "" : RowPath({nullptr, base, tail}, folder, profile);
}

namespace {

// Each row of a profile in use is refused, on its own path, and none of them runs.
void RefuseRows(RuleRun& run, const std::vector<CleaningRule>& rows, const std::string& profile,
                const char* why) {
    for (const CleaningRule& rule : rows) {
        const std::string base = rule.base == BaseFolder::None ? "" : RowBase(run, rule);
        if (rule.base != BaseFolder::None && base.empty()) continue;
        const std::string path = base.empty() ? "" : TidyPath(RowPath(rule, base, profile));
        run.sink.Problem({StepOutcome::Refused, path, why, {}});
    }
}

// Why the profile's files must stay now, or nullptr; a check that fails counts as in use.
const char* ProfileBusy(RuleRun& run, const CategoryRows& category, const std::string& profile) {
    if (!category.inUse) return nullptr;
    const char* why = reason::kUnknownUse;
    SkipOnFailure([&] { why = category.inUse(run, profile); });
    return why;
}

bool NamesAProfile(const CleaningRule& rule) {
    return rule.tail.find(kEachProfile) != std::string::npos;
}

const std::vector<std::string>* ProfilesOf(RuleRun& run, ProfileList list) {
    for (const auto& [read, profiles] : run.profiles)
        if (read == list) return &profiles;
    return nullptr;
}

// The rows of one selected category, first to last. Rows that name a profile are run for
// each profile in turn, all of the category's rows for the first profile, then for the next.
void RunCategory(RuleRun& run, const CategoryRows& category) {
    const std::vector<CleaningRule>& rows = category.rows;
    if (!std::any_of(rows.begin(), rows.end(), NamesAProfile)) {
        RowsRun done;
        for (const CleaningRule& rule : rows) RunRow(run, rule, "", done);
        return;
    }
    static const std::vector<std::string> none;
    const std::vector<std::string>* listed = ProfilesOf(run, category.profiles);
    const std::vector<std::string>& profiles = listed ? *listed : none;
    if (profiles.empty()) run.sink.Problem({StepOutcome::NotThere, "", "no profile is listed", {}});
    for (const std::string& profile : profiles) {
        if (profile.empty()) continue;
        if (const char* why = ProfileBusy(run, category, profile)) {
            RefuseRows(run, rows, profile, why);
            continue;
        }
        RowsRun done;
        for (const CleaningRule& rule : rows) RunRow(run, rule, profile, done);
    }
}

}  // namespace

void RunSelected(RuleRun& run, const std::vector<const Category*>& categories,
                 const CategoryCheck& selected) {
    // Each profile list is read once, before the first category; what fails there is told
    // with each category that needs it.
    std::vector<std::pair<ProfileList, StepProblem>> unread;
    for (const Category* category : categories) {
        const ProfileList list = category->RowsOn(run.family).profiles;
        if (!list || ProfilesOf(run, list) ||
            std::any_of(unread.begin(), unread.end(),
                        [&](const auto& u) { return u.first == list; }))
            continue;
        try {
            run.profiles.emplace_back(list, list(run));
        } catch (const platform::RuntimeError& error) {
            unread.emplace_back(list, ProblemOf(error, ""));
        } catch (const std::bad_alloc&) {
            unread.emplace_back(list, StepProblem{StepOutcome::Failed, "", "out of memory", {}});
        }
    }
    for (const Category* category : categories) {
        bool chosen = false;
        SkipOnFailure([&] { chosen = selected(*category); });
        if (!chosen) continue;
        const CategoryRows& rows = category->RowsOn(run.family);
        run.sink.Begin(category->id);
        for (const auto& [list, problem] : unread)
            if (list == rows.profiles) run.sink.Problem(problem);
        Attempt(run, "", [&] { RunCategory(run, rows); });
        run.sink.End(category->id);
    }
}

}  // namespace olvex
