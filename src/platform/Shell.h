#pragma once
// The shell: its special folders, opening documents, and its Recycle Bin and history.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class SystemChanges;

class Shell {
  public:
    virtual ~Shell() = default;
    // The path of a shell special folder, as the shell writes it (no trailing backslash
    // added); nullopt when the shell does not know the folder.
    virtual std::optional<std::string> SpecialFolderPath(int csidl) = 0;
    // The same folder as the folder library (shfolder.dll) writes it: later Internet Explorer
    // versions bring it to systems whose shell predates some folders. nullopt where the
    // library is missing or does not know the folder.
    virtual std::optional<std::string> LibraryFolderPath(int csidl) = 0;
    // Opens a document or address with the shell; owner is a window handle.
    virtual void Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                         int showCommand) = 0;
    // The items and bytes the Recycle Bin of the drive root ("C:\\") holds, or those of every
    // drive for the root "", as the shell counts them; false when the shell cannot count
    // them so. Throws as EmptyRecycleBin does where that could not empty them, so that a
    // preview fails where the emptying would.
    virtual bool QueryRecycleBin(const std::string& root, uint64_t& items, uint64_t& bytes) = 0;

  private:
    // What changes the system, reached through SystemChanges alone.
    friend class SystemChanges;
    // Empties the Recycle Bin of every drive without asking and without progress; returns
    // the shell's result (0 on success). Throws RuntimeError when the system has no call
    // that empties it, or none that can be trusted to delete only what it holds.
    virtual long EmptyRecycleBin(uintptr_t owner) = 0;
    virtual void UpdateRecycleBinIcon() = 0;
    // Clears the browser's URL history; throws RuntimeError when the history object cannot
    // be created or the call fails.
    virtual void ClearUrlHistory() = 0;
};

}  // namespace platform
