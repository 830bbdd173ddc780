"""Realistic faults, made one at a time in the source of the rules that guard data or report
truth, each followed by a build and a run of the native unit suite: a fault the suite does not
catch is a rule no test holds. Not part of the test run (each fault costs a build).

    python3 tests/mutants.py [--only WORD] [--list]

Prints CAUGHT or SURVIVED per fault, with the tests that failed, and the share caught. The
source is put back after each fault, whatever happens.
"""

import argparse
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "native")

# (file, text, fault, what the fault breaks)
FAULTS = [
    ("src/guard/RunFilter.cpp", "writeTime < kFirstFatTime ||", "writeTime == 0 ||",
     "a time before 1980 tells nothing"),
    ("src/guard/RunFilter.cpp", "writeTime > now_ + kClockSlack", "writeTime > now_ + 100 * kClockSlack",
     "a time far in the future tells nothing"),
    ("src/guard/RunFilter.cpp", "return writeTime >= recentSince_ ?", "return writeTime > recentSince_ + 864000000000ULL ?",
     "/olderthan deletes files a day early"),
    ("src/guard/RunFilter.cpp", "if (!path.folder && !path.above.empty()) fileHolders_.insert(path.above.back());", "",
     "a kept file's folder is asked for it"),
    ("src/guard/RunFilter.cpp", "holders_.insert(path.above.begin(), path.above.end());", "",
     "the folders a kept path lies in are kept"),
    ("src/guard/DeletionGuard.cpp", "if (const char* why = paths ? rules.filter->KeepsAnyOf(folders) : nullptr) {\n        sink.Item({ItemAction::Stayed, TidyPath(path), 0, why, true});",
     "if (const char* why = nullptr) {\n        sink.Item({ItemAction::Stayed, TidyPath(path), 0, why, true});",
     "a start folder inside a kept folder stays whole"),
    ("src/guard/DeletionGuard.cpp", "            return swept.Stays(reason::kElsewhere, Disposal::Stayed);", "            return Disposal::Gone;",
     "a name that leads elsewhere is told"),
    ("src/guard/DeletionGuard.cpp", "if (MayRegister(swept.folder, swept.rules.atRestart) && !age.test) {",
     "if (MayRegister(swept.folder, swept.rules.atRestart) && !age.kept) {",
     "no restart for a file whose age was not read"),
    ("src/guard/DeletionGuard.cpp", "if (entry.attributes & (platform::kAttrHidden | platform::kAttrSystem))",
     "if (entry.attributes & platform::kAttrSystem)", "hidden files are not deleted"),
    ("src/guard/TreeRemoval.cpp", "if (item.attributes & platform::kAttrReadOnly) return {false, nullptr, reason::kReadOnly};", "",
     "a read-only file stops a removal"),
    ("src/console/Csv.cpp", "return c == ';' || c == '\\t' || c == '\\r' || c == '\\n';", "return c == ';' || c == '\\t';",
     "a formula after a line break is disarmed"),
    ("src/console/RunLog.cpp", "if (appended && file.Flush()) {", "if (appended) {",
     "a batch counts once flushed"),
    ("src/console/RunLog.cpp", "    file.CutTo(*size);\n", "",
     "a batch that fails is taken back"),
    ("src/console/RunLog.cpp", "        bytes = \"\\r\\n\";\n", "",
     "a log cut inside a line is taken up on a fresh line"),
    ("src/console/FleetRuns.cpp", "run.mode == \"clean\" &&", "",
     "a preview's bytes are no bytes deleted"),
    ("src/console/SummaryPage.cpp", "case '&':", "case '\\x01':",
     "& is escaped on the page"),
    ("src/guard/RunFilter.cpp", "const uint64_t span = days * kFileTimeStepsPerDay;",
     "const uint64_t span = (days + 1) * kFileTimeStepsPerDay;",
     "/olderthan keeps files a day too long"),
    ("src/guard/RunFilter.cpp", "(recentSince_ != 0 && text == recentReason_)",
     "(recentSince_ != 0 && (text == recentReason_ || text == reason::kUnknownAge))",
     "a time that tells nothing is no choice of the user's"),
    ("src/guard/DeletionGuard.cpp", "if (entry.attributes & (platform::kAttrHidden | platform::kAttrSystem))",
     "if (entry.attributes & platform::kAttrHidden)", "system files are not deleted"),
    ("src/guard/PathRules.cpp", "if (name.back() == '.' || name.back() == ' ') return false;",
     "if (name.back() == ' ') return false;", "a name ending in a dot is not literal"),
    ("src/guard/PathRules.cpp", "std::string base = name.substr(0, name.find('.'));",
     "std::string base = name;", "a device name with an extension is a device"),
    ("src/guard/PathRules.cpp", "if (part.empty() || part == \".\") continue;",
     "if (part.empty() || part == \".\" || part == \"..\") continue;",
     "a path holding .. lies inside no folder"),
    ("src/guard/StartFolders.cpp", "                                                     : walked)};",
     "                                                     : TidyPath(path))};",
     "a link on a start folder's path names the link's folder"),
    ("src/guard/StartFolders.cpp", "if (last) return current->IsListedFile(entry);", "if (last) return true;",
     "a cache file that leads elsewhere is not handed on"),
    ("src/guard/StartFolders.cpp",
     "if (!folder.empty() && MayHandOnForDeletion(files, localFile, folder)) return true;",
     "if (!folder.empty() && LiesInside(localFile, folder) &&\n"
     "            !(files.GetAttributes(localFile) & platform::kAttrReparsePoint)) return true;",
     "a cache entry goes only if its file is reached through plain folders"),
    ("src/console/Csv.cpp", "c == '\\r' || c == '\\n';", "c == '\\n';",
     "a formula after a carriage return is disarmed"),
    ("src/console/Csv.cpp", "c == '\\r' || c == '\\n';", "c == '\\r';",
     "a formula after a line feed is disarmed"),
    ("src/console/LogReader.cpp", "head.compare(0, kBom.size(), kBom) != 0 ||\n            (", "(",
     "a log starts with its byte-order mark (reader)"),
    ("src/console/RunLog.cpp", "    if (head.compare(0, bom.size(), bom) != 0) return false;\n", "",
     "a log starts with its byte-order mark (writer)"),
    ("src/console/LogReader.cpp", "run->at = open.back().at;\n            open.pop_back();",
     "run->at = open.front().at;\n            open.erase(open.begin());",
     "a run-end ends the latest run started"),
    ("src/console/LogReader.cpp", "run->state == RunState::Earlier && run->at > at",
     "run->state == RunState::Earlier && run->at < at",
     "a six-column log tells its last line, not its first"),
    ("src/console/LogReader.cpp", "if (fields.size() == kColumns && at)", "if (fields.size() >= kColumns && at)",
     "a line with too many fields is no line of a log"),
    ("src/console/RunLog.cpp", "console_.Ticks() - start < kWaitMs", "console_.Ticks() - start < kRetryMs",
     "a run waits its turn for the log"),
    ("src/console/RunRecord.cpp", "    Error(text + \".\");\n    return kExitRecordIncomplete;",
     "    Error(text + \".\");\n    return code;", "lines lost at the log's end make exit 4"),
    ("src/console/RunRecord.cpp", "if (log_ || Open(problem)) {", "if (log_) {",
     "a run refused before its log opened is framed in it"),
    ("src/console/ConsoleProgram.cpp", "        Error(console, why);\n        return record.Refuse(kExitBadUsage, why);",
     "        Error(console, why);\n        return kExitBadUsage;",
     "a run refused for its /exclude is framed with why"),
    ("src/console/ConsoleReport.cpp", "totals_.registeredBytes += item.bytes;\n            leftSome_ = true;",
     "totals_.registeredBytes += item.bytes;", "a file left to the restart makes exit 1"),
    ("src/console/FleetRuns.cpp", "run.exit != kExitBadUsage &&", "",
     "a clean refused with 2 is no clean"),
    ("src/console/FleetSummary.cpp", "return skips.files || skips.lines || fleet.leftOut ?",
     "return skips.files || fleet.leftOut ?", "a summary that skipped lines exits 1"),
    ("src/console/FleetSummary.cpp", "if (!page.empty() && IsSamePath(path, page)) continue;",
     "if (page.empty() && IsSamePath(path, page)) continue;",
     "the page among the logs is not read as a log"),
    ("src/console/FleetSummary.cpp", "IsSamePath(path, page)", "path == page",
     "the page among the logs is known whatever case names it"),
    ("src/console/SummaryPage.cpp", "case '<':", "case '\\x02':",
     "< is escaped on the page"),
    ("src/console/SummaryPage.cpp", "case '\"':", "case '\\x03':",
     "\" is escaped on the page"),
    ("src/console/SummaryPage.cpp", "return head == kHead;", "return head.compare(0, 15, kHead, 15) == 0;",
     "only a page of the program's own is replaced, not any HTML page"),
    ("src/cleaning/CachePurge.cpp", "        if (listedFile.unknown) {", "        if (listedFile.unknown && filter) {",
     "a cache file whose folder cannot be listed stays, filters or not"),
    ("src/platform/ReparsePoints.cpp", "return !systemHasReparsePoints || volumeAttributes.has_value();",
     "return true || systemHasReparsePoints;", "the reparse option is dropped only where none can be"),
    ("src/platform/ReparsePoints.cpp", "return version->platformId != kNtPlatform || version->major >= 5;",
     "return version->platformId != kNtPlatform || version->major > 5;",
     "Windows 2000 has reparse points"),
    ("src/console/ConsoleReport.cpp", "    figures_.failed.insert(id_);\n", "",
     "a category with a failed step is named in the run's end"),
    ("src/browsers/BrowserItems.cpp", "                        \"Firefox is running\");", "                        nullptr);",
     "nothing of a running Firefox's profile is touched"),
    ("src/browsers/BrowserItems.cpp", "            return reason::kUnknownUse;", "            return nullptr;",
     "a lock that cannot be read counts as a running Firefox"),
    ("src/browsers/BrowserItems.cpp", "if (run.sink.LooksOnly() || (there && !watch.deleted)) return;",
     "if (run.sink.LooksOnly() || (there && false)) return;",
     "a database that stays keeps its write-ahead log"),
    ("src/browsers/BrowserItems.cpp", "deleted = deleted || item.action == ItemAction::Deleted;",
     "deleted = deleted && item.action == ItemAction::Deleted;",
     "a preview names a database's companions as the clean deletes them"),
    ("src/browsers/BrowserItems.cpp", "{\"firefox-passwords\", Part::Roaming, Kind::Files,    \"\\\\logins.json\", true}",
     "{\"firefox-forms\", Part::Roaming, Kind::Files,    \"\\\\logins.json\", true}",
     "each category takes only its own files"),
    ("src/guard/DeletionGuard.cpp", "        if (counted && counted->Find(TidyPath(folderPath) + \"\\\\\")) return;\n",
     "        if (counted && counted->Find(TidyPath(folderPath) + \"\\\\\")) {}\n",
     "a preview names a folder counted whole once"),
    ("src/browsers/PlacesRows.cpp", '" AND NOT EXISTS (SELECT 1 FROM moz_bookmarks b WHERE b.fk = p.id)";', '"";',
     "a bookmarked page stays"),
    ("src/browsers/PlacesRows.cpp", '        sql += " AND NOT EXISTS (SELECT 1 FROM moz_keywords k WHERE k.place_id = p.id)";\n', "",
     "a keyword's page stays"),
    ("src/browsers/PlacesRows.cpp", '(history ? "visit_type IS NOT " : "visit_type = ")', '(history ? "visit_type >= " : "visit_type = ")',
     "the history leaves the downloads' visits"),
    ("src/browsers/PlacesRows.cpp", '(history ? "1" : "p.id IN touched")', '"1"',
     "the downloads take only the pages they kept"),
    ("src/browsers/PlacesRows.cpp", '"(SELECT 1 FROM moz_places p WHERE p.favicon_id = f.id AND p.id NOT IN gone_places);";', '"(SELECT 1);";',
     "an icon a page still shows stays"),
    ("src/browsers/PlacesRows.cpp", '"p.rev_host IN (h.reversed, h.reversed || \'www.\') AND p.id NOT IN gone_places);";',
     '"p.rev_host = h.reversed AND p.id NOT IN gone_places);";',
     "a host with a page left stays"),
    ("src/browsers/PlacesRows.cpp", '    if (history && s.typed) set += ", typed = 0";\n', "",
     "a page the history keeps was never typed"),
    ("src/browsers/BrowserItems.cpp", "HoldOf(lock, platform::HoldProbe::Write)", "HoldOf(lock, platform::HoldProbe::Read)",
     "a running Chrome is found by an open to write"),
    ("src/system/Availability.cpp", "machine.installedForUser(\"Google\\\\Chrome\\\\Application\");", "false;",
     "Chrome installed for one user counts as installed"),
    ("src/browsers/ChromeProfiles.cpp", "if (IsLiteralName(key)) profiles.push_back(key);", "profiles.push_back(key);",
     "only a literal folder name of User Data is a Chrome profile"),
    ("src/browsers/ChromeProfiles.cpp", "WHERE json_type(?1, '$.profile.info_cache') IS NULL", "WHERE 0",
     "a Chrome Local State without a list has the Default profile"),
    ("src/browsers/ChromeRows.cpp", '{"visits", "urls", "visit_source",', '{"visits", "urls", "downloads", "visit_source",',
     "Chrome's history leaves the downloads"),
    ("src/browsers/ChromeRows.cpp", '{"downloads", "downloads_url_chains", "downloads_slices"}', '{"downloads", "downloads_slices"}',
     "Chrome's downloads take their chains of addresses"),
    ("src/browsers/ChromeRows.cpp", '{"autofill", "autofill_dates"}', '{"autofill", "autofill_dates", "keywords"}',
     "Chrome's form data keeps the search engines"),
    ("src/system/CookieKeepList.cpp", "host[host.size() - kept.size() - 1] == '.';", "true;",
     "a kept host keeps the hosts below it, not look-alikes"),
    ("src/system/CookieKeepList.cpp", "(!keeper || kept.size() > keeper->size())", "!keeper",
     "the longest host of the keep-list names the cookies it kept"),
    ("src/system/CookieKeepList.cpp", "c = static_cast<char>(c - 'A' + 'a');", "c = static_cast<char>(c);",
     "kept hosts are compared without regard to case"),
    ("src/system/CookieKeepList.cpp", "host = host.substr(0, host.find(':'));", "",
     "a port is no part of a kept host"),
    ("src/browsers/CookieRows.cpp", "    return all - stay;", "    return all;",
     "a preview counts only the cookies that go, not those kept"),
    ("src/browsers/CookieRows.cpp", "    if (Keeps(keep))\n        sql +=", "    if (Keeps(keep) && false)\n        sql +=",
     "the cookies of kept hosts stay in a database"),
    ("src/cleaning/CachePurge.cpp", "if (const std::string* keeper = keep ? keep->KeeperOf(url) : nullptr) {",
     "if (const std::string* keeper = keep && false ? keep->KeeperOf(url) : nullptr) {",
     "Internet Explorer's entries of kept hosts stay"),
    ("src/cleaning/WindowsCategories.cpp", "            keeping.KeepCookieFile(kept);", "            (void)kept;",
     "the files of kept Internet Explorer cookies stay in the Cookies folder"),
    ("src/console/RunRecord.cpp", "        reason += \"; kept-cookies=\" + kept;\n", "",
     "the run record counts the kept cookies by host"),
    ("src/console/ConsoleProgram.cpp", "    for (const std::string& hosts : request.keptCookies) keep.Add(hosts);", "    for (const std::string& hosts : request.keptCookies) (void)hosts;",
     "/keepcookies adds to olvex.ini's hosts whose cookies are kept"),
    ("src/browsers/BrowserItems.cpp", "    if (!KeepsCookies(run)) return DeleteFiles(run, path);", "    return DeleteFiles(run, path);",
     "a cookie file that cannot be kept in part stays whole while cookies are kept"),
    ("src/browsers/CookieText.cpp", "        if (host.empty()) {\n            split.kept += line;", "        if (host.empty()) {\n            split.kept += \"\";",
     "a rewritten Cookies.txt keeps its comments"),
    ("src/browsers/CookieText.cpp", "std::string cookie = line.rfind(kHttpOnly, 0) == 0 ? line.substr(kHttpOnly.size()) : line;",
     "std::string cookie = line;", "a kept cookie marked HttpOnly stays in Cookies.txt"),
    ("src/browsers/CookieText.cpp", "    if (split.keptBy.empty()) return DeleteWhole(run, path);", "",
     "a Cookies.txt with no cookie kept goes whole"),
    ("src/browsers/CookieText.cpp", "    if (split.gone > 0) {", "    if (true) {",
     "a Cookies.txt whose cookies are all kept is not written anew"),
    ("src/browsers/DatabaseRows.cpp", "if (!now || folder_->IdentityOf(*now) != checked) return",
     "if (!now || (folder_->IdentityOf(*now) != checked && false)) return",
     "the database SQLite opened is the file checked"),
    ("src/browsers/DatabaseRows.cpp", "    if (!IsWhole(*db)) return Problem(StepOutcome::Refused, reason::kDamaged);",
     "    if (false) return Problem(StepOutcome::Refused, reason::kDamaged);",
     "a damaged database is not changed"),
    ("src/browsers/DatabaseRows.cpp", "if (entry && (IsLeftAlone(*entry) || !folder.IsListedFile(*entry))) return reason::kLink;",
     "if (entry && IsLeftAlone(*entry)) return reason::kLink;",
     "SQLite's companion files are plain files"),
    ("src/browsers/DatabaseRows.cpp", "    if (preview_ || rows_ == 0) return true;", "    if (rows_ == 0) return true;",
     "a preview changes no byte"),
    ("src/browsers/PlacesRows.cpp", '" WHERE " + after + " AND id <= " + upto + ")");', '" WHERE " + after + " AND id < " + upto + ")");',
     "each batch takes its last marked row"),
    ("src/console/ConsoleReport.cpp", "figures_.bytes += totals_.fileBytes + totals_.clearedBytes;",
     "figures_.bytes += totals_.fileBytes;", "the run's bytes hold what a database lost"),
    ("src/browsers/DatabaseRows.cpp", 'db->Execute("VACUUM");', 'db->Execute("SELECT 1");',
     "the bytes a database lost are reported once compacted"),
]


