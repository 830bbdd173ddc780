#include "shell/InformationWindow.h"

#include "shell/Config.h"

namespace olvex {

InformationWindow::InformationWindow(App& app, const ui::FormLayout& layout)
    : FamilyWindow(app, layout) {
    Ctl("Command1").Click = [this] { Command1_Click(); };
}

void InformationWindow::Command1_Click() {
    OpenLink(config::kDonationPage);
}

}  // namespace olvex
