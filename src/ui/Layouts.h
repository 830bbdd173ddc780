#pragma once
// The designed layout of every window.
#include "ui/FormSpec.h"

namespace ui {

const FormSpec& Form1Layout();
const FormSpec& Form2Layout();
const FormSpec& Form3Layout();
const FormSpec& Form4Layout();
const FormSpec& Form5Layout();
const FormSpec& Form6Layout();
const FormSpec& Form7Layout();
const FormSpec& Form8Layout();
const FormSpec& Form9Layout();

// Pieces several windows share.
extern const char* const kTitleCaption;      // "Olvex Cleaner "
extern const char* const kSupportCaption;    // "For technical support please email: "
std::vector<MenuSpec> FamilyMenus(const char* firefoxName, const char* firefoxCaption);

}  // namespace ui
