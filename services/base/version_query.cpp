#include "services/base/version_query.h"

#include <cwchar>

namespace kestro {

const wchar_t* const kVersionStringKeys[12] = {
    L"Comments",         L"CompanyName",     L"FileDescription", L"FileVersion",
    L"InternalName",     L"LegalCopyright",  L"LegalTrademarks", L"OriginalFilename",
    L"ProductName",      L"ProductVersion",  L"PrivateBuild",    L"SpecialBuild",
};

std::wstring VersionStringQuery(unsigned language, unsigned codePage, const std::wstring& key) {
    wchar_t prefix[40];
    swprintf(prefix, sizeof prefix / sizeof prefix[0], L"\\StringFileInfo\\%04x%04x\\", language & 0xffff, codePage & 0xffff);
    return prefix + key;
}

}  // namespace kestro
