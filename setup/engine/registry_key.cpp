#include "registry_key.h"

namespace kestro {
namespace {

constexpr REGSAM kViewBits = KEY_WOW64_32KEY | KEY_WOW64_64KEY;
// Longest registry key name plus its NUL.
constexpr DWORD kKeyNameChars = 256;

using RegDeleteKeyExWFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

RegDeleteKeyExWFn FindDeleteKeyEx() {
    HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
    return advapi ? reinterpret_cast<RegDeleteKeyExWFn>(GetProcAddress(advapi, "RegDeleteKeyExW")) : nullptr;
}

bool IsWellFormedText(DWORD type, const wchar_t* buffer, DWORD bytes) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    if (bytes < sizeof(wchar_t) || bytes % sizeof(wchar_t) != 0) return false;
    return buffer[bytes / sizeof(wchar_t) - 1] == L'\0';
}

}  // namespace

LONG RegistryKey::Open(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(root, path.c_str(), 0, access, &opened);
    if (result != ERROR_SUCCESS) return result;
    key_.reset(opened);
    view_ = access & kViewBits;
    return ERROR_SUCCESS;
}

LONG RegistryKey::Create(HKEY root, const std::wstring& path, REGSAM viewBits) {
    HKEY created = nullptr;
    REGSAM access = KEY_READ | KEY_WRITE | (viewBits & kViewBits);
    LONG result = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &created,
                                  nullptr);
    if (result != ERROR_SUCCESS) return result;
    key_.reset(created);
    view_ = access & kViewBits;
    return ERROR_SUCCESS;
}

void RegistryKey::Close() {
    key_.reset();
    view_ = 0;
}

LONG RegistryKey::SetText(const wchar_t* name, const wchar_t* text) {
    if (!text) return ERROR_INVALID_DATA;
    DWORD bytes = DWORD((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG RegistryKey::SetNumber(const wchar_t* name, DWORD value) {
    return RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG RegistryKey::QueryText(const wchar_t* name, wchar_t* buffer, DWORD chars) {
    if (!buffer || chars == 0) return ERROR_INVALID_DATA;
    DWORD type = 0;
    DWORD bytes = chars * sizeof(wchar_t);
    LONG result = RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (result != ERROR_SUCCESS) return result;
    return IsWellFormedText(type, buffer, bytes) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

LONG RegistryKey::QueryText(const wchar_t* name, std::wstring& text) {
    DWORD type = 0, bytes = 0;
    LONG result = RegQueryValueExW(key_.get(), name, nullptr, &type, nullptr, &bytes);
    if (result != ERROR_SUCCESS) return result;
    // One character more than announced, in case the value changes in between.
    std::wstring buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    result = QueryText(name, &buffer[0], DWORD(buffer.size()));
    if (result != ERROR_SUCCESS) return result;
    buffer.resize(wcslen(buffer.c_str()));
    text.swap(buffer);
    return ERROR_SUCCESS;
}

LONG RegistryKey::QueryNumber(const wchar_t* name, DWORD& value) {
    DWORD type = 0, number = 0, bytes = sizeof number;
    LONG result = RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&number), &bytes);
    if (result != ERROR_SUCCESS) return result;
    if (type != REG_DWORD || bytes != sizeof number) return ERROR_INVALID_DATA;
    value = number;
    return ERROR_SUCCESS;
}

LONG RegistryKey::DeleteSubKey(const wchar_t* subKey) {
    static const RegDeleteKeyExWFn deleteKeyEx = FindDeleteKeyEx();
    if (deleteKeyEx) return deleteKeyEx(key_.get(), subKey, view_, 0);
    return RegDeleteKeyW(key_.get(), subKey);
}

LONG RegistryKey::DeleteTree(const wchar_t* subKey) {
    RegistryKey sub;
    LONG result = sub.Open(key_.get(), subKey, view_ | KEY_READ | KEY_WRITE);
    if (result != ERROR_SUCCESS) return result;
    for (;;) {
        wchar_t child[kKeyNameChars];
        DWORD chars = kKeyNameChars;
        result = RegEnumKeyExW(sub.Get(), 0, child, &chars, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS) return result;
        result = sub.DeleteTree(child);
        if (result != ERROR_SUCCESS) return result;
    }
    sub.Close();
    return DeleteSubKey(subKey);
}

}  // namespace kestro
