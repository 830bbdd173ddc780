// What the console program itself holds while it previews or cleans a very large folder,
// whatever the system underneath keeps: the whole program (olvex::RunConsoleProgram, its
// command line, categories, report, log and the engine under it) run natively on a Windows
// temp folder whose listing is made up as it is read and never stored. Its output and its log
// are counted and dropped. Every allocation goes through the counting operator new of
// counting_new.cpp, so the peak is the program's own. Not a test: it prints figures and judges
// them against the aim.
//
//   console_memory    the peak bytes of `/preview windows-temp /details` and of
//                     `/clean windows-temp /log:C:\x.csv` on folders of 0, 20,000 and 300,000
//                     files straight in C:\WINDOWS\temp
//
// Aim: at 300,000 files each peak within 4 MB of the same run's on an empty folder: the report
// keeps only totals, and nothing per item stays once it is written.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/ConsoleProgram.h"
#include "console/ConsoleToolkit.h"
#include "console/RunLog.h"
#include "counting_new.h"
#include "fakes/FakeProfileReader.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystem.h"
#include "platform/Platform.h"

namespace {

using platform::Deletion;
using platform::FindEntry;

const char* const kFolders[] = {"WINDOWS", "temp"};  // below C:, where windows-temp sweeps
const char* const kLogName = "x.csv";  // the log, straight in C:\, as /log:C:\x.csv names it

// Entries made up as they are read: nothing of the listing is stored.
class MadeUpListing : public platform::Finder {
  public:
    explicit MadeUpListing(size_t files) : files_(files) {}
    bool Next(FindEntry& entry) override {
        if (next_ == files_) return false;
        char name[32];
        std::snprintf(name, sizeof name, "file%06zu.tmp", next_++);
        entry = FindEntry{name, platform::kAttrArchive, 100, 0};
        return true;
    }

  private:
    size_t files_;
    size_t next_ = 0;
};

// What is written to a file: counted (bytes, lines) and dropped.
struct Written {
    size_t bytes = 0, lines = 0;
    void Add(const std::string& text) {
        bytes += text.size();
        for (char c : text) lines += c == '\n';
    }
};

struct Counts {
    size_t deleted = 0, probed = 0;
    Written log;  // the one file the program writes, its log
};

// C:\, C:\WINDOWS and C:\WINDOWS\temp (depth 0, 1, 2); only the last holds files. A deleted
// file does not come again in a later listing.
class MadeUpFolder : public platform::OpenedFolder {
  public:
    MadeUpFolder(size_t depth, size_t files, Counts& counts)
        : depth_(depth), files_(files), counts_(counts) {}
    std::unique_ptr<platform::Finder> Entries() override {
        return std::make_unique<MadeUpListing>(depth_ == 2 ? files_ - counts_.deleted : 0);
    }
    Deletion DeleteListedFile(const FindEntry&, platform::AgeCheck*) override {
        ++counts_.deleted;
        return Deletion::Deleted;
    }
    Deletion ProbeDeletion(const FindEntry&, platform::AgeCheck*) override {
        ++counts_.probed;
        return Deletion::Deleted;
    }
    // The log, once written, is the one file C:\ holds: the run resolves it to keep it.
    std::optional<FindEntry> Lookup(const std::string& name) override {
        if (depth_ == 0 && name == kLogName && counts_.log.bytes)
            return FindEntry{kLogName, platform::kAttrArchive, counts_.log.bytes};
        return std::nullopt;
    }
    platform::FileIdentity Identity() override { return {0, depth_ + 1, ""}; }
    platform::FileIdentity IdentityOf(const FindEntry& entry) override {
        if (depth_ == 0 && entry.name == kLogName) return {0, 100, ""};
        return {};
    }
    bool IsListedFile(const FindEntry&) override { return true; }
    bool DeleteAtRestart(const FindEntry&) override { return false; }
    Deletion ReplaceListedFile(const FindEntry&, const std::string&) override {
        return Deletion::Refused;
    }
    platform::FolderOwner Owner() override { return platform::FolderOwner::Trusted; }
    platform::Opening OpenListedFolder(const FindEntry& entry, platform::Hold) override {
        if (depth_ == 2 || entry.name != kFolders[depth_]) return platform::OpenRefusal::NotThere;
        return {std::make_unique<MadeUpFolder>(depth_ + 1, files_, counts_)};
    }
    platform::WriteOpening OpenOwnFile(const std::string&) override {
        struct File : platform::AppendFile {
            explicit File(Written& w) : written(w) {}
            bool IsEmpty() override { return written.bytes == 0; }
            std::string Head(size_t) override {
                return "\xEF\xBB\xBF" + std::string(olvex::kLogHeader);
            }
            bool Append(const std::string& bytes) override {
                written.Add(bytes);
                return true;
            }
            bool Clear() override { return false; }
            std::optional<uint64_t> Size() override { return written.bytes; }
            std::string Tail(size_t) override { return "\n"; }
            bool Flush() override { return true; }
            bool CutTo(uint64_t) override { return false; }
            Written& written;
        };
        return {std::make_unique<File>(counts_.log)};
    }
    bool RemoveEmpty() override { return false; }  // the start folder itself stays
    platform::Move MoveInto(platform::OpenedFolder&, const std::string&) override {
        return platform::Move::Refused;
    }

