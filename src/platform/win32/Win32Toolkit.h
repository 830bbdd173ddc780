#pragma once
// Real windows for the program's forms, created from their layout tables.
#include <windows.h>

#include <map>
#include <vector>

#include "platform/win32/Owned.h"
#include "ui/Toolkit.h"

namespace platform::win32 {

class Win32Peer;

class Win32Toolkit : public ui::Toolkit {
  public:
    explicit Win32Toolkit(HINSTANCE instance);

    std::unique_ptr<ui::WindowPeer> CreatePeer(ui::Form& form) override;
    int MsgBox(const std::string& text, int buttons, const std::string& title) override;
    void SetMousePointer(int pointer) override;
    void Quit() override;
    [[noreturn]] void End() override;

    // Runs the message loop until the last window is gone; returns the exit code.
    int Run();

    // Used by the windows.
    HINSTANCE instance() const { return instance_; }
    HFONT Font(double points);
    HICON Icon() const { return icon_; }
    bool Hourglass() const { return pointer_ == ui::kPointerHourglass; }
    void Register(Win32Peer* peer);
    void Unregister(Win32Peer* peer);
    int ToPixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    int ToTwips(int pixels) const { return MulDiv(pixels, 1440, dpi_); }

  private:
    HINSTANCE instance_;
    int dpi_ = 96;
    HICON icon_ = nullptr;
    int pointer_ = ui::kPointerDefault;
    std::map<int, GdiObject<HFONT>> fonts_;  // by size in hundredths of a point
    std::vector<Win32Peer*> peers_;
};

}  // namespace platform::win32
