// An uninstall record as unins000.exe carries it: anyone can edit that file, so
// whatever the record says, every path the uninstall would touch must lie strictly
// inside an acceptable root and hold no wildcard or climbing component.
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/json/jvalue.h"
#include "setup/package/package_records.h"
#include "setup/workers/installed_items.h"

namespace {

wchar_t Fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

bool HasClimbOrWildcard(const std::wstring& path) {
    if (path.find_first_of(L"*?") != std::wstring::npos) return true;
    const std::wstring wrapped = L"\\" + path + L"\\";
    return wrapped.find(L"\\..\\") != std::wstring::npos || wrapped.find(L"\\.\\") != std::wstring::npos;
}

void CheckInside(const std::wstring& path, const std::wstring& root) {
    std::wstring prefix = root;
    while (!prefix.empty() && prefix.back() == L'\\') prefix.pop_back();
    prefix += L'\\';
    if (path.size() <= prefix.size()) __builtin_trap();
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Fold(path[i]) != Fold(prefix[i])) __builtin_trap();
    if (HasClimbOrWildcard(path.substr(prefix.size()))) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kestro::JValue record;
    if (!kestro::JValue::Parse(reinterpret_cast<const char*>(data), size, record)) return 0;
    kestro::UninstallRecord uninstall{record};
    (void)uninstall.Root();
    kestro::InstalledItems items;
    if (!kestro::DecodeInstalledItems(record, items)) return 0;
    if (!kestro::IsAcceptableRoot(items.root) || HasClimbOrWildcard(items.root)) __builtin_trap();
    for (const std::wstring& file : items.files) CheckInside(file, items.root);
    for (const std::wstring& folder : items.folders) CheckInside(folder, items.root);
    for (const std::wstring& parent : kestro::ParentFoldersBelowRoot(items.files, items.root)) CheckInside(parent, items.root);
    return 0;
}
