#include "setup/workers/uninstall_plan.h"

#include <climits>

namespace kestro {
namespace {

bool EndsWithFolded(const std::wstring& text, const wchar_t* suffix) {
    std::wstring tail(suffix);
    if (text.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i) {
        wchar_t c = text[text.size() - tail.size() + i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != tail[i]) return false;
    }
    return true;
}

std::wstring SingleBackslashes(std::wstring path) {
    size_t at;
    while ((at = path.find(L"\\\\")) != std::wstring::npos) path.erase(at, 1);
    return path;
}

}  // namespace

const wchar_t* const kProgramsStoppedBeforeDelete[6] = {L"KestroAVM.exe",    L"VBoxSVC.exe",    L"VBoxManage.exe",
                                                        L"VBoxHeadless.exe", L"VirtualBox.exe", L"adb.exe"};

std::vector<int> CheckedReasonCodes(const bool (&boxes)[kReasonCount]) {
    std::vector<int> codes;
    for (int i = 0; i < kReasonCount; ++i) {
        if (boxes[i]) codes.push_back(i + 1);
    }
    return codes;
}

std::wstring EmulatorUninstallCommand(const std::wstring& uninstallerPath, bool deleteData) {
    return L"\"" + uninstallerPath + (deleteData ? L"\" /udeletedata" : L"\" /ureservedata");
}

std::vector<std::wstring> EmulatorDownloadFolders(const std::wstring& downloadFolder) {
    return {SingleBackslashes(downloadFolder + L"\\APK"), SingleBackslashes(downloadFolder + L"\\Emulator")};
}

bool IsProgramOrLibrary(const std::wstring& path) {
    return EndsWithFolded(path, L".exe") || EndsWithFolded(path, L".dll");
}

int LeadingBuildNumber(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > INT_MAX) value = INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace kestro
