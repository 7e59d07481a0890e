#include "setup/app/startup_system.h"

#include <windows.h>
#include <shellapi.h>

#include "services/shell/system_version.h"
#include "services/win/unique_handle.h"
#include "setup/engine/folders.h"
#include "setup/engine/registry_key.h"
#include "setup/engine/shell_file_ops.h"
#include "setup/startup/argument_quoting.h"
#include "setup/startup/restart_rules.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace {

// The previous installation's UninstallString is read into a buffer of this size.
constexpr DWORD kUninstallStringChars = 520;

bool LinkedTokenIsAdmin(HANDLE token) {
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size)) return false;
    UniqueHandle linkedToken(linked.LinkedToken);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize)) return false;
    BOOL member = FALSE;
    return CheckTokenMembership(linkedToken.get(), sid, &member) && member;
}

[[noreturn]] void StartAndEnd(const std::wstring& program, const wchar_t* verb, const std::wstring& parameters, int show) {
    ShellExecuteW(nullptr, verb, program.c_str(), parameters.empty() ? nullptr : parameters.c_str(), L"", show);
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);
}

}  // namespace

const wchar_t kBadRecordMessage[] = L"安装包校验失败, 操作终止.";

bool IsLimitedAdminToken() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevationType, &type, sizeof type, &size)) return false;
    const bool limited = type == TokenElevationTypeLimited;
    return ShouldRelaunchElevated(true, limited, limited && LinkedTokenIsAdmin(token.get()));
}

void RelaunchElevated(const std::vector<std::wstring>& args) {
    StartAndEnd(GetModulePath(), L"runas", BuildRestartParameters(args), SW_SHOWNORMAL);
}

std::vector<std::wstring> CommandLineArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    UniqueLocal split(CommandLineToArgvW(GetCommandLineW(), &count));
    wchar_t** argv = static_cast<wchar_t**>(split.get());
    for (int i = 0; argv && i < count; ++i) args.emplace_back(argv[i]);
    return args;
}

std::wstring LongPathOf(const std::wstring& path) {
    DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring longPath(needed, L'\0');
    DWORD written = GetLongPathNameW(path.c_str(), &longPath[0], needed);
    if (written == 0 || written >= needed) return path;
    longPath.resize(written);
    return longPath;
}

void RunFromWorkCopy(const std::vector<std::wstring>& args) {
    const std::wstring folder = WorkCopyFolder(GetTempFolder());
    EnsureFolder(folder);
    const std::wstring workCopy = WorkCopyPath(GetTempFolder());
    const std::wstring self = GetModulePath();
    // The work copy may not exist yet: its folder's long form plus the file name.
    const std::wstring workCopyLong = LongPathOf(folder) + L'\\' + kUninstallerFileName;
    if (SamePathIgnoringCase(LongPathOf(self), workCopyLong)) return;
    CopyPath(workCopy, self);
    if (IsVistaOrLater()) StartAndEnd(workCopy, L"runas", BuildRestartParameters(args), SW_SHOWNORMAL);
    StartAndEnd(workCopy, L"open", L"", SW_SHOW);
}

std::wstring ReadPreviousUninstallString() {
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kProductUninstallKey, KEY_READ) != ERROR_SUCCESS) return L"";
    wchar_t buffer[kUninstallStringChars] = {};
    if (key.QueryText(L"UninstallString", buffer, kUninstallStringChars) != ERROR_SUCCESS) return L"";
    OutputDebugStringW(buffer);
    return buffer;
}

}  // namespace kestro
