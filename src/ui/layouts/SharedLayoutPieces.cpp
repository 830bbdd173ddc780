#include "ui/Layouts.h"

namespace ui {

const char* const kTitleCaption = "Olvex Cleaner ";
const char* const kSupportCaption = "For technical support please email: ";

std::vector<MenuLayout> FamilyMenus(const char* firefoxName, const char* firefoxCaption) {
    return {{"mnuMain", "Main"},
            {firefoxName, firefoxCaption},
            {"mnuOpera", "Opera"},
            {"mnuInfo", "Information"}};
}

}  // namespace ui
