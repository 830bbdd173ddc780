#include "shell/Form4.h"

#include "platform/Errors.h"
#include "shell/Config.h"
#include "shell/Links.h"
#include "system/WindowsVersion.h"
#include "ui/Layouts.h"

namespace olvex {

Form4::Form4(App& app) : ui::Form(app.services().toolkit, ui::Form4Layout(config::kSupportEmail)), app_(app) {
    Ctl("Command3").Click = [this] { Unload(); };
    Ctl("Label3").Click = [this] {
        OpenOutsidePage(app_.services(), hWnd(), config::kSupportPage);
    };
}

void Form4::Form_Load() {
    platform::SkipOnFailure(
        [this] { Ctl("Label4").SetCaption("for " + WindowsVersion(app_.services().system).os_name); });
}

void Form4::Form_Unload() {
    // The main window is loaded (hidden) behind this notice; nothing else is waited for.
    app_.Form(1).Unload();
    Unload();
    toolkit().End();
}

}  // namespace olvex
