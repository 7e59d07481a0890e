#include "path_rules.h"

#include <cwctype>

namespace kestro {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring TrimBlanks(const std::wstring& path) {
    size_t begin = 0, end = path.size();
    while (begin < end && IsBlank(path[begin])) ++begin;
    while (end > begin && IsBlank(path[end - 1])) --end;
    return path.substr(begin, end - begin);
}

std::wstring FileNamePart(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsDeletableFolderPath(const std::wstring& raw) {
    std::wstring path = TrimBlanks(raw);
    if (path.size() <= 3) return false;
    if (path.find_first_of(L"*?") != std::wstring::npos) return false;
    bool driveAbsolute = std::iswalpha(path[0]) && path[1] == L':' && IsSeparator(path[2]);
    bool unc = IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
    return driveAbsolute || unc;
}

bool SameFileName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

}  // namespace kestro
