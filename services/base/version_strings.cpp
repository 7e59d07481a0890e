#include "services/base/version_strings.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "services/base/version_query.h"

namespace kestro {

bool ReadVersionStrings(const wchar_t* file, std::map<std::wstring, std::wstring>& out) {
    out.clear();
    if (!file || !*file) return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return false;
    std::vector<BYTE> record(size);
    if (!GetFileVersionInfoW(file, 0, size, record.data())) return false;
    void* root = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), L"\\", &root, &length) || !root) return false;
    WORD* translation = nullptr;
    if (!VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        !translation || length < 4)
        return false;
    for (const wchar_t* key : kVersionStringKeys) {
        std::wstring query = VersionStringQuery(translation[0], translation[1], key);
        wchar_t* value = nullptr;
        UINT chars = 0;
        if (VerQueryValueW(record.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars) && value)
            out[key] = std::wstring(value, wcsnlen(value, chars));
    }
    return true;
}

}  // namespace kestro