def run(cmd):
    return subprocess.run(cmd, cwd=ROOT, capture_output=True, text=True)


def try_fault(path, text, fault):
    full = os.path.join(ROOT, path)
    with open(full, encoding="utf-8") as f:
        source = f.read()
    if source.count(text) != 1:
        return "MISSING", []
    try:
        with open(full, "w", encoding="utf-8") as f:
            f.write(source.replace(text, fault))
        built = run(["cmake", "--build", BUILD, "-j%d" % os.cpu_count(), "--target", "unit_tests"])
        if built.returncode != 0:
            return "NO BUILD", []
        tests = run([os.path.join(BUILD, "tests", "unit", "unit_tests"), "--gtest_brief=1"])
        failed = sorted({line.split()[3] for line in tests.stdout.splitlines()
                         if line.startswith("[  FAILED  ]") and len(line.split()) > 3
                         and "." in line.split()[3]})
        return ("CAUGHT" if tests.returncode != 0 else "SURVIVED"), failed
    finally:
        with open(full, "w", encoding="utf-8") as f:
            f.write(source)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", help="only the faults whose description holds this word")
    parser.add_argument("--list", action="store_true", help="list the faults and stop")
    args = parser.parse_args()
    chosen = [f for f in FAULTS if not args.only or args.only in f[3]]
    if args.list:
        for path, _, _, what in chosen:
            print("%s: %s" % (path, what))
        return 0
    run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Debug"])
    caught = judged = 0
    for path, text, fault, what in chosen:
        verdict, failed = try_fault(path, text, fault)
        if verdict in ("CAUGHT", "SURVIVED"):
            judged += 1
            caught += verdict == "CAUGHT"
        print("%-8s %s (%s) %s" % (verdict, what, path, " ".join(failed[:3])), flush=True)
    # Put the unit build back as the source is.
    run(["cmake", "--build", BUILD, "-j%d" % os.cpu_count(), "--target", "unit_tests"])
    print("%d of %d faults caught" % (caught, judged))
    return 0 if judged and caught * 10 >= judged * 9 else 1


if __name__ == "__main__":
    sys.exit(main())
