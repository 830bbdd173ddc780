#pragma once
// The program's logic wired to the in-memory system, file system, shell and toolkit.
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeCache.h"
#include "fakes/FakeDatabases.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfileReader.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeToolkit.h"
#include "shell/App.h"

namespace fakes {

struct Rig {
    FakeSystem system;
    FakeShell shell;
    FakeFileSystem files;
    FakeToolkit toolkit;
    FakeProfileReader profiles;
    FakeUrlCache urlCache{files};
    FakeMemory memory;
    FakeDatabases databases{files};
    olvex::Services services{system, shell,  files,  toolkit,
                             profiles, urlCache, memory, &databases};
    platform::SystemChanges changes{shell, urlCache};
    std::unique_ptr<olvex::App> app = std::make_unique<olvex::App>(services);

    // The version records Wine reports for its version settings.
    void SetWindows(const std::string& name) {
        struct Setting {
            const char* name;
            uint32_t major, minor, platformId;
            const char* csd;
            int32_t build;
        };
        static const Setting settings[] = {
            {"winxp", 5, 1, 2, "Service Pack 3", 2600},
            {"win2k", 5, 0, 2, "Service Pack 4", 2195},
            {"win98", 4, 10, 1, " A ", 67766446},
            {"winme", 4, 90, 1, " ", 73010104},
            {"win95", 4, 0, 1, "", 67109814},
            {"nt40", 4, 0, 2, "Service Pack 6a", 1381},
            {"win2003", 5, 2, 2, "Service Pack 2", 3790},
            {"win7", 6, 1, 2, "Service Pack 1", 7601},
        };
        for (const Setting& s : settings) {
            if (name != s.name) continue;
            system.SetVersion(s.major, s.minor, s.platformId, s.csd, s.build);
            return;
        }
        throw std::invalid_argument(name);
    }

    // The system account, as a task scheduled to run as SYSTEM on XP has it: its profile is
    // system32\config\systemprofile, nowhere near the users' ones, whose folder the profile
    // library and the registry's ProfileList name.
    void BeSystemAccount() {
        const std::string profile = system.windowsDir + "\\system32\\config\\systemprofile";
        system.userName = "SYSTEM";
        system.profilesDirectory = "C:\\Documents and Settings";
        shell.folders = {{0x1A, profile + "\\Application Data"},
                         {0x1C, profile + "\\Local Settings\\Application Data"},
                         {0x20, profile + "\\Local Settings\\Temporary Internet Files"},
                         {0x21, profile + "\\Cookies"},
                         {0x22, profile + "\\Local Settings\\History"},
                         {0x26, "C:\\Program Files"},
                         {0x28, profile}};
    }

    olvex::App& Start() {
        app->Start();
        return *app;
    }

    ui::Form& Form(int n) { return app->Form(n); }

    std::vector<std::string> VisibleForms() {
        std::vector<std::string> visible;
        for (int n = 1; n <= 10; ++n) {
            if (app->Form(n).Visible()) visible.push_back(app->Form(n).name());
        }
        return visible;
    }
};

}  // namespace fakes
