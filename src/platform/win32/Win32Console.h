#pragma once
#include "platform/Console.h"

namespace platform::win32 {

// The standard streams as the process got them, and the system's clock.
class Win32Console : public Console {
  public:
    void Write(Stream stream, const std::string& text) override;
    bool IsConsole(Stream stream) override;
    bool IsFile(Stream stream) override;
    uint64_t Ticks() override;
    std::string LocalTime() override;
    void Pause(uint32_t ms) override;

  private:
    // The system's count wraps after 49.7 days; the wraps seen so far are added on.
    uint32_t lastTicks_ = 0;
    uint64_t wrapped_ = 0;
};

}  // namespace platform::win32
