#pragma once
// The designed layout of every window.
#include "ui/FormLayout.h"

namespace ui {

const FormLayout& Form1Layout();
const FormLayout& Form2Layout();
const FormLayout& Form3Layout();
const FormLayout& Form4Layout();
const FormLayout& Form5Layout();
const FormLayout& Form6Layout();
const FormLayout& Form7Layout();
const FormLayout& Form8Layout();
const FormLayout& Form9Layout();

// Pieces several windows share.
extern const char* const kTitleCaption;    // "Olvex Cleaner "
extern const char* const kSupportCaption;  // "For technical support please email: "
std::vector<MenuLayout> FamilyMenus(const char* firefoxName, const char* firefoxCaption);

}  // namespace ui