  private:
    size_t depth_, files_;
    Counts& counts_;
};

class MadeUpFileSystem : public platform::FileSystem {
  public:
    explicit MadeUpFileSystem(size_t files) : files_(files) {}
    std::unique_ptr<platform::Finder> Find(const std::string&) override { return nullptr; }
    // Only the folders on the way to the temp folder are there: no browser is installed.
    uint32_t GetAttributes(const std::string& path) override {
        return path == "C:\\WINDOWS" || path == "C:\\WINDOWS\\temp" ? platform::kAttrDirectory
                                                                    : platform::kInvalidAttributes;
    }
    platform::Opening OpenRoot(const std::string& root) override {
        if (root != "C:") return platform::OpenRefusal::NotThere;
        return {std::make_unique<MadeUpFolder>(0, files_, counts)};
    }
    platform::DriveKind KindOfDrive(const std::string&) override {
        return platform::DriveKind::LocalFixed;
    }
    std::vector<std::string> FixedDriveRoots() override { return {"C:\\"}; }
    std::string FullPath(const std::string& path) override { return path; }
    std::unique_ptr<platform::ReadFile> OpenForReading(const std::string&) override {
        return nullptr;
    }
    platform::FileHold HoldOf(const std::string&, platform::HoldProbe) override { return platform::FileHold::Absent; }
    Counts counts;

