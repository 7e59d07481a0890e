#include "shell_rules.h"

namespace kestro {
namespace {
constexpr unsigned long kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT
}

bool IsVistaOrLaterVersion(unsigned long platformId, unsigned long majorVersion) {
    return platformId == kPlatformNt && majorVersion > 5;
}

const wchar_t* ElevationVerb(bool vistaOrLater) { return vistaOrLater ? L"runas" : L"open"; }

std::wstring ShortcutFilePath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || name.empty()) return std::wstring();
    return folder + L"\\" + name + L".lnk";
}

std::wstring ShortcutWorkingFolder(const std::wstring& target, bool targetIsDirectory) {
    if (targetIsDirectory) return target;
    size_t slash = target.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::wstring();
    // Keep the separator of a drive root: "D:" alone means the drive's current folder.
    if (slash == 2 && target[1] == L':') return target.substr(0, 3);
    return target.substr(0, slash);
}

TaskbarVerbCall DecideTaskbarVerb(TaskbarChange change, bool vistaOrLater, const std::wstring& quickLaunchFolder,
                                  const std::wstring& name) {
    TaskbarVerbCall call;
    if (!vistaOrLater) return call;
    call.file = ShortcutFilePath(quickLaunchFolder, name);
    call.run = !call.file.empty();
    call.verb = change == TaskbarChange::kPin ? L"taskbarpin" : L"taskbarunpin";
    return call;
}

}  // namespace kestro
