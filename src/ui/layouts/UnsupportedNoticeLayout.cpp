// The notice shown on systems the program does not serve.
#include "ui/Layouts.h"

namespace ui {

FormLayout Form4Layout(const std::string& supportAddress) {
    return FormLayout{
        "Form4",
        "Olvex Cleaner - Unsupported Version",
        3720,
        6840,
        {
            {Kind::Image, "Image1", "", 240, 360, 480, 480, ""},
            {Kind::Label, "Label1", kTitleCaption, 840, 240, 2535, 495, "", 20.25},
            {Kind::Label, "Label4", "Label4", 840, 720, 1815, 375, ""},
            {Kind::Frame, "Frame1", "Currently Unsupported", 240, 1200, 3255, 2415, "", 9.75, true},
            {Kind::Label, "Label5",
             "Some operating systems  are currently unsupported. If you would like to see "
             "support for these operating systems added please email me by clicking the blue "
             "tech support email below.",
             120, 360, 3015, 1815, "Frame1", 9.75, false, true},
            {Kind::Button, "Command3", "Exit", 720, 4560, 2295, 495, ""},
            {Kind::Label, "Label2", kSupportCaption, 360, 6000, 3135, 255, "", 9},
            {Kind::Label, "Label3", supportAddress, 600, 6360, 2655, 255, "", 9, true},
        },
        {},
    };
}

}  // namespace ui
