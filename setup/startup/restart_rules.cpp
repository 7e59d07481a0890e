#include "restart_rules.h"

#include <cwctype>

#include "setup/workers/product_names.h"

namespace kestro {

const wchar_t kWorkCopyFolderName[] = L"KestroGC";

bool ShouldRelaunchElevated(bool ntSixOrLater, bool limitedElevationType, bool linkedTokenIsAdmin) {
    return ntSixOrLater && limitedElevationType && linkedTokenIsAdmin;
}

std::wstring WorkCopyFolder(const std::wstring& tempFolder) {
    std::wstring folder = tempFolder;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder + kWorkCopyFolderName;
}

std::wstring WorkCopyPath(const std::wstring& tempFolder) {
    return WorkCopyFolder(tempFolder) + L'\\' + kUninstallerFileName;
}

bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i] == L'/' ? L'\\' : a[i];
        wchar_t y = b[i] == L'/' ? L'\\' : b[i];
        if (std::towupper(x) != std::towupper(y)) return false;
    }
    return true;
}

}  // namespace kestro
