#pragma once
// The decisions of the shell helpers, apart from the system calls that carry them
// out, so they can be checked for any system version and any folder.
#include <string>

namespace kestro {

// NT-family system (platform id 2) with major version above 5.
bool IsVistaOrLaterVersion(unsigned long platformId, unsigned long majorVersion);

// "runas" from Vista on, "open" before (no elevation to ask for).
const wchar_t* ElevationVerb(bool vistaOrLater);

// "%s\%s.lnk" of folder and display name; empty when either is empty, so a
// missing folder never turns into a link at the root of the current drive.
std::wstring ShortcutFilePath(const std::wstring& folder, const std::wstring& name);

// The working folder a shortcut gets: the target itself for a folder, else the
// target without its last component ("D:\App\run.exe" -> "D:\App", "D:\run.exe" -> "D:\").
std::wstring ShortcutWorkingFolder(const std::wstring& target, bool targetIsDirectory);

enum class TaskbarChange { kPin, kUnpin };

// What pinning or unpinning a display name does on a given system: nothing before
// Vista; otherwise the verb "taskbarpin"/"taskbarunpin" on the Quick Launch link of that name.
struct TaskbarVerbCall {
    bool run = false;
    const wchar_t* verb = L"";
    std::wstring file;
};
TaskbarVerbCall DecideTaskbarVerb(TaskbarChange change, bool vistaOrLater, const std::wstring& quickLaunchFolder,
                                  const std::wstring& name);

}  // namespace kestro
