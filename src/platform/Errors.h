#pragma once
// Run-time errors as the program's routines see them: what went wrong in the system's own
// words, and the system's code exactly as it gave it.
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

// The code a system call failed with, kept exactly as the system gave it.
struct SystemCode {
    enum class Kind : uint8_t { None, Win32, NtStatus, HResult, Sqlite };
    Kind kind = Kind::None;
    uint32_t value = 0;
    explicit operator bool() const { return kind != Kind::None; }
};

// "Win32 error 0x00000005", "NTSTATUS 0xC0000022", "HRESULT 0x80004001", "SQLite result
// code 5"; "" for none.
std::string DescribeCode(const SystemCode& code);

class RuntimeError : public std::runtime_error {
  public:
    // reason is what a report tells a reader (the system's message, or what failed); code the
    // system's own code where it gave one.
    explicit RuntimeError(std::string reason, SystemCode code = {})
        : std::runtime_error(reason.empty() ? DescribeCode(code) : reason),
          reason_(std::move(reason)),
          code_(code) {}
    // "" when the thrower said nothing beyond the code.
    const std::string& reason() const { return reason_; }
    const SystemCode& code() const { return code_; }

  private:
    std::string reason_;
    SystemCode code_;
};

// A step the program will not take, by its own rule rather than for a failure of the system:
// reason says why.
class Refusal : public RuntimeError {
  public:
    explicit Refusal(std::string reason) : RuntimeError(std::move(reason)) {}
};

// Thrown by Toolkit::End in the in-memory toolkit: the program stops at once. It is not a
// run-time error, so no "skip this step" rule ever swallows it.
struct ProgramEnded {};

// Runs one step of a load handler or a cleaning run: a step that fails at run time (or runs
// out of memory) is skipped silently. Anything else is a fault of the program and goes on.
template <class Step>
void SkipOnFailure(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace platform
