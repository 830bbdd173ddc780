#pragma once
// The designed layout of every window. The support address shown at the foot of a window
// comes from the caller.
#include <string>

#include "ui/FormLayout.h"

namespace ui {

FormLayout Form1Layout(const std::string& supportAddress);
FormLayout Form2Layout();
FormLayout Form3Layout(const std::string& supportAddress);
FormLayout Form4Layout(const std::string& supportAddress);
FormLayout Form5Layout(const std::string& supportAddress);
FormLayout Form6Layout(const std::string& supportAddress);
FormLayout Form7Layout(const std::string& supportAddress);
FormLayout Form8Layout(const std::string& supportAddress);
FormLayout Form9Layout();
FormLayout Form10Layout(const std::string& supportAddress);

// Pieces several windows share.
extern const char* const kTitleCaption;    // "Olvex Cleaner "
extern const char* const kSupportCaption;  // "For technical support please email: "
// The menu bar: Main, Firefox, Opera, Chrome on the NT family only, Information.
enum class Browsers { FirefoxAndOpera, WithChrome };
std::vector<MenuLayout> FamilyMenus(const char* firefoxName, const char* firefoxCaption,
                                    Browsers browsers);

}  // namespace ui
