#pragma once
// Scripted answers of the system queries.
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace fakes {

// Where the registry keeps the Program Files folder.
inline const std::pair<std::string, std::string> kProgramFilesDir{
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"};

class FakeSystem : public platform::System {
  public:
    // A Windows version as a test names it: "winxp", "win2k", "win98", ...
    void SetVersion(uint32_t major, uint32_t minor, uint32_t platformId, const char* csd = "",
                    int32_t build = 0) {
        version = platform::VersionRecord{};
        version.major = major;
        version.minor = minor;
        version.platformId = platformId;
        version.build = build;
        std::strncpy(version.csdVersion, csd, sizeof version.csdVersion - 1);
        version.productType = platformId == 2 ? 1 : 0;
    }

    bool QueryVersion(platform::VersionRecord& record) override {
        ++versionQueries;
        if (versionFails) return false;
        const uint32_t size = record.size;
        record = version;
        record.size = size;
        return true;
    }
    uint32_t WindowsDirectory(char* buffer, uint32_t size) override {
        if (windowsDir.size() >= size) return static_cast<uint32_t>(windowsDir.size() + 1);
        std::memcpy(buffer, windowsDir.c_str(), windowsDir.size() + 1);
        return static_cast<uint32_t>(windowsDir.size());
    }
    bool UserName(char* buffer, uint32_t* size) override {
        if (userName.size() + 1 > *size) {
            *size = static_cast<uint32_t>(userName.size() + 1);
            return false;
        }
        std::memcpy(buffer, userName.c_str(), userName.size() + 1);
        *size = static_cast<uint32_t>(userName.size() + 1);
        return true;
    }
    int IsNTAdmin() override {
        // As where advpack.dll lacks the call (ERROR_PROC_NOT_FOUND).
        if (!admin)
            throw platform::RuntimeError("advpack.dll of this Windows has no IsNTAdmin",
                                         {platform::SystemCode::Kind::Win32, 127});
        return *admin;
    }

    bool DiskFreeSpace(const std::string& root, uint64_t& freeToCaller) override {
        measuredRoots.push_back(root);
        if (!freeScript.empty()) {
            const std::optional<uint64_t> figure = freeScript.front();
            freeScript.pop_front();
            if (figure) freeToCaller = *figure;
            return figure.has_value();
        }
        if (freeFigures.empty()) return false;
        freeToCaller = freeFigures.front();
        if (freeFigures.size() > 1) freeFigures.erase(freeFigures.begin());
        return true;
    }

    std::optional<std::string> EnvironmentVariable(const std::string& name) override {
        auto it = environment.find(name);
        if (it == environment.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::string> MachineSetting(const std::string& key,
                                              const std::string& value) override {
        auto it = machineSettings.find({key, value});
        if (it == machineSettings.end()) return std::nullopt;
        return it->second;
    }

    // GetProfilesDirectory of the profile library (2000 on); nullopt where it is missing.
    std::optional<std::string> ProfilesDirectory() override { return profilesDirectory; }
    std::string ComputerName() override { return computerName; }
    std::string ProgramFolder() override { return programFolder; }
    uint64_t CurrentTime() override { return now; }
    std::string computerName = "PC-01";
    std::string programFolder = "C:\\Program Files\\Olvex Cleaner\\";
    uint64_t now = 134000000000000000ULL;  // late 2025, in 100 ns steps since 1601

    platform::VersionRecord version{};
    std::optional<std::string> profilesDirectory;
    // One answer per measurement, nullopt for one that fails; once it is used up,
    // freeFigures answers.
    std::deque<std::optional<uint64_t>> freeScript;
    std::vector<uint64_t> freeFigures;  // one per measurement; the last one repeats
    std::vector<std::string> measuredRoots;
    bool versionFails = false;
    int versionQueries = 0;
    std::string windowsDir = "C:\\WINDOWS";
    std::string userName = "Jo";
    // None set, as on the 9x family.
    std::map<std::string, std::string> environment;
    // (key, value) under HKEY_LOCAL_MACHINE.
    std::map<std::pair<std::string, std::string>, std::string> machineSettings;
    std::optional<int> admin = 1;  // nullopt: the test cannot be made
};

}  // namespace fakes
