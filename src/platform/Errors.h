#pragma once
// Run-time errors as the program's routines see them: the number the windows' library box
// shows, and for a report what went wrong in the system's own words and code.
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

// Error numbers the routines know by name.
enum ErrorNumber : int {
    kErrInvalidCall = 5,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,
    kErrBadFileName = 52,
    kErrFileNotFound = 53,
    kErrFileAlreadyOpen = 55,
    kErrIoError = 57,
    kErrDiskFull = 61,
    kErrDeviceUnavailable = 68,
    kErrPermissionDenied = 70,
    kErrDiskNotReady = 71,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
    kErrObjectRequired = 424,
    kErrCannotCreateObject = 429,
    kErrAutomation = 440,
};

// The standard description of a run-time error number, as the windows' library box shows it.
std::string ErrorDescription(int number);

// The code a system call failed with, kept exactly as the system gave it.
struct SystemCode {
    enum class Kind : uint8_t { None, Win32, NtStatus, HResult };
    Kind kind = Kind::None;
    uint32_t value = 0;
    explicit operator bool() const { return kind != Kind::None; }
};

// "Win32 error 0x00000005", "NTSTATUS 0xC0000022", "HRESULT 0x80004001"; "" for none.
std::string DescribeCode(const SystemCode& code);

class RuntimeError : public std::runtime_error {
  public:
    // number is what the windows show; reason what a report tells a reader (the system's
    // message, or what failed), and code the system's own code where it gave one.
    explicit RuntimeError(int number, std::string reason = "", SystemCode code = {})
        : std::runtime_error(reason.empty() ? ErrorDescription(number) : reason),
          number_(number),
          reason_(std::move(reason)),
          code_(code) {}
    int number() const { return number_; }
    std::string description() const { return ErrorDescription(number_); }
    // "" when the thrower said nothing beyond the number.
    const std::string& reason() const { return reason_; }
    const SystemCode& code() const { return code_; }

  private:
    int number_;
    std::string reason_;
    SystemCode code_;
};

// A step the program will not take, by its own rule rather than for a failure of the system:
// reason says why.
class Refusal : public RuntimeError {
  public:
    explicit Refusal(std::string reason) : RuntimeError(kErrPermissionDenied, std::move(reason)) {}
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
