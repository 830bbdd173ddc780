#pragma once
// The toolkit of the console program, which has no windows: what a window would show in a
// message box goes to standard error, and questions get their default answer.
#include "platform/Console.h"
#include "ui/Toolkit.h"

namespace olvex {

class ConsoleToolkit : public ui::Toolkit {
  public:
    explicit ConsoleToolkit(platform::Console& console) : console_(console) {}
    std::unique_ptr<ui::WindowPeer> CreatePeer(ui::Form& form) override;
    // "title: text" on standard error; a yes-or-no question is answered no.
    int MsgBox(const std::string& text, int buttons, const std::string& title) override;
    void SetMousePointer(int) override {}
    void Quit() override {}
    [[noreturn]] void End() override;

  private:
    platform::Console& console_;
};

}  // namespace olvex
