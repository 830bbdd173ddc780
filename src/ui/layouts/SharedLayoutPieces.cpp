#include "ui/Layouts.h"

namespace ui {

const char* const kTitleCaption = "Olvex Cleaner ";
const char* const kSupportCaption = "For technical support please email: ";

std::vector<MenuLayout> FamilyMenus(const char* firefoxName, const char* firefoxCaption,
                                    Browsers browsers) {
    std::vector<MenuLayout> menus{
        {"mnuMain", "Main"}, {firefoxName, firefoxCaption}, {"mnuOpera", "Opera"}};
    if (browsers == Browsers::WithChrome) menus.push_back({"mnuChrome", "Chrome"});
    menus.push_back({"mnuInfo", "Information"});
    return menus;
}

}  // namespace ui
