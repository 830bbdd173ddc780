#include "console/ConsoleToolkit.h"

#include <cstdlib>
#include <stdexcept>

#include "ui/Form.h"

namespace olvex {

std::unique_ptr<ui::WindowPeer> ConsoleToolkit::CreatePeer(ui::Form& form) {
    throw std::logic_error("the console program opens no window (" + form.name() + ")");
}

int ConsoleToolkit::MsgBox(const std::string& text, int buttons, const std::string& title) {
    console_.Write(platform::Stream::Err, title + ": " + text + "\n");
    return buttons == ui::kYesNo ? ui::kAnswerNo : ui::kAnswerOk;
}

void ConsoleToolkit::End() {
    std::exit(3);
}

}  // namespace olvex
