// What olvex /summary costs natively over a large fleet: 1,000 logs of 10,000 lines each, made
// up as they are read (nothing of them is stored), summed up as text and as a page. Every
// allocation goes through counting_new.cpp. Not a test: it prints figures and judges them.
//
//   summary_bench [LOGS [LINES]]     defaults 1000 and 10000
//
// Aims: a few seconds (under 10 s) for the whole fleet, and a peak that does not grow with the
// lines of a log (the same within 64 KB for logs ten times shorter).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "console/ConsoleProgram.h"
#include "console/ConsoleToolkit.h"
#include "counting_new.h"
#include "fakes/FakeCache.h"
#include "fakes/FakeConsole.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfileReader.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystem.h"

namespace {

// One computer's log, made up a piece at a time: its header, then runs of item lines, each run
// framed, as a log of many weekly runs reads.
class MadeUpLog : public platform::ReadFile {
  public:
    MadeUpLog(size_t computer, size_t lines) : computer_(computer), lines_(lines) {
        pending_ = "\xEF\xBB\xBFtime,computer,user,category,action,path,bytes,reason\r\n";
    }
    // Lines are made only as far as the reader asks, and what it took is dropped.
    size_t Read(char* buffer, size_t size) override {
        while (pending_.size() < size && line_ < lines_) Next();
        const size_t n = std::min(size, pending_.size());
        std::memcpy(buffer, pending_.data(), n);
        pending_.erase(0, n);
        return n;
    }

  private:
    void Next() {
        char text[256];
        const size_t inRun = line_ % 100;
        if (inRun == 0)
            std::snprintf(text, sizeof text,
                          "2026-12-06 03:00:00,PC-%04zu,SYSTEM,,run-start,,,version=1.0.0.0; "
                          "windows=Windows XP; command=/clean all\r\n",
                          computer_);
        else if (inRun == 99 || line_ + 1 == lines_)
            std::snprintf(text, sizeof text,
                          "2026-12-06 03:01:00,PC-%04zu,SYSTEM,,run-end,,4900,mode=clean; "
                          "exit=%zu; files=98; folders=0; bytes=4900; stayed=0; freed=4900; "
                          "failed=\r\n",
                          computer_, computer_ % 2);
        else
            std::snprintf(text, sizeof text,
                          "2026-12-06 03:00:30,PC-%04zu,SYSTEM,windows-temp,deleted,"
                          "C:\\WINDOWS\\temp\\file%06zu.tmp,50,\r\n",
                          computer_, line_);
        pending_ += text;
        ++line_;
    }
    size_t computer_, lines_, line_ = 0;
    std::string pending_;
};

// A folder of logs whose content is made up when read; the page goes to the in-memory fake.
class Fleet : public fakes::FakeFileSystem {
  public:
    Fleet(size_t logs, size_t lines) : logs_(logs), lines_(lines) {
        AddFolder("C:\\logs");
        for (size_t i = 0; i < logs; ++i) AddFile("C:\\logs\\PC-" + std::to_string(i) + ".csv");
    }
    std::unique_ptr<platform::ReadFile> OpenForReading(const std::string& path) override {
        const size_t dash = path.rfind('-');
        return std::make_unique<MadeUpLog>(std::strtoul(path.c_str() + dash + 1, nullptr, 10),
                                           lines_);
    }

  private:
    size_t logs_, lines_;
};

struct Result {
    double seconds;
    size_t peak;
};

Result Summarize(size_t logs, size_t lines) {
    fakes::FakeSystem system;
    fakes::FakeShell shell;
    Fleet files(logs, lines);
    fakes::FakeProfileReader profiles;
    fakes::FakeConsole console;
    olvex::ConsoleToolkit toolkit(console);
    fakes::FakeUrlCache cache{files};
    fakes::FakeMemory memory;
    olvex::Services services{system, shell, files, toolkit, profiles, cache, memory};
    const size_t before = bench::InUse();
    bench::StartPeak();
    const auto start = std::chrono::steady_clock::now();
    const int code = olvex::RunConsoleProgram(services, console,
                                              {"/summary:C:\\logs", "/html:C:\\fleet.html", "/quiet"});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (code != olvex::kExitDone) {
        std::fprintf(stderr, "exit %d: %s\n", code, console.err.c_str());
        std::exit(2);
    }
    return {seconds, bench::Peak() - before};
}

}  // namespace

int main(int argc, char** argv) {
    const size_t logs = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000;
    const size_t lines = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10000;
    const Result shorter = Summarize(logs, lines / 10);
    const Result full = Summarize(logs, lines);
    std::printf("olvex /summary /html over %zu logs:\n", logs);
    std::printf("  %6zu lines each: %6.2f s, peak %8zu bytes\n", lines / 10, shorter.seconds,
                shorter.peak);
    std::printf("  %6zu lines each: %6.2f s, peak %8zu bytes\n", lines, full.seconds, full.peak);
    const bool fast = full.seconds < 10.0;
    const bool flat = full.peak <= shorter.peak + 64 * 1024;
    std::printf("under 10 s: %s; peak independent of the lines: %s\n", fast ? "met" : "NOT met",
                flat ? "met" : "NOT met");
    return fast && flat ? 0 : 1;
}
