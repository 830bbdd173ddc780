#pragma once
// The one place that decides which calls the program makes (SystemCalls.cpp: the family, text
// at the edge and binding by name; FileCalls, SettingCalls, ShellCalls and WindowCalls: the
// calls of each kind). It asks the platform id once: on
// the NT family it calls the wide functions; on Windows 95, 98 and ME, whose wide functions
// are stubs that fail, it calls the ANSI ones with text in the ANSI code page and no
// long-path form. Callers pass and receive UTF-8 and never ask which family they run on.
//
// Functions that not every supported Windows exports are bound by name at first use, so
// the program still starts where one is missing; the step that needs it then fails.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Errors.h"

namespace platform::win32 {

bool IsNtFamily();

// Whether the program runs under Wine rather than on Windows, asked once: Wine's shell
// empties the Recycle Bin by its host's rules, not by Windows' ones.
bool IsWine();

// Text at the edge.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* wide, int length = -1);
std::string Utf8FromAnsi(const std::string& ansi);
// nullopt when a character has no place in the ANSI code page: no such name can exist on a
// 9x volume, and a stand-in character could match another one.
std::optional<std::string> AnsiFromUtf8(const std::string& utf8);
// The ANSI text of a path or name for the 9x calls; nullopt (with the error a missing file
// gives) when it has a character the code page lacks, since no such file can exist there.
std::optional<std::string> AnsiArgument(const std::string& text);
// ANSI text where a stand-in does no harm (window texts, titles).
std::string AnsiText(const std::string& utf8);

// Whether two names are the same as the NT family's file systems compare them: without regard
// to case, as the system's upper-case table has it.
bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b);

// A function of a system library by name, found at first use; nullptr when this Windows
// lacks the library or the function. Libraries once loaded stay for the program's life.
FARPROC FindSystemFunction(const char* library, const char* function);

// The same, for a call that cannot be made without it: throws RuntimeError with the system's
// code (ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND where the system set none).
FARPROC RequireSystemFunction(const char* library, const char* function);

// The two above, typed. A call site keeps what it bound in a static local.
template <class Fn>
Fn Bound(const char* library, const char* function) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(RequireSystemFunction(library, function)));
}
template <class Fn>
Fn BoundOrNull(const char* library, const char* function) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(FindSystemFunction(library, function)));
}

// --- files -----------------------------------------------------------------------------

// Text in upper case as the 98 family's system has it for names: in the ANSI code page, by its
// own table (the NT family compares names with SameNameIgnoringCase).
std::string UpperCaseAnsi(const std::string& text);
// The 98 family: the long form of a path whose names may be short (8.3) ones, as the system
// converts it (98 and later); the path as given where it cannot.
std::string LongPathU(const std::string& path);
// The 98 family: whether the drive of root ("D:") shares its volume with another letter (a
// SUBST letter shares it with the drive its folder lies on; two letters mapped onto one
// share), or tells no serial: then a path of it cannot be told from the same file's path by
// the other letter, which these systems cannot work out.
bool SharesVolumeU(const std::string& root);

// A path as the wide file calls take it: separators unified, and, for an absolute path too
// long for the classic limit, the extended-length form (which is taken literally, so doubled
// separators are collapsed first).
std::wstring WidePath(const std::string& path);

struct FoundFile {
    std::string name;
    DWORD attributes = 0;
    uint64_t size = 0;
    uint64_t writeTime = 0;  // FILETIME as one number
};

// INVALID_HANDLE_VALUE on failure, with the last error set.
HANDLE FindFirstFileU(const std::string& pattern, FoundFile& found);
bool FindNextFileU(HANDLE find, FoundFile& found);
DWORD GetFileAttributesU(const std::string& path);
bool DeleteFileU(const std::string& path);
bool RemoveDirectoryU(const std::string& path);
// CreateFile of the family; INVALID_HANDLE_VALUE on failure, with the last error set.
HANDLE CreateFileU(const std::string& path, DWORD access, DWORD share, DWORD disposition);
// GetFullPathName of the family; "" on failure.
std::string FullPathU(const std::string& path);

