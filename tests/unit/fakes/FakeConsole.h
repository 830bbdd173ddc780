#pragma once
// The console program's streams and clock in memory: what it writes is kept, the clock moves
// 100 ms each time it is read, and a pause moves it as far.
#include <cstdint>
#include <string>

#include "platform/Console.h"

namespace fakes {

class FakeConsole : public platform::Console {
  public:
    void Write(platform::Stream stream, const std::string& text) override {
        (stream == platform::Stream::Out ? out : err) += text;
    }
    bool IsConsole(platform::Stream stream) override {
        return stream == platform::Stream::Err && errIsConsole;
    }
    uint64_t Ticks() override { return ticks += 100; }
    std::string LocalTime() override { return "2026-12-08 10:00:00"; }
    bool IsFile(platform::Stream stream) override {
        return stream == platform::Stream::Out && outIsFile;
    }
    void Pause(uint32_t ms) override { ticks += ms; }
    std::string out, err;
    uint64_t ticks = 0;
    bool errIsConsole = false;
    bool outIsFile = false;
};

}  // namespace fakes
