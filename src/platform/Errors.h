#pragma once
// Run-time errors as the program's routines see them: a number and a description.
#include <new>
#include <stdexcept>
#include <string>

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

// The standard description of a run-time error number.
std::string ErrorDescription(int number);

class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(int number) : RuntimeError(number, ErrorDescription(number)) {}
    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number), description_(description) {}
    int number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    int number_;
    std::string description_;
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