// --- system ----------------------------------------------------------------------------

// The Windows folder; nullopt when it cannot be read.
std::optional<std::string> WindowsDirectoryU();
std::optional<std::string> UserNameU();
// The machine's NetBIOS name; "" when the system does not tell.
std::string ComputerNameU();
// The folder the program's file lies in, with its final "\\"; "" when the system does not
// tell. What was installed with the program (its library, its settings) is found there, by
// full path: by a bare name the system would search the current folder and the path too.
std::string ProgramFolderU();
// Throws RuntimeError when this Windows cannot measure it (Windows 95 before OSR2).
bool DiskFreeSpaceU(const std::string& root, uint64_t& freeToCaller);
// A value of a settings file, as its bytes are written, cut as the system's lookup given a
// buffer of size characters cuts it (wide characters on the NT family, bytes on 9x); def when
// missing.
std::string PrivateProfileBytesU(const std::string& section, const std::string& key,
                                 const std::string& def, const std::string& file, DWORD size);
// nullopt when the variable is not set.
std::optional<std::string> EnvironmentVariableU(const std::string& name);
// A REG_SZ or REG_EXPAND_SZ value under HKEY_LOCAL_MACHINE, the latter with the environment's
// variables filled in; nullopt when missing or of another type.
std::optional<std::string> MachineSettingU(const std::string& key, const std::string& value);
// The folder of every user's profile, as the profile library tells it; nullopt before 2000.
std::optional<std::string> ProfilesDirectoryU();
// The command line this process was started with, program name first.
std::string CommandLineU();

// --- shell -----------------------------------------------------------------------------

std::optional<std::string> PathFromIdListU(LPCITEMIDLIST list);
void ShellExecuteU(HWND owner, const std::string& operation, const std::string& file,
                   int showCommand);
// Throws RuntimeError when the shell has no Recycle Bin call (before shell32 4.71).
HRESULT EmptyRecycleBinU(HWND owner, DWORD flags);
// The items and bytes in the Recycle Bin of the drive root ("C:\\"), or of every drive for "";
// false when the shell cannot count them so. Throws where EmptyRecycleBinU would, since a
// count of what cannot be emptied is no use.
bool QueryRecycleBinU(const std::string& root, uint64_t& items, uint64_t& bytes);
// A special folder as shfolder.dll's SHGetFolderPath writes it; nullopt where the library
// is missing or the call fails.
std::optional<std::string> LibraryFolderPathU(int csidl);

// --- console ---------------------------------------------------------------------------

// Writes text to a console window in characters it shows: wide on the NT family, the OEM code
// page on the 9x family. false when not all of it was written.
bool WriteConsoleU(HANDLE console, const std::string& text);

// --- windows ---------------------------------------------------------------------------

// Registers the class unless it already is.
void RegisterWindowClassU(const std::string& name, WNDPROC procedure, HINSTANCE instance,
                          HICON icon);
HWND CreateWindowU(DWORD exStyle, const std::string& className, const std::string& text,
                   DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                   HINSTANCE instance, void* param);
LRESULT DefWindowProcU(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Replaces a control's window procedure; returns the one it had.
WNDPROC SubclassWindowU(HWND window, WNDPROC procedure);
LRESULT CallWindowProcU(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetWindowTextU(HWND window, const std::string& text);
std::string WindowTextU(HWND window);
void AppendMenuU(HMENU menu, UINT flags, UINT_PTR id, const std::string& text);
void AddListBoxItemU(HWND listBox, const std::string& text);
int MessageBoxU(HWND owner, const std::string& text, const std::string& title, UINT type);
// The message loop's calls; GetMessageU returns what GetMessage does.
BOOL GetMessageU(MSG& message);
bool IsDialogMessageU(HWND dialog, MSG& message);
void DispatchMessageU(const MSG& message);

}  // namespace platform::win32
