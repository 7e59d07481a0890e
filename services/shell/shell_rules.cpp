#include "shell_rules.h"

#include <cwchar>

namespace kestro {
namespace {
constexpr unsigned long kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT
}

const wchar_t* const kVersionStringKeys[12] = {
    L"Comments",         L"CompanyName",     L"FileDescription", L"FileVersion",
    L"InternalName",     L"LegalCopyright",  L"LegalTrademarks", L"OriginalFilename",
    L"ProductName",      L"ProductVersion",  L"PrivateBuild",    L"SpecialBuild",
};

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

std::wstring VersionStringQuery(unsigned language, unsigned codePage, const std::wstring& key) {
    wchar_t prefix[40];
    swprintf(prefix, sizeof prefix / sizeof prefix[0], L"\\StringFileInfo\\%04x%04x\\", language & 0xffff, codePage & 0xffff);
    return prefix + key;
}

}  // namespace kestro
