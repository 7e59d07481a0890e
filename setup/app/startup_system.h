#pragma once
// The Windows side of start-up: the token check, the elevated restart, the
// uninstaller's self-copy and the previous installation's entry. Each gathers what
// the system says and leaves the decision to setup/startup.
#include <string>
#include <vector>

namespace kestro {

// The process token is limited and its linked token is a member of BUILTIN\Administrators.
bool IsLimitedAdminToken();

// Restarts the program's own file with the verb "runas" and `args` (element 0, the
// program path, is skipped; the rest are quoted again so each stays one argument),
// then ends this process with exit code 0 whatever the start returned.
[[noreturn]] void RelaunchElevated(const std::vector<std::wstring>& args);

// The command line split by the shell's argument splitter.
std::vector<std::wstring> CommandLineArguments();

// The long form of a path (an existing file or folder); the path itself when the
// system cannot tell.
std::wstring LongPathOf(const std::wstring& path);

// The uninstaller runs only from its work copy in the temporary folder. From anywhere
// else this copies the program there, starts the copy with the same arguments and
// ends the process (exit code 0). Returns when this is the work copy.
void RunFromWorkCopy(const std::vector<std::wstring>& args);

// UninstallString of an older installation (HKLM uninstall entry "KestroGC"), or empty.
std::wstring ReadPreviousUninstallString();

// The message box start-up shows for a rejected package record (no owner, no caption).
extern const wchar_t kBadRecordMessage[];  // "安装包校验失败, 操作终止."

}  // namespace kestro
