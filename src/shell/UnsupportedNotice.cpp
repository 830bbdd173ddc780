#include "shell/UnsupportedNotice.h"

#include "platform/Errors.h"
#include "shell/Config.h"
#include "shell/Links.h"
#include "system/WindowsVersion.h"
#include "ui/Layouts.h"

namespace olvex {

UnsupportedNotice::UnsupportedNotice(App& app)
    : ui::Form(app.services().toolkit, ui::Form4Layout(config::kSupportEmail)), app_(app) {
    Ctl("Command3").Click = [this] { Unload(); };
    Ctl("Label3").Click = [this] {
        OpenOutsidePage(app_.services(), hWnd(), config::kSupportPage);
    };
}

void UnsupportedNotice::Form_Load() {
    platform::SkipOnFailure([this] {
        Ctl("Label4").SetCaption("for " + WindowsVersion(app_.services().system).os_name);
    });
}

void UnsupportedNotice::Form_Unload() {
    // The main window is loaded (hidden) behind this notice; nothing else is waited for.
    app_.Form(1).Unload();
    Unload();
    toolkit().End();
}

}  // namespace olvex
