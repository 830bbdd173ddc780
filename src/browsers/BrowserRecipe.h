#pragma once
// What a browser window deletes, as data: one recipe per window, read by one engine
// (BrowserWindow). The two browsers and the two families differ only here.
#include <string>
#include <vector>

#include "shell/CleaningContext.h"
#include "shell/Routing.h"
#include "system/Services.h"
#include "ui/FormLayout.h"

namespace olvex {

// The folder a path starts from.
enum class Folder { AppData, LocalAppData, ProgramFiles, WindowsDir };

// A folder and the fixed part that follows it, e.g. the application-data folder and
// "Mozilla\Firefox\". The special folders end with "\", the Windows folder does not, so the
// fixed parts differ in their first character.
struct Root {
    Folder folder;
    const char* sub;
};

// One check box and what it deletes: for each root in order, root + profile + name,
// through KillFile.
struct BrowserItem {
    const char* box;
    const char* name;
    std::vector<Root> roots;
};

// Firefox deletes every item in each profile that the family's profiles.ini lists, the
// profile's folder standing between root and name; Opera keeps its one profile at a fixed
// place.
enum class Profiles { EachFirefoxProfile, One };
// The NT Firefox run asks once more before it deletes the saved passwords.
enum class PasswordQuestion { OnTicking, AlsoInTheRun };
// The NT runs measure the space they freed; the Windows 98 runs just say they are done.
enum class Completion { FreedBytes, DoneOnly };

struct BrowserRecipe {
    ui::FormLayout (*layout)(const std::string& supportAddress);
    Family family;
    const char* browser;  // as the saved-password question names it
    Profiles profiles;
    PasswordQuestion passwordQuestion;
    Completion completion;
    std::vector<BrowserItem> items;  // in the order the run visits them
};

const BrowserRecipe& Form3Recipe();  // Firefox, NT family
const BrowserRecipe& Form7Recipe();  // Firefox, Windows 98 family
const BrowserRecipe& Form5Recipe();  // Opera, NT family
const BrowserRecipe& Form8Recipe();  // Opera, Windows 98 family

// root's folder followed by its fixed part, or "" when the folder is unknown: then the
// items under it are skipped rather than looked for relative to the current folder.
std::string RootPath(Services& services, const CleaningContext& context, const Root& root);

}  // namespace olvex
