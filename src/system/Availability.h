#pragma once
// Which categories can be cleaned here: the windows enable their boxes and menu items by
// these rules, and the console program offers the same categories.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "system/Services.h"
#include "system/WindowsVersion.h"

namespace olvex {

// Prefetch cannot be cleaned on Windows 2000.
bool PrefetchCleanable(const std::string& osName);

// Only administrators may empty the other users' folders. When the test cannot be made the
// answer is yes, as the windows leave their box enabled then.
bool MayCleanOtherUsers(platform::System& system);

// Whether the program runs as the system account (a scheduled task's or a startup script's),
// whose profile lies in the Windows folder's system32\config: its Recycle Bin is its own and
// holds none of the users' files, which the shell's emptying leaves.
bool RunsAsSystemAccount(Services& services);

// Whether a browser is installed: "Program Files\<folder>" is a folder. An unknown Program
// Files folder answers no rather than look relative to the current folder.
bool BrowserInstalled(Services& services, const std::string& folder);

// Whether a browser is installed for this user alone: "<local application data>\<folder>" is
// a folder.
bool BrowserInstalledForUser(Services& services, const std::string& folder);

// What availability is judged by: the family a category is asked for, and the system's
// answers, each asked once, when first needed.
class Machine {
  public:
    // With askAdministrator false the administrator test is not made, and answers yes.
    Machine(Services& services, Family family, bool askAdministrator = true)
        : services_(services), family_(family), askAdministrator_(askAdministrator) {}
    // The same, with the system's name already known.
    Machine(Services& services, Family family, std::string osName)
        : services_(services), family_(family), askAdministrator_(true), osName_(osName) {}
    Family family() const { return family_; }
    const std::string& osName();
    // MayCleanOtherUsers.
    bool administrator();
    // How often administrator() has been asked: whether an answer rested on the user's rights.
    int administratorAsked() const { return administratorAsked_; }
    // BrowserInstalled.
    bool installed(const std::string& folder);
    // BrowserInstalledForUser.
    bool installedForUser(const std::string& folder);
    // RunsAsSystemAccount.
    bool systemAccount();

  private:
    Services& services_;
    Family family_;
    bool askAdministrator_;
    std::optional<std::string> osName_;
    std::optional<bool> administrator_;
    int administratorAsked_ = 0;
    std::optional<bool> systemAccount_;
    std::vector<std::pair<std::string, bool>> installed_;
    std::vector<std::pair<std::string, bool>> installedForUser_;
};

constexpr const char* kFirefoxFolder = "mozilla firefox";
constexpr const char* kOperaFolder = "Opera";

// Whether Chrome is installed: in Program Files for all users, or in the user's local
// application data for this user alone, as it usually is on XP.
bool ChromeInstalled(Machine& machine);

}  // namespace olvex