  private:
    size_t files_;
};

// The windows-temp category reaches neither the cache index nor the memory calls it reads
// the index with: an empty index, and no memory.
class EmptyUrlCache : public platform::UrlCache {
  public:
    uintptr_t FindFirst(const char*, uintptr_t, uint32_t& size) override {
        size = 0;
        return 0;
    }
    bool FindNext(uintptr_t, uintptr_t, uint32_t& size) override {
        size = 0;
        return false;
    }
    void FindClose(uintptr_t) override {}
    bool DeleteEntry(const std::string&, platform::SystemCode*) override { return false; }
    std::optional<std::string> LocalFile(const std::string&) override { return std::nullopt; }
};

class NoMemory : public platform::Memory {
  public:
    uintptr_t Allocate(uint32_t) override { return 0; }
    void Lock(uintptr_t, uint32_t) override {}
    void Unlock(uintptr_t, uint32_t) override {}
    void Free(uintptr_t, uint32_t) override {}
    bool CanRead(uintptr_t, uint32_t length) override { return length == 0; }
    bool CanWrite(uintptr_t, uint32_t length) override { return length == 0; }
    bool CanReadString(uintptr_t, uint32_t) override { return false; }
    std::string ReadString(uintptr_t, uint32_t) override { return {}; }
    void Copy(uintptr_t, uintptr_t, uint32_t) override {}
};

// Standard output redirected, standard error a console window (so the progress line is drawn
// too), a clock that moves 10 ms a look, and a log file: what is written is counted (bytes,
// lines) and dropped.
class CountingConsole : public platform::Console {
  public:
    void Write(platform::Stream stream, const std::string& text) override {
        (stream == platform::Stream::Out ? out : err).Add(text);
    }
    bool IsConsole(platform::Stream stream) override { return stream == platform::Stream::Err; }
    uint64_t Ticks() override { return ticks += 10; }
    std::string LocalTime() override { return "2026-12-08 10:00:00"; }
    bool IsFile(platform::Stream) override { return false; }
    void Pause(uint32_t) override {}
    Written out, err;
    uint64_t ticks = 0;
};

struct Run {
    size_t peak;   // bytes beyond what was in use before the run
    size_t lines;  // of the listing (/details) or of the log
};

// One run of the program on a temp folder of `files` files; exits when it did not do what it
// should have, so that a peak is never taken of a run that skipped the work.
Run PeakOf(const std::vector<std::string>& arguments, size_t files) {
    fakes::FakeSystem system;
    system.SetVersion(5, 1, 2, "Service Pack 3", 2600);  // XP
    system.freeFigures = {1000000, 5000000};
    fakes::FakeShell shell;
    MadeUpFileSystem fileSystem(files);
    fakes::FakeProfileReader profiles;
    EmptyUrlCache urlCache;
    NoMemory memory;
    CountingConsole console;
    olvex::ConsoleToolkit toolkit(console);
    olvex::Services services{system, shell, fileSystem, toolkit, profiles, urlCache, memory};

    const bool preview = arguments[0] == "/preview";
    const size_t before = bench::InUse();
    bench::StartPeak();
    const int code = olvex::RunConsoleProgram(services, console, arguments);
    const size_t peak = bench::Peak() - before;

    const Counts& done = fileSystem.counts;
    // The listing: a heading, a line a file, the totals, and the total over all categories;
    // the log: its header, the run's first line, a line a file and the run's last line.
    const size_t lines = preview ? console.out.lines : done.log.lines;
    const size_t expected = preview ? files + 4 : files + 3;
    if (code != olvex::kExitDone || (preview ? done.probed : done.deleted) != files ||
        (preview ? done.deleted : done.probed) != 0 || lines != expected) {
        std::fprintf(stderr,
                     "%s on %zu files: exit %d, %zu probed, %zu deleted, %zu lines of %zu\n",
                     arguments[0].c_str(), files, code, done.probed, done.deleted, lines, expected);
        std::exit(2);
    }
    return Run{peak, lines};
}

}  // namespace

int main() {
    constexpr size_t kAimBytes = 4 * 1024 * 1024;
    const std::vector<std::vector<std::string>> commands = {
        {"/preview", "windows-temp", "/details"},
        {"/clean", "windows-temp", "/log:C:\\x.csv"},
    };
    // What the program builds once and keeps for the process's life (its tables) is built by
    // a first run that is not counted.
    PeakOf(commands[0], 0);
    bool met = true;
    for (const std::vector<std::string>& arguments : commands) {
        std::string command;
        for (const std::string& argument : arguments) command += " " + argument;
        const size_t empty = PeakOf(arguments, 0).peak;
        std::printf("olvex%s\n  empty folder:   peak %9zu bytes\n", command.c_str(), empty);
        for (size_t files : {size_t{20000}, size_t{300000}}) {
            const Run run = PeakOf(arguments, files);
            std::printf(
                "  %7zu files:  peak %9zu bytes, %+zd beyond the empty folder's (%zu lines "
                "written)\n",
                files, run.peak, static_cast<ssize_t>(run.peak) - static_cast<ssize_t>(empty),
                run.lines);
            if (files == 300000) met = met && run.peak <= empty + kAimBytes;
        }
    }
    std::printf("peak at 300,000 files within 4 MB of an empty folder's, preview and clean: %s\n",
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
